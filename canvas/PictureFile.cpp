#include "canvas/PictureFile.h"

#include "image/ImageStore.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace th::canvas {

PictureLoad loadPictureFile(image::ImageStore& store, const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const image::DecodeOutcome decoded = store.decode(image::kAutoNumber, bytes);
    if (!decoded.ok())
        return {std::nullopt, decoded.status, decoded.declaredWidth, decoded.declaredHeight};
    const int n = decoded.number;
    return {LoadedPicture{n, store.width(n), store.height(n), holdPicture(n, [&store](ImageHandle image) { store.free(image); })},
            image::DecodeStatus::Decoded, decoded.declaredWidth, decoded.declaredHeight, decoded.complete};
}

} // namespace th::canvas
