// Any file the program reads as text, put through each of its readers in
// turn (each reads its lines with the text reader), to find crashes, hangs
// and memory faults: the rules of each reader are its unit tests' work. One
// invariant only a fuzzer covers is checked (a failure aborts): a project
// the reader accepts is written and read back unchanged.
//
// A repeat limit is obeyed however large, so "th.Until = $7FFFFFFF" runs two
// thousand million passes by design: such templates are passed over. A
// "th.Until" line must read a limit of at most kMaxLimit or be the usual
// "th.Until = th.ImageCount", since other tokens could join into a long
// number once replaced.

#include "export/LeadingNumber.h"
#include "export/TemplateEngine.h"
#include "project/ProjectFile.h"
#include "toolkit/PreferenceStore.h"

#include "testing/TempHome.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kMaxGroups = 64;
constexpr std::int64_t kMaxLimit = 64;

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

// Opens the file, selects every group its lines name ("[name" up to "]"),
// walks and reads every key there and writes one.
void usePreferenceStore(const std::filesystem::path& file, std::string_view text)
{
    std::vector<std::string> groups{""};
    for (const std::string_view line : linesOf(text))
        if (line.starts_with('[') && groups.size() < kMaxGroups)
            groups.emplace_back(line.substr(1, line.find(']') - 1));

    th::toolkit::PreferenceStore store;
    static_cast<void>(store.open(file, int(text.size() % 4)));
    for (const std::string& group : groups) {
        store.selectGroup(group);
        for (bool more = store.firstKey() && store.nextKey(); more; more = store.nextKey())
            static_cast<void>(store.currentValue("-"));
        static_cast<void>(store.readInteger("key", 0));
    }
    store.selectGroup("");
    store.writeText("fuzz", "written");
    store.close();
}

void checkProjectRoundTrip(const std::filesystem::path& file)
{
    const th::project::ProjectReading reading = th::project::readProject(file);
    if (!reading.project)
        return;
    const std::string text = th::project::projectText(*reading.project, file);
    const th::project::ProjectReading again = th::project::parseProject(text, file);
    if (!again.project || th::project::projectText(*again.project, file) != text)
        std::abort();
}

bool limitsWithinReach(std::string_view text)
{
    for (const std::string_view l : linesOf(text)) {
        if (l.find("th.Until") == std::string_view::npos)
            continue;
        static const std::regex noise("th\\.Until|=| ");
        const std::string line = std::regex_replace(std::string(l), noise, "");
        if (line != "th.ImageCount"
            && (line.find("th.") != std::string::npos || std::abs(th::exporting::readLeadingNumber(line)) > kMaxLimit))
            return false;
    }
    return true;
}

void expandAsTemplate(const std::filesystem::path& file, std::size_t size)
{
    static const th::canvas::SpriteList sprites = [] {
        th::canvas::SpriteList list;
        for (const th::canvas::SpriteEntry& entry : {
                 th::canvas::SpriteEntry{.image = 1, .x = 0, .y = 0, .width = 16, .height = 8, .name = "a.png", .index = 1},
                 th::canvas::SpriteEntry{.image = 2, .x = 16, .y = 0, .width = 9, .height = 33, .rotated = true,
                                         .name = "th.ImageNumber.png", .index = 2},
                 th::canvas::SpriteEntry{.image = 3, .x = -3, .y = 40, .width = 1, .height = 1, .name = "", .index = 3}})
            list.insert(list.size(), entry);
        return list;
    }();
    th::exporting::ScriptInputs inputs{.clipMargin = int(size % 3), .retina = size % 2 == 1, .sheetWidth = 64,
                                       .sheetHeight = 48, .sheetPath = "/out/sheet.png", .sheetNumber = "7"};
    th::exporting::ClipboardText text;
    static_cast<void>(th::exporting::expandTemplate(file, text, sprites, inputs));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const th::testing::TempHome scratch;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Written past the program's own writer, so that the code under test
    // only ever reads it.
    const std::filesystem::path file = scratch.path() / "file.txt";
    if (!std::ofstream(file, std::ios::binary | std::ios::trunc).write(text.data(), std::streamsize(size)))
        std::abort();
    checkProjectRoundTrip(file);
    if (limitsWithinReach(text))
        expandAsTemplate(file, size);
    // Last, as it writes the file.
    usePreferenceStore(file, text);
    return 0;
}
