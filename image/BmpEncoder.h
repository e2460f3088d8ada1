#pragma once
// Writes uncompressed BMP files at depth 1, 4 or 8 (a colour table from the
// PaletteQuantiser and packed indices) or 24 and 32 (blue, green, red and,
// for 32, a zero byte; straight-alpha pixels flattened onto white).

#include "image/Codec.h"

namespace th::image {

class BmpEncoder final : public Encoder {
public:
    std::uint32_t tag() const override { return kCodecBmp; }
    bool writesRgba() const override { return true; }
    [[nodiscard]] SaveResult write(const std::filesystem::path& file, const PixelRows& source,
                                          SaveFlags flags, int depth) const override;
};

} // namespace th::image
