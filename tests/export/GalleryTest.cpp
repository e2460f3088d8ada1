// The gallery's templates expanded over a small canvas (a turned sprite, a
// clip margin, Retina on and off) and read back by a parser of each format:
// the frames found must be the canvas's sprites.

#include "editor/Gallery.h"
#include "export/TemplateEngine.h"
#include "export/TemplateTarget.h"

#include "testing/PlacedSprite.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <functional>
#include <regex>
#include <sstream>

namespace {

using namespace th::exporting;
using nlohmann::json;

// What a format tells about one sprite, in the format's own units.
struct Frame {
    std::string name;
    std::int64_t x = 0, y = 0, width = 0, height = 0;
    bool rotated = false;
    // The visible part within the whole picture.
    std::int64_t offsetX = 0, offsetY = 0, sourceWidth = 0, sourceHeight = 0;
    double pivotX = 0, pivotY = 0;
    bool operator==(const Frame&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Frame& f)
{
    return out << f.name << " @" << f.x << "," << f.y << " " << f.width << "x" << f.height << (f.rotated ? "T" : "")
               << " offset " << f.offsetX << "," << f.offsetY << " of " << f.sourceWidth << "x" << f.sourceHeight
               << " pivot " << f.pivotX << "," << f.pivotY;
}

struct Sheet {
    std::string image;
    std::int64_t width = 0, height = 0;
    std::vector<Frame> frames;
};

constexpr std::int32_t kMargin = 2;
const std::filesystem::path kGalleryFolder = TH_GALLERY_FOLDER;

// The canvas in picture terms: each sprite's picture size, place and turn.
th::canvas::SpriteList smallCanvas()
{
    th::canvas::SpriteList sprites;
    sprites.insert(0, th::testing::placed(0, 0, 10, 12, false, "run_01.png", 1));
    // A 14 x 8 picture lying turned.
    sprites.insert(1, th::testing::placed(10, 0, 8, 14, true, "run_02.png", 2));
    th::canvas::SpriteEntry idle = th::testing::placed(20, 3, 9, 5, false, "idle.png", 3);
    idle.pivotX = 0.25;
    idle.pivotY = 1;
    sprites.insert(2, idle);
    return sprites;
}

// Every number the engines read from a sprite, straight from the canvas:
// positions and sizes divided by the Retina factor.
Frame engineFrame(const th::canvas::SpriteEntry& sprite, std::int64_t s)
{
    const std::int64_t pictureWidth = sprite.rotated ? sprite.height : sprite.width;
    const std::int64_t pictureHeight = sprite.rotated ? sprite.width : sprite.height;
    const std::int64_t cutX = sprite.rotated ? 0 : kMargin, cutY = sprite.rotated ? kMargin : 0;
    return {sprite.name, (sprite.x + cutX) / s, (sprite.y + cutY) / s, (pictureWidth - 2 * kMargin) / s,
            pictureHeight / s, sprite.rotated, kMargin / s, 0, pictureWidth / s, pictureHeight / s,
            sprite.pivotX, sprite.pivotY};
}

// The box as it lies on the sheet; names as the format writes them.
Frame sheetBox(const th::canvas::SpriteEntry& sprite, std::int64_t s, std::string name)
{
    const th::canvas::VisibleBox box = th::canvas::visibleBox(sprite, kMargin);
    return {std::move(name), box.left / s, box.top / s, box.width / s, box.height / s};
}

Sheet readJson(const std::string& text, bool asList)
{
    const json document = json::parse(text);
    Sheet sheet{document["meta"]["image"], document["meta"]["size"]["w"], document["meta"]["size"]["h"], {}};
    EXPECT_EQ(document["meta"]["scale"], "1");
    const auto frameOf = [](const std::string& name, const json& f) {
        EXPECT_EQ(f["trimmed"], true);
        EXPECT_EQ(f["spriteSourceSize"]["w"], f["frame"]["w"]);
        EXPECT_EQ(f["spriteSourceSize"]["h"], f["frame"]["h"]);
        EXPECT_EQ(f["pivot"], f["anchor"]);
        return Frame{name, f["frame"]["x"], f["frame"]["y"], f["frame"]["w"], f["frame"]["h"], f["rotated"],
                     f["spriteSourceSize"]["x"], f["spriteSourceSize"]["y"], f["sourceSize"]["w"],
                     f["sourceSize"]["h"], f["pivot"]["x"], f["pivot"]["y"]};
    };
    if (asList) {
        for (const json& f : document["frames"])
            sheet.frames.push_back(frameOf(f["filename"], f));
    } else {
        // An object's keys come back sorted; the canvas's order is by number.
        for (const auto& [name, f] : document["frames"].items())
            sheet.frames.push_back(frameOf(name, f));
    }
    return sheet;
}

std::pair<std::int64_t, std::int64_t> pairOf(const std::string& text)
{
    long long a = 0, b = 0;
    EXPECT_EQ(std::sscanf(text.c_str(), "%lld ,%lld", &a, &b), 2) << text;
    return {a, b};
}

// The plain-text atlas: a page header, then regions of indented fields.
Sheet readAtlas(const std::string& text)
{
    Sheet sheet;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line) && line.empty()) {
    }
    sheet.image = line;
    while (std::getline(lines, line)) {
        const std::size_t colon = line.find(':');
        if (line.starts_with("  ") && colon != std::string::npos && !sheet.frames.empty()) {
            Frame& f = sheet.frames.back();
            const std::string key = line.substr(2, colon - 2), value = line.substr(colon + 1);
            if (key == "rotate")
                f.rotated = value == " true";
            else if (key == "xy")
                std::tie(f.x, f.y) = pairOf(value);
            else if (key == "size")
                std::tie(f.width, f.height) = pairOf(value);
            else if (key == "orig")
                std::tie(f.sourceWidth, f.sourceHeight) = pairOf(value);
            else if (key == "offset")
                std::tie(f.offsetX, f.offsetY) = pairOf(value);
            else if (key == "index")
                f.name += "#" + value.substr(1);
        } else if (colon != std::string::npos && sheet.frames.empty()) {
            if (line.starts_with("size:"))
                std::tie(sheet.width, sheet.height) = pairOf(line.substr(5));
        } else {
            sheet.frames.push_back({line});
        }
    }
    return sheet;
}

