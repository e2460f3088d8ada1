#include "image/RowFeed.h"

#include <algorithm>
#include <utility>

namespace th::image {

RowFeed::RowFeed(int rows, std::size_t slotBytes, Producer produce, Threads threads)
    : rows_(rows)
    , slotBytes_(slotBytes)
    , produce_(std::move(produce))
{
    if (threads == Threads::Two)
        start();
}

// std::thread reports a thread the system would not start as
// std::system_error, and its own state or the slots as std::bad_alloc.
void RowFeed::start()
{
    try {
        slots_.resize(slotBytes_ * kSlots);
        worker_ = std::thread([this] { run(); });
    } catch (const std::exception&) {
        slots_.clear();
    }
}

RowFeed::~RowFeed()
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

std::exception_ptr RowFeed::failure() const
{
    std::lock_guard lock(mutex_);
    return failure_;
}

// An exception must not leave the thread (that ends the program): it is
// kept for the consumer, which stops at the row it waits for.
void RowFeed::run()
{
    std::exception_ptr failure;
    try {
        produceRows();
    } catch (...) {
        failure = std::current_exception();
    }
    {
        std::lock_guard lock(mutex_);
        failure_ = failure;
        ended_ = true;
    }
    rowsReady_.notify_one();
}

void RowFeed::produceRows()
{
    for (int row = 0; row < rows_; ++row) {
        {
            // Row r reuses the slot of row r - kSlots, which is free once the
            // consumer has taken the row after it.
            std::unique_lock lock(mutex_);
            if (row >= taken_ - 1 + kSlots) {
                producerNeeds_ = std::min(row + kBatch, rows_) + 1 - kSlots;
                producerWaits_ = true;
                slotsFree_.wait(lock, [&] { return stopping_ || taken_ >= producerNeeds_; });
                producerWaits_ = false;
            }
            if (stopping_)
                return;
        }
        if (!produce_(row, slots_.data() + std::size_t(row % kSlots) * slotBytes_))
            return;
        bool wake = false;
        {
            std::lock_guard lock(mutex_);
            produced_ = row + 1;
            wake = consumerWaits_ && produced_ >= consumerNeeds_;
        }
        if (wake)
            rowsReady_.notify_one();
    }
}

const std::uint8_t* RowFeed::next()
{
    if (!worker_.joinable())
        return produceHere();
    std::unique_lock lock(mutex_);
    const int row = taken_;
    if (produced_ <= row) {
        consumerNeeds_ = std::min(row + kBatch, rows_);
        consumerWaits_ = true;
        rowsReady_.wait(lock, [&] { return produced_ >= consumerNeeds_ || ended_; });
        consumerWaits_ = false;
        if (produced_ <= row)
            return nullptr;
    }
    ++taken_;
    const bool wake = producerWaits_ && taken_ >= producerNeeds_;
    lock.unlock();
    if (wake)
        slotsFree_.notify_one();
    return slots_.data() + std::size_t(row % kSlots) * slotBytes_;
}

// Without a second thread one slot serves every row.
const std::uint8_t* RowFeed::produceHere()
{
    if (ended_ || taken_ >= rows_)
        return nullptr;
    try {
        slots_.resize(slotBytes_);
        if (produce_(taken_, slots_.data())) {
            ++taken_;
            return slots_.data();
        }
    } catch (...) {
        failure_ = std::current_exception();
    }
    ended_ = true;
    return nullptr;
}

} // namespace th::image
