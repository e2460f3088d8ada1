// Projects of the 400 shared sprites: saving one, and opening one onto the
// canvas (reading, checking, decoding every picture, one AddSprites), beside
// the folder import of the same sprites in the same run, which opening must
// stay within 1.3 times of. Then projects of one picture many times over,
// which must share one decoded picture: 30,000 sprites of a 256 x 256
// picture open in 2 s and 200 MB at most. Peak memory only grows, so run
// those one case per process (--benchmark_filter).

#include "BenchData.h"
#include "SpriteCanvas.h"
#include "canvas/PictureFile.h"
#include "project/ProjectCanvas.h"
#include "project/ProjectFile.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

// A folder of its own for the project file, removed afterwards.
struct ProjectFolder {
    ProjectFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tile-heron-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path = pattern;
    }
    ~ProjectFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

void BM_ImportFolder(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    th::bench::HiddenDisplay display;
    for (auto _ : state) {
        th::bench::SpriteCanvas canvas;
        canvas.importSprites(display);
        benchmark::DoNotOptimize(canvas.model.sprites().size());
    }
}
BENCHMARK(BM_ImportFolder)->Unit(benchmark::kMillisecond);

// The project of the imported sprites, written once as the benchmarks' input.
std::filesystem::path savedProject(const ProjectFolder& folder)
{
    th::bench::SpriteCanvas canvas;
    th::bench::HiddenDisplay display;
    canvas.importSprites(display);
    const std::filesystem::path file = folder.path / "sprites.theron";
    (void)th::project::saveProject(th::project::projectOf(canvas.model, false), file);
    return file;
}

void BM_SaveProject(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    const ProjectFolder folder;
    th::bench::SpriteCanvas canvas;
    th::bench::HiddenDisplay display;
    canvas.importSprites(display);
    for (auto _ : state) {
        const th::project::Project project = th::project::projectOf(canvas.model, false);
        if (!th::project::saveProject(project, folder.path / "sprites.theron").ok())
            state.SkipWithError("the project could not be written");
    }
    state.counters["sprites"] = double(canvas.model.sprites().size());
    state.counters["bytes"] = double(std::filesystem::file_size(folder.path / "sprites.theron"));
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

// The save less its file: what is left of BM_SaveProject is the replacing
// writer's fsync and rename.
void BM_ProjectText(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    th::bench::SpriteCanvas canvas;
    th::bench::HiddenDisplay display;
    canvas.importSprites(display);
    for (auto _ : state)
        benchmark::DoNotOptimize(th::project::projectText(th::project::projectOf(canvas.model, false), "/p.theron"));
}
BENCHMARK(BM_ProjectText)->Unit(benchmark::kMillisecond);

void BM_OpenProject(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    const ProjectFolder folder;
    const std::filesystem::path file = savedProject(folder);
    for (auto _ : state) {
        th::bench::SpriteCanvas canvas;
        const th::project::ProjectReading reading = th::project::readProject(file);
        th::project::ProjectPictures pictures = th::project::loadPictures(
            *reading.project, [&canvas](const std::string& path) { return canvas.pictures.load(path); });
        th::project::arrange(canvas.editor, *reading.project, std::move(pictures));
        benchmark::DoNotOptimize(canvas.model.sprites().size());
    }
    state.counters["peak_MB"] = th::bench::peakMegabytes();
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond);

// `count` sprites of one shared picture, spread over a 4096 canvas.
std::filesystem::path onePictureProject(const ProjectFolder& folder, const std::string& picture, int count)
{
    th::project::Project project;
    project.canvasSize = 4096;
    for (int i = 0; i < count; ++i) {
        project.sprites.push_back({.file = th::bench::spriteFolder() + picture, .x = (i * 37) % 3840,
                                   .y = (i * 101) % 3840, .rotated = i % 7 == 0, .index = i + 1, .name = picture});
    }
    const std::filesystem::path file = folder.path / "one-picture.theron";
    (void)th::project::saveProject(project, file);
    return file;
}

// Arguments: the number of sprites, and 0 for a 256 x 256 picture or 1 for
// a 64 x 64 one.
void BM_OpenProjectOfOnePicture(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    const ProjectFolder folder;
    const std::filesystem::path file =
        onePictureProject(folder, state.range(1) == 0 ? "sprite_089.png" : "sprite_325.png", int(state.range(0)));
    for (auto _ : state) {
        th::bench::SpriteCanvas canvas;
        const th::project::ProjectReading reading = th::project::readProject(file);
        th::project::ProjectPictures pictures = th::project::loadPictures(
            *reading.project, [&canvas](const std::string& path) { return canvas.pictures.load(path); });
        th::project::arrange(canvas.editor, *reading.project, std::move(pictures));
        if (canvas.model.sprites().size() != std::size_t(state.range(0)))
            state.SkipWithError("the project did not open whole");
    }
    state.counters["peak_MB"] = th::bench::peakMegabytes();
    state.counters["bytes"] = double(std::filesystem::file_size(file));
}
BENCHMARK(BM_OpenProjectOfOnePicture)->Args({30000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
