#include "export/TemplateEngine.h"

#include "export/LeadingNumber.h"
#include "export/TextEdits.h"
#include "files/TextFile.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace th::exporting {

namespace {

// The template as lines, so that a repeat block can go back to where it began.
// A read at the end yields an empty line, as reading a file does.
class TemplateLines {
public:
    TemplateLines() = default;
    explicit TemplateLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    bool atEnd() const { return next_ >= lines_.size(); }
    std::size_t position() const { return next_; }
    void seek(std::size_t position) { next_ = position; }
    std::string readLine() { return atEnd() ? std::string() : lines_[next_++]; }
    std::size_t size() const { return lines_.size(); }
    const std::string& at(std::size_t position) const { return lines_[position]; }

private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
};

// Finds sprites by index without walking the list for every template line.
class SpriteByIndex {
public:
    explicit SpriteByIndex(const canvas::SpriteList& sprites)
        : fallback_(sprites.empty() ? nullptr : &sprites.entries().back())
    {
        // emplace keeps the first entry of an index, as a search from the
        // start of the list would find it.
        for (const canvas::SpriteEntry& entry : sprites.entries())
            byIndex_.emplace(entry.index, &entry);
    }

    // Null only when the list is empty.
    const canvas::SpriteEntry* find(std::int64_t index) const
    {
        const auto found = byIndex_.find(index);
        return found == byIndex_.end() ? fallback_ : found->second;
    }

private:
    std::unordered_map<std::int64_t, const canvas::SpriteEntry*> byIndex_;
    const canvas::SpriteEntry* fallback_;
};

using toolkit::Token;
using toolkit::tokenName;

// Often enough for the feedback to move, seldom enough to cost nothing.
constexpr std::int64_t kLinesBetweenReports = 4096;

std::int32_t repeatLimit(std::string untilLine)
{
    removeAll(untilLine, tokenName(Token::Until));
    removeAll(untilLine, "=");
    removeAll(untilLine, " ");
    // The limit is a 32-bit value; longer numbers keep their low bits.
    return std::int32_t(readLeadingNumber(untilLine));
}

// The limit a repeat block will read from its "th.Until" line, found before
// the block's first pass so that th.Separator knows on every pass whether
// another follows. The look-ahead replaces tokens and skips directives as the
// expansion will. The last search is kept, so a template of many repeat
// lines without an end is walked once, not once per line.
class LimitAhead {
public:
    // Nothing when no "th.Until" line follows.
    std::optional<std::int32_t> find(const TemplateLines& lines, const TokenReplacer& tokens, std::int64_t spriteNumber)
    {
        const std::size_t from = lines.position();
        if (searched_ && spriteNumber == spriteNumber_ && from >= from_ && from <= to_)
            return limit_;
        searched_ = true;
        spriteNumber_ = spriteNumber;
        from_ = from;
        limit_.reset();
        std::size_t next = from;
        while (next < lines.size()) {
            std::string line = lines.at(next++);
            if (contains(line, tokenName(Token::Extension)))
                line = next < lines.size() ? lines.at(next++) : std::string();
            tokens.apply(line);
            if (contains(line, tokenName(Token::Until))) {
                limit_ = repeatLimit(line);
                break;
            }
        }
        to_ = next;
        return limit_;
    }

private:
    bool searched_ = false;
    std::int64_t spriteNumber_ = 0;
    std::size_t from_ = 0;
    std::size_t to_ = 0;
    std::optional<std::int32_t> limit_;
};

} // namespace

Expansion expandTemplate(const std::filesystem::path& templateFile, ScriptDestination& destination,
                         const canvas::SpriteList& sprites, const ScriptInputs& inputs, toolkit::Progress* progress)
{
    files::TextReader reader(templateFile, files::FileKind::Template);
    std::vector<std::string> lines;
    while (!reader.atEnd())
        lines.push_back(reader.readLine());
    if (!reader.result().ok())
        return {ExpansionResult::TemplateUnreadable, reader.result()};
    return expandTemplate(std::move(lines), destination, sprites, inputs, progress);
}

Expansion expandTemplate(std::vector<std::string> templateLines, ScriptDestination& destination,
                         const canvas::SpriteList& sprites, const ScriptInputs& inputs, toolkit::Progress* progress)
{
    TemplateLines lines(std::move(templateLines));
    if (files::FileResult begun = destination.begin(); !begun.ok())
        return {ExpansionResult::DestinationFailed, begun};

    const SpriteByIndex spriteByIndex(sprites);
    TokenReplacer tokens(inputs, sprites.size());

    std::int64_t spriteNumber = 1;
    std::int32_t limit = 1;
    bool limitRead = false;
    bool blockFinished = false;
    std::size_t repeatPosition = 0;
    std::int64_t written = 0;
    // Between a "th.Repeat" line and the pass that finishes its block.
    bool inBlock = false;
    LimitAhead limitAhead;

    // The end test follows each step, so an empty template still gives one
    // (empty) line.
    do {
        tokens.setSprite(spriteByIndex.find(spriteNumber));
        tokens.setSeparator(inBlock && spriteNumber < limit);
        std::string line = lines.readLine();
        // Only one directive is skipped per step: a second one in a row is
        // treated as text.
        if (contains(line, tokenName(Token::Extension)))
            line = lines.readLine();
        tokens.apply(line);

        const bool repeatStart = contains(line, tokenName(Token::Repeat));
        const bool repeatEnd = contains(line, tokenName(Token::Until));
        // Read before the sheet is composed (see templateTurnsClockwise);
        // here it is only dropped.
        const bool turnLine = contains(line, tokenName(Token::TurnClockwise));
        if (repeatStart) {
            repeatPosition = lines.position();
            if (blockFinished) {
                spriteNumber = 1;
                limit = 1;
                limitRead = false;
                blockFinished = false;
            }
            inBlock = true;
            // The first pass knows its limit only once it reaches the end
            // line; the separator needs it now. The end line still reads it.
            if (!limitRead)
                limit = limitAhead.find(lines, tokens, spriteNumber).value_or(1);
        }
        if (repeatEnd) {
            if (!limitRead) {
                limit = repeatLimit(line);
                limitRead = true;
            }
            if (spriteNumber < limit) {
                if (destination.abandoned())
                    break;
                lines.seek(repeatPosition);
                ++spriteNumber;
            } else {
                blockFinished = true;
                inBlock = false;
            }
        }
        // The first line the destination refuses ends the expansion: a full
        // disk must not keep it spinning through the passes still to come.
        if (!repeatStart && !repeatEnd && !turnLine) {
            destination.nextLineFromPass(inBlock ? spriteNumber : 0);
            if (!destination.writeLine(line))
                break;
            if (++written % kLinesBetweenReports == 0
                && !toolkit::report(progress, toolkit::WorkStage::Scripting, int(std::min<std::int64_t>(written, INT32_MAX)), 0))
                return {ExpansionResult::Cancelled, {}};
        }
    } while (!lines.atEnd());

    if (files::FileResult finished = destination.finish(); !finished.ok())
        return {ExpansionResult::DestinationFailed, finished};
    return {};
}

} // namespace th::exporting
