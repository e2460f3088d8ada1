#include "BenchData.h"

#include "files/FolderListing.h"

#include <csetjmp>
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
    const auto names = files::listFolder(spriteFolder(), "*.png");
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

// Everything between setjmp and a libpng error lives in plain values.
bool bareWrite(const std::filesystem::path& file, int width, int height, int bitDepth, int colourType,
               const std::vector<png_color>& palette, const std::vector<const std::uint8_t*>& rows)
{
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
        return false;
    }
    png_init_io(png, out);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bitDepth,
                 colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_write_info(png, info);
    for (const std::uint8_t* row : rows)
        png_write_row(png, row);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(out) == 0;
}

} // namespace th::bench
