#pragma once
// One zlib stream at level 9, compressed in parts on several threads: the
// rows, each after its filter-type byte NONE, are cut into parts of whole
// rows of about kPartBytes. Each part is deflated with the last 32 KiB of the
// input before it as its dictionary and ends with a sync flush, the last one
// with the end of the stream; the header comes from the first part and the
// Adler-32 values are combined into the trailer. The part size is a constant,
// never taken from the number of threads, so the bytes are the same on every
// machine and with any number of threads.

#include <zlib.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace th::image {

class DeflateParts {
public:
    // About this much row data goes into one part. A cut ends a deflate
    // block early and moves every later block's bounds, which on the shared
    // 4096 sheet cost from -0.2 % to +0.6 % of the file for part sizes
    // between 640 KiB and 1 MiB, and +1.0 % for the 1-bit sheet at exactly
    // 1 MiB; 7/8 MiB keeps every depth within +0.25 % there.
    static constexpr std::size_t kPartBytes = std::size_t{7} << 17;

    // Takes the compressed stream in order, on the thread that adds the
    // rows; false stops the stream.
    using Sink = std::function<bool(std::span<const std::uint8_t>)>;

    // `rowBytes` per row, `rows` rows in all; the parts are compressed on
    // `threads` threads (1: on the caller's own).
    DeflateParts(std::size_t rowBytes, int rows, int threads, Sink sink);
    // Stops the threads, also when the stream was given up half way.
    ~DeflateParts();
    DeflateParts(const DeflateParts&) = delete;
    DeflateParts& operator=(const DeflateParts&) = delete;

    // Adds the next row; the stream ends with the last one. False once the
    // sink or zlib failed; throws std::bad_alloc when memory runs out, on
    // whichever thread it ran out.
    [[nodiscard]] bool addRow(const std::uint8_t* row);

private:
    struct Part;

    void submit();
    bool handOnFinished(bool waitForAll);
    void work();
    static void compress(Part& part);

    const std::size_t rowBytes_;
    const int rows_;
    const int rowsPerPart_;
    const Sink sink_;
    int added_ = 0;
    bool failed_ = false;
    std::unique_ptr<Part> filling_;        // the part rows go into
    std::vector<std::uint8_t> dictionary_; // the last 32 KiB of input so far
    uLong adler_ = 1;                      // of all input so far
    std::deque<std::shared_ptr<Part>> inOrder_; // given to the threads, not yet handed on
    // The buffers of parts handed on, for the parts to come: fresh megabytes
    // for every part cost a page fault every 4 KiB.
    std::vector<std::vector<std::uint8_t>> spareBuffers_;

    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable done_;
    std::deque<std::shared_ptr<Part>> queue_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace th::image
