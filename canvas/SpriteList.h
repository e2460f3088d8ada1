#pragma once
// The ordered list of placed sprites. Its order is the drawing order (first
// drawn at the bottom) and it has one cursor, the current sprite, which is what
// the user sees as the selected one. The cursor moves only as the methods below
// say, because the canvas commands rely on exactly these rules.

#include "canvas/SpriteEntry.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace th::canvas {

// Frees a sprite's picture in the image library.
using ImageRelease = std::function<void(ImageHandle)>;

class SpriteList {
public:
    // The list owns its sprites' pictures and gives each back through
    // releaseImage when the sprite is removed, cleared or destroyed.
    explicit SpriteList(ImageRelease releaseImage = {});
    ~SpriteList();
    SpriteList(const SpriteList&) = delete;
    SpriteList& operator=(const SpriteList&) = delete;

    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    // Read-only view in drawing order; looking does not move the cursor.
    std::span<const SpriteEntry> entries() const { return entries_; }

    // Null when there is no current sprite (empty or just cleared).
    SpriteEntry* current();
    const SpriteEntry* current() const;
    SpriteEntry* first();
    SpriteEntry* last();
    // The first sprite whose index is given, or null. The cursor stays.
    const SpriteEntry* findByIndex(std::int32_t index) const;

    // Inserts directly after the current sprite (at the front when there is
    // none) and makes the new sprite current.
    void add(SpriteEntry entry);
    // Frees the current sprite's picture, removes it, closes the gap in the
    // indices and leaves the first sprite current. No-op without a current one.
    void removeCurrent();
    // Frees every picture and empties the list; no sprite is current after.
    void clear();
    // Moves the sprite at a list position to the end (drawn on top), current.
    void moveToEnd(std::size_t position);
    // Finds the topmost sprite whose full box holds the point, moves it to the
    // end and makes it current; on a miss the first sprite becomes current.
    SpriteEntry* hitTest(std::int32_t px, std::int32_t py);

    // A pass over the whole list in drawing order; it leaves the last sprite
    // current, as every whole-list pass of the canvas does.
    template <typename Visit>
    void passOver(Visit visit)
    {
        for (SpriteEntry& entry : entries_)
            visit(entry);
        selectLast();
    }

private:
    void selectFirst();
    void selectLast();
    void release(const SpriteEntry& entry) const;

    std::vector<SpriteEntry> entries_;
    std::optional<std::size_t> current_;
    ImageRelease releaseImage_;
};

} // namespace th::canvas
