#pragma once
// Why a file could not be written or read, as a cause plus the errno the
// system gave, and the plain-words clause a user is shown for it. Every
// writer and reader in the program reports through this one type, so the
// message is made from what actually happened, never guessed afterwards.

#include <cstdint>
#include <filesystem>
#include <string>

namespace th::files {

enum class FileError {
    None,
    FolderMissing,      // ENOENT while creating: the destination's folder is not there
    FileMissing,        // ENOENT while reading
    NotAFolder,         // ENOTDIR: the folder's path runs through a file
    IsAFolder,          // EISDIR: a folder stands where the file should be
    NotARegularFile,    // a device, a pipe or a socket where a file should be read
    LinkLoop,           // ELOOP: the path's symbolic links lead round in a circle
    Permission,         // EACCES, EPERM
    ReadOnlyFile,       // the file's owner may not write it, so nobody replaces it
    FolderTakesNoFile,  // the folder refuses a new file, so the old one cannot be replaced safely
    ReadOnlyFileSystem, // EROFS
    NoSpace,            // ENOSPC, EDQUOT
    NameTooLong,        // ENAMETOOLONG
    TooLarge,           // larger than files of its kind may be (EFBIG)
    OutOfMemory,        // ENOMEM, or an allocation of ours that failed
    CannotCreate,       // creating the file failed for another reason (errno kept)
    CannotRead,         // opening or reading failed for another reason
    WriteFailed,        // a write, fsync or close failed for another reason
    RenameFailed,       // the finished file could not take the old one's place
};

struct [[nodiscard]] FileResult {
    FileError cause = FileError::None;
    int error = 0; // the errno behind the cause; 0 when the system gave none
    std::uint64_t limit = 0; // for TooLarge: the most bytes a file of its kind may have

    bool ok() const { return cause == FileError::None; }
    bool operator==(const FileResult&) const = default;
};

inline FileResult failure(FileError cause, int error = 0) { return {cause, error}; }

// The cause an errno stands for, reading or writing. `step` names what was
// being done (CannotRead, CannotCreate, WriteFailed, RenameFailed) and is the
// cause for an errno with no cause of its own; it also tells a missing file
// (reading) from a missing folder (anything else).
FileResult fromErrno(int error, FileError step);

// The clause that follows "because" in a notice about `file`: "the disk is
// full", "the folder /a/b does not exist".
std::string describe(const FileResult& result, const std::filesystem::path& file);

} // namespace th::files
