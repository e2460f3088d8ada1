#include "image/Image.h"

#include <limits>

namespace th::image {

std::optional<std::size_t> rgbaByteCount(int width, int height)
{
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return std::nullopt;
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    if (w * 4 > std::numeric_limits<std::size_t>::max() / h)
        return std::nullopt;
    return w * 4 * h;
}

std::unique_ptr<Image> Image::allocate(int width, int height)
{
    const auto bytes = rgbaByteCount(width, height);
    if (!bytes)
        return nullptr;
    auto* pixels = static_cast<std::uint8_t*>(std::calloc(*bytes, 1));
    if (!pixels)
        return nullptr;
    return std::unique_ptr<Image>(new Image(width, height, pixels));
}

} // namespace th::image
