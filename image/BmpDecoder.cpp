#include "image/BmpDecoder.h"

#include <algorithm>
#include <array>

namespace th::image {
namespace {

// File header (14 bytes):   0 "BM", 2 file size, 6 and 8 reserved (zero),
//                           10 offset of the pixel data.
// Information header at 14: 0 its size, 4 width, 8 height, 12 planes,
//                           14 bits per pixel, 16 compression, 32 colours used.
// The colour table (blue, green, red, reserved) follows the information header.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfo = kFileHeaderSize;
constexpr std::size_t kMinimumHeaders = kFileHeaderSize + 36;

std::uint32_t le32(std::span<const std::uint8_t> d, std::size_t at)
{
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}
std::uint16_t le16(std::span<const std::uint8_t> d, std::size_t at)
{
    return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

class BmpSession final : public DecodeSession {
public:
    BmpSession(std::span<const std::uint8_t> data, DecodedHeader header)
        : data_(data), header_(header) {}

    const DecodedHeader& header() const override { return header_; }

    // The file holds the bottom row first, so the rows delivered before a
    // break are the bottom ones.
    DeliveredRows readRows(std::uint8_t* buffer, std::size_t stride) override
    {
        const int bits = header_.sourceDepth;
        const bool indexed = bits == 1 || bits == 4 || bits == 8;
        if (le32(data_, kInfo + 16) != 0 || !(indexed || bits == 16 || bits == 24 || bits == 32))
            return {};
        if (indexed)
            readColourTable(bits);
        const std::size_t width = static_cast<std::size_t>(header_.width);
        const std::size_t rowBytes = (width * static_cast<std::size_t>(bits) + 31) / 32 * 4;
        std::size_t at = le32(data_, 10);
        for (int fileRow = 0; fileRow < header_.height; ++fileRow, at += rowBytes) {
            if (at > data_.size() || data_.size() - at < rowBytes)
                return {header_.height - fileRow, header_.height};
            std::uint8_t* out = buffer + static_cast<std::size_t>(header_.height - 1 - fileRow) * stride;
            const std::uint8_t* in = data_.data() + at;
            for (std::size_t x = 0; x < width; ++x, out += 3) {
                const Rgb c = pixel(in, x, bits);
                out[0] = c.r;
                out[1] = c.g;
                out[2] = c.b;
            }
        }
        return {0, header_.height};
    }

private:
    // The table holds "colours used" entries, or 2^bits when that field is 0;
    // entries that lie past the end of the data stay black.
    void readColourTable(int bits)
    {
        std::size_t count = le32(data_, kInfo + 32);
        if (count == 0 || count > (1u << bits))
            count = 1u << bits;
        const std::size_t start = kInfo + le32(data_, kInfo);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = start + i * 4;
            if (at > data_.size() || data_.size() - at < 4)
                break;
            table_[i] = {data_[at + 2], data_[at + 1], data_[at]};
        }
    }

    Rgb pixel(const std::uint8_t* in, std::size_t x, int bits) const
    {
        switch (bits) {
        case 1:
            return table_[(in[x / 8] >> (7 - x % 8)) & 1];
        case 4:
            return table_[(in[x / 2] >> (x % 2 ? 0 : 4)) & 15];
        case 8:
            return table_[in[x]];
        case 16: {
            const int v = in[x * 2] | in[x * 2 + 1] << 8;
            return {static_cast<std::uint8_t>(((v >> 10) & 31) << 3),
                    static_cast<std::uint8_t>(((v >> 5) & 31) << 3),
                    static_cast<std::uint8_t>((v & 31) << 3)};
        }
        default: {
            const std::uint8_t* p = in + x * static_cast<std::size_t>(bits / 8);
            return {p[2], p[1], p[0]};
        }
        }
    }

    std::span<const std::uint8_t> data_;
    DecodedHeader header_;
    std::array<Rgb, 256> table_{};
};

} // namespace

Probe BmpDecoder::probe(std::span<const std::uint8_t> data, const DecodeLimits& limits) const
{
    if (data.size() < 2 || data[0] != 'B' || data[1] != 'M')
        return {};
    if (data.size() < kMinimumHeaders || le32(data, 6) != 0)
        return {DecodeStatus::Damaged, 0, 0, nullptr};
    DecodedHeader header;
    header.width = static_cast<std::int32_t>(le32(data, kInfo + 4));
    header.height = static_cast<std::int32_t>(le32(data, kInfo + 8));
    header.sourceDepth = le16(data, kInfo + 14);
    header.outputDepth = 24;
    const DecodeStatus status = checkDeclaredSize(header.width, header.height, limits);
    if (status != DecodeStatus::Decoded)
        return {status, header.width, header.height, nullptr};
    return {status, header.width, header.height, std::make_unique<BmpSession>(data, header)};
}

} // namespace th::image
