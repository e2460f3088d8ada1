#include "image/PngDecoder.h"

#include "image/Image.h"
#include "image/PngChunks.h"

#include <spng.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace th::image {
namespace {

constexpr int kColourGrey = 0;
constexpr int kColourRgb = 2;
constexpr int kColourPalette = 3;
constexpr int kColourGreyAlpha = 4;
constexpr int kColourRgba = 6;
constexpr std::size_t kIhdrBytes = 13;

// The depth of the stored data: the bit depth for palette and grey images,
// 24 for RGB, 32 for RGBA and for anything with a tRNS chunk, except that
// grey with tRNS reports its bit depth after expansion to grey+alpha.
int sourceDepthOf(int colourType, int bitDepth, bool hasTrns)
{
    if (hasTrns) {
        if (colourType == kColourGrey)
            return bitDepth < 8 ? 8 : bitDepth;
        if (colourType == kColourPalette || colourType == kColourRgb)
            return 32;
    }
    switch (colourType) {
    case kColourPalette:
    case kColourGrey:
    case kColourGreyAlpha:
        return bitDepth;
    case kColourRgb:
        return 24;
    default:
        return 32;
    }
}

// libspng refuses a side over its limits before it says what the header
// declared, so the refusal reads the size where every PNG keeps it: IHDR
// is the first chunk, its data the width and then the height.
std::pair<int, int> declaredSide(std::span<const std::uint8_t> data)
{
    constexpr std::size_t width = kPngSignatureBytes + kChunkLengthAndType;
    if (data.size() < width + 8)
        return {0, 0};
    const auto side = [](std::uint32_t v) { return static_cast<int>(std::min<std::uint32_t>(v, 0x7FFFFFFF)); };
    return {side(bigEndian32(data.data() + width)), side(bigEndian32(data.data() + width + 4))};
}

// libspng checks the sides against its limits before the header's CRC, and
// takes a header whose CRC the data cut off: both are believed only of a
// header that is whole.
bool headerCrcMatches(std::span<const std::uint8_t> data)
{
    constexpr std::size_t type = kPngSignatureBytes + 4;
    constexpr std::size_t crcAt = type + 4 + kIhdrBytes;
    return data.size() >= crcAt + kChunkCrc
           && crc32(0, data.data() + type, 4 + kIhdrBytes) == bigEndian32(data.data() + crcAt);
}

bool endsEarly(int spngError) { return spngError == SPNG_IO_EOF || spngError == SPNG_EOF; }

DecodeStatus statusOf(int spngError)
{
    return spngError == SPNG_EMEM ? DecodeStatus::OutOfMemory : DecodeStatus::Damaged;
}

struct ContextFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};

class PngSession final : public DecodeSession {
public:
    const DecodedHeader& header() const override { return header_; }

