#include "project/ProjectFile.h"

#include "export/EdgeExtrusion.h"
#include "files/ReplacingFile.h"
#include "files/TextFile.h"
#include "project/ProjectNotices.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <set>

namespace th::project {

namespace {

using Json = nlohmann::ordered_json;
namespace fs = std::filesystem;

constexpr int kHighestSheetNumber = 9999;

fs::path folderOf(const fs::path& projectFile)
{
    return fs::absolute(projectFile).lexically_normal().parent_path();
}

// Relative when the file lies below the project's folder, absolute otherwise.
std::string storedPath(const std::string& file, const fs::path& folder)
{
    const fs::path absolute = fs::absolute(file).lexically_normal();
    const fs::path relative = absolute.lexically_relative(folder);
    if (relative.empty() || *relative.begin() == "..")
        return absolute.string();
    return relative.string();
}

std::string readPath(const std::string& stored, const fs::path& folder)
{
    const fs::path path(stored);
    return path.is_absolute() ? stored : (folder / path).lexically_normal().string();
}

// A whole number from lowest to highest; JSON keeps large positive numbers
// unsigned, which must not wrap around on the way to a signed one.
bool within(const Json& value, std::int64_t lowest, std::int64_t highest)
{
    if (value.is_number_unsigned()) {
        const std::uint64_t number = value.get<std::uint64_t>();
        return number <= std::uint64_t(highest) && std::int64_t(number) >= lowest;
    }
    return value.is_number_integer() && value.get<std::int64_t>() >= lowest && value.get<std::int64_t>() <= highest;
}

// Reads one object's fields, noting each one that is missing or of the
// wrong kind, and answers a fallback for it so reading can go on.
class Fields {
public:
    Fields(const Json& object, std::string where, std::vector<std::string>& problems)
        : object_(object)
        , where_(std::move(where))
        , problems_(problems)
    {
    }

    std::int32_t number(const char* key, std::int64_t lowest = std::numeric_limits<std::int32_t>::min(),
                        std::int64_t highest = std::numeric_limits<std::int32_t>::max())
    {
        if (const Json* value = find(key); value && within(*value, lowest, highest))
            return std::int32_t(value->get<std::int64_t>());
        complain(key, lowest == std::numeric_limits<std::int32_t>::min()
                          ? "a whole number"
                          : "a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest));
        return std::int32_t(std::clamp<std::int64_t>(0, lowest, highest));
    }
    bool flag(const char* key)
    {
        const Json* value = find(key);
        if (value && value->is_boolean())
            return value->get<bool>();
        complain(key, "true or false");
        return false;
    }
    // A number that may be left out, and is then `absent`.
    double optionalNumber(const char* key, double absent)
    {
        const Json* value = find(key);
        if (!value)
            return absent;
        if (value->is_number())
            return value->get<double>();
        complain(key, "a number");
        return absent;
    }
    std::string text(const char* key)
    {
        const Json* value = find(key);
        if (value && value->is_string())
            return value->get<std::string>();
        complain(key, "a text");
        return {};
    }
    // A nested object, or null after noting the problem.
    const Json* object(const char* key)
    {
        const Json* value = find(key);
        if (value && value->is_object())
            return value;
        complain(key, "an object");
        return nullptr;
    }
    const Json* array(const char* key)
    {
        const Json* value = find(key);
        if (value && value->is_array())
            return value;
        complain(key, "a list");
        return nullptr;
    }
    // For fields that projects written before them lack.
    bool present(const char* key) const { return find(key) != nullptr; }
    void complain(const char* key, const std::string& expected)
    {
        problems_.push_back(where_ + "\"" + key + "\" must be " + expected);
    }

private:
    const Json* find(const char* key) const
    {
        const auto found = object_.find(key);
        return found == object_.end() ? nullptr : &*found;
    }

    const Json& object_;
    std::string where_;
    std::vector<std::string>& problems_;
};

void readCanvas(Fields canvas, Project& project)
{
    project.canvasSize = canvas.number("size", 1024, 4096);
    if (project.canvasSize != 1024 && project.canvasSize != 2048 && project.canvasSize != 4096)
        canvas.complain("size", "1024, 2048 or 4096");
    project.snapToGrid = canvas.flag("snapToGrid");
    project.clipMargin = canvas.number("clipMargin", 0, std::numeric_limits<std::int32_t>::max());
    if (project.clipMargin % 2 != 0)
        canvas.complain("clipMargin", "an even number");
    project.placeX = canvas.number("nextImportX");
    project.placeY = canvas.number("nextImportY");
}

void readSprites(const Json& list, const fs::path& folder, Project& project, std::vector<std::string>& problems)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = "sprite " + std::to_string(i + 1) + ": ";
        if (!list[i].is_object()) {
            problems.push_back(where + "must be an object");
            continue;
        }
        Fields sprite(list[i], where, problems);
        ProjectSprite entry;
        entry.file = readPath(sprite.text("file"), folder);
        entry.x = sprite.number("x");
        entry.y = sprite.number("y");
        entry.rotated = sprite.flag("rotated");
        entry.index = sprite.number("index", 1, std::numeric_limits<std::int32_t>::max());
        entry.name = sprite.text("name");
        entry.pivotX = sprite.optionalNumber("pivotX", 0.5);
        entry.pivotY = sprite.optionalNumber("pivotY", 0.5);
        project.sprites.push_back(std::move(entry));
    }
    std::vector<std::int32_t> indices;
    for (const ProjectSprite& sprite : project.sprites)
        indices.push_back(sprite.index);
    std::sort(indices.begin(), indices.end());
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (indices[i] != std::int32_t(i + 1)) {
            problems.push_back("the sprites' indices must be 1 to " + std::to_string(indices.size()) + ", each once");
            break;
        }
    }
}

