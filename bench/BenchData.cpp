#include "BenchData.h"

#include "toolkit/FolderListing.h"

#include <cstdio>
#include <cstdlib>

#include <sys/resource.h>
#include <unistd.h>

namespace th::bench {

std::filesystem::path dataFolder()
{
    if (const char* overridden = std::getenv("TH_BENCH_DATA"))
        return overridden;
    return TH_BENCH_DATA_DIR;
}

std::string spriteFolder()
{
    return (dataFolder() / "sprites").string() + "/";
}

bool haveSprites(benchmark::State& state)
{
    const auto names = toolkit::listFolder(spriteFolder(), "*.png");
    if (names && names->size() >= 400)
        return true;
    state.SkipWithError(("no sprites in " + spriteFolder()).c_str());
    return false;
}

double peakMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

double residentMegabytes()
{
    long pages = 0;
    long resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace th::bench
