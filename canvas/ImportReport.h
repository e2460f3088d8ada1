#pragma once
// What an import tells the user when it is done, in one notice: the files it
// could not read, the pictures whose data broke off (imported with blank
// rows), the files the name rule passed over for their capital ".PNG", the
// pictures too large to read, and how many pictures now lie wholly outside
// the canvas, where they cannot be reached but would still be exported.

#include "canvas/SpriteEntry.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace th::canvas {

struct ImportReport {
    std::vector<std::string> unreadable = {}; // file names
    std::vector<std::string> incomplete = {}; // file names
    std::vector<std::string> wrongCase = {};  // file names
    std::vector<std::string> tooLarge = {};   // one finished line each
    int outside = 0;

    // One line per kind that happened, names listed up to ten; empty when
    // there is nothing to say.
    std::string notice() const;
};

// The sprites whose whole box lies outside the square canvas of `size`.
int countOutside(std::span<const SpriteEntry> sprites, std::int32_t size);

} // namespace th::canvas
