#include "toolkit/PreferenceStore.h"

#include "files/ReplacingFile.h"
#include "files/TextFile.h"

#include <algorithm>
#include <climits>


namespace th::toolkit {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\n' || c == '\r' || c == '\0'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::string latin1ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The file holds one entry per line, so a line end inside a name or value
// would split it on the next read; each one is stored as a blank instead.
std::string oneLine(std::string_view text)
{
    std::string out(text);
    std::replace_if(out.begin(), out.end(), isLineEnd, ' ');
    return out;
}

} // namespace

int PreferenceStore::parseInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void PreferenceStore::reset()
{
    active_ = fileOpened_ = readOnly_ = changed_ = utf8_ = false;
    options_ = 0;
    path_.clear();
    entries_.clear();
    currentGroup_ = cursor_ = kNone;
    pendingGroup_.reset();
}

bool PreferenceStore::open(const std::filesystem::path& file, int options)
{
    close();
    active_ = true;
    options_ = options;
    path_ = file;

    std::error_code error;
    if (std::filesystem::is_directory(file, error)) {
        utf8_ = true;
        return false;
    }
    readOnly_ = !files::mayReplace(file);
    files::TextReader in(file, files::FileKind::Preferences);
    if (!in.isOpen()) {
        readOnly_ = false;
        utf8_ = true;
        return false;
    }
    fileOpened_ = true;
    std::string content = in.readRest();
    if (content.size() > 2 && std::string_view(content).substr(0, 3) == kByteOrderMark) {
        utf8_ = true;
        content.erase(0, 3);
    } else if (!content.empty()) {
        content = latin1ToUtf8(content);
        utf8_ = true;
    }
    parse(content);
    return true;
}

bool PreferenceStore::create(const std::filesystem::path& file, int options)
{
    close();
    std::error_code error;
    if (std::filesystem::is_directory(file, error))
        return false;
    if (!files::replaceFile(file, {}).ok())
        return false;
    active_ = fileOpened_ = utf8_ = true;
    options_ = options;
    path_ = file;
    return true;
}

void PreferenceStore::parse(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;

        while (!line.empty() && isBlank(line.front()))
            line.remove_prefix(1);
        if (line.empty())
            continue;
        if (line.front() == ';') {
            line.remove_prefix(1);
            if (!line.empty() && line.front() == ' ')
                line.remove_prefix(1);
            entries_.push_back({Kind::Comment, std::string(line), {}});
        } else if (line.front() == '[') {
            line.remove_prefix(1);
            entries_.push_back({Kind::Group, std::string(line.substr(0, line.find(']'))), {}});
        } else {
            // A line without "=" is a key of that name with an empty value.
            const std::size_t equals = line.find('=');
            std::string_view key = line.substr(0, equals);
            while (!key.empty() && isBlank(key.back()))
                key.remove_suffix(1);
            std::string_view value = equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
            while (!value.empty() && isBlank(value.front()))
                value.remove_prefix(1);
            entries_.push_back({Kind::Key, std::string(key), std::string(value)});
        }
    }
}

bool PreferenceStore::selectGroup(std::string_view name)
{
    if (!active_)
        return false;
    if (name.empty()) {
        currentGroup_ = kNone;
        pendingGroup_.reset();
        return true;
    }
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].kind == Kind::Group && sameName(entries_[i].name, name)) {
            currentGroup_ = cursor_ = std::ptrdiff_t(i);
            pendingGroup_.reset();
            return true;
        }
    }
    pendingGroup_ = oneLine(name);
    return false;
}

std::ptrdiff_t PreferenceStore::findKey(std::string_view key) const
{
    if (!active_ || pendingGroup_)
        return kNone;
    for (std::size_t i = std::size_t(currentGroup_ + 1); i < entries_.size(); ++i) {
        if (entries_[i].kind == Kind::Group)
            break;
        if (entries_[i].kind == Kind::Key && sameName(entries_[i].name, key))
            return std::ptrdiff_t(i);
    }
    return kNone;
}

