#include "files/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace th::files {
namespace {

FileResult readFailure(int error)
{
    switch (error) {
    case ENOENT:
        return failure(FileError::FileMissing, error);
    case EISDIR:
        return failure(FileError::IsAFolder, error);
    case ENOMEM:
        return failure(FileError::OutOfMemory, error);
    default:
        return failure(FileError::CannotRead, error);
    }
}

// The whole file, or the errno that stopped the read. The size the file had
// when opened is read straight into place; a file still growing is followed
// to its end.
int readAll(int fd, std::vector<std::uint8_t>& bytes)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return errno;
    if (S_ISDIR(status.st_mode))
        return EISDIR;
    constexpr std::size_t kGrowth = 1 << 16;
    try {
        bytes.resize(std::size_t(status.st_size) + 1); // one more, to see the end at once
        std::size_t have = 0;
        for (;;) {
            if (have == bytes.size())
                bytes.resize(have + kGrowth);
            const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return errno;
            if (n == 0) {
                bytes.resize(have);
                return 0;
            }
            have += std::size_t(n);
        }
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

} // namespace

WholeFile readWholeFile(const std::filesystem::path& file)
{
    WholeFile whole;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        whole.result = readFailure(errno);
        return whole;
    }
    if (const int error = readAll(fd, whole.bytes); error != 0) {
        whole.result = readFailure(error);
        whole.bytes.clear();
    }
    ::close(fd);
    return whole;
}

} // namespace th::files
