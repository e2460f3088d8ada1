// The canvas on a 4096 canvas holding the 400 shared sprites: one full
// redraw, one drag step (move one sprite, paint what changed), each at the
// view zooms of 25, 100 and 400 %, and the folder import against a bare
// libpng decode of the same files in the same run; "Pack Tightly" on the
// sprites and on the sheet cut into 4,096 tiles, with the occupancy it
// reaches.

#include "BenchData.h"
#include "SpriteCanvas.h"
#include "canvas/CanvasMouse.h"
#include "canvas/CanvasView.h"
#include "canvas/PackCommand.h"
#include "image/QtPictures.h"
#include "files/FolderListing.h"

#include <QApplication>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>

namespace {

class ViewDisplay final : public th::canvas::CanvasDisplay {
public:
    explicit ViewDisplay(th::canvas::CanvasView& view) : view_(view) {}
    void redraw() override { view_.refresh(mouse ? mouse->held() : std::nullopt); }
    void showName(const std::string&) override {}
    void showPosition(const std::string&) override {}
    // The drag step's mouse, whose held sprite is shown half transparent.
    const th::canvas::CanvasMouse* mouse = nullptr;

private:
    th::canvas::CanvasView& view_;
};

QPixmap backgroundTile()
{
    QPixmap pixmap(128, 128);
    pixmap.fill(QColor(64, 64, 64));
    return pixmap;
}

// The sprites on a 4096 canvas view, imported by the real folder command.
struct FilledCanvas : th::bench::SpriteCanvas {
    FilledCanvas()
        : view(model, [this](int image) { return th::image::imageView(images, image); }, backgroundTile())
        , display(view)
    {
        view.setCanvasSize(4096);
        importSprites(display);
    }

