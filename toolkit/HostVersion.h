#pragma once
// The host operating-system version as the program's integer code.

namespace th::toolkit {

// Codes: 10000 for 10.0 (and for an unanswered query), 10100 ... 10800 for
// 10.1 ... 10.8, and 60000 for anything newer.
inline constexpr int kHostVersionUnknown = 10000;
inline constexpr int kHostVersionModern = 60000;

// Maps a packed system-version number (0x1075 for 10.7.5) to its code. Each
// minor version spans 16 packed values; above 0x108F everything is modern.
constexpr int hostVersionFromPacked(int packed)
{
    if (packed > 0x108F)
        return kHostVersionModern;
    if (packed <= 0x100F)
        return kHostVersionUnknown;
    return 10000 + ((packed - 0x1000) >> 4) * 100;
}

} // namespace th::toolkit
