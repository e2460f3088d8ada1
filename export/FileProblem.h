#pragma once
// Plain words for why a file the export needed could not be used, found by
// looking at the file system after the failure.

#include <filesystem>
#include <string>

namespace th::exporting {

// Why nothing could be written at `file`, as a clause: "the folder /a/b
// does not exist".
std::string whyNotWritten(const std::filesystem::path& file);

// Why `file` could not be read, as a clause: "it no longer exists".
std::string whyNotRead(const std::filesystem::path& file);

} // namespace th::exporting
