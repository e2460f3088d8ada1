#include "image/PngEncoder.h"

#include "files/ReplacingFile.h"
#include "image/DeflateParts.h"
#include "image/PaletteQuantiser.h"
#include "image/PngChunks.h"
#include "image/RowFeed.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <new>
#include <optional>
#include <thread>

namespace th::image {
namespace {

bool isPaletteDepth(int depth) { return depth >= 1 && depth <= 8; }
// The bit depths a PNG palette image may have.
bool isValidPaletteDepth(int depth) { return depth == 1 || depth == 2 || depth == 4 || depth == 8; }

// A write that did not land stops libpng at once; the file keeps the cause.
void writeToFile(png_structp png, png_bytep bytes, png_size_t count)
{
    if (!static_cast<files::ReplacingFile*>(png_get_io_ptr(png))->write(bytes, count))
        png_error(png, "write failed");
}

// The file flushes its own buffer when it is committed.
void flushNothing(png_structp) {}

enum class Encoded { Done, Failed, Abandoned };

// Whether the source's watch lets the write go on after `written` rows.
bool goOn(const PixelRows& source, int written)
{
    return !source.watch || (*source.watch)(written);
}

// libpng's own handler prints every error; the save reports it as its result.
[[noreturn]] void stopQuietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// libpng writes the signature, IHDR and PLTE. Everything between setjmp and
// a libpng error lives in plain values or in the caller's frame, so the
// longjmp skips no destructor. False on a libpng error, which includes a
// write the file refused.
bool writeHeader(files::ReplacingFile& out, const PixelRows& source, const PaletteQuantiser* quantiser)
{
    // The installed library's own version: libpng 1.6 refuses older strings.
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, stopQuietly, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, writeToFile, flushNothing);
    const auto width = static_cast<png_uint_32>(source.width);
    const auto height = static_cast<png_uint_32>(source.height);
    if (quantiser) {
        png_set_IHDR(png, info, width, height, quantiser->depth(), PNG_COLOR_TYPE_PALETTE,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_color colours[256];
        const auto palette = quantiser->palette();
        for (std::size_t i = 0; i < palette.size(); ++i)
            colours[i] = {palette[i].r, palette[i].g, palette[i].b};
        png_set_PLTE(png, info, colours, static_cast<int>(palette.size()));
    } else {
        const int colourType = source.bytesPerPixel == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
        png_set_IHDR(png, info, width, height, 8, colourType, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    }
    png_write_info(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool writeChunk(files::ReplacingFile& out, const char (&type)[5], std::span<const std::uint8_t> data)
{
    std::uint8_t head[kChunkLengthAndType];
    putBigEndian32(head, static_cast<std::uint32_t>(data.size()));
    std::memcpy(head + 4, type, 4);
    // zlib answers 0 for no buffer at all, so an empty chunk's CRC is the type's.
    uLong sum = crc32(0, head + 4, 4);
    if (!data.empty())
        sum = crc32(sum, data.data(), static_cast<uInt>(data.size()));
    std::uint8_t crc[kChunkCrc];
    putBigEndian32(crc, static_cast<std::uint32_t>(sum));
    return out.write(head, sizeof head) && out.write(data.data(), data.size()) && out.write(crc, sizeof crc);
}

// The compressed stream as IDAT chunks of a fixed size, then IEND. Small
// enough chunks that a file broken off in the middle of a part still gives
// the rows of the chunks before the break to a reader that checks each CRC.
class ImageDataChunks {
public:
    explicit ImageDataChunks(files::ReplacingFile& out) : out_(out) { pending_.reserve(kChunkBytes); }

    bool add(std::span<const std::uint8_t> bytes)
    {
        while (!bytes.empty()) {
            const std::size_t take = std::min(bytes.size(), kChunkBytes - pending_.size());
            pending_.insert(pending_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
            bytes = bytes.subspan(take);
            if (pending_.size() == kChunkBytes && !flush())
                return false;
        }
        return true;
    }

    bool finish() { return (pending_.empty() || flush()) && writeChunk(out_, "IEND", {}); }

private:
    bool flush()
    {
        const bool written = writeChunk(out_, "IDAT", pending_);
        pending_.clear();
        return written;
    }

    static constexpr std::size_t kChunkBytes = std::size_t{32} << 10;
    files::ReplacingFile& out_;
    std::vector<std::uint8_t> pending_;
};

// The rows, from the source or from the palette mapping, compressed in
// parts after the header. Failed when a row, zlib or the file fails.
Encoded encode(files::ReplacingFile& out, const PixelRows& source, PaletteQuantiser* quantiser, RowFeed* rows,
               int threads)
{
    if (!writeHeader(out, source, quantiser))
        return Encoded::Failed;
    const std::size_t rowBytes = quantiser ? quantiser->rowBytes()
                                           : static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.bytesPerPixel);
    ImageDataChunks chunks(out);
    DeflateParts parts(rowBytes, source.height, threads, [&](std::span<const std::uint8_t> bytes) { return chunks.add(bytes); });
    for (int r = 0; r < source.height; ++r) {
        const std::uint8_t* row = rows ? rows->next() : source.row(r);
        if (!row || !parts.addRow(row))
            return Encoded::Failed;
        if (!goOn(source, r + 1))
            return Encoded::Abandoned;
    }
    return chunks.finish() ? Encoded::Done : Encoded::Failed;
}

// Only memory can stop the mapping; anything else is named as the encoder's.
SaveResult mappingFailure(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return files::failure(files::FileError::OutOfMemory, ENOMEM);
    } catch (...) {
        return SaveProblem::EncodeFailed;
    }
}

} // namespace

PngEncoder::PngEncoder(int threads) : threads_(std::max(threads, 1)) {}

int PngEncoder::machineThreads() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

SaveResult PngEncoder::write(const std::filesystem::path& file, const PixelRows& source,
                             SaveFlags flags, int depth) const
{
    if (!source.pixels || source.width < 1 || source.height < 1)
        return SaveProblem::InvalidRequest;
    if (isPaletteDepth(depth) && !isValidPaletteDepth(depth))
        return SaveProblem::Unsupported;
    files::ReplacingFile out(file);
    if (!out.isOpen())
        return out.result();
    std::unique_ptr<PaletteQuantiser> quantiser;
    std::optional<RowFeed> rows;
    if (isPaletteDepth(depth)) {
        // The depth is valid here, so only memory can stop the quantiser.
        quantiser = PaletteQuantiser::create(source, depth, flags);
        if (!quantiser)
            return files::failure(files::FileError::OutOfMemory);
        if (quantiser->abandoned())
            return SaveProblem::Cancelled;
        // Mapping is one row after another (a row's search starts from the
        // last answers), so it runs on a thread of its own while the parts
        // before it are compressed.
        rows.emplace(source.height, quantiser->rowBytes(), [&q = *quantiser](int row, std::uint8_t* slot) {
            const auto indices = q.mapRow(row);
            std::memcpy(slot, indices.data(), indices.size());
            return true;
        }, threads_ > 1 ? RowFeed::Threads::Two : RowFeed::Threads::One);
    }
    // An abandoned or failed write is never committed, so no file is left
    // and an older one stays as it was.
    switch (encode(out, source, quantiser.get(), rows ? &*rows : nullptr, threads_)) {
    case Encoded::Done: return out.commit();
    case Encoded::Abandoned: return SaveProblem::Cancelled;
    case Encoded::Failed: break;
    }
    if (rows && rows->failure())
        return mappingFailure(rows->failure());
    return out.result().ok() ? SaveResult(SaveProblem::EncodeFailed) : SaveResult(out.result());
}

} // namespace th::image
