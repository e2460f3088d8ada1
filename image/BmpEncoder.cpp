#include "image/BmpEncoder.h"

#include "files/ReplacingFile.h"
#include "image/Color.h"
#include "image/PaletteQuantiser.h"

#include <cstring>
#include <new>
#include <vector>

namespace th::image {
namespace {

constexpr std::size_t kHeadersSize = 14 + 40;

void putLe32(std::uint8_t* at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void putLe16(std::uint8_t* at, std::uint16_t v)
{
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

// File header:        0 "BM", 2 file size, 6 two zero reserved fields, 10 data offset.
// Information header: 14 its size (40), 18 width, 22 height, 26 planes (1),
//                     28 bits per pixel, 30 compression (0), 34 image size,
//                     38 16 zero bytes (resolution and colour counts).
std::vector<std::uint8_t> headers(int width, int height, int depth, std::size_t rowBytes,
                                  std::size_t tableEntries)
{
    std::vector<std::uint8_t> h(kHeadersSize, 0);
    const std::size_t dataOffset = kHeadersSize + tableEntries * 4;
    const std::size_t imageSize = rowBytes * static_cast<std::size_t>(height);
    h[0] = 'B';
    h[1] = 'M';
    putLe32(&h[2], static_cast<std::uint32_t>(dataOffset + imageSize));
    putLe32(&h[10], static_cast<std::uint32_t>(dataOffset));
    putLe32(&h[14], 40);
    putLe32(&h[18], static_cast<std::uint32_t>(width));
    putLe32(&h[22], static_cast<std::uint32_t>(height));
    putLe16(&h[26], 1);
    putLe16(&h[28], static_cast<std::uint16_t>(depth));
    putLe32(&h[34], static_cast<std::uint32_t>(imageSize));
    return h;
}

void fillDirectRow(std::uint8_t* out, const std::uint8_t* in, const PixelRows& source, int depth)
{
    const int outBytes = depth / 8;
    for (int x = 0; x < source.width; ++x, in += source.bytesPerPixel, out += outBytes) {
        const int alpha = source.bytesPerPixel == 4 ? in[3] : 255;
        out[0] = flattenOntoWhite(in[2], alpha);
        out[1] = flattenOntoWhite(in[1], alpha);
        out[2] = flattenOntoWhite(in[0], alpha);
        if (outBytes == 4)
            out[3] = 0;
    }
}

} // namespace

// The quantiser maps rows top first, as dithering spreads each row's error
// into the row below it; the file holds the bottom row first. So palette rows
// are mapped into a buffer in image order and written from its end.
SaveResult BmpEncoder::write(const std::filesystem::path& file, const PixelRows& source,
                                    SaveFlags flags, int depth) const
{
    const bool indexed = depth == 1 || depth == 4 || depth == 8;
    if (!source.pixels || source.width < 1 || source.height < 1)
        return SaveProblem::InvalidRequest;
    if (!(indexed || depth == 24 || depth == 32))
        return SaveProblem::Unsupported;
    const std::size_t rowBytes =
        (static_cast<std::size_t>(source.width) * static_cast<std::size_t>(depth) + 31) / 32 * 4;
    const std::size_t height = static_cast<std::size_t>(source.height);
    files::ReplacingFile out(file);
    if (!out.isOpen())
        return out.result();
    std::vector<std::uint8_t> mapped;
    std::unique_ptr<PaletteQuantiser> quantiser;
    if (indexed) {
        quantiser = PaletteQuantiser::create(source, depth, flags);
        try {
            mapped.resize(quantiser ? rowBytes * height : 0);
        } catch (const std::bad_alloc&) {
            quantiser.reset();
        }
        // The depth is valid here, so only memory can stop the quantiser.
        if (!quantiser)
            return files::failure(files::FileError::OutOfMemory);
        if (quantiser->abandoned())
            return SaveProblem::Cancelled;
        for (std::size_t r = 0; r < height; ++r) {
            const auto packed = quantiser->mapRow(static_cast<int>(r));
            std::memcpy(mapped.data() + r * rowBytes, packed.data(), packed.size());
        }
    }
    const std::size_t tableEntries = indexed ? std::size_t{1} << depth : 0;
    auto bytes = headers(source.width, source.height, depth, rowBytes, tableEntries);
    if (quantiser)
        for (const PaletteEntry& e : quantiser->palette())
            bytes.insert(bytes.end(), {e.b, e.g, e.r, 0});
    out.write(bytes.data(), bytes.size());

    std::vector<std::uint8_t> row(rowBytes, 0);
    // The file holds the bottom row first.
    for (std::size_t r = height; r-- > 0 && out.result().ok();) {
        if (quantiser) {
            out.write(mapped.data() + r * rowBytes, rowBytes);
        } else {
            fillDirectRow(row.data(), source.row(static_cast<int>(r)), source, depth);
            out.write(row.data(), rowBytes);
        }
    }
    return out.commit();
}

} // namespace th::image
