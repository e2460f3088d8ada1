#include "testing/TempHome.h"

#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace th::testing {

TempHome::TempHome()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tile-heron-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary home folder");
    path_ = pattern;
    if (const char* home = std::getenv("HOME"))
        previousHome_ = home;
    setenv("HOME", path_.c_str(), 1);
}

TempHome::~TempHome()
{
    if (previousHome_)
        setenv("HOME", previousHome_->c_str(), 1);
    else
        unsetenv("HOME");
    std::error_code ignored;
    // Tests may leave read-only files or folders behind; make them removable.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::string> namesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string noiseBytes(std::size_t size, unsigned seed)
{
    std::string noise(size, '\0');
    for (char& c : noise)
        c = char((seed = seed * 1103515245u + 12345u) >> 16);
    return noise;
}

} // namespace th::testing
