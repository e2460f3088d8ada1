#include "export/ScriptDestination.h"

namespace th::exporting {

files::FileResult ScriptFile::begin()
{
    writer_.emplace(file_);
    return writer_->isOpen() ? files::FileResult{} : writer_->close();
}

void ScriptFile::writeLine(std::string_view utf8)
{
    if (writer_)
        writer_->writeLine(utf8);
}

files::FileResult ScriptFile::finish()
{
    if (!writer_)
        return files::failure(files::FileError::InvalidRequest);
    const files::FileResult written = writer_->close();
    writer_.reset();
    return written;
}

files::FileResult ClipboardText::begin()
{
    text_.clear();
    return {};
}

void ClipboardText::writeLine(std::string_view utf8)
{
    text_.append(utf8).append("\r\n");
}

} // namespace th::exporting
