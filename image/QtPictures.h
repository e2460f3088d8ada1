#pragma once
// Qt's side of the image library: a QImage over an image's own pixels, and
// pictures carried in the program's Qt resources decoded into the store.

#include <QImage>

#include <optional>

namespace th::image {

class ImageStore;

// A QImage over the image's pixels (8-bit RGBA, straight alpha), no copy; a
// null QImage for a number that names no image. Valid while the image lives.
QImage imageView(const ImageStore& store, int number);

// Decodes a resource such as ":/themes/theme-0.png" under `number`
// (kAutoNumber for an automatic one); nothing when it is missing or no
// picture.
std::optional<int> decodeResource(ImageStore& store, int number, const char* resource);

// A resource decoded through `store` into a picture of its own; the store
// keeps nothing of it. Null when it is missing or no picture.
QImage resourcePicture(ImageStore& store, const char* resource);

} // namespace th::image
