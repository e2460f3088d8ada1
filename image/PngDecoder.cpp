#include "image/PngDecoder.h"

#include "image/Image.h"
#include "image/PngChunks.h"
#include "image/PngIdatStream.h"
#include "image/PngUnfilter.h"
#include "image/RowFeed.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <memory>
#include <new>

namespace th::image {
namespace {

struct MemoryCursor {
    const std::uint8_t* data;
    std::size_t length;
    std::size_t position;
};

// Reads from the block and never past its true end: a truncated file is a
// libpng error, not a read of whatever follows it in memory.
void readFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* cursor = static_cast<MemoryCursor*>(png_get_io_ptr(png));
    if (count > cursor->length - cursor->position)
        png_error(png, "PNG data ends early");
    std::memcpy(out, cursor->data + cursor->position, count);
    cursor->position += count;
}

void discardWarning(png_structp, png_const_charp) {}

// libpng's own handler prints every error; a damaged file is an expected
// outcome here, reported through the decode's result.
[[noreturn]] void stopQuietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// The depth of the stored data: the bit depth for palette and grey images,
// 24 for RGB, 32 for RGBA and for anything with a tRNS chunk, except that
// grey with tRNS reports its bit depth after expansion to grey+alpha.
int sourceDepthOf(int colourType, int bitDepth, bool hasTrns)
{
    if (hasTrns) {
        if (colourType == PNG_COLOR_TYPE_GRAY)
            return bitDepth < 8 ? 8 : bitDepth;
        if (colourType == PNG_COLOR_TYPE_PALETTE || colourType == PNG_COLOR_TYPE_RGB)
            return 32;
    }
    switch (colourType) {
    case PNG_COLOR_TYPE_PALETTE:
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return bitDepth;
    case PNG_COLOR_TYPE_RGB:
        return 24;
    default:
        return 32;
    }
}

// A chunk's length is a promise too: libpng allocates a whole sPLT (or
// text) chunk before reading it, so 8 bytes claiming 1.9 GB cost 1.9 GB.
// The data is all in memory, so every chunk that png_read_info reads, the
// ones before the first IDAT, must fit in what is left of it.
bool headerChunksFit(std::span<const std::uint8_t> data)
{
    for (std::size_t at = kPngSignatureBytes; data.size() - at >= kChunkLengthAndType;) {
        const std::size_t length = bigEndian32(data.data() + at);
        if (std::memcmp(data.data() + at + 4, "IDAT", 4) == 0)
            return true;
        const std::size_t left = data.size() - at - kChunkLengthAndType;
        if (left < kChunkCrc || length > left - kChunkCrc)
            return false;
        at += kChunkLengthAndType + length + kChunkCrc;
    }
    return false; // no image data: libpng would refuse it too
}

class PngSession final : public DecodeSession {
public:
    PngSession(std::span<const std::uint8_t> data)
        : cursor_{data.data(), data.size(), 0} {}
    ~PngSession() override { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngSession(const PngSession&) = delete;
    PngSession& operator=(const PngSession&) = delete;

    const DecodedHeader& header() const override { return header_; }

    // Reads the header, checks the declared size and sets every
    // transformation. Only plain values live in this frame, so libpng's
    // longjmp out of it skips no destructor.
    [[nodiscard]] DecodeStatus start(const DecodeLimits& limits)
    {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, stopQuietly, discardWarning);
        if (!png_)
            return DecodeStatus::OutOfMemory;
        info_ = png_create_info_struct(png_);
        if (!info_)
            return DecodeStatus::OutOfMemory;
        if (setjmp(png_jmpbuf(png_)))
            return DecodeStatus::Damaged;
        // Every size PNG allows is read, so that the budget below, not
        // libpng's default limit, refuses a large one by its declared size.
        png_set_user_limits(png_, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
        png_set_read_fn(png_, &cursor_, readFromMemory);
        png_read_info(png_, info_);

        // png_read_update_info below allocates a row, so the size is checked
        // first.
        header_.width = static_cast<int>(png_get_image_width(png_, info_));
        header_.height = static_cast<int>(png_get_image_height(png_, info_));
        if (const DecodeStatus size = checkDeclaredSize(header_.width, header_.height, limits);
            size != DecodeStatus::Decoded)
            return size;

        const int colourType = png_get_color_type(png_, info_);
        const int bitDepth = png_get_bit_depth(png_, info_);
        const bool hasTrns = png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;
        if (bitDepth == 8 && !hasTrns && png_get_interlace_type(png_, info_) == PNG_INTERLACE_NONE) {
            if (colourType == PNG_COLOR_TYPE_RGB)
                plainPixelBytes_ = 3;
            else if (colourType == PNG_COLOR_TYPE_RGBA)
                plainPixelBytes_ = 4;
        }
        if (hasTrns)
            png_set_tRNS_to_alpha(png_);
        if (colourType == PNG_COLOR_TYPE_PALETTE)
            png_set_palette_to_rgb(png_);
        else if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
            if (bitDepth < 8)
                png_set_expand(png_);
            png_set_gray_to_rgb(png_);
        }
        if (bitDepth == 16)
            png_set_strip_16(png_);
        passes_ = png_set_interlace_handling(png_);
        // libpng 1.6 refuses new transformations after this call, so all of
        // them are set above and the header is updated once.
        png_read_update_info(png_, info_);

        header_.outputDepth = png_get_color_type(png_, info_) == PNG_COLOR_TYPE_RGB ? 24 : 32;
        header_.sourceDepth = sourceDepthOf(colourType, bitDepth, hasTrns);
        const std::size_t rowBytes = png_get_rowbytes(png_, info_);
        const bool plain = png_get_bit_depth(png_, info_) == 8
                           && rowBytes == static_cast<std::size_t>(header_.width) * (header_.outputDepth / 8);
        return plain ? DecodeStatus::Decoded : DecodeStatus::Damaged;
    }

