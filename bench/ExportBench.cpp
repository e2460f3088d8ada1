// A whole export of the 4096 x 4096 sheet made from the 400 shared sprites,
// laid out by the folder import on a 4096 canvas: from the press of
// "Export" (runExport with the window's choices) to the written file, at
// 32, 8, 4 and 1 bit (and at 32 bit with edges extruded by 2), beside a bare libpng level-9 / filter-NONE write of
// the same composed sheet in the same run.
//
// "longest_step_ms" is the longest time between two progress steps (or the
// press and the first, or the last and the end): how long the progress
// window could not update.
//
// Peak memory: ru_maxrss only ever grows, so read it from one depth per
// process (--benchmark_filter='Export/depth:8'); "loaded_MB" is the resident size
// with the sprites loaded, so the export costs peak_MB - loaded_MB.

#include "BenchData.h"
#include "SpriteCanvas.h"
#include "export/EdgeExtrusion.h"
#include "export/ExportRun.h"
#include "export/SheetComposer.h"
#include "export/SheetPixels.h"
#include "export/SheetSize.h"
#include "export/TemplateEngine.h"
#include "toolkit/DefaultTemplates.h"
#include "image/ImageStore.h"
#include "toolkit/Progress.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

fs::path sheetFile(const char* name) { return fs::temp_directory_path() / name; }

// Times the gaps between the export's progress steps.
class StepTimer final : public th::toolkit::Progress {
public:
    void start() { last_ = Clock::now(); }
    bool step(th::toolkit::WorkStage, int, int) override
    {
        note();
        return true;
    }
    void finish() override { note(); }
    double longestMs = 0;

private:
    using Clock = std::chrono::steady_clock;
    void note()
    {
        const Clock::time_point now = Clock::now();
        longestMs = std::max(longestMs, std::chrono::duration<double, std::milli>(now - last_).count());
        last_ = now;
    }
    Clock::time_point last_;
};

// A 4096 canvas filled by the real folder command.
struct FilledCanvas : th::bench::SpriteCanvas {
    FilledCanvas() { importSprites(display); }
    th::bench::HiddenDisplay display;
};

