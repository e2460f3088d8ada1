// Golden cases for the template engine. Every folder under templates/ that
// holds expected.txt is one case, and must hold one of three templates:
//   template.txt          the template, byte for byte;
//   default-template.txt  the file name of a default template, which the test
//                         installs into its temporary home and expands;
//   gallery-template.txt  the file name of a gallery template, read where it
//                         ships from;
// and finds its sprites and export options in the nearest canvas.txt at or
// above it. expected.txt is the script file the expansion must write (LF
// ends) over an older, longer one; the clipboard text, expanded twice into
// one clipboard, must equal it with CR LF after every line.
//
// canvas.txt lines ("#" starts a comment):
//   clip <margin> | retina | sheet <width> <height> | sheet-path <path>
//   sheet-number <text> | sprite <index> <x> <y> <width> <height> <upright|rotated> <name>
//   pivot <x> <y> (of the sprite above)
// Sprites are listed in list (drawing) order; a name runs to the line's end.

#include "editor/Gallery.h"
#include "toolkit/DefaultTemplates.h"
#include "export/TemplateEngine.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace th::exporting;
using th::canvas::SpriteEntry;
using th::canvas::SpriteList;
using th::testing::readBytes;
using th::testing::TempHome;

const fs::path kCasesRoot = TH_TEMPLATE_CASES;
const fs::path kGalleryFolder = TH_GALLERY_FOLDER;

std::vector<fs::path> findCases()
{
    std::vector<fs::path> cases;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kCasesRoot))
        if (fs::exists(entry.path() / "expected.txt"))
            cases.push_back(entry.path());
    std::ranges::sort(cases);
    return cases;
}

// The nearest canvas.txt at or above the case folder; the cases root holds one.
fs::path findCanvasFile(fs::path folder)
{
    while (!fs::exists(folder / "canvas.txt") && folder != kCasesRoot)
        folder = folder.parent_path();
    return folder / "canvas.txt";
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
        } else if (key == "pivot") {
            ASSERT_GT(sprites.size(), 0u) << line;
            SpriteEntry& last = sprites.at(sprites.size() - 1);
            words >> last.pivotX >> last.pivotY;
        } else {
            FAIL() << "unknown canvas line: " << line;
        }
        ASSERT_FALSE(words.fail()) << "malformed canvas line: " << line;
    }
}

// The file name a one-line file holds.
std::string nameIn(const fs::path& file)
{
    std::string name = readBytes(file);
    name.erase(name.find_last_not_of('\n') + 1);
    return name;
}

// The template file to expand: the case's own, a gallery one, or a default
// one installed into the temporary home the way a first run installs it.
fs::path templateFor(const fs::path& folder, const TempHome& home)
{
    const bool own = fs::exists(folder / "template.txt");
    const bool gallery = fs::exists(folder / "gallery-template.txt");
    const bool installed = fs::exists(folder / "default-template.txt");
    EXPECT_EQ(own + gallery + installed, 1) << "a case needs exactly one template";
    if (own)
        return folder / "template.txt";
    if (gallery)
        return kGalleryFolder / nameIn(folder / "gallery-template.txt");
    const std::string fileName = nameIn(folder / "default-template.txt");
    for (const th::toolkit::DefaultTemplate& entry : th::toolkit::defaultTemplates()) {
        if (entry.fileName == fileName) {
            EXPECT_TRUE(th::toolkit::writeDefaultTemplate(home.folder(), entry));
            return home.path() / fileName;
        }
    }
    ADD_FAILURE() << "no default template named " << fileName;
    return {};
}

class TemplateGolden : public ::testing::TestWithParam<fs::path> {};

TEST_P(TemplateGolden, ExpandsToTheExpectedScript)
{
    const fs::path& folder = GetParam();
    TempHome home;
    const fs::path templateFile = templateFor(folder, home);
    ASSERT_FALSE(templateFile.empty());
    SpriteList sprites;
    ScriptInputs inputs;
    ASSERT_NO_FATAL_FAILURE(loadCanvas(findCanvasFile(folder), sprites, inputs));
    const std::string expected = readBytes(folder / "expected.txt");
    ASSERT_EQ(expected.find('\r'), std::string::npos) << "expected.txt is written with LF only";

    const fs::path script = home.path() / "script.out";
    th::testing::writeBytes(script, expected + "an older and longer script\n");
    ScriptFile file(script);
    ASSERT_EQ(expandTemplate(templateFile, file, sprites, inputs).result, ExpansionResult::Written);
    EXPECT_EQ(readBytes(script), expected);

    ClipboardText clipboard;
    for (int run = 0; run < 2; ++run)
        ASSERT_EQ(expandTemplate(templateFile, clipboard, sprites, inputs).result, ExpansionResult::Written);
    EXPECT_EQ(clipboard.text(), std::regex_replace(expected, std::regex("\n"), "\r\n"));
}

// A gallery template without a case would ship unchecked.
TEST(TemplateGoldenCases, CoverEveryGalleryTemplate)
{
    std::set<std::string> covered;
    for (const fs::path& folder : findCases())
        if (fs::exists(folder / "gallery-template.txt"))
            covered.insert(nameIn(folder / "gallery-template.txt"));
    for (const th::editor::GalleryTemplate& entry : th::editor::kGallery)
        EXPECT_TRUE(covered.contains(std::string(entry.file))) << entry.file;
}

// Each case is named by its folder.
INSTANTIATE_TEST_SUITE_P(Cases, TemplateGolden, ::testing::ValuesIn(findCases()),
                         [](const ::testing::TestParamInfo<fs::path>& info) {
                             std::string name = fs::relative(info.param, kCasesRoot).generic_string();
                             std::ranges::replace_if(name, [](unsigned char c) { return !std::isalnum(c); }, '_');
                             return name;
                         });

} // namespace
