#pragma once
// The PNG and BMP targets: decode the bytes through the image store with one
// decoder, under a budget small enough that a run spends its time in the
// decoder rather than in clearing pixels, and read every pixel back.

#include "image/ImageStore.h"

#include <memory>

namespace th::fuzz {

template <typename Decoder>
int decodeOnce(const std::uint8_t* data, std::size_t size)
{
    struct Store : image::ImageStore {
        Store() { registerDecoder(std::make_unique<Decoder>()); }
    };
    static Store store;
    const image::DecodeOutcome decoded = store.decode(0, {data, size}, image::DecodeLimits{1u << 20});
    if (!decoded.ok())
        return 0;
    // Every pixel is read, so an image smaller than its size shows under ASan.
    const image::PixelView view = store.handle(0);
    volatile unsigned sum = 0;
    for (int y = 0; y < view.height; ++y)
        for (std::size_t x = 0; x < std::size_t(view.width) * 4; ++x)
            sum = sum + view.pixels[std::size_t(y) * view.stride + x];
    store.free(0);
    return 0;
}

} // namespace th::fuzz