Sheet readCss(const std::string& text)
{
    Sheet sheet;
    const std::regex rule(R"re(\.([\w-]+) \{\s*background: url\("([^"]+)"\) -(\d+)px -(\d+)px no-repeat;\s*)re"
                          R"re(background-size: (\d+)px (\d+)px;\s*width: (\d+)px;\s*height: (\d+)px;\s*\})re");
    for (std::sregex_iterator it(text.begin(), text.end(), rule), end; it != end; ++it) {
        const std::smatch& m = *it;
        sheet.image = m[2];
        sheet.width = std::stoll(m[5]);
        sheet.height = std::stoll(m[6]);
        sheet.frames.push_back({m[1], std::stoll(m[3]), std::stoll(m[4]), std::stoll(m[7]), std::stoll(m[8])});
    }
    return sheet;
}

Sheet readCHeader(const std::string& text)
{
    Sheet sheet;
    const std::regex entry(R"(\{(-?\d+), (-?\d+), (\d+), (\d+)\},? /\* (\S+) \*/)");
    for (std::sregex_iterator it(text.begin(), text.end(), entry), end; it != end; ++it) {
        const std::smatch& m = *it;
        sheet.frames.push_back({m[5], std::stoll(m[1]), std::stoll(m[2]), std::stoll(m[3]), std::stoll(m[4])});
    }
    std::smatch count;
    EXPECT_TRUE(std::regex_search(text, count, std::regex(R"(#define SHEET7_SPRITE_COUNT (\d+))")));
    EXPECT_EQ(count.size() > 1 ? std::stoul(count[1]) : 0, sheet.frames.size());
    return sheet;
}

