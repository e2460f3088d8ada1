#include "files/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <random>

namespace th::files {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr int kMaxLinkHops = 40; // as the kernel allows before ELOOP
constexpr int kNameAttempts = 100;

// Follows symbolic links one hop at a time, so that a link whose target does
// not exist yet still leads to that target rather than being replaced.
std::filesystem::path followLinks(std::filesystem::path path)
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
    return path;
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

int openExclusive(const std::filesystem::path& folder, std::filesystem::path& temporary)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary = folder / temporaryName();
        // 0666: the kernel applies the umask (or a default ACL) exactly as
        // for any new file; reading the umask would mean changing it.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

ReplacingFile::ReplacingFile(const std::filesystem::path& destination)
    : target_(followLinks(destination))
{
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        result_ = failure(FileError::IsAFolder, EISDIR);
        return;
    }
    // A file made read-only stays as it is: a rename would bypass that choice.
    if (exists && ::access(target_.c_str(), W_OK) != 0) {
        result_ = fromErrno(errno, FileError::CannotCreate);
        return;
    }
    const std::filesystem::path folder = target_.has_parent_path() ? target_.parent_path() : ".";
    fd_ = openExclusive(folder, temporary_);
    if (fd_ < 0) {
        const int error = errno;
        // A folder that takes no new file may still hold a file we may
        // change: write it in place. This gives up the old file's safety
        // for a save that could not happen otherwise.
        if (exists && (error == EACCES || error == EPERM || error == EROFS))
            fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        temporary_.clear();
        if (fd_ < 0)
            result_ = fromErrno(error, FileError::CannotCreate);
        return;
    }
    if (exists && ::fchmod(fd_, old.st_mode & 07777) != 0)
        fail(fromErrno(errno, FileError::CannotCreate));
}

ReplacingFile::~ReplacingFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
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

FileResult ReplacingFile::commit()
{
    if (fd_ < 0)
        return result_.ok() ? failure(FileError::InvalidRequest) : result_;
    if (result_.ok() && flush() && ::fsync(fd_) != 0)
        fail(fromErrno(errno, FileError::WriteFailed));
    // close() reports late errors of some file systems (NFS quota).
    if (::close(fd_) != 0)
        fail(fromErrno(errno, FileError::WriteFailed));
    fd_ = -1;
    if (result_.ok() && !temporary_.empty()) {
        if (::rename(temporary_.c_str(), target_.c_str()) != 0)
            fail(fromErrno(errno, FileError::RenameFailed));
        else
            temporary_.clear();
    }
    return result_;
}

FileResult replaceFile(const std::filesystem::path& file, std::string_view content)
{
    ReplacingFile out(file);
    out.write(content);
    return out.commit();
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