void readExport(Fields choices, Project& project)
{
    exporting::ExportRequest& request = project.exportChoices;
    request.sheetPath = choices.text("sheet");
    const std::int32_t depth = choices.number("depth", 1, 32);
    if (const exporting::DepthChoice* known = exporting::depthChoice(std::to_string(depth)))
        request.depth = known->depth;
    else
        choices.complain("depth", exporting::depthKeys());
    if (const exporting::BackgroundChoice* known = exporting::backgroundChoice(choices.text("background")))
        request.background = known->colour;
    else
        choices.complain("background", exporting::backgroundKeys("\""));
    request.retina = choices.flag("retina");
    request.powerOfTwo = choices.flag("powerOfTwo");
    request.sheetNumber = choices.number("sheetNumber", 0, kHighestSheetNumber);
    request.extrude = choices.present("extrude") ? choices.number("extrude", 0, exporting::kMostExtrusion) : 0;
    project.templateName = choices.text("template");
    request.scriptPath = choices.text("script");
}

struct DuplicateKey {
    std::string field;
};
struct TooDeep {
    std::string field;
};
constexpr std::size_t kDeepest = 32;

// Builds the document as the library's own parser does, and keeps where it
// is, so that a fault found while parsing can name its field the way the
// checks after it do ("sprite 3: \"x\""), and a key given twice is refused
// rather than silently taking the last. (The library's callback parser
// would do, but it scans a whole list each time one of its objects ends.)
class TrailedParser {
public:
    explicit TrailedParser(Json& document)
        : dom_(document)
    {
    }

    bool null() { return value(dom_.null()); }
    bool boolean(bool flag) { return value(dom_.boolean(flag)); }
    bool number_integer(Json::number_integer_t number) { return value(dom_.number_integer(number)); }
    bool number_unsigned(Json::number_unsigned_t number) { return value(dom_.number_unsigned(number)); }
    bool number_float(Json::number_float_t number, const Json::string_t& text)
    {
        return value(dom_.number_float(number, text));
    }
    bool string(Json::string_t& text) { return value(dom_.string(text)); }
    bool binary(Json::binary_t& bytes) { return value(dom_.binary(bytes)); }
    bool start_object(std::size_t size)
    {
        goDeeper(false);
        return dom_.start_object(size);
    }
    bool key(Json::string_t& name)
    {
        Step& step = steps_.back();
        step.key = name;
        if (!step.keys.insert(name).second)
            throw DuplicateKey{field()};
        return dom_.key(name);
    }
    bool end_object()
    {
        steps_.pop_back();
        return value(dom_.end_object());
    }
    bool start_array(std::size_t size)
    {
        goDeeper(true);
        return dom_.start_array(size);
    }
    bool end_array()
    {
        steps_.pop_back();
        return value(dom_.end_array());
    }
    template <typename Exception>
    bool parse_error(std::size_t position, const std::string& token, const Exception& error)
    {
        return dom_.parse_error(position, token, error);
    }

    // The field being read, named as the checks after parsing name it:
    // "version", canvas "size", sprite 3: "x".
    std::string field() const
    {
        std::vector<std::string> parts;
        for (const Step& step : steps_) {
            if (step.isList)
                parts.push_back("item " + std::to_string(step.items + 1));
            else if (!step.key.empty())
                parts.push_back("\"" + step.key + "\"");
        }
        if (parts.size() >= 2 && parts[0] == "\"sprites\"" && steps_[1].isList) {
            parts[1] = "sprite " + std::to_string(steps_[1].items + 1) + (parts.size() > 2 ? ":" : "");
            parts.erase(parts.begin());
        } else if (parts.size() >= 2 && (parts[0] == "\"canvas\"" || parts[0] == "\"export\"")) {
            parts[0] = steps_[0].key;
        }
        std::string name;
        for (const std::string& part : parts)
            name += (name.empty() ? "" : " ") + part;
        return name.empty() ? "the file" : name;
    }

private:
    struct Step {
        bool isList = false;
        std::size_t items = 0;
        std::string key = {};
        std::set<std::string> keys = {};
    };

