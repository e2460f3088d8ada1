#pragma once
// Why a file could not be written or read, as a cause plus the errno the
// system gave, and the plain-words clause a user is shown for it. Every
// writer and reader in the program reports through this one type, so the
// message is made from what actually happened, never guessed afterwards.

#include <filesystem>
#include <string>

namespace th::files {

enum class FileError {
    None,
    FolderMissing,      // ENOENT while creating: the destination's folder is not there
    FileMissing,        // ENOENT while reading
    NotAFolder,         // ENOTDIR: the folder's path runs through a file
    IsAFolder,          // EISDIR: a folder stands where the file should be
    Permission,         // EACCES, EPERM
    ReadOnlyFileSystem, // EROFS
    NoSpace,            // ENOSPC, EDQUOT
    NameTooLong,        // ENAMETOOLONG
    OutOfMemory,        // ENOMEM, or an allocation of ours that failed
    CannotCreate,       // creating the file failed for another reason (errno kept)
    CannotRead,         // opening or reading failed for another reason
    WriteFailed,        // a write, fsync or close failed for another reason
    RenameFailed,       // the finished file could not take the old one's place
    EncodeFailed,       // the encoder gave up on the data (a libpng error)
    Unsupported,        // the format cannot be written at the depth asked for
    InvalidRequest,     // nothing to write: no image, no path or no encoder
    Cancelled,          // the user stopped the write; nothing was written
};

struct [[nodiscard]] FileResult {
    FileError cause = FileError::None;
    int error = 0; // the errno behind the cause; 0 when the system gave none

    bool ok() const { return cause == FileError::None; }
    bool operator==(const FileResult&) const = default;
};

inline FileResult failure(FileError cause, int error = 0) { return {cause, error}; }

// The cause an errno from a write stands for. `otherwise` names the step
// (CannotCreate, WriteFailed, RenameFailed) and is the cause for an errno
// with no cause of its own.
FileResult fromErrno(int error, FileError otherwise);

// The clause that follows "because" in a notice about `file`: "the disk is
// full", "the folder /a/b does not exist".
std::string describe(const FileResult& result, const std::filesystem::path& file);

} // namespace th::files