int PreferenceStore::readInteger(std::string_view key, int fallback) const
{
    const std::ptrdiff_t found = findKey(key);
    return found == kNone ? fallback : parseInteger(entries_[std::size_t(found)].value);
}

std::string PreferenceStore::readText(std::string_view key, std::string_view fallback) const
{
    const std::ptrdiff_t found = findKey(key);
    return std::string(found == kNone ? fallback : trimmed(entries_[std::size_t(found)].value));
}

void PreferenceStore::writeInteger(std::string_view key, int value)
{
    writeText(key, std::to_string(value));
}

// New keys of a group go after its last entry (trailing comments included);
// top-level keys go before the first group header.
std::ptrdiff_t PreferenceStore::insertionPoint() const
{
    std::size_t i = std::size_t(currentGroup_ + 1);
    while (i < entries_.size() && entries_[i].kind != Kind::Group)
        ++i;
    return std::ptrdiff_t(i);
}

void PreferenceStore::writeText(std::string_view key, std::string_view value)
{
    if (!active_)
        return;
    if (pendingGroup_) {
        entries_.push_back({Kind::Group, *pendingGroup_, {}});
        currentGroup_ = cursor_ = std::ptrdiff_t(entries_.size() - 1);
        pendingGroup_.reset();
    }
    std::ptrdiff_t at = findKey(key);
    if (at == kNone) {
        at = insertionPoint();
        entries_.insert(entries_.begin() + at, Entry{Kind::Key, {}, {}});
    }
    entries_[std::size_t(at)].name = oneLine(key);
    entries_[std::size_t(at)].value = oneLine(value);
    cursor_ = at;
    changed_ = true;
}

void PreferenceStore::removeKey(std::string_view key)
{
    const std::ptrdiff_t found = findKey(key);
    if (found == kNone)
        return;
    entries_.erase(entries_.begin() + found);
    if (cursor_ >= found)
        --cursor_;
    changed_ = true;
}

bool PreferenceStore::firstKey()
{
    if (!fileOpened_ || pendingGroup_)
        return false;
    cursor_ = currentGroup_;
    return true;
}

bool PreferenceStore::nextKey()
{
    if (!fileOpened_ || pendingGroup_)
        return false;
    std::size_t i = std::size_t(cursor_ + 1);
    while (i < entries_.size() && entries_[i].kind == Kind::Comment)
        ++i;
    cursor_ = std::ptrdiff_t(std::min(i, entries_.size()));
    return i < entries_.size() && entries_[i].kind == Kind::Key;
}

std::string PreferenceStore::currentValue(std::string_view fallback) const
{
    if (cursor_ == kNone || std::size_t(cursor_) >= entries_.size() || entries_[std::size_t(cursor_)].kind != Kind::Key)
        return std::string(fallback);
    return std::string(trimmed(entries_[std::size_t(cursor_)].value));
}

std::string PreferenceStore::serialise() const
{
    std::string out;
    if (utf8_) {
        out += kByteOrderMark;
        out += '\n';
    }
    bool firstGroup = true;
    for (const Entry& entry : entries_) {
        switch (entry.kind) {
        case Kind::Group:
            if ((options_ & kBlankLineBeforeGroups) && !firstGroup)
                out += '\n';
            firstGroup = false;
            out += '[' + entry.name + "]\n";
            break;
        case Kind::Comment:
            out += "; " + entry.name + '\n';
            break;
        case Kind::Key:
            out += entry.name + ((options_ & kTightSeparator) ? "=" : " = ") + entry.value + '\n';
            break;
        }
    }
    return out;
}

// The replacing writer keeps the old file whole until the new one is
// complete, and keeps its permissions.
bool PreferenceStore::save() const
{
    return files::replaceFile(path_, serialise()).ok();
}

void PreferenceStore::close()
{
    if (active_ && changed_ && !readOnly_)
        save();
    reset();
}

} // namespace th::toolkit
