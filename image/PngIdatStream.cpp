#include "image/PngIdatStream.h"

#include "image/PngChunks.h"

#include <cstring>

namespace th::image {

PngIdatStream::PngIdatStream(std::span<const std::uint8_t> file, std::size_t firstData)
    : file_(file)
{
    ready_ = inflateInit(&zlib_) == Z_OK && firstData >= kChunkLengthAndType && firstData <= file.size()
             && startChunk(firstData);
    // Every chunk's CRC already vouches for the compressed bytes, and the
    // inflated ones follow from them, so the stream's own Adler-32 over the
    // inflated bytes (about a tenth of the inflating time) is not computed.
    if (ready_)
        inflateValidate(&zlib_, 0);
}

// Safe also when inflateInit failed: zlib then answers Z_STREAM_ERROR.
PngIdatStream::~PngIdatStream() { inflateEnd(&zlib_); }

bool PngIdatStream::startChunk(std::size_t dataAt)
{
    const std::uint8_t* header = file_.data() + dataAt - kChunkLengthAndType;
    if (std::memcmp(header + 4, "IDAT", 4) != 0)
        return false; // the image data is over
    const std::size_t length = bigEndian32(header);
    const std::size_t left = file_.size() - dataAt;
    if (left >= kChunkCrc && length <= left - kChunkCrc) {
        const uLong crc = crc32(crc32(0, header + 4, 4), file_.data() + dataAt, uInt(length));
        if (crc != bigEndian32(file_.data() + dataAt + length))
            return false;
        chunkEnd_ = dataAt + length;
    } else {
        chunkEnd_ = file_.size(); // cut short: no CRC to check, the rows in it still count
    }
    // zlib only reads through next_in; it is declared const only where
    // ZLIB_CONST is defined.
    zlib_.next_in = const_cast<std::uint8_t*>(file_.data() + dataAt);
    zlib_.avail_in = uInt(chunkEnd_ - dataAt); // below a chunk's 32-bit length
    return true;
}

bool PngIdatStream::nextChunk()
{
    const std::size_t dataAt = chunkEnd_ + kChunkCrc + kChunkLengthAndType;
    return dataAt <= file_.size() && startChunk(dataAt);
}

bool PngIdatStream::read(std::uint8_t* out, std::size_t count)
{
    zlib_.next_out = out;
    zlib_.avail_out = uInt(count);
    while (ready_ && zlib_.avail_out > 0) {
        if (zlib_.avail_in == 0 && !nextChunk()) {
            ready_ = false;
            break;
        }
        const int status = inflate(&zlib_, Z_NO_FLUSH);
        // Z_BUF_ERROR only says this chunk is spent; the stream's end or any
        // other answer stops the rows here.
        if (status != Z_OK && status != Z_BUF_ERROR && !(status == Z_STREAM_END && zlib_.avail_out == 0))
            ready_ = false;
    }
    return zlib_.avail_out == 0;
}

} // namespace th::image
