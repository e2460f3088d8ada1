#pragma once
// Where the lines of an expanded template go: a script file or a text that
// the export window puts on the clipboard.

#include "files/TextFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace th::exporting {

class ScriptDestination {
public:
    virtual ~ScriptDestination() = default;
    // Called once before the first line; why nothing can be written, if so.
    virtual files::FileResult begin() = 0;
    // False when the destination takes no more lines; finish() says why.
    virtual bool writeLine(std::string_view utf8) = 0;
    // Called once after the last line; why the lines did not all land, if so.
    virtual files::FileResult finish() = 0;
    // Told before each line which repeat pass writes it: the sprite number,
    // or 0 for a line outside any repeat block.
    virtual void nextLineFromPass(std::int64_t /*spriteNumber*/) {}
    // Asked before each further pass of a repeat block, which may write no
    // line at all: true ends the expansion there.
    virtual bool abandoned() const { return false; }
};

// A script file, begun by begin() and put in place by finish() and not
// before, so an expansion that cannot start or breaks off leaves an existing
// file whole. LF after every line.
class ScriptFile final : public ScriptDestination {
public:
    explicit ScriptFile(std::filesystem::path file) : file_(std::move(file)) {}

    files::FileResult begin() override;
    bool writeLine(std::string_view utf8) override;
    files::FileResult finish() override;

private:
    std::filesystem::path file_;
    std::optional<files::TextWriter> writer_;
};

// The clipboard's text, gathered in memory: CR LF after every line, the last
// one included. A template may repeat its block billions of times, so the
// text stops at a bound instead of growing until memory runs out; finish()
// then reports OutOfMemory and the text is not for the clipboard.
class ClipboardText final : public ScriptDestination {
public:
    static constexpr std::size_t kDefaultLimit = std::size_t(64) << 20;

    explicit ClipboardText(std::size_t limit = kDefaultLimit) : limit_(limit) {}

    files::FileResult begin() override;
    bool writeLine(std::string_view utf8) override;
    files::FileResult finish() override;

    const std::string& text() const { return text_; }

private:
    std::size_t limit_;
    std::string text_;
    bool tooLarge_ = false;
};

} // namespace th::exporting
