#pragma once
// What every fuzz target shares: libFuzzer's entry point, which the target
// defines and which both libFuzzer and the corpus replay call, and a scratch
// folder of the process's own for targets that need files.

#include <cstddef>
#include <cstdint>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace th::fuzz {

// A fresh folder under the system's temporary folder, made on first use and
// removed when the process ends.
const std::filesystem::path& scratchFolder();

// Writes the bytes as the whole file, bypassing the program's own writer so
// that the code under test only ever reads it.
void putFile(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size);

} // namespace th::fuzz
