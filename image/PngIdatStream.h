#pragma once
// The image data of a PNG held in memory, inflated row by row: the IDAT
// chunks from the first one on, each checked against its CRC before its bytes
// are used. A chunk cut short by the end of the data gives what it holds, so
// a file that breaks off still gives every row before the break.

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <span>

namespace th::image {

class PngIdatStream {
public:
    // `firstData`: where the first IDAT chunk's data begins in `file`, just
    // after its length and type.
    PngIdatStream(std::span<const std::uint8_t> file, std::size_t firstData);
    ~PngIdatStream();
    PngIdatStream(const PngIdatStream&) = delete;
    PngIdatStream& operator=(const PngIdatStream&) = delete;

    // Inflates the next `count` bytes into `out`; false when the data ends,
    // breaks or is damaged before they are all there.
    [[nodiscard]] bool read(std::uint8_t* out, std::size_t count);

private:
    bool nextChunk();
    bool startChunk(std::size_t dataAt);

    std::span<const std::uint8_t> file_;
    std::size_t chunkEnd_ = 0; // where the current chunk's data ends
    z_stream zlib_{};
    bool ready_ = false; // the inflater is set up and the data is not yet spent or damaged
};

} // namespace th::image