    // A break in the data ends the read at once. An interlaced image spreads
    // every pass over all rows, so after a break all rows hold what arrived.
    DeliveredRows readRows(std::uint8_t* buffer, std::size_t stride) override
    {
        if (plainPixelBytes_ != 0)
            return readPlainRows(buffer, stride);
        row_ = 0;
        if (setjmp(png_jmpbuf(png_)))
            return {0, passes_ > 1 ? header_.height : row_};
        for (int pass = 0; pass < passes_; ++pass)
            for (row_ = 0; row_ < header_.height; ++row_)
                png_read_row(png_, buffer + static_cast<std::size_t>(row_) * stride, nullptr);
        return {0, header_.height};
    }

private:
    // Rows of 8-bit RGB or RGBA need none of libpng's transformations, so
    // they are read here, where inflating (the larger half of the work) runs
    // on a second thread while this one unfilters the rows before: a 4096 x
    // 4096 sheet decodes in under three fifths of the time libpng alone takes.
    DeliveredRows readPlainRows(std::uint8_t* buffer, std::size_t stride)
    {
        const std::size_t rowBytes = static_cast<std::size_t>(header_.width) * plainPixelBytes_;
        const auto height = static_cast<std::size_t>(header_.height);
        const std::unique_ptr<std::uint8_t[]> zeros(new (std::nothrow) std::uint8_t[rowBytes]());
        if (!zeros)
            return {0, 0};
        // The header has been read up to the first IDAT chunk's data.
        PngIdatStream data({cursor_.data, cursor_.length}, cursor_.position);
        const auto threads = rowBytes * height >= kSecondThreadBytes ? RowFeed::Threads::Two : RowFeed::Threads::One;
        RowFeed rows(header_.height, rowBytes + 1,
                     [&](int, std::uint8_t* slot) { return data.read(slot, rowBytes + 1); }, threads);
        const std::uint8_t* above = zeros.get();
        for (int y = 0; y < header_.height; ++y) {
            const std::uint8_t* filtered = rows.next();
            std::uint8_t* out = buffer + static_cast<std::size_t>(y) * stride;
            if (!filtered || !unfilterRow(filtered[0], filtered + 1, above, out, rowBytes, plainPixelBytes_))
                return {0, y};
            above = out;
        }
        return {0, header_.height};
    }

    // Below this much row data a second thread costs more than it saves.
    static constexpr std::size_t kSecondThreadBytes = std::size_t{1} << 20;

    MemoryCursor cursor_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    int passes_ = 1;
    int plainPixelBytes_ = 0; // 3 or 4 when the rows are read without libpng
    // A member, not a local: a local changed after setjmp is undefined after
    // the longjmp back.
    int row_ = 0;
    DecodedHeader header_;
};

} // namespace

Probe PngDecoder::probe(std::span<const std::uint8_t> data, const DecodeLimits& limits) const
{
    if (data.size() < kPngSignatureBytes || png_sig_cmp(data.data(), 0, kPngSignatureBytes) != 0)
        return {};
    if (!headerChunksFit(data))
        return {DecodeStatus::Damaged, 0, 0, nullptr};
    auto session = std::make_unique<PngSession>(data);
    const DecodeStatus status = session->start(limits);
    const DecodedHeader header = session->header();
    if (status != DecodeStatus::Decoded)
        session.reset();
    return {status, header.width, header.height, std::move(session)};
}

} // namespace th::image
