#include "canvas/PictureFile.h"

#include "files/WholeFile.h"
#include "image/ImageStore.h"

namespace th::canvas {

PictureLoad loadPictureFile(image::ImageStore& store, const std::string& path)
{
    const files::WholeFile file = files::readWholeFile(path, files::FileKind::Picture);
    if (!file.result.ok()) {
        PictureLoad unread;
        unread.unread = file.result;
        return unread;
    }
    const image::DecodeOutcome decoded = store.decode(image::kAutoNumber, file.bytes);
    if (!decoded.ok())
        return {std::nullopt, decoded.status, decoded.declaredWidth, decoded.declaredHeight};
    const int n = decoded.number;
    return {LoadedPicture{n, store.width(n), store.height(n), holdPicture(n, [&store](ImageHandle image) { store.free(image); })},
            image::DecodeStatus::Decoded, decoded.declaredWidth, decoded.declaredHeight, decoded.complete};
}

} // namespace th::canvas