TEST(Gallery, EveryTemplateReadsBackAsTheCanvasInItsFormat)
{
    const th::canvas::SpriteList sprites = smallCanvas();
    struct Row {
        std::string_view file;
        std::function<Sheet(const std::string&)> read;
        // The frame a sprite should read as, for a Retina factor.
        std::function<Frame(const th::canvas::SpriteEntry&, std::int64_t)> expected;
        bool sortedByName;
        bool turnsClockwise;
        bool hasSheetSize;
    };
    const auto animationName = [](const th::canvas::SpriteEntry& sprite) {
        return sprite.name == "idle.png" ? std::string("idle#0") : "run#" + sprite.name.substr(5, 1);
    };
    const Row rows[] = {
        {"json-hash.txt", [](const std::string& t) { return readJson(t, false); }, engineFrame, true, true, true},
        {"json-array.txt", [](const std::string& t) { return readJson(t, true); }, engineFrame, false, true, true},
        {"libgdx-atlas.txt", readAtlas,
         [&](const th::canvas::SpriteEntry& sprite, std::int64_t s) {
             Frame f = engineFrame(sprite, s);
             f.name = animationName(sprite);
             f.pivotX = f.pivotY = 0;
             return f;
         },
         false, false, true},
        {"css-sprites.txt", readCss,
         [&](const th::canvas::SpriteEntry& sprite, std::int64_t s) {
             std::string name = animationName(sprite);
             name.replace(name.find('#'), 1, "-");
             return sheetBox(sprite, s, name);
         },
         false, false, true},
        {"c-header.txt", readCHeader,
         [](const th::canvas::SpriteEntry& sprite, std::int64_t s) { return sheetBox(sprite, s, sprite.name); }, false,
         false, false},
    };
    ASSERT_EQ(std::size(rows), th::editor::kGallery.size());
    th::testing::TempHome home;
    for (const Row& row : rows) {
        for (const bool retina : {false, true}) {
            SCOPED_TRACE(::testing::Message() << row.file << (retina ? " retina" : ""));
            const std::filesystem::path templateFile = kGalleryFolder / row.file;
            EXPECT_TRUE(std::any_of(th::editor::kGallery.begin(), th::editor::kGallery.end(),
                                    [&](const auto& entry) { return entry.file == row.file; }));
            EXPECT_EQ(templateTurnsClockwise(templateFile), row.turnsClockwise);
            const ScriptInputs inputs{.clipMargin = kMargin, .retina = retina, .sheetWidth = 34, .sheetHeight = 15,
                                      .sheetPath = "/out/hero.png", .sheetNumber = "7"};
            ClipboardText script;
            ASSERT_EQ(expandTemplate(templateFile, script, sprites, inputs).result, ExpansionResult::Written);
            std::string text = script.text();
            std::erase(text, '\r');
            Sheet sheet;
            ASSERT_NO_THROW(sheet = row.read(text)) << text;

            const std::int64_t s = retina ? 2 : 1;
            std::vector<Frame> expected;
            for (const th::canvas::SpriteEntry& sprite : sprites.entries())
                expected.push_back(row.expected(sprite, s));
            if (row.sortedByName)
                std::sort(expected.begin(), expected.end(), [](const Frame& a, const Frame& b) { return a.name < b.name; });
            EXPECT_EQ(sheet.frames, expected) << text;
            if (row.hasSheetSize) {
                EXPECT_EQ(sheet.image, "hero.png");
                const std::pair<std::int64_t, std::int64_t> size{34 / s, 15 / s};
                EXPECT_EQ(std::pair(sheet.width, sheet.height), size);
            }
        }
    }
}

} // namespace
