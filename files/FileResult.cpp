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

} // namespace

FileResult fromErrno(int error, FileError otherwise)
{
    switch (error) {
    case 0:
        return failure(otherwise);
    case ENOENT:
        return failure(FileError::FolderMissing, error);
    case ENOTDIR:
        return failure(FileError::NotAFolder, error);
    case EISDIR:
        return failure(FileError::IsAFolder, error);
    case EACCES:
    case EPERM:
        return failure(FileError::Permission, error);
    case EROFS:
        return failure(FileError::ReadOnlyFileSystem, error);
    case ENOSPC:
    case EDQUOT:
        return failure(FileError::NoSpace, error);
    case ENAMETOOLONG:
        return failure(FileError::NameTooLong, error);
    case ENOMEM:
        return failure(FileError::OutOfMemory, error);
    default:
        return failure(otherwise, error);
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
    case FileError::Permission:
        return "you do not have permission to write there";
    case FileError::ReadOnlyFileSystem:
        return "the disk is read-only";
    case FileError::NoSpace:
        return "the disk is full";
    case FileError::NameTooLong:
        return "the name is too long";
    case FileError::OutOfMemory:
        return "there was not enough memory";
    case FileError::CannotCreate:
        return "the file could not be created" + systemWords(result.error);
    case FileError::CannotRead:
        return "it cannot be opened" + systemWords(result.error);
    case FileError::WriteFailed:
        return "the file could not be written" + systemWords(result.error);
    case FileError::RenameFailed:
        return "the new file could not take the old one's place" + systemWords(result.error);
    case FileError::EncodeFailed:
        return "the image could not be encoded";
    case FileError::Unsupported:
        return "the image cannot be written at that depth";
    case FileError::InvalidRequest:
        return "there was nothing that could be written";
    case FileError::Cancelled:
        return "it was cancelled";
    }
    return "of an unknown problem";
}

} // namespace th::files
