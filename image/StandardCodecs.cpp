#include "image/StandardCodecs.h"

#include "image/BmpDecoder.h"
#include "image/ImageStore.h"
#include "image/PngDecoder.h"
#include "image/PngEncoder.h"

namespace th::image {

void registerStandardCodecs(ImageStore& store)
{
    store.registerDecoder(std::make_unique<BmpDecoder>());
    store.registerDecoder(std::make_unique<PngDecoder>());
    store.registerEncoder(std::make_unique<PngEncoder>());
}

} // namespace th::image
