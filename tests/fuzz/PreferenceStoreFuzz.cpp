// The preference store over any file: opened, every group its lines name
// selected and every key walked and read, one key written, closed. The file
// afterwards is a complete new file holding that key (the old bytes would
// stay only if the write failed, which a scratch folder never lets happen).

#include "FuzzTarget.h"

#include "toolkit/PreferenceStore.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Group and key names as the lines spell them, found apart from the store's
// own parser: "[name" up to "]", and "name" up to "=".
void namesIn(std::string_view text, std::vector<std::string>& groups, std::vector<std::string>& keys)
{
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of(std::string_view("\n\r\0", 3)), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.starts_with('['))
            groups.emplace_back(line.substr(1, line.find(']') - 1));
        else
            keys.emplace_back(line.substr(0, line.find('=')));
    }
}

std::string contentOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

constexpr std::size_t kMaxNames = 64;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::filesystem::path file = th::fuzz::scratchFolder() / "TileHeronV2.prefs";
    th::fuzz::putFile(file, data, size);
    std::vector<std::string> groups{""};
    std::vector<std::string> keys;
    namesIn({reinterpret_cast<const char*>(data), size}, groups, keys);

    th::toolkit::PreferenceStore store;
    if (!store.open(file, int(size % 4)))
        std::abort();
    // A walk visits each line at most once, and no value outgrows the file
    // (twice its size once ISO 8859-1 becomes UTF-8). Names are capped so
    // that a run stays short.
    groups.resize(std::min<std::size_t>(groups.size(), kMaxNames));
    keys.resize(std::min<std::size_t>(keys.size(), kMaxNames));
    for (const std::string& group : groups) {
        store.selectGroup(group);
        std::size_t steps = 0;
        for (bool more = store.firstKey() && store.nextKey(); more; more = store.nextKey()) {
            if (++steps > size || store.currentValue("-").size() > 2 * size)
                std::abort();
        }
        for (const std::string& key : keys)
            if (store.readText(key, "").size() > 2 * size)
                std::abort();
        static_cast<void>(keys.empty() ? 0 : store.readInteger(keys.front(), 0));
    }
    store.selectGroup("");
    store.writeText("fuzz", "written");
    store.close();

    const std::string after = contentOf(file);
    const std::string line = size % 2 ? "fuzz=written\n" : "fuzz = written\n";
    // An existing empty file is the one kind the store keeps without a
    // byte-order mark.
    if (!after.starts_with(size == 0 ? "" : "\xEF\xBB\xBF\n") || after.find(line) == std::string::npos || !after.ends_with('\n'))
        std::abort();
    return 0;
}
