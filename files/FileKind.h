#pragma once
// The kinds of file the program reads and the most bytes it reads of each,
// stated once: a file over its kind's cap is refused before a byte of it is
// read, so a huge or endless file cannot exhaust memory.

#include <cstdint>

namespace th::files {

enum class FileKind {
    Picture,     // a sprite's PNG or BMP
    Project,     // a .theron project or autosave
    Template,    // a script template, from the library or a chosen file
    Preferences, // the preference file
};

constexpr std::uint64_t maximumBytes(FileKind kind)
{
    constexpr std::uint64_t kMiB = 1 << 20;
    switch (kind) {
    case FileKind::Picture:
        // The largest picture the decoders accept (256 MiB of pixels),
        // stored without compression, with room for its other chunks.
        return 512 * kMiB;
    case FileKind::Project:
        // A million sprites with long paths and names.
        return 256 * kMiB;
    case FileKind::Template:
        return 16 * kMiB;
    case FileKind::Preferences:
        // Values are kept whole, however long a line someone wrote.
        return 32 * kMiB;
    }
    return 0;
}

} // namespace th::files