    // Reads the header and every chunk before the image data, with the CRC
    // of each chunk and the image data's Adler-32 checked, and libspng's own
    // limits set from the budget, so that no chunk can ask for more memory
    // than the file holds or the picture may take.
    [[nodiscard]] DecodeStatus start(std::span<const std::uint8_t> data, const DecodeLimits& limits)
    {
        ctx_.reset(spng_ctx_new(0));
        if (!ctx_)
            return DecodeStatus::OutOfMemory;
        const auto side = static_cast<std::uint32_t>(std::min<std::size_t>(limits.maxPixels, kMaxSide));
        const std::size_t budgetBytes = std::min(limits.maxPixels, SIZE_MAX / 4) * 4;
        if (spng_set_crc_action(ctx_.get(), SPNG_CRC_ERROR, SPNG_CRC_DISCARD) != 0
            || spng_set_image_limits(ctx_.get(), side, side) != 0
            || spng_set_chunk_limits(ctx_.get(), std::min(data.size(), budgetBytes), budgetBytes) != 0
            || spng_set_png_buffer(ctx_.get(), data.data(), data.size()) != 0)
            return DecodeStatus::Damaged;

        spng_ihdr ihdr{};
        const int error = spng_get_ihdr(ctx_.get(), &ihdr);
        if (!headerCrcMatches(data))
            return DecodeStatus::Damaged;
        if (error != 0) {
            if (error != SPNG_EUSER_WIDTH && error != SPNG_EUSER_HEIGHT)
                return statusOf(error);
            std::tie(header_.width, header_.height) = declaredSide(data);
            return DecodeStatus::TooLarge;
        }
        header_.width = static_cast<int>(ihdr.width);
        header_.height = static_cast<int>(ihdr.height);
        if (const DecodeStatus size = checkDeclaredSize(ihdr.width, ihdr.height, limits); size != DecodeStatus::Decoded)
            return size;

        // Reading tRNS reads every chunk before the image data. Data that
        // ends before the first image data chunk has ended is a picture
        // whose rows all broke off (libspng reads that chunk whole).
        spng_trns trns{};
        const int trnsRead = spng_get_trns(ctx_.get(), &trns);
        brokenOff_ = endsEarly(trnsRead);
        if (trnsRead != 0 && trnsRead != SPNG_ECHUNKAVAIL && !brokenOff_)
            return statusOf(trnsRead);
        const bool hasTrns = trnsRead == 0;
        header_.sourceDepth = sourceDepthOf(ihdr.color_type, ihdr.bit_depth, hasTrns);
        opaque_ = !hasTrns && ihdr.color_type != kColourGreyAlpha && ihdr.color_type != kColourRgba;
        interlaced_ = ihdr.interlace_method != 0;
        // Every layout arrives as 8-bit RGBA: palette and grey expanded, a
        // tRNS chunk as alpha, 16-bit samples by their high byte.
        if (brokenOff_)
            return DecodeStatus::Decoded;
        const int started = spng_decode_image(ctx_.get(), nullptr, 0, SPNG_FMT_RGBA8,
                                              SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE);
        brokenOff_ = endsEarly(started);
        return started == 0 || brokenOff_ ? DecodeStatus::Decoded : statusOf(started);
    }

    // Row by row, so a break in the data still leaves the rows before it. An
    // interlaced picture spreads every pass over all rows, so after a break
    // no row is whole. Undelivered rows of a picture without alpha are made
    // opaque black, as its missing pixels would be.
    DeliveredRows readRows(std::uint8_t* buffer, std::size_t stride) override
    {
        const std::size_t rowBytes = static_cast<std::size_t>(header_.width) * 4;
        int delivered = 0;
        bool whole = false;
        while (!brokenOff_) {
            spng_row_info row{};
            if (const int next = spng_get_row_info(ctx_.get(), &row); next != 0) {
                whole = next == SPNG_EOI && finishedCleanly();
                break;
            }
            const int decoded = spng_decode_row(ctx_.get(), buffer + row.row_num * stride, rowBytes);
            if (decoded != 0 && decoded != SPNG_EOI)
                break;
            ++delivered;
            if (decoded == SPNG_EOI) {
                whole = finishedCleanly();
                break;
            }
        }
        const int bottom = interlaced_ && !whole ? 0 : std::min(delivered, header_.height);
        if (opaque_)
            for (int y = bottom; y < header_.height; ++y)
                for (std::size_t x = 3; x < rowBytes; x += 4)
                    buffer[static_cast<std::size_t>(y) * stride + x] = 255;
        return {0, bottom, whole};
    }

private:
    // The last row came out; the image data must still end where its
    // stream says, with the right Adler-32, and the chunks after it read.
    bool finishedCleanly() { return spng_decode_chunks(ctx_.get()) == 0; }

    std::unique_ptr<spng_ctx, ContextFree> ctx_;
    DecodedHeader header_;
    bool opaque_ = true;
    bool interlaced_ = false;
    bool brokenOff_ = false; // the data ended before the first image data chunk did
};

} // namespace

Probe PngDecoder::probe(std::span<const std::uint8_t> data, const DecodeLimits& limits) const
{
    if (data.size() < kPngSignatureBytes || std::memcmp(data.data(), kPngSignature, kPngSignatureBytes) != 0)
        return {};
    auto session = std::make_unique<PngSession>();
    const DecodeStatus status = session->start(data, limits);
    const DecodedHeader header = session->header();
    if (status != DecodeStatus::Decoded)
        session.reset();
    return {status, header.width, header.height, std::move(session)};
}

} // namespace th::image
