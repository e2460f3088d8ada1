#include "image/MappedRowFeed.h"

#include "image/PaletteQuantiser.h"

#include <algorithm>

namespace th::image {

MappedRowFeed::MappedRowFeed(PaletteQuantiser& quantiser, int height)
    : quantiser_(quantiser)
    , height_(height)
    , slots_(kSlots)
    , worker_([this] { produce(); })
{
}

MappedRowFeed::~MappedRowFeed()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    slotsFree_.notify_all();
    worker_.join();
}

void MappedRowFeed::produce()
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
    std::unique_lock lock(mutex_);
    const int row = taken_;
    if (mapped_ <= row) {
        writerNeeds_ = std::min(row + kBatch, height_);
        writerWaits_ = true;
        rowsReady_.wait(lock, [&] { return mapped_ >= writerNeeds_; });
        writerWaits_ = false;
    }
    ++taken_;
    const bool wake = mapperWaits_ && taken_ >= mapperNeeds_;
    lock.unlock();
    if (wake)
        slotsFree_.notify_one();
    return slots_[std::size_t(row % kSlots)].data();
}

} // namespace th::image
