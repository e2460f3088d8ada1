#include "files/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace th::files {
namespace {

FileResult tooLarge(std::uint64_t cap)
{
    FileResult result = failure(FileError::TooLarge, EFBIG);
    result.limit = cap;
    return result;
}

// Reads the file behind `fd`, which is a regular file of at most `cap`
// bytes when opened. The size it had then is read straight into place; a
// file still growing is followed to its end, but never past the cap.
FileResult readAll(int fd, std::uint64_t cap, std::size_t size, std::vector<std::uint8_t>& bytes)
{
    constexpr std::size_t kGrowth = 1 << 16;
    try {
        bytes.resize(size + 1); // one more, to see the end at once
        std::size_t have = 0;
        for (;;) {
            if (have > cap)
                return tooLarge(cap);
            if (have == bytes.size())
                bytes.resize(have + kGrowth);
            const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return fromErrno(errno, FileError::CannotRead);
            if (n == 0) {
                bytes.resize(have);
                return {};
            }
            have += std::size_t(n);
        }
    } catch (const std::bad_alloc&) {
        return failure(FileError::OutOfMemory, ENOMEM);
    }
}

FileResult readOpened(int fd, std::uint64_t cap, std::vector<std::uint8_t>& bytes)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return fromErrno(errno, FileError::CannotRead);
    if (S_ISDIR(status.st_mode))
        return failure(FileError::IsAFolder, EISDIR);
    if (!S_ISREG(status.st_mode))
        return failure(FileError::NotARegularFile);
    if (std::uint64_t(status.st_size) > cap)
        return tooLarge(cap);
    return readAll(fd, cap, std::size_t(status.st_size), bytes);
}

} // namespace

WholeFile readWholeFile(const std::filesystem::path& file, FileKind kind)
{
    WholeFile whole;
    // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        whole.result = fromErrno(errno, FileError::CannotRead);
        return whole;
    }
    whole.result = readOpened(fd, maximumBytes(kind), whole.bytes);
    if (!whole.result.ok())
        std::vector<std::uint8_t>().swap(whole.bytes);
    ::close(fd);
    return whole;
}

} // namespace th::files
