#pragma once
// Qt's view of a picture in the image library.

#include <QImage>

namespace th::image {
class ImageStore;
}

namespace th::canvas {

// A QImage over the image's own pixels (8-bit RGBA, straight alpha), no copy;
// a null QImage for a number that names no image. Valid while the image lives.
QImage pictureImage(const image::ImageStore& store, int number);

} // namespace th::canvas
