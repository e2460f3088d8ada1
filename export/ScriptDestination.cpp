#include "export/ScriptDestination.h"

#include <cerrno>
#include <new>

namespace th::exporting {

files::FileResult ScriptFile::begin()
{
    writer_.emplace(file_);
    return writer_->isOpen() ? files::FileResult{} : writer_->close();
}

bool ScriptFile::writeLine(std::string_view utf8)
{
    return writer_ && writer_->writeLine(utf8);
}

files::FileResult ScriptFile::finish()
{
    if (!writer_)
        return files::failure(files::FileError::CannotCreate);
    const files::FileResult written = writer_->close();
    writer_.reset();
    return written;
}

files::FileResult ClipboardText::begin()
{
    text_.clear();
    tooLarge_ = false;
    return {};
}

bool ClipboardText::writeLine(std::string_view utf8)
{
    if (tooLarge_ || utf8.size() + 2 > limit_ - text_.size()) {
        tooLarge_ = true;
        return false;
    }
    try {
        text_.append(utf8).append("\r\n");
    } catch (const std::bad_alloc&) {
        tooLarge_ = true;
    }
    return !tooLarge_;
}

files::FileResult ClipboardText::finish()
{
    if (!tooLarge_)
        return {};
    // What was gathered is no use to anyone; give the memory back at once.
    std::string().swap(text_);
    return files::failure(files::FileError::OutOfMemory, ENOMEM);
}

} // namespace th::exporting
