#pragma once
// Where the lines of an expanded template go: a script file or a text that
// the export window puts on the clipboard.

#include "toolkit/TextFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace th::exporting {

class ScriptDestination {
public:
    virtual ~ScriptDestination() = default;
    // Called once before the first line; false when nothing can be written.
    [[nodiscard]] virtual bool begin() = 0;
    virtual void writeLine(std::string_view utf8) = 0;
    // Called once after the last line; false when the lines did not all land.
    [[nodiscard]] virtual bool finish() = 0;
};

// A script file, created (or cut to zero bytes) by begin() and not before, so
// an expansion that cannot start leaves an existing file alone. LF after
// every line.
class ScriptFile final : public ScriptDestination {
public:
    explicit ScriptFile(std::filesystem::path file) : file_(std::move(file)) {}

    bool begin() override;
    void writeLine(std::string_view utf8) override;
    bool finish() override;

private:
    std::filesystem::path file_;
    std::optional<toolkit::TextWriter> writer_;
};

// The clipboard's text, gathered in memory: CR LF after every line, the last
// one included.
class ClipboardText final : public ScriptDestination {
public:
    bool begin() override;
    void writeLine(std::string_view utf8) override;
    bool finish() override { return true; }

    const std::string& text() const { return text_; }

private:
    std::string text_;
};

} // namespace th::exporting
