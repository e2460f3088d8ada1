// The canvas on a 4096 canvas holding the 400 shared sprites: one full
// redraw, one drag step (move one sprite, paint what changed), and the folder
// import against a bare libpng decode of the same files in the same run.

#include "BenchData.h"
#include "SpriteCanvas.h"
#include "canvas/CanvasMouse.h"
#include "canvas/CanvasView.h"
#include "image/QtPictures.h"
#include "files/FolderListing.h"

#include <QApplication>
#include <QPainter>

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

void BM_FullRedraw(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    FilledCanvas canvas;
    QImage target(4096, 4096, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        canvas.view.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["sprites"] = double(canvas.model.sprites().size());
    state.counters["peak_MB"] = th::bench::peakMegabytes();
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMillisecond);

// One mouse move while a sprite is held: handled by the canvas's mouse logic
// and painted. Arguments: snap off/on, and the smallest or the largest sprite.
void BM_DragStep(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    FilledCanvas canvas;
    canvas.view.show();
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
    mouse.pointerMoved(grabX, grabY);
    mouse.leftPressed(grabX, grabY);
    QApplication::processEvents();

    int step = 0;
    for (auto _ : state) {
        const int offset = (step++ % 200) * 5;
        mouse.pointerMoved(grabX + offset, grabY + offset / 2);
        // Paints the region the move marked, as the event loop would.
        QApplication::processEvents();
    }
    state.counters["sprite_px"] = area;
    state.counters["peak_MB"] = th::bench::peakMegabytes();
}
BENCHMARK(BM_DragStep)->ArgsProduct({{0, 1}, {0, 1}})->ArgNames({"snap", "largest"})->Unit(benchmark::kMillisecond);

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

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
