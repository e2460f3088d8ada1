#pragma once
// Where the shared benchmark data lies, and the memory figures every
// benchmark reports.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

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

} // namespace th::bench
