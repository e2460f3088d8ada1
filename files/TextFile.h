#pragma once
// The one way text files are written and read: templates, scripts and the
// installer all go through these two classes. Plain C++, no Qt.
//
// Written: UTF-8 as given, no byte-order mark, one LF after every line,
// through a ReplacingFile, so a failed or interrupted write leaves the old
// file whole.
// Read: a line ends at LF, CR, CR LF (one end) or a zero byte; the bytes are
// handed back as they stand, so a byte-order mark stays as U+FEFF at the start
// of the first line.

#include "files/FileKind.h"
#include "files/ReplacingFile.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace th::files {

// Writes lines to a temporary file that close() puts in place. When the file
// could not be created every write is a no-op, so a caller may write first
// and look at the result once at close().
class TextWriter {
public:
    explicit TextWriter(const std::filesystem::path& file) : file_(file) {}

    bool isOpen() const { return file_.isOpen(); }
    // False once anything has failed; later lines are dropped.
    bool writeLine(std::string_view utf8);
    // Puts the file in place; the old file stays when anything failed.
    [[nodiscard]] FileResult close() { return file_.commit(); }

private:
    ReplacingFile file_;
};

// Reads a whole text file at construction, through the bounded reader, and
// hands it out line by line.
class TextReader {
public:
    TextReader(const std::filesystem::path& file, FileKind kind);

    // False for a missing or unreadable file, a folder, anything but a
    // regular file, and a file over its kind's cap.
    bool isOpen() const { return result_.ok(); }
    // Why the file could not be read, as readWholeFile() says.
    const FileResult& result() const { return result_; }
    // True exactly when no byte is left to read.
    bool atEnd() const { return position_ >= content_.size(); }
    // The next line without its line end; an empty line at the end of file.
    std::string readLine();
    // Everything not yet read, line ends and all, for formats with their own
    // syntax (a project's JSON).
    std::string readRest();

private:
    std::string content_;
    std::size_t position_ = 0;
    FileResult result_;
};

} // namespace th::files
