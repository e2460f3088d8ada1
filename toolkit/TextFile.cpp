#include "toolkit/TextFile.h"

#include <fstream>
#include <iterator>

namespace th::toolkit {

TextWriter::TextWriter(const std::filesystem::path& file)
    : file_(std::fopen(file.c_str(), "wb"))
{
}

TextWriter::~TextWriter()
{
    if (file_)
        std::fclose(file_);
}

void TextWriter::writeLine(std::string_view utf8)
{
    if (!file_)
        return;
    if (std::fwrite(utf8.data(), 1, utf8.size(), file_) != utf8.size() || std::fputc('\n', file_) == EOF)
        failed_ = true;
}

bool TextWriter::close()
{
    if (!file_)
        return false;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed && !failed_;
}

TextReader::TextReader(const std::filesystem::path& file)
{
    std::error_code error;
    if (std::filesystem::is_directory(file, error))
        return;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return;
    content_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    open_ = !in.bad();
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

} // namespace th::toolkit