    th::canvas::CanvasView view;
    ViewDisplay display;
};

// The most a screen shows of the canvas view at once, in view pixels.
constexpr int kMostShown = 4096;

// Everything the view shows of the canvas, painted afresh. Above 100 % the
// view is larger than any screen, so the redraw covers its top-left
// 4096 x 4096 view pixels, where the import starts, as much as a screen
// could show. Argument: the zoom in per cent.
void BM_FullRedraw(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    FilledCanvas canvas;
    canvas.view.setZoom(double(state.range(0)) / 100.0);
    const int side = std::min(canvas.view.width(), kMostShown);
    QImage target(side, side, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        canvas.view.render(&target, {}, QRegion(0, 0, side, side));
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["sprites"] = double(canvas.model.sprites().size());
    state.counters["view_px"] = double(side) * side;
    state.counters["peak_MB"] = th::bench::peakMegabytes();
}
// Qt hands some of the painting to its own threads: the CPU column counts
// every thread of the process, so it shows the work even on a busy machine.
BENCHMARK(BM_FullRedraw)->Arg(25)->Arg(100)->Arg(400)->ArgName("zoom")->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// One mouse move while a sprite is held: handled by the canvas's mouse logic
// and painted, in a scroll area as the window holds the view, scrolled so
// the sprite is in sight. The pointer moves the same screen distances at
// every zoom. Arguments: snap off/on, the smallest or the largest sprite,
// and the zoom in per cent.
void BM_DragStep(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    FilledCanvas canvas;
    const double zoom = double(state.range(2)) / 100.0;
    canvas.view.setZoom(zoom);
    QScrollArea scrollArea;
    scrollArea.resize(2048, 2048);
    scrollArea.setWidget(&canvas.view);
    scrollArea.show();
    QApplication::processEvents();
    th::canvas::CanvasMouse mouse(canvas.editor, canvas.display);
    canvas.display.mouse = &mouse;
    mouse.setSnapToGrid(state.range(0) != 0);

    const auto entries = canvas.model.sprites().entries();
    const auto byArea = [](const auto& a, const auto& b) { return a.width * a.height < b.width * b.height; };
    const auto chosen = state.range(1) ? std::max_element(entries.begin(), entries.end(), byArea)
                                       : std::min_element(entries.begin(), entries.end(), byArea);
    const int grabX = chosen->x + chosen->width / 2;
    const int grabY = chosen->y + chosen->height / 2;
    // Read before the press, which moves the sprite to the top of the list.
    const double area = double(chosen->width) * chosen->height;
    scrollArea.horizontalScrollBar()->setValue(int(grabX * zoom) - 256);
    scrollArea.verticalScrollBar()->setValue(int(grabY * zoom) - 256);
    mouse.pointerMoved(grabX, grabY);
    mouse.leftPressed(grabX, grabY);
    QApplication::processEvents();

    int step = 0;
    for (auto _ : state) {
        const int offset = int((step++ % 200) * 5 / zoom);
        mouse.pointerMoved(grabX + offset, grabY + offset / 2);
        // Paints the region the move marked, as the event loop would.
        QApplication::processEvents();
    }
    state.counters["sprite_px"] = area;
    state.counters["peak_MB"] = th::bench::peakMegabytes();
    scrollArea.takeWidget();
}
BENCHMARK(BM_DragStep)
    ->ArgsProduct({{0, 1}, {0, 1}, {25, 100, 400}})
    ->ArgNames({"snap", "largest", "zoom"})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// The canvas's sprites: the shared 400 as the folder import placed them,
// or the 4096 sheet cut into 64 x 64 tiles.
struct PackingCanvas : th::bench::SpriteCanvas {
    explicit PackingCanvas(bool tiles)
    {
        if (!tiles) {
            importSprites(display);
            return;
        }
        editor.perform(th::canvas::SetCanvasSize{.size = 4096});
        th::canvas::AddSprites cut;
        for (int tile = 0; tile < 4096; ++tile)
            cut.sprites.push_back({.x = tile % 64 * 64, .y = tile / 64 * 64, .width = 64, .height = 64,
                                   .name = "tile_" + std::to_string(tile) + ".png"});
        editor.perform(std::move(cut));
    }

    // Sum of the visible areas over the used rectangle's area.
    double occupancy() const
    {
        double visible = 0;
        for (const auto& sprite : model.sprites().entries())
            visible += double(sprite.width) * sprite.height;
        const th::canvas::UsedArea used = th::canvas::usedArea(model);
        return visible / (double(used.width) * used.height);
    }

    th::bench::HiddenDisplay display;
};

// One "Pack Tightly" with the gap at 0 and snapping off, taken back between
// runs. Arguments: the 400 sprites or the 4,096 tiles, and whether the
// packer may turn sprites.
void BM_PackTightly(benchmark::State& state)
{
    const bool tiles = state.range(0) != 0;
    if (!tiles && !th::bench::haveSprites(state))
        return;
    PackingCanvas canvas(tiles);
    std::optional<th::canvas::CanvasEdit> packed;
    th::canvas::CanvasEditor editor(canvas.model, [&packed](th::canvas::CanvasEdit edit) { packed = std::move(edit); });
    const th::canvas::PackChoices choices{.mayTurn = state.range(1) != 0};
    double occupancy = 0;
    for (auto _ : state) {
        th::canvas::packSpritesTightly(editor, canvas.host, canvas.display, choices);
        state.PauseTiming();
        if (!packed) {
            state.SkipWithError("the sprites did not fit");
            break;
        }
        occupancy = canvas.occupancy();
        th::canvas::revert(*packed, canvas.model);
        packed.reset();
        state.ResumeTiming();
    }
    state.counters["sprites"] = double(canvas.model.sprites().size());
    state.counters["occupancy_pct"] = occupancy * 100;
}
BENCHMARK(BM_PackTightly)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"tiles", "turn"})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

void BM_ImportFolder(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    for (auto _ : state) {
        FilledCanvas canvas;
        benchmark::DoNotOptimize(canvas.model.sprites().size());
    }
    state.counters["peak_MB"] = th::bench::peakMegabytes();
}
BENCHMARK(BM_ImportFolder)->Unit(benchmark::kMillisecond);

// The same files through libpng alone, for comparison with the import.
void BM_BareLibpngDecode(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    const auto names = *th::files::listFolder(th::bench::spriteFolder(), "*.png");
    for (auto _ : state) {
        for (const std::string& name : names) {
            png_image image {};
            image.version = PNG_IMAGE_VERSION;
            if (!png_image_begin_read_from_file(&image, (th::bench::spriteFolder() + name).c_str()))
                continue;
            image.format = PNG_FORMAT_RGBA;
            std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
            png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
            benchmark::DoNotOptimize(pixels.data());
        }
    }
}
BENCHMARK(BM_BareLibpngDecode)->Unit(benchmark::kMillisecond);

} // namespace
