// Saving a 4096 x 4096 sheet at 32, 8, 4 and 1 bit, the quantiser's learning
// and mapping on their own, and decoding 400 sprites and the sheet, each
// beside a bare libpng loop doing the same file work as the reference.
//
// Peak memory: ru_maxrss only ever grows, so run one save per process
// (--benchmark_filter=Save/8) to read its peak; "rss_before_MB" is the
// resident size when the benchmark started, so the save itself costs
// peak_MB - rss_before_MB.

#include "files/WholeFile.h"
#include "image/ImageStore.h"
#include "image/PaletteQuantiser.h"
#include "image/PngDecoder.h"
#include "image/PngEncoder.h"

#include <benchmark/benchmark.h>
#include <png.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include "BenchData.h"

#include <filesystem>
#include <iostream>

namespace {

using namespace th::image;
using th::bench::dataFolder;
using th::bench::peakMegabytes;
using th::bench::residentMegabytes;
namespace fs = std::filesystem;

std::vector<std::uint8_t> readFile(const fs::path& file)
{
    return th::files::readWholeFile(file, th::files::FileKind::Picture).bytes;
}

// The sheet, decoded once into a store that lives for the whole run.
struct Sheet {
    ImageStore store;
    int number = -1;
    fs::path outFolder;

    Sheet()
    {
        store.registerDecoder(std::make_unique<PngDecoder>());
        store.registerEncoder(std::make_unique<PngEncoder>());
        const auto bytes = readFile(dataFolder() / "sheet4096.png");
        if (const DecodeOutcome decoded = store.decode(kAutoNumber, bytes); decoded.ok())
            number = decoded.number;
        outFolder = fs::temp_directory_path() / ("tile-heron-bench-" + std::to_string(getpid()));
        fs::create_directories(outFolder);
    }
    ~Sheet()
    {
        std::error_code ignored;
        fs::remove_all(outFolder, ignored);
    }
    PixelRows rows() const
    {
        const PixelView v = store.handle(number);
        return {v.pixels, v.width, v.height, v.stride, 4, false};
    }
};

Sheet* sheet(benchmark::State& state)
{
    static Sheet s;
    if (s.number == -1) {
        state.SkipWithError(("no sheet4096.png in " + dataFolder().string() + " (set TH_BENCH_DATA)").c_str());
        return nullptr;
    }
    return &s;
}

void reportMemory(benchmark::State& state, double before)
{
    state.counters["rss_before_MB"] = before;
    state.counters["peak_MB"] = peakMegabytes();
}

void Save(benchmark::State& state)
{
    Sheet* s = sheet(state);
    if (!s)
        return;
    const double before = residentMegabytes();
    const int depth = static_cast<int>(state.range(0));
    for (auto _ : state)
        if (!s->store.save(s->number, s->outFolder / "sheet.png", kCodecPng, SaveFlags::None, depth).ok())
            state.SkipWithError("save failed");
    state.counters["file_MB"] = static_cast<double>(fs::file_size(s->outFolder / "sheet.png")) / 1e6;
    reportMemory(state, before);
}

void BareWriteRgba(benchmark::State& state)
{
    Sheet* s = sheet(state);
    if (!s)
        return;
    const PixelRows rows = s->rows();
    std::vector<const std::uint8_t*> pointers;
    for (int r = 0; r < rows.height; ++r)
        pointers.push_back(rows.row(r));
    for (auto _ : state)
        if (!th::bench::bareWrite(s->outFolder / "bare.png", rows.width, rows.height, 8, PNG_COLOR_TYPE_RGBA, {}, pointers))
            state.SkipWithError("bare write failed");
}

// The same packed 1-bit rows that a depth-1 save writes, prepared beforehand.
void BareWriteOneBit(benchmark::State& state)
{
    Sheet* s = sheet(state);
    if (!s)
        return;
    const PixelRows rows = s->rows();
    auto q = PaletteQuantiser::create(rows, 1, SaveFlags::None);
    std::vector<std::vector<std::uint8_t>> packed;
    std::vector<const std::uint8_t*> pointers;
    for (int r = 0; r < rows.height; ++r) {
        const auto row = q->mapRow(r);
        packed.emplace_back(row.begin(), row.end());
    }
    for (const auto& row : packed)
        pointers.push_back(row.data());
    const std::vector<png_color> blackWhite = {{0, 0, 0}, {255, 255, 255}};
    for (auto _ : state)
        if (!th::bench::bareWrite(s->outFolder / "bare1.png", rows.width, rows.height, 1, PNG_COLOR_TYPE_PALETTE, blackWhite, pointers))
            state.SkipWithError("bare write failed");
}

void QuantiserLearning(benchmark::State& state)
{
    Sheet* s = sheet(state);
    if (!s)
        return;
    const double before = residentMegabytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(PaletteQuantiser::create(s->rows(), static_cast<int>(state.range(0)), SaveFlags::None));
    reportMemory(state, before);
}

void QuantiserMapping(benchmark::State& state)
{
    Sheet* s = sheet(state);
    if (!s)
        return;
    const PixelRows rows = s->rows();
    for (auto _ : state) {
        state.PauseTiming();
        auto q = PaletteQuantiser::create(rows, static_cast<int>(state.range(0)), SaveFlags::None);
        state.ResumeTiming();
        for (int r = 0; r < rows.height; ++r)
            benchmark::DoNotOptimize(q->mapRow(r).data());
    }
}

std::vector<std::vector<std::uint8_t>> sprites(benchmark::State& state)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dataFolder() / "sprites", error))
        if (entry.path().extension() == ".png")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<std::vector<std::uint8_t>> data;
    for (const auto& f : files)
        data.push_back(readFile(f));
    if (data.empty())
        state.SkipWithError(("no sprites in " + (dataFolder() / "sprites").string()).c_str());
    return data;
}

