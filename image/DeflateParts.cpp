#include "image/DeflateParts.h"

#include "image/PngChunks.h"

#include <algorithm>
#include <exception>
#include <new>

namespace th::image {

namespace {

// zlib's largest window, and so the most input a part can refer back to.
constexpr std::size_t kWindowBytes = std::size_t{1} << 15;
constexpr std::uint8_t kFilterNone = 0;

} // namespace

struct DeflateParts::Part {
    std::vector<std::uint8_t> input; // the dictionary, then the part's rows
    std::size_t dictionaryBytes = 0;
    int rows = 0;
    bool first = false;
    bool last = false;
    std::vector<std::uint8_t> output;
    bool compressed = false; // output is final (or the part failed); under the mutex while threads run
    bool ok = false;
    std::exception_ptr outOfMemory; // thrown on a thread, rethrown on the caller's
};

DeflateParts::DeflateParts(std::size_t rowBytes, int rows, int threads, Sink sink)
    : rowBytes_(rowBytes)
    , rows_(rows)
    , rowsPerPart_(static_cast<int>(std::max<std::size_t>(1, kPartBytes / (rowBytes + 1))))
    , sink_(std::move(sink))
{
    // Threads that cannot be had (std::system_error, or std::bad_alloc for
    // their state) leave the work to those that could, or to the caller:
    // the bytes do not depend on who compresses a part.
    try {
        threads_.reserve(static_cast<std::size_t>(std::max(threads, 0)));
        for (int t = 0; threads > 1 && t < threads; ++t)
            threads_.emplace_back([this] { work(); });
    } catch (const std::exception&) {
    }
}

DeflateParts::~DeflateParts()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    work_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

bool DeflateParts::addRow(const std::uint8_t* row)
{
    if (failed_ || added_ >= rows_)
        return false;
    if (!filling_) {
        filling_ = std::make_unique<Part>();
        for (std::vector<std::uint8_t>* buffer : {&filling_->input, &filling_->output})
            if (!spareBuffers_.empty()) {
                *buffer = std::move(spareBuffers_.back());
                spareBuffers_.pop_back();
            }
        filling_->input.reserve(dictionary_.size() + static_cast<std::size_t>(rowsPerPart_) * (rowBytes_ + 1));
        filling_->input.assign(dictionary_.begin(), dictionary_.end());
        filling_->dictionaryBytes = dictionary_.size();
        filling_->first = added_ == 0;
    }
    filling_->input.push_back(kFilterNone);
    filling_->input.insert(filling_->input.end(), row, row + rowBytes_);
    ++filling_->rows;
    ++added_;
    if (filling_->rows == rowsPerPart_ || added_ == rows_)
        submit();
    return !failed_;
}

void DeflateParts::submit()
{
    std::shared_ptr<Part> part = std::move(filling_);
    part->last = added_ == rows_;
    const std::uint8_t* data = part->input.data() + part->dictionaryBytes;
    const std::size_t bytes = part->input.size() - part->dictionaryBytes;
    const uLong adler = adler32(1, data, static_cast<uInt>(bytes));
    adler_ = part->first ? adler : adler32_combine(adler_, adler, static_cast<z_off_t>(bytes));
    const std::size_t keep = std::min(kWindowBytes, part->input.size());
    dictionary_.assign(part->input.end() - static_cast<std::ptrdiff_t>(keep), part->input.end());

    inOrder_.push_back(part);
    if (threads_.empty()) {
        compress(*part);
        part->compressed = true;
    } else {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(part);
        }
        work_.notify_one();
    }
    if (!handOnFinished(part->last))
        failed_ = true;
}

// Hands on the parts that are done, oldest first. Waits for the oldest when
// more parts are out than the threads can work on, so memory stays at a few
// parts, and for every part after the last one.
bool DeflateParts::handOnFinished(bool waitForAll)
{
    const std::size_t mostOut = threads_.size() + 1;
    while (!inOrder_.empty()) {
        Part& oldest = *inOrder_.front();
        {
            std::unique_lock lock(mutex_);
            if (!oldest.compressed && !waitForAll && inOrder_.size() <= mostOut)
                return true;
            done_.wait(lock, [&] { return oldest.compressed; });
        }
        if (oldest.outOfMemory)
            std::rethrow_exception(oldest.outOfMemory);
        if (!oldest.ok || !sink_(oldest.output))
            return false;
        if (oldest.last && !oldest.first) {
            std::uint8_t trailer[4];
            putBigEndian32(trailer, static_cast<std::uint32_t>(adler_));
            if (!sink_(trailer))
                return false;
        }
        spareBuffers_.push_back(std::move(oldest.input));
        spareBuffers_.push_back(std::move(oldest.output));
        inOrder_.pop_front();
    }
    return true;
}

void DeflateParts::work()
{
    for (;;) {
        std::shared_ptr<Part> part;
        {
            std::unique_lock lock(mutex_);
            work_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (stopping_)
                return;
            part = std::move(queue_.front());
            queue_.pop_front();
        }
        compress(*part);
        {
            std::lock_guard lock(mutex_);
            part->compressed = true;
        }
        done_.notify_all();
    }
}

// The first part carries the zlib header (and, alone, the whole stream with
// its trailer); the others are raw deflate data that continue it.
void DeflateParts::compress(Part& part)
{
    part.ok = false;
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, part.first ? 15 : -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return;
    const std::size_t bytes = part.input.size() - part.dictionaryBytes;
    try {
        part.output.resize(deflateBound(&z, static_cast<uLong>(bytes)) + 16);
    } catch (const std::bad_alloc&) {
        deflateEnd(&z);
        part.outOfMemory = std::current_exception();
        return;
    }
    bool ok = part.dictionaryBytes == 0
              || deflateSetDictionary(&z, part.input.data(), static_cast<uInt>(part.dictionaryBytes)) == Z_OK;
    z.next_in = part.input.data() + part.dictionaryBytes;
    z.avail_in = static_cast<uInt>(bytes);
    z.next_out = part.output.data();
    z.avail_out = static_cast<uInt>(part.output.size());
    if (ok) {
        const int result = deflate(&z, part.last ? Z_FINISH : Z_SYNC_FLUSH);
        // deflateBound leaves room for all of it, so one call finishes.
        ok = part.last ? result == Z_STREAM_END : result == Z_OK && z.avail_in == 0 && z.avail_out > 0;
    }
    part.output.resize(part.output.size() - z.avail_out);
    deflateEnd(&z);
    part.ok = ok;
}

} // namespace th::image
