#include "export/ScriptDestination.h"

namespace th::exporting {

bool ScriptFile::begin()
{
    writer_.emplace(file_);
    return writer_->isOpen();
}

void ScriptFile::writeLine(std::string_view utf8)
{
    if (writer_)
        writer_->writeLine(utf8);
}

bool ScriptFile::finish()
{
    if (!writer_)
        return false;
    const bool written = writer_->close();
    writer_.reset();
    return written;
}

bool ClipboardText::begin()
{
    text_.clear();
    return true;
}

void ClipboardText::writeLine(std::string_view utf8)
{
    text_.append(utf8).append("\r\n");
}

} // namespace th::exporting