void DecodeSprites(benchmark::State& state)
{
    const auto data = sprites(state);
    ImageStore store;
    store.registerDecoder(std::make_unique<PngDecoder>());
    for (auto _ : state)
        for (const auto& bytes : data) {
            if (!store.decode(0, bytes).ok())
                state.SkipWithError("a sprite did not decode");
        }
    state.counters["sprites"] = static_cast<double>(data.size());
}

struct Cursor {
    const std::uint8_t* data;
    std::size_t left;
};

void readCursor(png_structp png, png_bytep out, png_size_t count)
{
    auto* c = static_cast<Cursor*>(png_get_io_ptr(png));
    if (count > c->left)
        png_error(png, "short");
    std::memcpy(out, c->data, count);
    c->data += count;
    c->left -= count;
}

// Reads one PNG into 8-bit RGBA with libpng and nothing around it.
bool bareDecode(const std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t>& pixels)
{
    Cursor cursor{bytes.data(), bytes.size()};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &cursor, readCursor);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t stride = png_get_rowbytes(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    pixels.resize(stride * height);
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 r = 0; r < height; ++r)
            png_read_row(png, pixels.data() + r * stride, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// The whole sheet, read through libspng row by row.
void DecodeSheet(benchmark::State& state)
{
    const auto bytes = readFile(dataFolder() / "sheet4096.png");
    ImageStore store;
    store.registerDecoder(std::make_unique<PngDecoder>());
    for (auto _ : state)
        if (!store.decode(0, bytes).ok())
            state.SkipWithError(("no sheet4096.png in " + dataFolder().string()).c_str());
}

void BareDecodeSheet(benchmark::State& state)
{
    const auto bytes = readFile(dataFolder() / "sheet4096.png");
    std::vector<std::uint8_t> pixels;
    for (auto _ : state)
        if (!bareDecode(bytes, pixels))
            state.SkipWithError(("no sheet4096.png in " + dataFolder().string()).c_str());
}

void BareDecodeSprites(benchmark::State& state)
{
    const auto data = sprites(state);
    std::vector<std::uint8_t> pixels;
    for (auto _ : state)
        for (const auto& bytes : data)
            if (!bareDecode(bytes, pixels))
                state.SkipWithError("a sprite did not decode");
}

} // namespace

BENCHMARK(Save)->Arg(32)->Arg(8)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BareWriteRgba)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BareWriteOneBit)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(QuantiserLearning)->Arg(8)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(QuantiserMapping)->Arg(8)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DecodeSprites)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BareDecodeSprites)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(DecodeSheet)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BareDecodeSheet)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
