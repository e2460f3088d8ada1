#pragma once
// Test helpers: a throw-away HOME folder, whole-file byte access, folder
// listings and reproducible noise.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace th::testing {

// Makes a fresh, empty folder under the system's temporary folder, points HOME
// at it for the object's lifetime, and removes it (and restores HOME) after.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as the program spells it: always ending in "/".
    std::string folder() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
    std::optional<std::string> previousHome_;
};

std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::string& bytes);
// The names in a folder, sorted: a temporary file left behind shows here.
std::vector<std::string> namesIn(const std::filesystem::path& folder);
// Bytes from a fixed generator: the same seed gives the same noise.
std::string noiseBytes(std::size_t size, unsigned seed);

} // namespace th::testing
