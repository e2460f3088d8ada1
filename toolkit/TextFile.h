#pragma once
// The one way text files are written and read: templates, scripts and the
// installer all go through these two classes. Plain C++, no Qt.
//
// Written: UTF-8 as given, no byte-order mark, one LF after every line.
// Read: a line ends at LF, CR, CR LF (one end) or a zero byte; the bytes are
// handed back as they stand, so a byte-order mark stays as U+FEFF at the start
// of the first line.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace th::toolkit {

// Creates a file (cutting an existing one to zero bytes) and writes lines to
// it through a buffer. When the file could not be created every write is a
// no-op, so a caller may write first and look at the result once at close().
class TextWriter {
public:
    explicit TextWriter(const std::filesystem::path& file);
    ~TextWriter();
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    void writeLine(std::string_view utf8);
    // Flushes and closes; false when the file never opened or a write failed.
    [[nodiscard]] bool close();

private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// Reads a whole text file at construction and hands it out line by line.
class TextReader {
public:
    explicit TextReader(const std::filesystem::path& file);

    // False for a missing or unreadable file and for a folder.
    bool isOpen() const { return open_; }
    // True exactly when no byte is left to read.
    bool atEnd() const { return position_ >= content_.size(); }
    // The next line without its line end; an empty line at the end of file.
    std::string readLine();

private:
    std::string content_;
    std::size_t position_ = 0;
    bool open_ = false;
};

} // namespace th::toolkit
