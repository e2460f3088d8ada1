#pragma once
// The hook through which labels are measured and drawn. The Qt side installs
// one; the pixel operations never need it, and without one a label measures
// 0 x 0 and draws nothing.

#include "image/Color.h"
#include "image/PixelRows.h"

#include <string_view>

namespace th::image {

struct TextSize {
    int width = 0;
    int height = 0;
};

class TextPainter {
public:
    virtual ~TextPainter() = default;
    // The size of UTF-8 `text` in the painter's font, in whole pixels.
    virtual TextSize measure(std::string_view text) const = 0;
    // Draws `text` with its top-left corner at (x, y) in the colour's red,
    // green and blue, fully opaque (the colour's alpha is not used).
    virtual void draw(const PixelView& target, int x, int y, std::string_view text,
                      Colour colour) const = 0;
};

} // namespace th::image
