#include "files/ReplacingFile.h"

#include "files/LiveTemporaries.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <optional>
#include <random>
#include <string>

namespace th::files {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr int kMaxLinkHops = 40; // as the kernel allows before ELOOP
constexpr int kNameAttempts = 100;

// Follows symbolic links one hop at a time, so that a link whose target does
// not exist yet still leads to that target rather than being replaced.
// Nothing when the links go round in a circle.
std::optional<std::filesystem::path> followLinks(std::filesystem::path path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        std::error_code error;
        const std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error)
            return path;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return std::nullopt;
}

std::filesystem::path folderOf(const std::filesystem::path& file)
{
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

constexpr std::string_view kTemporaryPrefix = ".th-";
constexpr std::size_t kTemporaryLetters = 6;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// A short name of fixed length, so that a destination whose name is as long
// as the file system allows can still be written beside.
std::string temporaryName()
{
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string name(kTemporaryPrefix);
    for (std::size_t i = 0; i < kTemporaryLetters; ++i)
        name += kLetters[pick(random)];
    return name;
}

bool isTemporaryName(std::string_view name)
{
    return name.size() == kTemporaryPrefix.size() + kTemporaryLetters && name.starts_with(kTemporaryPrefix)
        && name.find_first_not_of(kLetters, kTemporaryPrefix.size()) == std::string_view::npos;
}

// The errors by which a file system says it has no unnamed files.
bool noUnnamedFiles(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

bool folderRefusesNewFiles(int error)
{
    return error == EACCES || error == EPERM;
}

} // namespace

ReplacingFile::ReplacingFile(const std::filesystem::path& destination)
{
    const std::optional<std::filesystem::path> target = followLinks(destination);
    if (!target) {
        result_ = failure(FileError::LinkLoop, ELOOP);
        return;
    }
    target_ = *target;
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    if (!exists && errno == ELOOP) {
        result_ = failure(FileError::LinkLoop, ELOOP);
        return;
    }
    if (exists && S_ISDIR(old.st_mode)) {
        result_ = failure(FileError::IsAFolder, EISDIR);
        return;
    }
    // A file made read-only stays as it is, whoever asks: a rename would
    // bypass that choice, and root's right to write anything would too.
    if (exists && !mayReplace(target_)) {
        result_ = (old.st_mode & S_IWUSR) == 0 ? failure(FileError::ReadOnlyFile, EACCES)
                                               : fromErrno(errno, FileError::CannotCreate);
        return;
    }
    open(exists);
    if (fd_ < 0 || !exists)
        return;
    // Root, or a user giving the file a group of theirs, keeps who owns it;
    // anyone else makes the new file theirs, as any file they create.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        [[maybe_unused]] const bool kept =
            ::fchown(fd_, old.st_uid, old.st_gid) == 0 || ::fchown(fd_, uid_t(-1), old.st_gid) == 0;
    }
    // After fchown, which clears the set-user and set-group bits.
    if (::fchmod(fd_, old.st_mode & 07777) != 0)
        fail(fromErrno(errno, FileError::CannotCreate));
}

// 0666: the kernel applies the umask (or a default ACL) exactly as for any
// new file; reading the umask would mean changing it.
void ReplacingFile::open(bool exists)
{
    const std::filesystem::path folder = folderOf(target_);
    fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ < 0 && noUnnamedFiles(errno))
        openNamed(folder);
    if (fd_ >= 0)
        return;
    const int error = errno;
    result_ = exists && folderRefusesNewFiles(error) ? failure(FileError::FolderTakesNoFile, error)
                                                     : fromErrno(error, FileError::CannotCreate);
}

void ReplacingFile::openNamed(const std::filesystem::path& folder)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary_ = folder / temporaryName();
        liveNumber_ = rememberTemporary(temporary_);
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            return;
        const int error = errno;
        forgetName();
        errno = error;
        if (error != EEXIST)
            return;
    }
}

ReplacingFile::~ReplacingFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    forgetName();
}

void ReplacingFile::forgetName()
{
    forgetTemporary(liveNumber_);
    liveNumber_ = -1;
    temporary_.clear();
}

void ReplacingFile::fail(FileResult result)
{
    if (result_.ok())
        result_ = result;
}

bool ReplacingFile::write(const void* bytes, std::size_t count)
{
    if (fd_ < 0 || !result_.ok())
        return false;
    try {
        buffer_.append(static_cast<const char*>(bytes), count);
    } catch (const std::bad_alloc&) {
        fail(failure(FileError::OutOfMemory, ENOMEM));
        return false;
    }
    return buffer_.size() < kBufferSize || flush();
}

bool ReplacingFile::flush()
{
    std::size_t written = 0;
    while (written < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + written, buffer_.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            fail(fromErrno(n < 0 ? errno : ENOSPC, FileError::WriteFailed));
            return false;
        }
        written += std::size_t(n);
    }
    buffer_.clear();
    return true;
}

// Gives the finished unnamed file a short name beside its destination, the
// only way to rename it over the destination afterwards.
void ReplacingFile::giveName()
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    const std::filesystem::path folder = folderOf(target_);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary_ = folder / temporaryName();
        liveNumber_ = rememberTemporary(temporary_);
        int linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary_.c_str(), AT_SYMLINK_FOLLOW);
        if (linked != 0 && errno == ENOENT) // no /proc: a privileged process may link the descriptor itself
            linked = ::linkat(fd_, "", AT_FDCWD, temporary_.c_str(), AT_EMPTY_PATH);
        if (linked == 0)
            return;
        const int error = errno;
        forgetName();
        if (error != EEXIST) {
            fail(fromErrno(error, FileError::RenameFailed));
            return;
        }
    }
    fail(failure(FileError::RenameFailed, EEXIST));
}

FileResult ReplacingFile::commit()
{
    if (fd_ < 0)
        return result_.ok() ? failure(FileError::CannotCreate) : result_;
    if (result_.ok() && flush() && ::fsync(fd_) != 0)
        fail(fromErrno(errno, FileError::WriteFailed));
    if (result_.ok() && temporary_.empty())
        giveName();
    // close() reports late errors of some file systems (NFS quota).
    if (::close(fd_) != 0)
        fail(fromErrno(errno, FileError::WriteFailed));
    fd_ = -1;
    if (result_.ok()) {
        if (::rename(temporary_.c_str(), target_.c_str()) != 0)
            fail(fromErrno(errno, FileError::RenameFailed));
        else
            forgetName();
    }
    return result_;
}

FileResult replaceFile(const std::filesystem::path& file, std::string_view content)
{
    ReplacingFile out(file);
    out.write(content);
    return out.commit();
}

bool mayReplace(const std::filesystem::path& file)
{
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0)
        return true;
    if ((status.st_mode & S_IWUSR) == 0) {
        errno = EACCES;
        return false;
    }
    return ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0;
}

std::size_t removeStaleTemporaries(const std::filesystem::path& folder)
{
    std::size_t removed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::error_code ignored;
        if (isTemporaryName(entry.path().filename().string()) && entry.is_regular_file(ignored)
            && !entry.is_symlink(ignored) && std::filesystem::remove(entry.path(), ignored))
            ++removed;
    }
    return removed;
}

} // namespace th::files
