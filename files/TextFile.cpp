#include "files/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// The whole file, or the errno that stopped the read.
int readAll(int fd, std::string& content)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return errno;
    if (S_ISDIR(status.st_mode))
        return EISDIR;
    try {
        content.reserve(std::size_t(status.st_size));
        char chunk[1 << 16];
        for (;;) {
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return errno;
            if (n == 0)
                return 0;
            content.append(chunk, std::size_t(n));
        }
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

} // namespace

bool TextWriter::writeLine(std::string_view utf8)
{
    return file_.write(utf8) && file_.write("\n", 1);
}

TextReader::TextReader(const std::filesystem::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result_ = readFailure(errno);
        return;
    }
    if (const int error = readAll(fd, content_); error != 0) {
        result_ = readFailure(error);
        content_.clear();
    }
    ::close(fd);
}

std::string TextReader::readLine()
{
    const std::size_t start = position_;
    while (position_ < content_.size()) {
        const char c = content_[position_];
        if (c == '\n' || c == '\r' || c == '\0')
            break;
        ++position_;
    }
    std::string line = content_.substr(start, position_ - start);
    if (position_ < content_.size()) {
        const bool crlf = content_[position_] == '\r' && position_ + 1 < content_.size()
                       && content_[position_ + 1] == '\n';
        position_ += crlf ? 2 : 1;
    }
    return line;
}

std::string TextReader::readRest()
{
    std::string rest = content_.substr(std::min(position_, content_.size()));
    position_ = content_.size();
    return rest;
}

} // namespace th::files
