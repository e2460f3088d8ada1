#include "image/ReplacingFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

namespace th::image {
namespace {

constexpr std::size_t kStreamBuffer = 1 << 16;

std::filesystem::path temporaryBeside(const std::filesystem::path& destination, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    auto name = destination;
    name += ".part-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-"
            + std::to_string(attempt);
    return name;
}

} // namespace

ReplacingFile::ReplacingFile(const std::filesystem::path& destination)
    : destination_(destination)
{
    for (unsigned attempt = 0; attempt < 8 && !stream_; ++attempt) {
        temporary_ = temporaryBeside(destination, attempt);
        // O_EXCL: never write through a name someone else made; 0666 lets the
        // umask decide the final permissions as for any new file.
        const int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno != EEXIST)
                break;
            continue;
        }
        stream_ = ::fdopen(fd, "wb");
        if (!stream_) {
            ::close(fd);
            std::error_code ignored;
            std::filesystem::remove(temporary_, ignored);
            break;
        }
        std::setvbuf(stream_, nullptr, _IOFBF, kStreamBuffer);
    }
    if (!stream_)
        temporary_.clear();
}

ReplacingFile::~ReplacingFile()
{
    if (stream_)
        std::fclose(stream_);
    if (!temporary_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

bool ReplacingFile::commit()
{
    if (!stream_)
        return false;
    const bool written = std::fflush(stream_) == 0 && !std::ferror(stream_);
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!written || !closed)
        return false;
    std::error_code error;
    std::filesystem::rename(temporary_, destination_, error);
    if (error)
        return false;
    temporary_.clear();
    return true;
}

} // namespace th::image
