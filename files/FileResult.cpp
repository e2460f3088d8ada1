#include "files/FileResult.h"

#include <cerrno>
#include <cstring>

namespace th::files {

namespace {

std::string folderOf(const std::filesystem::path& file)
{
    return file.has_parent_path() ? file.parent_path().string() : std::string(".");
}

// The system's own words, for causes we have no plainer words for.
std::string systemWords(int error)
{
    return error == 0 ? std::string() : std::string(" (") + std::strerror(error) + ")";
}

std::string inWholeUnits(std::uint64_t bytes)
{
    constexpr std::uint64_t kMiB = 1 << 20;
    return bytes >= kMiB && bytes % kMiB == 0 ? std::to_string(bytes / kMiB) + " MB"
                                              : std::to_string(bytes) + " bytes";
}

} // namespace

FileResult fromErrno(int error, FileError step)
{
    switch (error) {
    case 0:
        return failure(step);
    case ENOENT:
        return failure(step == FileError::CannotRead ? FileError::FileMissing : FileError::FolderMissing, error);
    case ENOTDIR:
        return failure(FileError::NotAFolder, error);
    case EISDIR:
        return failure(FileError::IsAFolder, error);
    case ELOOP:
        return failure(FileError::LinkLoop, error);
    case EACCES:
    case EPERM:
        // "Permission denied" in the system's words says it well for a read.
        return failure(step == FileError::CannotRead ? step : FileError::Permission, error);
    case EROFS:
        return failure(FileError::ReadOnlyFileSystem, error);
    case ENOSPC:
    case EDQUOT:
        return failure(FileError::NoSpace, error);
    case ENAMETOOLONG:
        return failure(FileError::NameTooLong, error);
    case EFBIG:
        return failure(FileError::TooLarge, error);
    case ENOMEM:
        return failure(FileError::OutOfMemory, error);
    default:
        return failure(step, error);
    }
}

std::string describe(const FileResult& result, const std::filesystem::path& file)
{
    switch (result.cause) {
    case FileError::None:
        return "nothing went wrong";
    case FileError::FolderMissing:
        return "the folder " + folderOf(file) + " does not exist";
    case FileError::FileMissing:
        return "it no longer exists";
    case FileError::NotAFolder:
        return folderOf(file) + " is a file, not a folder";
    case FileError::IsAFolder:
        return "a folder of that name is in the way";
    case FileError::NotARegularFile:
        return file.string() + " is not a regular file";
    case FileError::LinkLoop:
        return "the path " + file.string() + " is a loop of symbolic links";
    case FileError::Permission:
        return "you do not have permission to write there";
    case FileError::ReadOnlyFile:
        return "the file is read-only";
    case FileError::FolderTakesNoFile:
        return "the folder " + folderOf(file)
             + " does not allow new files, so the file cannot be replaced safely; choose another folder";
    case FileError::ReadOnlyFileSystem:
        return "the disk is read-only";
    case FileError::NoSpace:
        return "the disk is full";
    case FileError::NameTooLong:
        return "the name is too long";
    case FileError::TooLarge:
        return result.limit == 0 ? std::string("it is too large")
                                 : "it is larger than " + inWholeUnits(result.limit) + ", the most such a file may be";
    case FileError::OutOfMemory:
        return "there was not enough memory";
    case FileError::CannotCreate:
        return "the file could not be created" + systemWords(result.error);
    case FileError::CannotRead:
        return "it cannot be read" + systemWords(result.error);
    case FileError::WriteFailed:
        return "the file could not be written" + systemWords(result.error);
    case FileError::RenameFailed:
        return "the new file could not take the old one's place" + systemWords(result.error);
    }
    return "of an unknown problem";
}

} // namespace th::files
