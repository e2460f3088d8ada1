// The image store with the PNG and BMP decoders over any bytes: decoded under
// a budget small enough that a run spends its time in the decoders rather
// than in clearing pixels, and every pixel read back, so that an image
// smaller than its size shows under ASan.

#include "image/BmpDecoder.h"
#include "image/ImageStore.h"
#include "image/PngDecoder.h"

#include <cstdint>
#include <memory>

namespace {

struct Store : th::image::ImageStore {
    Store()
    {
        registerDecoder(std::make_unique<th::image::BmpDecoder>());
        registerDecoder(std::make_unique<th::image::PngDecoder>());
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Store store;
    const th::image::DecodeOutcome decoded = store.decode(0, {data, size}, th::image::DecodeLimits{1u << 20});
    if (!decoded.ok())
        return 0;
    const th::image::PixelView view = store.handle(0);
    volatile unsigned sum = 0;
    for (int y = 0; y < view.height; ++y)
        for (std::size_t x = 0; x < std::size_t(view.width) * 4; ++x)
            sum = sum + view.pixels[std::size_t(y) * view.stride + x];
    store.free(0);
    return 0;
}
