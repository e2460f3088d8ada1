// One colouring pass of the script editor over a 5 000-line template: the
// token scan alone, and the scan with the formats applied to a real editor.
// One refresh of the preview: the "Multi Loops" template over the shared 400
// sprites, and its text set into a shown view.

#include "editor/PreviewText.h"
#include "editor/TokenColouring.h"
#include "editor/TokenScan.h"
#include "export/PreviewLines.h"
#include "export/TemplateEngine.h"
#include "toolkit/DefaultTemplates.h"

#include "BenchData.h"
#include "SpriteCanvas.h"

#include <QApplication>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

namespace {

// Five lines a block, as the default templates are written, 1 000 blocks.
QString largeTemplate()
{
    QString text = QStringLiteral("th.Extension = \".plist\"\n");
    for (int block = 0; text.count(QLatin1Char('\n')) < 5000; ++block) {
        text += QStringLiteral("th.Repeat\n");
        text += QStringLiteral("  <key>th.ImageName</key> <!-- sheet th.SheetName of th.ImageCount -->\n");
        text += QStringLiteral("  <string>{{th.ImageX, th.ImageY}, {th.ImageWidth, th.ImageHeight}}</string>\n");
        text += QStringLiteral("  <rotated>th.ImageRotate</rotated> plain words and th.Unknown here\n");
        text += QStringLiteral("th.Until = th.ImageCount\n");
    }
    return text;
}

void BM_TokenScan(benchmark::State& state)
{
    const QString text = largeTemplate();
    for (auto _ : state) {
        const auto scan = th::editor::scanTokens({reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())});
        benchmark::DoNotOptimize(scan.words.data());
    }
    state.counters["lines"] = double(text.count(QLatin1Char('\n')));
}
BENCHMARK(BM_TokenScan)->Unit(benchmark::kMillisecond);

void BM_ColourPass(benchmark::State& state)
{
    QPlainTextEdit editor;
    editor.resize(555, 465);
    editor.setPlainText(largeTemplate());
    editor.show();
    QApplication::processEvents();
    for (auto _ : state) {
        th::editor::TokenColouring::of(editor).recolour(th::editor::kThemes[0]);
        // Paints the visible part, as the event loop would after a keystroke.
        editor.viewport()->repaint();
    }
    state.counters["selections"] = double(editor.extraSelections().size());
}
BENCHMARK(BM_ColourPass)->Unit(benchmark::kMillisecond);

std::vector<std::string> multiLoops()
{
    std::vector<std::string> lines;
    for (const auto& entry : th::toolkit::defaultTemplates())
        if (std::string_view(entry.fileName) == "Multi Loops.txt")
            for (const auto& line : entry.lines)
                lines.push_back(std::string(std::size_t(line.leadingBlanks), ' ').append(line.text));
    return lines;
}

void BM_PreviewRefresh(benchmark::State& state)
{
    if (!th::bench::haveSprites(state))
        return;
    th::bench::SpriteCanvas canvas;
    th::bench::HiddenDisplay display;
    canvas.importSprites(display);
    const std::vector<std::string> lines = multiLoops();
    th::exporting::ScriptInputs inputs;
    inputs.sheetWidth = 4096;
    inputs.sheetHeight = 4096;
    inputs.sheetPath = "/tmp/sheet.png";
    QPlainTextEdit view;
    view.setReadOnly(true);
    view.setLineWrapMode(QPlainTextEdit::NoWrap);
    view.resize(555, 230);
    view.show();
    const std::atomic<std::uint64_t> latest = 1;
    std::size_t shown = 0;
    for (auto _ : state) {
        th::exporting::PreviewLines out(latest, 1);
        (void)th::exporting::expandTemplate(lines, out, canvas.model.sprites(), inputs);
        view.setPlainText(th::editor::previewText(out.lines()));
        view.viewport()->repaint();
        shown = out.lines().size();
    }
    state.counters["sprites"] = double(canvas.model.sprites().size());
    state.counters["lines"] = double(shown);
}
BENCHMARK(BM_PreviewRefresh)->Unit(benchmark::kMillisecond);

} // namespace
