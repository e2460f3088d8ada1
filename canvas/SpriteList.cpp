#include "canvas/SpriteList.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace th::canvas {

SpriteList::SpriteList(ImageRelease releaseImage)
    : releaseImage_(std::move(releaseImage))
{
}

SpriteList::~SpriteList()
{
    clear();
}

SpriteEntry* SpriteList::current()
{
    return current_ ? &entries_[*current_] : nullptr;
}

const SpriteEntry* SpriteList::current() const
{
    return current_ ? &entries_[*current_] : nullptr;
}

SpriteEntry* SpriteList::first()
{
    return entries_.empty() ? nullptr : &entries_.front();
}

SpriteEntry* SpriteList::last()
{
    return entries_.empty() ? nullptr : &entries_.back();
}

const SpriteEntry* SpriteList::findByIndex(std::int32_t index) const
{
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [index](const SpriteEntry& entry) { return entry.index == index; });
    return found == entries_.end() ? nullptr : &*found;
}

void SpriteList::add(SpriteEntry entry)
{
    const std::size_t position = current_ ? *current_ + 1 : 0;
    entries_.insert(entries_.begin() + std::ptrdiff_t(position), std::move(entry));
    current_ = position;
}

void SpriteList::removeCurrent()
{
    if (!current_)
        return;
    const auto removed = entries_.begin() + std::ptrdiff_t(*current_);
    const std::int32_t gap = removed->index;
    release(*removed);
    entries_.erase(removed);
    for (SpriteEntry& entry : entries_) {
        if (entry.index > gap)
            --entry.index;
    }
    selectFirst();
}

void SpriteList::clear()
{
    for (const SpriteEntry& entry : entries_)
        release(entry);
    entries_.clear();
    current_.reset();
}

void SpriteList::moveToEnd(std::size_t position)
{
    if (position >= entries_.size())
        return;
    const auto moved = entries_.begin() + std::ptrdiff_t(position);
    std::rotate(moved, std::next(moved), entries_.end());
    selectLast();
}

SpriteEntry* SpriteList::hitTest(std::int32_t px, std::int32_t py)
{
    for (std::size_t position = entries_.size(); position-- > 0;) {
        const SpriteEntry& entry = entries_[position];
        // 64-bit edges: a sprite dragged far out must not wrap around.
        const bool inside = entry.x <= px && std::int64_t(px) < std::int64_t(entry.x) + entry.width
                         && entry.y <= py && std::int64_t(py) < std::int64_t(entry.y) + entry.height;
        if (inside) {
            moveToEnd(position);
            return current();
        }
    }
    selectFirst();
    return nullptr;
}

void SpriteList::selectFirst()
{
    current_ = entries_.empty() ? std::nullopt : std::optional<std::size_t>(0);
}

void SpriteList::selectLast()
{
    current_ = entries_.empty() ? std::nullopt : std::optional<std::size_t>(entries_.size() - 1);
}

void SpriteList::release(const SpriteEntry& entry) const
{
    if (releaseImage_)
        releaseImage_(entry.image);
}

} // namespace th::canvas
