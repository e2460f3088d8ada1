#include "image/PngEncoder.h"

#include "files/ReplacingFile.h"
#include "image/PaletteQuantiser.h"
#include "image/RowFeed.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <new>
#include <optional>

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

// Everything between setjmp and a libpng error lives in plain values or in
// the caller's frame, so the longjmp skips no destructor; the watch is
// called between rows, outside libpng, and has returned before any later
// error. Failed on a libpng error, which includes a write the file refused.
Encoded encode(files::ReplacingFile& out, const PixelRows& source, PaletteQuantiser* quantiser,
               RowFeed* rows)
{
    // The installed library's own version: libpng 1.6 refuses older strings.
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, stopQuietly, nullptr);
    if (!png)
        return Encoded::Failed;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return Encoded::Failed;
    }
    png_set_write_fn(png, &out, writeToFile, flushNothing);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
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
        png_write_info(png, info);
        for (int r = 0; r < source.height; ++r) {
            const std::uint8_t* row = rows->next();
            if (!row)
                png_error(png, "row mapping failed");
            png_write_row(png, row);
            if (!goOn(source, r + 1)) {
                png_destroy_write_struct(&png, &info);
                return Encoded::Abandoned;
            }
        }
    } else {
        const int colourType = source.bytesPerPixel == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
        png_set_IHDR(png, info, width, height, 8, colourType, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int r = 0; r < source.height; ++r) {
            png_write_row(png, source.row(r));
            if (!goOn(source, r + 1)) {
                png_destroy_write_struct(&png, &info);
                return Encoded::Abandoned;
            }
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return Encoded::Done;
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
        // Mapping and compressing take about as long as each other, so the
        // rows are mapped on a second thread while the writer compresses.
        rows.emplace(source.height, quantiser->rowBytes(), [&q = *quantiser](int row, std::uint8_t* slot) {
            const auto indices = q.mapRow(row);
            std::memcpy(slot, indices.data(), indices.size());
            return true;
        });
    }
    // An abandoned or failed write is never committed, so no file is left
    // and an older one stays as it was.
    switch (encode(out, source, quantiser.get(), rows ? &*rows : nullptr)) {
    case Encoded::Done: return out.commit();
    case Encoded::Abandoned: return SaveProblem::Cancelled;
    case Encoded::Failed: break;
    }
    if (rows && rows->failure())
        return mappingFailure(rows->failure());
    return out.result().ok() ? SaveResult(SaveProblem::EncodeFailed) : SaveResult(out.result());
}

} // namespace th::image
