#include "editor/ScriptLibrary.h"

#include "toolkit/PreferenceStore.h"
#include "files/FileResult.h"
#include "files/TextFile.h"
#include "toolkit/Host.h"
#include "toolkit/TemplateList.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace th::editor {

namespace {

constexpr const char* kEditorGroup = "Tab ID's";

std::string quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

} // namespace

ScriptLibrary::ScriptLibrary(std::string dataFolder, toolkit::PreferenceStore& store, toolkit::Host& host)
    : dataFolder_(std::move(dataFolder))
    , store_(store)
    , host_(host)
{
}

std::string ScriptLibrary::fileOf(const std::string& name) const
{
    return toolkit::templateFile(dataFolder_, name).string();
}

std::vector<std::string> ScriptLibrary::list() const
{
    return toolkit::templateNames(dataFolder_);
}

std::optional<std::vector<std::string>> ScriptLibrary::read(const std::string& name) const
{
    files::TextReader reader(fileOf(name), files::FileKind::Template);
    if (!reader.isOpen())
        return std::nullopt;
    std::vector<std::string> lines;
    do
        lines.push_back(reader.readLine());
    while (!reader.atEnd());
    return lines;
}

bool ScriptLibrary::create(const std::string& name)
{
    if (name.empty()) {
        host_.message("Script Name?", "Please create a script name first.");
        return false;
    }
    const std::string file = fileOf(name);
    if (holdsSomething(file)) {
        host_.message("Wait!", "The " + quoted(name) +
                                   " script already exist. Please rename the new script or delete the old one.");
        return false;
    }
    files::TextWriter writer(file);
    if (const files::FileResult result = writer.close(); !result.ok()) {
        host_.message("Not Created!", "The " + quoted(name) + " script could not be created as " + file +
                                          " because " + files::describe(result, file) + ".");
        return false;
    }
    return true;
}

bool ScriptLibrary::holdsSomething(const std::string& file) const
{
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0;
}

bool ScriptLibrary::save(const std::string& name, const std::vector<std::string>& lines)
{
    if (!host_.ask("Overwrite Script?", "Are you sure you want to overwrite the " + quoted(name) + " script?"))
        return false;
    return write(name, lines);
}

bool ScriptLibrary::add(const std::string& name, const std::vector<std::string>& lines)
{
    if (name.empty()) {
        host_.message("Script Name?", "Please create a script name first.");
        return false;
    }
    return holdsSomething(fileOf(name)) ? save(name, lines) : write(name, lines);
}

bool ScriptLibrary::write(const std::string& name, const std::vector<std::string>& lines)
{
    const std::string file = fileOf(name);
    files::TextWriter writer(file);
    for (const std::string& line : lines)
        writer.writeLine(line);
    if (const files::FileResult result = writer.close(); !result.ok()) {
        host_.message("Not Saved!", "The " + quoted(name) + " script could not be saved as " + file + " because " +
                                        files::describe(result, file) + ".");
        return false;
    }
    host_.message("Saved Script!", "The " + quoted(name) + " script was saved.");
    return true;
}

bool ScriptLibrary::remove(const std::string& name, int openScripts)
{
    if (openScripts <= 1) {
        host_.message("Wait!", "There needs to be at least one script in the editor.");
        return false;
    }
    if (!host_.ask("Delete Script?", "Are you sure you want to delete the " + quoted(name) + " script?"))
        return false;
    const std::string file = fileOf(name);
    // A file someone else already removed is as good as deleted.
    if (std::remove(file.c_str()) != 0 && errno != ENOENT) {
        const files::FileResult result = files::fromErrno(errno, files::FileError::WriteFailed);
        host_.message("Not Deleted!", "The " + quoted(name) + " script could not be deleted from " + file +
                                          " because " + files::describe(result, file) + ".");
        return false;
    }
    store_.selectGroup(kEditorGroup);
    store_.removeKey(name);
    return true;
}

void ScriptLibrary::registerEditor(const std::string& name, int editor)
{
    store_.selectGroup(kEditorGroup);
    store_.writeInteger(name, editor);
}

} // namespace th::editor
