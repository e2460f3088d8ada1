#include "image/Codec.h"

#include "image/Image.h"

namespace th::image {

DecodeStatus checkDeclaredSize(std::int64_t width, std::int64_t height, const DecodeLimits& limits)
{
    if (width < 1 || height < 1)
        return DecodeStatus::Damaged;
    if (width > kMaxSide || height > kMaxSide
        || static_cast<std::size_t>(width) * static_cast<std::size_t>(height) > limits.maxPixels)
        return DecodeStatus::TooLarge;
    return DecodeStatus::Decoded;
}

} // namespace th::image