    // A project nests three deep; a file nested far deeper is refused
    // before its levels cost more memory than its bytes.
    void goDeeper(bool isList)
    {
        if (steps_.size() == kDeepest)
            throw TooDeep{field()};
        steps_.push_back({.isList = isList});
    }

    bool value(bool going)
    {
        if (!steps_.empty() && steps_.back().isList)
            ++steps_.back().items;
        return going;
    }

    nlohmann::detail::json_sax_dom_parser<Json> dom_;
    std::vector<Step> steps_;
};

ProjectReading failed(std::string problem)
{
    return {std::nullopt, {std::move(problem)}};
}

} // namespace

std::string projectText(const Project& project, const fs::path& projectFile)
{
    const fs::path folder = folderOf(projectFile);
    Json sprites = Json::array();
    for (const ProjectSprite& sprite : project.sprites) {
        sprites.push_back({{"file", storedPath(sprite.file, folder)},
                           {"x", sprite.x},
                           {"y", sprite.y},
                           {"rotated", sprite.rotated},
                           {"index", sprite.index},
                           {"name", sprite.name},
                           {"pivotX", sprite.pivotX},
                           {"pivotY", sprite.pivotY}});
    }
    const exporting::ExportRequest& choices = project.exportChoices;
    const Json document = {
        {"version", kProjectVersion},
        {"canvas",
         {{"size", project.canvasSize},
          {"snapToGrid", project.snapToGrid},
          {"clipMargin", project.clipMargin},
          {"nextImportX", project.placeX},
          {"nextImportY", project.placeY}}},
        {"sprites", std::move(sprites)},
        {"export",
         {{"sheet", choices.sheetPath},
          {"depth", int(choices.depth)},
          {"background", exporting::backgroundChoice(choices.background).key},
          {"retina", choices.retina},
          {"powerOfTwo", choices.powerOfTwo},
          {"sheetNumber", choices.sheetNumber},
          {"extrude", choices.extrude},
          {"template", project.templateName},
          {"script", choices.scriptPath}}},
    };
    // A file name that is not UTF-8 cannot be kept in JSON as it stands; its
    // bad bytes become U+FFFD and opening names the picture as not found.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

files::FileResult saveProject(const Project& project, const fs::path& projectFile)
{
    return files::replaceFile(projectFile, projectText(project, projectFile));
}

namespace {

ProjectReading readWhole(const fs::path& projectFile)
{
    files::TextReader reader(projectFile, files::FileKind::Project);
    // The shared clause for a missing file ("it no longer exists") suits a
    // file chosen a moment ago, not a name typed on a command line.
    if (reader.result().cause == files::FileError::FileMissing)
        return failed("there is no such file");
    if (reader.result().cause == files::FileError::IsAFolder)
        return failed("it is a folder, not a project file");
    if (!reader.isOpen())
        return failed(files::describe(reader.result(), projectFile));
    return parseProject(reader.readRest(), projectFile);
}

} // namespace

ProjectReading parseProject(std::string_view text, const fs::path& projectFile)
{
    Json document;
    TrailedParser parser(document);
    try {
        Json::sax_parse(text, &parser);
    } catch (const Json::parse_error& error) {
        return failed("it is not valid JSON: it breaks off or goes wrong at byte " + std::to_string(error.byte));
    } catch (const DuplicateKey& duplicate) {
        return failed(duplicate.field + " is given twice");
    } catch (const TooDeep& deep) {
        return failed(deep.field + " nests lists and objects deeper than a project ever does");
    } catch (const Json::out_of_range&) {
        return failed(parser.field() + " holds a number too large to read");
    } catch (const Json::exception& error) {
        return failed("it could not be read at " + parser.field() + ": " + error.what());
    }
    if (!document.is_object())
        return failed("it is not a Tile Heron project: its JSON is not an object");

    std::vector<std::string> problems;
    Fields top(document, "", problems);
    const std::int32_t version = top.number("version");
    if (!problems.empty())
        return {std::nullopt, problems};
    if (version > kProjectVersion) {
        return failed("it was saved by a newer Tile Heron (project version " + std::to_string(version) +
                      "; this one reads version " + std::to_string(kProjectVersion) + ")");
    }
    if (version < 1)
        return failed("its project version " + std::to_string(version) + " is unknown");

    Project project;
    const fs::path folder = folderOf(projectFile);
    if (const Json* canvas = top.object("canvas"))
        readCanvas(Fields(*canvas, "canvas ", problems), project);
    if (const Json* sprites = top.array("sprites"))
        readSprites(*sprites, folder, project, problems);
    if (const Json* choices = top.object("export"))
        readExport(Fields(*choices, "export ", problems), project);
    if (!problems.empty())
        return {std::nullopt, std::move(problems)};
    return {std::move(project), {}};
}

ProjectReading readProject(const fs::path& projectFile)
{
    try {
        return readWhole(projectFile);
    } catch (const std::bad_alloc&) {
        return failed(kOutOfMemory);
    }
}

} // namespace th::project
