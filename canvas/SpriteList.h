#pragma once
// The ordered list of placed sprites. Its order is the drawing order (first
// drawn at the bottom) and it has one cursor, the current sprite, which is what
// the user sees as the selected one. The canvas's list changes only through
// the editing API (CanvasEdit.h), which decides where the cursor goes; the
// methods here keep the cursor where it was unless they say otherwise.

#include "canvas/SpriteEntry.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace th::canvas {

class SpriteList {
public:
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    // Read-only view in drawing order.
    std::span<const SpriteEntry> entries() const { return entries_; }
    SpriteEntry& at(std::size_t position) { return entries_.at(position); }

    // Null when there is no current sprite (empty or just cleared).
    const SpriteEntry* current() const;
    std::optional<std::size_t> currentPosition() const { return current_; }
    // The first sprite whose index is given, or null.
    const SpriteEntry* findByIndex(std::int32_t index) const;
    // The topmost sprite whose full box holds the point.
    std::optional<std::size_t> topmostAt(std::int32_t px, std::int32_t py) const;

    // A position past the end selects nothing.
    void select(std::optional<std::size_t> position);
    void selectFirst();
    void selectLast();

    void insert(std::size_t position, SpriteEntry entry);
    // Removes and returns the sprite; the cursor is dropped if it pointed
    // past the new end.
    SpriteEntry take(std::size_t position);
    // Empties the list, handing back every sprite in drawing order.
    std::vector<SpriteEntry> takeAll();
    // Moves the sprite at a position to the end (drawn on top) and back.
    void moveToEnd(std::size_t position);
    void moveBackFromEnd(std::size_t position);

private:
    std::vector<SpriteEntry> entries_;
    std::optional<std::size_t> current_;
};

} // namespace th::canvas
