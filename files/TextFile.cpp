#include "files/TextFile.h"

#include "files/WholeFile.h"

#include <algorithm>

namespace th::files {

bool TextWriter::writeLine(std::string_view utf8)
{
    return file_.write(utf8) && file_.write("\n", 1);
}

TextReader::TextReader(const std::filesystem::path& file, FileKind kind)
{
    const WholeFile whole = readWholeFile(file, kind);
    result_ = whole.result;
    content_.assign(whole.bytes.begin(), whole.bytes.end());
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
