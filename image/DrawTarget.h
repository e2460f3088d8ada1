#pragma once
// Drawing into RGBA pixels (an image's or the canvas's): filled and outlined
// boxes, single pixels and labels, each written through the writer that the
// current mode selects. Draw only between a successful begin() and end().

#include "image/Color.h"
#include "image/PixelRows.h"

#include <functional>
#include <string_view>

namespace th::image {

class TextPainter;

// Mode flags, ORed.
enum DrawModeFlag : int {
    kModeTransparent = 1,  // labels draw no background box
    kModeXor = 2,          // red, green and blue XORed with the colour's; alpha kept
    kModeOutline = 4,      // boxes draw their four edges only
    kModeAlphaOnly = 8,    // only the alpha byte is written
    kModeBlend = 16,       // the colour is blended over the pixel by its alpha
    kModeAlphaClip = 32,   // blend, but only onto visible pixels, keeping their alpha
    kModeGradient = 64,    // each row gets the front-to-back gradient colour, all four bytes
    kModeCustom = 128,     // each pixel becomes what the custom writer returns
    kModeAllChannels = 256 // all four bytes written; clears AlphaOnly, Blend and AlphaClip
};
// With no flag, red, green and blue are written and alpha is left as it was.

class DrawTarget {
public:
    // The new pixel for ModeCustom from its position, old value and the colour.
    using CustomWriter = std::function<Colour(int x, int y, Colour pixel, Colour colour)>;

    explicit DrawTarget(PixelView pixels, const TextPainter* painter = nullptr);

    // True when the target has pixels to draw on; drawing calls are ignored
    // before it and after end().
    [[nodiscard]] bool begin();
    void end();

    void setMode(int flags);
    int mode() const { return mode_; }
    void setCustomWriter(CustomWriter writer) { custom_ = std::move(writer); }
    // The back colour: labels' background and the gradient's bottom end.
    void setBack(Colour colour) { back_ = colour; }

    // Makes `colour` the front colour and fills (or with kModeOutline,
    // outlines) the box clipped to the target. Negative sizes extend the box
    // to the left or upwards.
    void box(int x, int y, int width, int height, Colour colour);
    // Unclipped: the caller keeps 0 <= x < width() and 0 <= y < height().
    void pixel(int x, int y, Colour colour);
    // The whole pixel in modes that write alpha (AlphaOnly, Blend,
    // AlphaClip, Custom, AllChannels); red, green and blue with alpha 0
    // otherwise.
    Colour readPixel(int x, int y) const;

    // Draws the text on a back-colour box (unless kModeTransparent) and
    // returns x + the text's width, so labels can be chained.
    int label(int x, int y, std::string_view text, Colour front, Colour back);
    int labelWidth(std::string_view text) const;
    int labelHeight(std::string_view text) const;

    int width() const { return view_.width; }
    int height() const { return view_.height; }

    // The colour in the form every writer uses: red, green and blue are
    // premultiplied by alpha in the blend modes.
    struct Prepared {
        Colour colour;
        int r, g, b, a, inverseA;
    };

private:
    using RowWriter = void (*)(const DrawTarget&, std::uint8_t* row, int x, int y, int count,
                               const Prepared&);

    Prepared prepare(Colour colour) const;
    void setFront(Colour colour);
    void row(int x, int y, int count, const Prepared& colour);
    void fill(int x0, int y0, int x1, int y1); // clipped, end exclusive
    void outline(int x, int y, int width, int height);
    static void gradientRow(const DrawTarget&, std::uint8_t*, int, int, int, const Prepared&);
    static void customRow(const DrawTarget&, std::uint8_t*, int, int, int, const Prepared&);

    PixelView view_;
    const TextPainter* painter_;
    bool active_ = false;
    int mode_ = 0;
    bool blend_ = false;
    bool readsAll_ = false;
    RowWriter writer_ = nullptr;
    CustomWriter custom_;
    Colour front_ = 0;
    Colour back_ = 0;
    Prepared preparedFront_{};
};

} // namespace th::image
