#include "image/ImageWriter.h"

#include "image/Color.h"

#include <cerrno>
#include <new>
#include <vector>

namespace th::image {

namespace {

SaveResult flattenAndWrite(const Encoder& encoder, const std::filesystem::path& file,
                                  const PixelRows& source, SaveFlags flags, int depth)
{
    if (source.bytesPerPixel == 3 || encoder.writesRgba())
        return encoder.write(file, source, flags, depth);

    const std::size_t width = static_cast<std::size_t>(source.width);
    const std::size_t stride = (width * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> rgb;
    try {
        rgb.resize(stride * static_cast<std::size_t>(source.height));
    } catch (const std::bad_alloc&) {
        return files::failure(files::FileError::OutOfMemory);
    }
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t* in = source.row(y);
        std::uint8_t* out = rgb.data() + static_cast<std::size_t>(y) * stride;
        for (std::size_t x = 0; x < width; ++x, in += 4, out += 3)
            for (int c = 0; c < 3; ++c)
                out[c] = flattenOntoWhite(in[c], in[3]);
    }
    const PixelRows flattened{rgb.data(), source.width, source.height, stride, 3, false, source.watch};
    return encoder.write(file, flattened, flags, depth);
}

} // namespace

// Every failure of a save is a result: an allocation that fails anywhere on
// the way (a path, a buffer, libpng's writer around us) leaves through here,
// after the file's destructor has removed its temporary.
SaveResult writeWith(const Encoder& encoder, const std::filesystem::path& file,
                            const PixelRows& source, SaveFlags flags, int depth)
{
    try {
        return flattenAndWrite(encoder, file, source, flags, depth);
    } catch (const std::bad_alloc&) {
        return files::failure(files::FileError::OutOfMemory, ENOMEM);
    }
}

} // namespace th::image
