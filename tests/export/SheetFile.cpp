#include "SheetFile.h"

#include "PngFiles.h"

#include <stdexcept>

namespace th::exporting::testing {

int makePicture(image::ImageStore& images, int width, int height, const std::function<Rgba(int u, int v)>& colour)
{
    const std::optional<int> number = images.create(image::kAutoNumber, width, height, 0);
    if (!number)
        throw std::runtime_error("no picture");
    const image::PixelView pixels = images.handle(*number);
    for (int v = 0; v < height; ++v) {
        for (int u = 0; u < width; ++u) {
            const Rgba c = colour(u, v);
            std::uint8_t* p = pixels.pixels + std::size_t(v) * pixels.stride + std::size_t(u) * 4;
            for (int i = 0; i < 4; ++i)
                p[i] = std::uint8_t(c[std::size_t(i)]);
        }
    }
    return *number;
}

Rgba pixelOf(const image::ImageStore& images, int number, int x, int y)
{
    const image::PixelView pixels = images.handle(number);
    const std::uint8_t* p = pixels.pixels + std::size_t(y) * pixels.stride + std::size_t(x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

SheetFile readSheet(const std::filesystem::path& file)
{
    const image::testing::PngContents png = image::testing::readPngFile(file);
    SheetFile sheet{png.width, png.height, png.colourType, png.bitDepth, {}};
    for (const image::testing::Bytes& row : png.rows) {
        std::vector<Rgba>& pixels = sheet.rows.emplace_back();
        for (int x = 0; x < png.width; ++x) {
            if (png.colourType == PNG_COLOR_TYPE_PALETTE) {
                const png_color& c = png.palette.at(row.at(std::size_t(x)));
                pixels.push_back({c.red, c.green, c.blue, 255});
            } else if (png.colourType == PNG_COLOR_TYPE_RGBA) {
                const std::uint8_t* p = row.data() + std::size_t(x) * 4;
                pixels.push_back({p[0], p[1], p[2], p[3]});
            } else {
                throw std::runtime_error("unexpected colour type in " + file.string());
            }
        }
    }
    return sheet;
}

} // namespace th::exporting::testing
