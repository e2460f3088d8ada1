#pragma once
// Writes PNG files: depths 1, 2, 4 and 8 as palette images through the
// PaletteQuantiser; depths 3, 5, 6 and 7 fail; any other depth writes 8-bit
// RGB or RGBA as the source holds it. Every row uses filter NONE, the image
// data is one zlib stream at level 9 compressed in fixed parts on several
// threads (DeflateParts), and no chunk beyond IHDR, PLTE, IDAT and IEND is
// written. The bytes are the same whatever the number of threads.

#include "image/Codec.h"

namespace th::image {

class PngEncoder final : public Encoder {
public:
    // Compresses on `threads` threads; one keeps the whole save on the caller's.
    explicit PngEncoder(int threads = machineThreads());
    static int machineThreads();

    std::uint32_t tag() const override { return kCodecPng; }
    bool writesRgba() const override { return true; }
    [[nodiscard]] SaveResult write(const std::filesystem::path& file, const PixelRows& source,
                                          SaveFlags flags, int depth) const override;

private:
    int threads_;
};

} // namespace th::image
