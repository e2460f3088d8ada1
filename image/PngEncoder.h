#pragma once
// Writes PNG files: depths 1, 2, 4 and 8 as palette images through the
// PaletteQuantiser; depths 3, 5, 6 and 7 fail; any other depth writes 8-bit
// RGB or RGBA as the source holds it. Every row uses filter NONE, zlib runs at
// level 9, and no chunk beyond IHDR, PLTE, IDAT and IEND is written.

#include "image/Codec.h"

namespace th::image {

class PngEncoder final : public Encoder {
public:
    std::uint32_t tag() const override { return kCodecPng; }
    bool writesRgba() const override { return true; }
    [[nodiscard]] SaveResult write(const std::filesystem::path& file, const PixelRows& source,
                                          SaveFlags flags, int depth) const override;
};

} // namespace th::image
