#include "canvas/PictureImage.h"

#include "image/ImageStore.h"

namespace th::canvas {

QImage pictureImage(const image::ImageStore& store, int number)
{
    const image::PixelView pixels = store.handle(number);
    if (!pixels)
        return {};
    return QImage(pixels.pixels, pixels.width, pixels.height, qsizetype(pixels.stride), QImage::Format_RGBA8888);
}

} // namespace th::canvas
