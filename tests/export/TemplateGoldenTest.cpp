// Golden cases for the template engine. Every folder under templates/ that
// holds any of these files is one case, and must hold expected.txt and one
// of the two templates:
//   template.txt          the template, byte for byte; or
//   default-template.txt  the file name of a default template, which the test
//                         installs into its temporary home and expands;
//   canvas.txt            the sprites and export options (may sit in a parent
//                         folder to serve several cases);
//   expected.txt          the script file the expansion must write (LF ends).
// Each case is expanded twice: to a script file, which must equal expected.txt,
// and to clipboard text, which must equal it with CR LF after every line.
//
// canvas.txt lines ("#" starts a comment):
//   clip <margin> | retina | sheet <width> <height> | sheet-path <path>
//   sheet-number <text> | sprite <index> <x> <y> <width> <height> <upright|rotated> <name>
// Sprites are listed in list (drawing) order; a name runs to the line's end.

#include "toolkit/DefaultTemplates.h"
#include "export/TemplateEngine.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using th::canvas::SpriteEntry;
using th::canvas::SpriteList;
using th::exporting::ClipboardText;
using th::exporting::expandTemplate;
using th::exporting::ExpansionResult;
using th::exporting::ScriptFile;
using th::exporting::ScriptInputs;
using th::testing::readBytes;
using th::testing::TempHome;

const fs::path kCasesRoot = TH_TEMPLATE_CASES;

std::vector<fs::path> findCases()
{
    std::vector<fs::path> cases;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kCasesRoot)) {
        const fs::path& f = entry.path();
        if (entry.is_directory()
            && (fs::exists(f / "expected.txt") || fs::exists(f / "template.txt") || fs::exists(f / "default-template.txt")))
            cases.push_back(f);
    }
    std::sort(cases.begin(), cases.end());
    return cases;
}

std::string caseName(const fs::path& folder)
{
    std::string name = fs::relative(folder, kCasesRoot).generic_string();
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

// The nearest canvas.txt at or above the case folder, within the cases root.
fs::path findCanvasFile(fs::path folder)
{
    for (;; folder = folder.parent_path()) {
        if (fs::exists(folder / "canvas.txt"))
            return folder / "canvas.txt";
        if (folder == kCasesRoot)
            return {};
    }
}

void loadCanvas(const fs::path& file, SpriteList& sprites, ScriptInputs& inputs)
{
    std::istringstream lines(readBytes(file));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string key;
        if (!(words >> key) || key.starts_with("#"))
            continue;
        if (key == "clip") {
            words >> inputs.clipMargin;
        } else if (key == "retina") {
            inputs.retina = true;
        } else if (key == "sheet") {
            words >> inputs.sheetWidth >> inputs.sheetHeight;
        } else if (key == "sheet-path") {
            words >> inputs.sheetPath;
        } else if (key == "sheet-number") {
            words >> inputs.sheetNumber;
        } else if (key == "sprite") {
            SpriteEntry entry;
            std::string turn;
            words >> entry.index >> entry.x >> entry.y >> entry.width >> entry.height >> turn;
            std::getline(words >> std::ws, entry.name);
            ASSERT_TRUE(turn == "upright" || turn == "rotated") << line;
            entry.rotated = turn == "rotated";
            sprites.insert(sprites.size(), entry);
        } else {
            FAIL() << "unknown canvas line: " << line;
        }
        ASSERT_FALSE(words.fail()) << "malformed canvas line: " << line;
    }
}

// The template file to expand: the case's own, or a default one installed
// into the temporary home the way a first run installs it.
fs::path templateFor(const fs::path& folder, const TempHome& home)
{
    const bool own = fs::exists(folder / "template.txt");
    const bool installed = fs::exists(folder / "default-template.txt");
    EXPECT_NE(own, installed) << "a case needs exactly one of template.txt and default-template.txt";
    if (own)
        return folder / "template.txt";
    std::string fileName = readBytes(folder / "default-template.txt");
    fileName.erase(fileName.find_last_not_of('\n') + 1);
    for (const th::toolkit::DefaultTemplate& entry : th::toolkit::defaultTemplates()) {
        if (entry.fileName == fileName) {
            EXPECT_TRUE(th::toolkit::writeDefaultTemplate(home.folder(), entry));
            return home.path() / fileName;
        }
    }
    ADD_FAILURE() << "no default template named " << fileName;
    return {};
}

std::string withCrLf(const std::string& lfText)
{
    std::string text;
    for (const char c : lfText)
        text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return text;
}

class TemplateGolden : public ::testing::TestWithParam<fs::path> {};

TEST_P(TemplateGolden, ExpandsToTheExpectedScript)
{
    const fs::path& folder = GetParam();
    TempHome home;
    const fs::path templateFile = templateFor(folder, home);
    ASSERT_FALSE(templateFile.empty());
    const fs::path canvasFile = findCanvasFile(folder);
    ASSERT_FALSE(canvasFile.empty()) << "no canvas.txt for this case";
    SpriteList sprites;
    ScriptInputs inputs;
    loadCanvas(canvasFile, sprites, inputs);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(fs::exists(folder / "expected.txt"));
    const std::string expected = readBytes(folder / "expected.txt");
    ASSERT_EQ(expected.find('\r'), std::string::npos) << "expected.txt is written with LF only";

    const fs::path script = home.path() / "script.out";
    ScriptFile file(script);
    ASSERT_EQ(expandTemplate(templateFile, file, sprites, inputs).result, ExpansionResult::Written);
    EXPECT_EQ(readBytes(script), expected);

    ClipboardText clipboard;
    ASSERT_EQ(expandTemplate(templateFile, clipboard, sprites, inputs).result, ExpansionResult::Written);
    EXPECT_EQ(clipboard.text(), withCrLf(expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, TemplateGolden, ::testing::ValuesIn(findCases()),
                         [](const ::testing::TestParamInfo<fs::path>& info) { return caseName(info.param); });

} // namespace
