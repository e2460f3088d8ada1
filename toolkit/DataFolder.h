#pragma once
// Where the per-user data lives, and the installation of its defaults.

#include <string>

namespace th::toolkit {

class PreferenceStore;

inline constexpr const char* kPreferenceFileName = "TileHeronV2.prefs";

// homeFolder + "Library/Application Support/Tile Heron/" on 10.7 and later
// hosts, homeFolder + "Library/Application Support/Larkfield/Tile Heron/"
// before. homeFolder ends in "/", and so does the result.
std::string dataFolderFor(const std::string& homeFolder, int hostVersion);

// Chooses the data folder and brings its installation up to date: a first
// run (no readable preference file) creates the folder, the preference file
// and all five default templates and leaves the store open with
// "Examples"/"HTML5" = 1 unsaved; a later run adds "HTML5.txt" once if the
// installation never had it and closes the store. Nothing here is reported:
// whatever cannot be made is passed over. With `sweep`, temporaries a crashed
// save left in the data folder are removed first; only the copy of the
// program that owns the folder sweeps it. Returns the data folder.
std::string prepareDataFolder(const std::string& homeFolder, int hostVersion, PreferenceStore& store,
                              bool sweep = true);

} // namespace th::toolkit
