#include "export/FileProblem.h"

namespace th::exporting {

namespace fs = std::filesystem;

std::string whyNotWritten(const fs::path& file)
{
    std::error_code error;
    if (fs::is_directory(file, error))
        return "a folder of that name is in the way";
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    // A path that runs through a file counts as missing, not as an error.
    if (!fs::exists(folder, error))
        return "the folder " + folder.string() + " does not exist";
    if (!fs::is_directory(folder, error))
        return folder.string() + " is a file, not a folder";
    return "the folder " + folder.string() + " does not accept new files or the disk is full";
}

std::string whyNotRead(const fs::path& file)
{
    std::error_code error;
    if (!fs::exists(file, error))
        return "it no longer exists";
    if (fs::is_directory(file, error))
        return "it is a folder";
    return "it cannot be opened";
}

} // namespace th::exporting
