#pragma once
// Reads a whole file into memory in one go, for data decoded or parsed as a
// block: pictures and text files.

#include "files/FileResult.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace th::files {

struct WholeFile {
    std::vector<std::uint8_t> bytes;
    // Why there are no bytes: FileMissing, IsAFolder, OutOfMemory or
    // CannotRead with the errno.
    FileResult result;
};

[[nodiscard]] WholeFile readWholeFile(const std::filesystem::path& file);

} // namespace th::files
