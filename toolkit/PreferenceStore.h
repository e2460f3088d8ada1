#pragma once
// The grouped key/value store over the preference file "TileHeronV2.prefs".
// Plain C++, no Qt: names and values are UTF-8 byte strings.
//
// File format as written:
//   EF BB BF 0A            when the store is UTF-8 (always, unless the file
//                          was an existing zero-byte file)
//   [group]                one entry per line, each ended by one LF
//   key = value            written as stored, no quoting
//   ; comment
// Reading also accepts ISO 8859-1 files (converted to UTF-8), CR/LF/CR LF
// line ends, blank lines and leading blanks. Group and key names compare
// ignoring the case of ASCII letters only.
//
// Changes live in memory until close(), which replaces the file in one step
// (a temporary file renamed over it) so a failure never leaves half a file.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace th::toolkit {

class PreferenceStore {
public:
    enum Options {
        kTightSeparator = 1,        // "key=value" instead of "key = value"
        kBlankLineBeforeGroups = 2, // an empty line before every group but the first
    };

    PreferenceStore() = default;
    ~PreferenceStore() { close(); }
    PreferenceStore(const PreferenceStore&) = delete;
    PreferenceStore& operator=(const PreferenceStore&) = delete;

    // Closes the open store, then reads the file. True when the file exists;
    // a missing file still gives a usable store that creates the file at
    // close() if anything was written.
    bool open(const std::filesystem::path& file, int options = 0);
    // Closes the open store, then creates the file (or replaces it with an
    // empty one) at once. False when that fails; the store then stays closed.
    bool create(const std::filesystem::path& file, int options = 0);
    // Saves when something changed and empties the store.
    void close();
    bool isOpen() const { return active_; }

    // "" selects the top level. A group that does not exist becomes pending:
    // reads find nothing until a write creates it at the end of the file.
    bool selectGroup(std::string_view name);

    int readInteger(std::string_view key, int fallback) const;
    std::string readText(std::string_view key, std::string_view fallback) const;
    void writeInteger(std::string_view key, int value);
    void writeText(std::string_view key, std::string_view value);
    void removeKey(std::string_view key);

    // The key walk over the current group.
    bool firstKey();
    bool nextKey();
    std::string currentValue(std::string_view fallback) const;

    // Reads a value the way C reads a decimal integer: blanks, a sign, then
    // digits up to the first other character; no digits read as 0. Values
    // beyond the 32-bit range are held at its nearest end.
    static int parseInteger(std::string_view text);

private:
    enum class Kind { Group, Comment, Key };
    struct Entry {
        Kind kind;
        std::string name;  // group name, comment text or key name
        std::string value; // key entries only
    };
    static constexpr std::ptrdiff_t kNone = -1;

    void reset();
    void parse(std::string_view text);
    std::ptrdiff_t findKey(std::string_view key) const;
    std::ptrdiff_t insertionPoint() const;
    std::string serialise() const;
    bool save() const;

    bool active_ = false;       // reads and writes reach the entries
    bool fileOpened_ = false;   // the file existed and was read
    bool readOnly_ = false;     // ... but could not be opened for update
    bool changed_ = false;
    bool utf8_ = false;
    int options_ = 0;
    std::filesystem::path path_;
    std::vector<Entry> entries_;
    std::ptrdiff_t currentGroup_ = kNone; // kNone: the top level
    std::optional<std::string> pendingGroup_;
    std::ptrdiff_t cursor_ = kNone;       // kNone: before the first entry
};

} // namespace th::toolkit
