#include "image/MappedRowFeed.h"

#include "image/PaletteQuantiser.h"

#include <algorithm>

namespace th::image {

MappedRowFeed::MappedRowFeed(PaletteQuantiser& quantiser, int height)
    : quantiser_(quantiser)
    , height_(height)
{
    start();
}

// std::thread reports a thread the system would not start as
// std::system_error, and its own state or the slots as std::bad_alloc.
void MappedRowFeed::start()
{
    try {
        slots_.resize(kSlots);
        worker_ = std::thread([this] { produce(); });
    } catch (const std::exception&) {
        slots_.clear();
    }
}

MappedRowFeed::~MappedRowFeed()
{
    if (!worker_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    slotsFree_.notify_all();
    worker_.join();
}

std::exception_ptr MappedRowFeed::failure() const
{
    std::lock_guard lock(mutex_);
    return failure_;
}

// An exception must not leave the thread (that ends the program): it is
// kept for the writer, which stops at the row it waits for.
void MappedRowFeed::produce()
{
    try {
        mapRows();
    } catch (...) {
        {
            std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
        }
        rowsReady_.notify_one();
    }
}

void MappedRowFeed::mapRows()
{
    for (int row = 0; row < height_; ++row) {
        {
            // Row r reuses the slot of row r - kSlots, which is free once the
            // writer has taken the row after it.
            std::unique_lock lock(mutex_);
            if (row >= taken_ - 1 + kSlots) {
                mapperNeeds_ = std::min(row + kBatch, height_) + 1 - kSlots;
                mapperWaits_ = true;
                slotsFree_.wait(lock, [&] { return stopping_ || taken_ >= mapperNeeds_; });
                mapperWaits_ = false;
            }
            if (stopping_)
                return;
        }
        const auto indices = quantiser_.mapRow(row);
        slots_[std::size_t(row % kSlots)].assign(indices.begin(), indices.end());
        bool wake = false;
        {
            std::lock_guard lock(mutex_);
            mapped_ = row + 1;
            wake = writerWaits_ && mapped_ >= writerNeeds_;
        }
        if (wake)
            rowsReady_.notify_one();
    }
}

const std::uint8_t* MappedRowFeed::next()
{
    if (!worker_.joinable())
        return quantiser_.mapRow(taken_++).data();
    std::unique_lock lock(mutex_);
    const int row = taken_;
    if (mapped_ <= row) {
        writerNeeds_ = std::min(row + kBatch, height_);
        writerWaits_ = true;
        rowsReady_.wait(lock, [&] { return mapped_ >= writerNeeds_ || failure_; });
        writerWaits_ = false;
        if (mapped_ <= row)
            return nullptr;
    }
    ++taken_;
    const bool wake = mapperWaits_ && taken_ >= mapperNeeds_;
    lock.unlock();
    if (wake)
        slotsFree_.notify_one();
    return slots_[std::size_t(row % kSlots)].data();
}

} // namespace th::image
