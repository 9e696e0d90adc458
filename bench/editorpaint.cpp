// The editor on screen, offscreen: painting a full 1920 x 1080 viewport of a coloured motion list
// (ms per frame) beside QPainter::drawText writing the same rows in one colour with Qt's own text
// layout; and 1,000 one-row scrolls, each moving the window contents and painting the uncovered row,
// beside repainting the whole viewport for every row.
#include "Cp932.h"
#include "EditorWidget.h"
#include "MotionColourer.h"
#include "QtText.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>

using namespace quillon;

namespace {

constexpr int Lines = 3000;

std::string MotionText() {
    std::string text = "--R---G---B---G\r\n  0   0 255  16\r\n";
    std::mt19937 rng(11);
    for (int i = 0; i < Lines; ++i)
        text += std::to_string(i) + "    " + std::to_string(i + 1) + "  3  " + std::to_string(rng() % 1800) + "/" +
                std::to_string(rng() % 1800) + ",1,A,128   0  0 9/-3/4   " + std::to_string(rng() % 40) +
                " 0   0 0 9 0 0   " + std::to_string(rng() % 20) + "   -  0 0 0100 1FF0EF00A010 000000000000 " +
                "010020000030 ;" + Utf8ToCp932("ガッツ　フレーム") + " comment\r\n";
    return text;
}

struct TScene {
    TMotionColourer Colourer{nullptr};
    TEditorWidget Widget;

    TScene() {
        Colourer.SetDefaultColors();
        Widget.SetColor(clBlack);
        Widget.SetFontColor(clSilver);
        Widget.SetEditorFont("FixedSys", 16);
        TEditor& e = Widget.Editor();
        e.Lines().SetText(MotionText());
        e.SetColourer(&Colourer);
        e.Ruler().SetVisible(true);
        e.Leftbar().SetVisible(true);
        e.Marks().RetMark().SetVisible(true);
        Widget.resize(1920, 1080);
        Widget.show();
        QApplication::processEvents();
    }
    // The bytes the viewport shows.
    int64_t VisibleBytes() {
        TEditor& e = Widget.Editor();
        int64_t bytes = 0;
        for (int r = e.TopRow(); r < std::min(e.RowCount(), e.TopRow() + e.RowsPerPage() + 1); ++r)
            bytes += static_cast<int64_t>(std::min<std::size_t>(e.GetRowString(r).size(), e.ColsPerPage()));
        return bytes;
    }
};

// Created on first use and destroyed by main while the QApplication still exists.
std::unique_ptr<TScene> GScene;

TScene& Scene() {
    if (!GScene) GScene = std::make_unique<TScene>();
    return *GScene;
}

void BM_PaintViewport(benchmark::State& state) {
    TScene& scene = Scene();
    scene.Widget.Editor().SetTopRow(500);
    for (auto _ : state) benchmark::DoNotOptimize(scene.Widget.Render());
    state.SetBytesProcessed(state.iterations() * scene.VisibleBytes());
}

// Reference: the same visible rows written by Qt's text layout, one colour, one drawText per row.
void BM_PaintViewportDrawText(benchmark::State& state) {
    TScene& scene = Scene();
    TEditor& e = scene.Widget.Editor();
    e.SetTopRow(500);
    std::vector<QString> rows;
    for (int r = e.TopRow(); r < std::min(e.RowCount(), e.TopRow() + e.RowsPerPage() + 1); ++r)
        rows.push_back(FromCp932(e.GetRowString(r)));
    QImage image(scene.Widget.viewport()->size(), QImage::Format_RGB32);
    const QFont font = scene.Widget.EditorQFont();
    for (auto _ : state) {
        image.fill(Qt::black);
        QPainter p(&image);
        p.setFont(font);
        p.setPen(Qt::lightGray);
        int y = e.TextTop() + QFontMetrics(font).ascent();
        for (const QString& row : rows) {
            p.drawText(e.TextLeft(), y, row);
            y += e.RowHeight();
        }
    }
    state.SetBytesProcessed(state.iterations() * scene.VisibleBytes());
}

// 1,000 one-row scrolls: the editor moves the pixels and paints the uncovered row at once.
void BM_ScrollRows(benchmark::State& state) {
    TScene& scene = Scene();
    TEditor& e = scene.Widget.Editor();
    for (auto _ : state) {
        e.SetTopRow(0);
        for (int i = 0; i < 1000; ++i) e.Perform(WM_VSCROLL, SB_LINEDOWN);
    }
    state.counters["scrolls/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * 1000), benchmark::Counter::kIsRate);
}

// Reference: the whole viewport painted again for every row.
void BM_ScrollRowsFullRepaint(benchmark::State& state) {
    TScene& scene = Scene();
    TEditor& e = scene.Widget.Editor();
    for (auto _ : state) {
        e.SetTopRow(0);
        for (int i = 0; i < 1000; ++i) {
            e.SetTopRow(i + 1);
            scene.Widget.viewport()->repaint();
        }
    }
    state.counters["scrolls/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * 1000), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_PaintViewport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintViewportDrawText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollRowsFullRepaint)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    GScene.reset();
    benchmark::Shutdown();
    return 0;
}
