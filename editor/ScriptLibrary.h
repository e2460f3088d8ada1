#pragma once
// The script library: every template is the file data folder + name +
// ".txt". Lists, reads, creates, saves and deletes them, asks and tells the
// user through the host, and keeps the map from a script's name to the
// editor that shows it in the preference group "Tab ID's". Plain C++; the
// editor window decides about tabs.

#include <optional>
#include <string>
#include <vector>

namespace th::toolkit {
class Host;
class PreferenceStore;
}

namespace th::editor {

class ScriptLibrary {
public:
    // `dataFolder` ends in "/"; the store must stay open while the library
    // is used (the editor window keeps it open).
    ScriptLibrary(std::string dataFolder, toolkit::PreferenceStore& store, toolkit::Host& host);

    // The script names, sorted by their bytes.
    std::vector<std::string> list() const;
    // The file's lines (an empty file gives one empty line); nothing when it
    // cannot be read as a file.
    std::optional<std::vector<std::string>> read(const std::string& name) const;

    // Refuses an empty name and a name whose file already holds something,
    // telling the user why; otherwise creates the file empty (cutting an
    // empty one) and returns true. A file that cannot be made is reported.
    bool create(const std::string& name);
    // After "Overwrite Script?" is answered Yes, replaces the file's whole
    // content with the lines in one step. True only when the file holds them.
    bool save(const std::string& name, const std::vector<std::string>& lines);
    // A new script holding the lines: refuses an empty name as create does;
    // a script of that name that already holds something is replaced only
    // as save replaces it, after the same question. True when the file holds
    // them.
    bool add(const std::string& name, const std::vector<std::string>& lines);
    // Refuses to delete the last open script; after "Delete Script?" is
    // answered Yes, deletes the file and forgets its editor. True when the
    // script is gone and its tab may go.
    bool remove(const std::string& name, int openScripts);

    // Records which editor shows the script. The map is kept for the
    // preference file; the window finds a tab's editor through the tab
    // itself, because the map's names ignore letter case and two scripts
    // such as "Foo" and "foo" are two files here.
    void registerEditor(const std::string& name, int editor);

private:
    std::string fileOf(const std::string& name) const;
    bool holdsSomething(const std::string& file) const;
    bool write(const std::string& name, const std::vector<std::string>& lines);

    std::string dataFolder_;
    toolkit::PreferenceStore& store_;
    toolkit::Host& host_;
};

} // namespace th::editor
