#include "canvas/PictureFile.h"

#include "image/ImageStore.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace th::canvas {

std::optional<LoadedPicture> loadPictureFile(image::ImageStore& store, const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::optional<int> number = store.decode(image::kAutoNumber, bytes);
    if (!number)
        return std::nullopt;
    return LoadedPicture{*number, store.width(*number), store.height(*number),
                         holdPicture(*number, [&store](ImageHandle image) { store.free(image); })};
}

} // namespace th::canvas