void BM_Export(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    FilledCanvas canvas;
    const double loaded = th::bench::residentMegabytes();
    th::exporting::ExportRequest request;
    request.sheetPath = sheetFile("th-export-bench.png").string();
    request.depth = th::exporting::SheetDepth(state.range(0));
    request.background = th::exporting::kMagentaBackground;
    request.powerOfTwo = true;
    request.extrude = int(state.range(1));
    StepTimer steps;
    for (auto _ : state) {
        steps.start();
        const auto outcome = th::exporting::runExport(request, canvas.model, canvas.images, canvas.host, &steps);
        if (!outcome.completed)
            state.SkipWithError(outcome.notice.text.c_str());
    }
    const auto size = th::exporting::sheetSizeFor(th::canvas::usedArea(canvas.model).width, th::canvas::usedArea(canvas.model).height, true);
    state.counters["sheet_w"] = size.width;
    state.counters["sheet_h"] = size.height;
    state.counters["file_MB"] = double(fs::file_size(request.sheetPath)) / (1024.0 * 1024.0);
    state.counters["loaded_MB"] = loaded;
    state.counters["longest_step_ms"] = steps.longestMs;
    state.counters["peak_MB"] = th::bench::peakMegabytes();
    fs::remove(request.sheetPath);
}
BENCHMARK(BM_Export)
    ->Args({32, 0})
    ->Args({32, 2})
    ->Args({8, 0})
    ->Args({4, 0})
    ->Args({1, 0})
    ->ArgNames({"depth", "extrude"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same sheet, composed and flattened once outside the timing, written by
// libpng alone: what a 32-bit export cannot beat.
void BM_BareLibpngWrite(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    FilledCanvas canvas;
    const auto size = th::exporting::sheetSizeFor(th::canvas::usedArea(canvas.model).width, th::canvas::usedArea(canvas.model).height, true);
    const auto sheet = th::exporting::composeSheet(canvas.images, canvas.model.sprites(), size.width, size.height);
    if (!sheet) {
        state.SkipWithError("no sheet");
        return;
    }
    const th::image::PixelView pixels = canvas.images.handle(*sheet);
    th::exporting::flattenAlpha(pixels, th::exporting::kMagentaBackground);
    const fs::path file = sheetFile("th-export-bench-bare.png");
    std::vector<const std::uint8_t*> rows;
    for (int y = 0; y < pixels.height; ++y)
        rows.push_back(pixels.pixels + std::size_t(y) * pixels.stride);
    for (auto _ : state) {
        if (!th::bench::bareWrite(file, pixels.width, pixels.height, 8, PNG_COLOR_TYPE_RGBA, {}, rows))
            state.SkipWithError("libpng could not write");
    }
    state.counters["file_MB"] = double(fs::file_size(file)) / (1024.0 * 1024.0);
    fs::remove(file);
}
BENCHMARK(BM_BareLibpngWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

// The extrusion step alone on the composed sheet, whose pixels it rewrites
// the same way on every run: its share of BM_Export/depth:32/extrude:2,
// which on a loaded machine varies by more than the step costs.
// Argument: the extrusion in pixels.
void BM_ExtrudeEdges(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    FilledCanvas canvas;
    const auto used = th::canvas::usedArea(canvas.model);
    const auto size = th::exporting::sheetSizeFor(used.width, used.height, true);
    const auto sheet = th::exporting::composeSheet(canvas.images, canvas.model.sprites(), size.width, size.height);
    if (!sheet) {
        state.SkipWithError("no sheet");
        return;
    }
    const th::image::PixelView pixels = canvas.images.handle(*sheet);
    int met = 0;
    for (auto _ : state)
        met = th::exporting::extrudeEdges(pixels, canvas.model.sprites().entries(), 0, int(state.range(0)));
    state.counters["sprites_met"] = met;
    canvas.images.free(*sheet);
}
BENCHMARK(BM_ExtrudeEdges)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The template engine alone: the default "Multi Loops" template over the 400
// sprites to a script file, and a repeat block of 10 million passes.
void expandToFile(benchmark::State& state, const std::string& templateText, const th::canvas::SpriteList& sprites)
{
    const fs::path templateFile = sheetFile("th-expand-bench.txt");
    const fs::path scriptFile = sheetFile("th-expand-bench-out.txt");
    std::FILE* out = std::fopen(templateFile.c_str(), "wb");
    std::fwrite(templateText.data(), 1, templateText.size(), out);
    std::fclose(out);
    std::int64_t lines = 0;
    for (auto _ : state) {
        th::exporting::ScriptFile script(scriptFile);
        if (th::exporting::expandTemplate(templateFile, script, sprites, {}).result
            != th::exporting::ExpansionResult::Written)
            state.SkipWithError("the script was not written");
        lines += std::int64_t(std::count(templateText.begin(), templateText.end(), '\n'));
    }
    state.counters["script_MB"] = double(fs::file_size(scriptFile)) / (1024.0 * 1024.0);
    fs::remove(templateFile);
    fs::remove(scriptFile);
}

void BM_ExpandMultiLoops(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    FilledCanvas canvas;
    std::string text;
    for (const auto& entry : th::toolkit::defaultTemplates())
        if (std::string_view(entry.fileName) == "Multi Loops.txt")
            for (const auto& line : entry.lines)
                text += std::string(std::size_t(line.leadingBlanks), ' ').append(line.text) + "\n";
    expandToFile(state, text, canvas.model.sprites());
}
BENCHMARK(BM_ExpandMultiLoops)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExpandTenMillionPasses(benchmark::State& state)
{
    th::canvas::SpriteList none;
    constexpr double kPasses = 10'000'000;
    expandToFile(state, "th.Repeat\nth.ImageNumber th.ImageX th.ImageY\nth.Until = 10000000\n", none);
    state.counters["passes_per_s"] = benchmark::Counter(kPasses * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExpandTenMillionPasses)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
