#include "project/ProjectFile.h"

#include "files/ReplacingFile.h"
#include "files/TextFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>

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
    project.templateName = choices.text("template");
    request.scriptPath = choices.text("script");
}

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
                           {"name", sprite.name}});
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

ProjectReading parseProject(std::string_view text, const fs::path& projectFile)
{
    Json document;
    try {
        document = Json::parse(text);
    } catch (const Json::parse_error& error) {
        return failed("it is not valid JSON: it breaks off or goes wrong at byte " + std::to_string(error.byte));
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
    files::TextReader reader(projectFile);
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

} // namespace th::project
