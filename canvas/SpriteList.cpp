#include "canvas/SpriteList.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace th::canvas {

const SpriteEntry* SpriteList::current() const
{
    return current_ ? &entries_[*current_] : nullptr;
}

const SpriteEntry* SpriteList::findByIndex(std::int32_t index) const
{
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [index](const SpriteEntry& entry) { return entry.index == index; });
    return found == entries_.end() ? nullptr : &*found;
}

std::optional<std::size_t> SpriteList::topmostAt(std::int32_t px, std::int32_t py) const
{
    for (std::size_t position = entries_.size(); position-- > 0;) {
        const SpriteEntry& entry = entries_[position];
        // 64-bit edges: a sprite dragged far out must not wrap around.
        const bool inside = entry.x <= px && std::int64_t(px) < std::int64_t(entry.x) + entry.width
                         && entry.y <= py && std::int64_t(py) < std::int64_t(entry.y) + entry.height;
        if (inside)
            return position;
    }
    return std::nullopt;
}

void SpriteList::select(std::optional<std::size_t> position)
{
    current_ = position && *position < entries_.size() ? position : std::nullopt;
}

void SpriteList::selectFirst()
{
    select(0);
}

void SpriteList::selectLast()
{
    select(entries_.empty() ? std::nullopt : std::optional<std::size_t>(entries_.size() - 1));
}

void SpriteList::insert(std::size_t position, SpriteEntry entry)
{
    entries_.insert(entries_.begin() + std::ptrdiff_t(std::min(position, entries_.size())), std::move(entry));
}

SpriteEntry SpriteList::take(std::size_t position)
{
    SpriteEntry taken = std::move(entries_.at(position));
    entries_.erase(entries_.begin() + std::ptrdiff_t(position));
    select(current_);
    return taken;
}

std::vector<SpriteEntry> SpriteList::takeAll()
{
    current_.reset();
    return std::exchange(entries_, {});
}

void SpriteList::moveToEnd(std::size_t position)
{
    if (position >= entries_.size())
        return;
    const auto moved = entries_.begin() + std::ptrdiff_t(position);
    std::rotate(moved, std::next(moved), entries_.end());
}

void SpriteList::moveBackFromEnd(std::size_t position)
{
    if (position >= entries_.size())
        return;
    std::rotate(entries_.begin() + std::ptrdiff_t(position), std::prev(entries_.end()), entries_.end());
}

} // namespace th::canvas
