#pragma once
// Where the shared benchmark data lies, and the memory figures every
// benchmark reports.

#include <benchmark/benchmark.h>
#include <png.h>

#include <filesystem>
#include <string>
#include <vector>

namespace th::bench {

// TH_BENCH_DATA in the environment, else the shared folder beside the
// repository.
std::filesystem::path dataFolder();
// The 400 sprites, as a folder path ending in "/".
std::string spriteFolder();
// False, with the benchmark marked skipped, when the sprites are missing.
bool haveSprites(benchmark::State& state);

// The largest resident size so far; it only ever grows, so read one case
// per process when the figure matters.
double peakMegabytes();
double residentMegabytes();

// A bare libpng write at level 9 with filter NONE, one pointer per row: the
// floor a save is measured against.
bool bareWrite(const std::filesystem::path& file, int width, int height, int bitDepth, int colourType,
               const std::vector<png_color>& palette, const std::vector<const std::uint8_t*>& rows);

} // namespace th::bench
