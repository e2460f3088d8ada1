#pragma once
// Reads a whole file into memory in one go, for data decoded or parsed as a
// block: pictures and text files. This is the one way the program reads a
// file: it is opened without blocking, must be a regular file, and must fit
// its kind's cap, so a pipe, a device or an endless file is refused at once.

#include "files/FileKind.h"
#include "files/FileResult.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace th::files {

struct WholeFile {
    std::vector<std::uint8_t> bytes;
    // Why there are no bytes: FileMissing, IsAFolder, NotARegularFile,
    // TooLarge, NameTooLong, LinkLoop, OutOfMemory or CannotRead with the errno.
    FileResult result;
};

[[nodiscard]] WholeFile readWholeFile(const std::filesystem::path& file, FileKind kind);

} // namespace th::files
