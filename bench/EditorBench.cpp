// One colouring pass of the script editor over a 5 000-line template: the
// token scan alone, and the scan with the formats applied to a real editor.

#include "editor/TokenColouring.h"
#include "editor/TokenScan.h"

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

} // namespace
