#include "image/QtPictures.h"

#include "image/ImageStore.h"

#include <QFile>

namespace th::image {

QImage imageView(const ImageStore& store, int number)
{
    const PixelView pixels = store.handle(number);
    if (!pixels)
        return {};
    return QImage(pixels.pixels, pixels.width, pixels.height, qsizetype(pixels.stride), QImage::Format_RGBA8888);
}

std::optional<int> decodeResource(ImageStore& store, int number, const char* resource)
{
    QFile file(QString::fromLatin1(resource));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const DecodeOutcome decoded =
        store.decode(number, {reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())});
    return decoded.ok() ? std::optional<int>(decoded.number) : std::nullopt;
}

QImage resourcePicture(ImageStore& store, const char* resource)
{
    const std::optional<int> number = decodeResource(store, kAutoNumber, resource);
    if (!number)
        return {};
    QImage picture = imageView(store, *number).copy();
    store.free(*number);
    return picture;
}

} // namespace th::image
