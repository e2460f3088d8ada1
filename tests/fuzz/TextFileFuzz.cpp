// Any file the program reads as text, put through each of its readers in
// turn. Every check that fails aborts.
//
// - The text reader hands out every line once, none holding a line end, and
//   the lines with their ends account for every byte.
// - The preference store opens the file, selects every group its lines name,
//   walks and reads every key and writes one; the file afterwards is a
//   complete new file holding that key (the old bytes would stay only if the
//   write failed, which a scratch folder never lets happen).
// - The project reader ends with a project or with the problems that refused
//   it, never both, never neither, and never by an exception; a project it
//   accepts is written and read back unchanged.
// - The template engine, with a small fixed sprite list, writes its whole
//   expansion to the clipboard text, every line ended by CR LF. A repeat
//   limit is obeyed however large, so "th.Until = $7FFFFFFF" runs two
//   thousand million passes by design: such templates are passed over. A
//   "th.Until" line must read a limit of at most kMaxLimit or be the usual
//   "th.Until = th.ImageCount", since other tokens could join into a long
//   number once replaced.

#include "FuzzTarget.h"

#include "export/LeadingNumber.h"
#include "export/TemplateEngine.h"
#include "files/TextFile.h"
#include "project/ProjectFile.h"
#include "toolkit/PreferenceStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kMaxNames = 64;
constexpr std::int64_t kMaxLimit = 64;

// A fresh folder under the system's temporary folder, made on first use and
// removed when the process ends.
const std::filesystem::path& scratchFolder()
{
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tile-heron-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("no scratch folder");
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratchFolder(), ignored);
        });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

void require(bool holds)
{
    if (!holds)
        std::abort();
}

// The lines of `text`, ended by CR, LF or NUL.
std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of(std::string_view("\n\r\0", 3)), text.size());
        lines.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

void checkTextReader(const std::filesystem::path& file, std::size_t size)
{
    th::files::TextReader reader(file, th::files::FileKind::Template);
    require(reader.isOpen());
    std::size_t consumed = 0;
    std::size_t lines = 0;
    while (!reader.atEnd()) {
        const std::string line = reader.readLine();
        require(line.find_first_of(std::string("\n\r\0", 3)) == std::string::npos && ++lines <= size);
        consumed += line.size();
    }
    // Each line ended in one to two bytes (CR LF), except perhaps the last.
    require(consumed + lines <= size + 1 && consumed + 2 * lines >= size);
}

void checkPreferenceStore(const std::filesystem::path& file, std::string_view text)
{
    // Group and key names as the lines spell them, found apart from the
    // store's own parser: "[name" up to "]", and "name" up to "=". Capped so
    // that a run stays short.
    std::vector<std::string> groups{""};
    std::vector<std::string> keys;
    for (const std::string_view line : linesOf(text)) {
        if (line.starts_with('['))
            groups.emplace_back(line.substr(1, line.find(']') - 1));
        else
            keys.emplace_back(line.substr(0, line.find('=')));
    }
    groups.resize(std::min<std::size_t>(groups.size(), kMaxNames));
    keys.resize(std::min<std::size_t>(keys.size(), kMaxNames));

    th::toolkit::PreferenceStore store;
    require(store.open(file, int(text.size() % 4)));
    // A walk visits each line at most once, and no value outgrows the file
    // (twice its size once ISO 8859-1 becomes UTF-8).
    for (const std::string& group : groups) {
        store.selectGroup(group);
        std::size_t steps = 0;
        for (bool more = store.firstKey() && store.nextKey(); more; more = store.nextKey())
            require(++steps <= text.size() && store.currentValue("-").size() <= 2 * text.size());
        for (const std::string& key : keys)
            require(store.readText(key, "").size() <= 2 * text.size());
        static_cast<void>(keys.empty() ? 0 : store.readInteger(keys.front(), 0));
    }
    store.selectGroup("");
    store.writeText("fuzz", "written");
    store.close();

    std::ifstream in(file, std::ios::binary);
    const std::string after{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string line = text.size() % 2 ? "fuzz=written\n" : "fuzz = written\n";
    // An existing empty file is the one kind the store keeps without a
    // byte-order mark.
    require(after.starts_with(text.empty() ? "" : "\xEF\xBB\xBF\n") && after.find(line) != std::string::npos
            && after.ends_with('\n'));
}

void checkProjectFile(const std::filesystem::path& file)
{
    const th::project::ProjectReading reading = th::project::readProject(file);
    require(reading.project.has_value() == reading.problems.empty());
    if (!reading.project)
        return;
    const std::string text = th::project::projectText(*reading.project, file);
    const th::project::ProjectReading again = th::project::parseProject(text, file);
    require(again.project && th::project::projectText(*again.project, file) == text);
}

void removeAll(std::string& text, std::string_view part)
{
    for (std::size_t at; (at = text.find(part)) != std::string::npos;)
        text.erase(at, part.size());
}

bool limitsWithinReach(std::string_view text)
{
    for (const std::string_view l : linesOf(text)) {
        std::string line(l);
        if (line.find("th.Until") == std::string::npos)
            continue;
        removeAll(line, "th.Until");
        removeAll(line, "=");
        removeAll(line, " ");
        if (line != "th.ImageCount"
            && (line.find("th.") != std::string::npos || std::abs(th::exporting::readLeadingNumber(line)) > kMaxLimit))
            return false;
    }
    return true;
}

th::canvas::SpriteList fixedSprites()
{
    th::canvas::SpriteList sprites;
    const th::canvas::SpriteEntry entries[] = {
        {.image = 1, .x = 0, .y = 0, .width = 16, .height = 8, .name = "a.png", .index = 1},
        {.image = 2, .x = 16, .y = 0, .width = 9, .height = 33, .rotated = true, .name = "th.ImageNumber.png", .index = 2},
        {.image = 3, .x = -3, .y = 40, .width = 1, .height = 1, .name = "", .index = 3},
    };
    for (const auto& entry : entries)
        sprites.insert(sprites.size(), entry);
    return sprites;
}

void checkTemplateEngine(const std::filesystem::path& file, std::size_t size)
{
    static const th::canvas::SpriteList sprites = fixedSprites();
    th::exporting::ScriptInputs inputs{.clipMargin = int(size % 3), .retina = size % 2 == 1, .sheetWidth = 64,
                                       .sheetHeight = 48, .sheetPath = "/out/sheet.png", .sheetNumber = "7"};
    th::exporting::ClipboardText text;
    const auto expansion = th::exporting::expandTemplate(file, text, sprites, inputs);
    require(expansion.result == th::exporting::ExpansionResult::Written);
    require(text.text().empty() || text.text().ends_with("\r\n"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Written past the program's own writer, so that the code under test
    // only ever reads it.
    const std::filesystem::path file = scratchFolder() / "file.txt";
    require(bool(std::ofstream(file, std::ios::binary | std::ios::trunc).write(text.data(), std::streamsize(size))));
    checkTextReader(file, size);
    checkProjectFile(file);
    if (limitsWithinReach(text))
        checkTemplateEngine(file, size);
    // Last, as it writes the file.
    checkPreferenceStore(file, text);
    return 0;
}
