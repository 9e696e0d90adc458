// The frame preview's redraw: a checkerboard background, then three frames of 50 runs each
// (150 runs in all) drawn with TCharSoftRender::DrawFrame at zoom 1 and 4, beside the same runs
// drawn by QPainter::drawImage from an indexed QImage of the same cell strip. And BMP decoding
// from memory, TDIB beside QImage.
#include "CharImages.h"
#include "QtDIB.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

constexpr int FrameCount = 3;
constexpr int RunsPerFrame = 50;

// A 640 x 480 CHARA sheet (1200 cells) and a pattern of three frames, written once.
struct TScene {
    fs::path Dir = fs::temp_directory_path() / "quillon-bench-pictures";
    TCharSoftRender Chara;
    QImage Strip; // the strip as an indexed image, index 0 transparent

    TScene() {
        fs::create_directories(Dir);
        std::mt19937 random(3);
        TDIB sheet;
        for (TRGBQuad& q : sheet.ColorTable)
            q = {std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()), 0};
        sheet.SetSize(640, 480, 8);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                sheet.ScanLine(y)[x] = random() % 4 == 0 ? 0 : static_cast<std::uint8_t>(random());
        sheet.SaveToFile(Dir / "CHARA.BMP");
        TVantorPattern pattern;
        for (int f = 0; f < FrameCount; ++f) {
            auto frame = std::make_unique<TVantorPatternFrame>();
            frame->Number = static_cast<std::uint32_t>(f);
            for (int r = 0; r < RunsPerFrame; ++r) {
                std::uint32_t cell = static_cast<std::uint32_t>(random() % 1200);
                std::int32_t room = 32 - static_cast<std::int32_t>(cell & 31);
                frame->Rects.Add({cell, std::min<std::int32_t>(room, 1 + random() % 3),
                                  32 + 16 * static_cast<int>(random() % 16), 16 * static_cast<int>(random() % 14)});
            }
            pattern.AddFrame(std::move(frame));
        }
        pattern.SaveToFile(Dir / "ZPATTERN.ZPT");
        if (!Chara.LoadFromFiles(Dir / "CHARA.BMP", Dir / "ZPATTERN.ZPT", nullptr)) std::abort();
        const TSoftRender& s = Chara.Strip();
        Strip = QImage(s.GetBits(), s.Width(), s.Height(), s.Pitch(), QImage::Format_Indexed8).copy();
        QVector<QRgb> table;
        for (const TRGBQuad& q : s.Palette()) table.push_back(qRgb(q.Red, q.Green, q.Blue));
        table[0] = qRgba(0, 0, 0, 0);
        Strip.setColorTable(table);
    }
};

TScene& Scene() {
    static TScene scene;
    return scene;
}

// The preview's background: 8 x 8 checks (at zoom 1) of two greys.
void Checkerboard(std::uint8_t* bits, int pitch, int zoom) {
    int width = 320 * zoom, check = 8 * zoom;
    for (int y = 0; y < 240 * zoom; ++y) {
        auto* row = bits + static_cast<std::ptrdiff_t>(y) * pitch;
        for (int x = 0; x < width; x += check)
            FillDWord(row + 4 * x, std::min(check, width - x),
                      ((x / check + y / check) % 2) ? 0xFFC0C0C0u : 0xFFFFFFFFu);
    }
}

void BM_PreviewRedraw(benchmark::State& state) {
    int zoom = static_cast<int>(state.range(0));
    TScene& scene = Scene();
    std::vector<std::uint8_t> target(static_cast<std::size_t>(320 * zoom * 4) * 240 * zoom);
    TRenderTarget t{target.data(), 320 * zoom * 4};
    for (auto _ : state) {
        Checkerboard(target.data(), t.Pitch, zoom);
        for (int f = 0; f < FrameCount; ++f)
            scene.Chara.DrawFrame(t, zoom, 160, 0, f, nullptr, f == 1 ? dfMirror : 0, f == 2 ? bmAlpha : bmCopy, 128);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetItemsProcessed(state.iterations() * FrameCount * RunsPerFrame);
}
BENCHMARK(BM_PreviewRedraw)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

void BM_PreviewRedrawQPainter(benchmark::State& state) {
    int zoom = static_cast<int>(state.range(0));
    TScene& scene = Scene();
    QImage target(320 * zoom, 240 * zoom, QImage::Format_RGB32);
    const TVantorPattern& pattern = scene.Chara.Pattern();
    for (auto _ : state) {
        QPainter painter(&target);
        for (int y = 0; y < 240; y += 8)
            for (int x = 0; x < 320; x += 8)
                painter.fillRect(x * zoom, y * zoom, 8 * zoom, 8 * zoom,
                                 ((x + y) / 8) % 2 ? QColor(192, 192, 192) : Qt::white);
        for (int f = 0; f < pattern.Count(); ++f) {
            painter.setOpacity(f == 2 ? 0.5 : 1.0);
            for (const TVantorPatternRect& run : pattern.Frames(f).Rects) {
                QRect source(static_cast<int>(run.Cell & 31) * 16, static_cast<int>(run.Cell >> 5) * 16, 16 * run.Count,
                             16);
                painter.drawImage(QRect(run.X * zoom, run.Y * zoom, 16 * run.Count * zoom, 16 * zoom), scene.Strip,
                                  source);
            }
        }
        painter.end();
        benchmark::DoNotOptimize(target.bits());
    }
    state.SetItemsProcessed(state.iterations() * FrameCount * RunsPerFrame);
}
BENCHMARK(BM_PreviewRedrawQPainter)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

// A 640 x 480 BMP file of the given bit count in memory.
const std::vector<std::uint8_t>& BmpBytes(int bits) {
    static std::map<int, std::vector<std::uint8_t>> files;
    auto& bytes = files[bits];
    if (bytes.empty()) {
        std::mt19937 random(bits);
        TDIB dib;
        dib.SetSize(640, 480, bits);
        for (int y = 0; y < 480; ++y)
            for (int i = 0; i < dib.WidthBytes(); ++i) dib.ScanLine(y)[i] = static_cast<std::uint8_t>(random());
        TMemoryStream stream;
        dib.SaveToStream(stream);
        bytes = stream.Bytes();
    }
    return bytes;
}

void BM_DecodeBmp(benchmark::State& state) {
    const auto& bytes = BmpBytes(static_cast<int>(state.range(0)));
    TMemoryStream stream(bytes);
    for (auto _ : state) {
        stream.SetPosition(0);
        TDIB dib;
        dib.LoadFromStream(stream);
        benchmark::DoNotOptimize(dib.ScanLineReadOnly(0));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeBmp)->Arg(8)->Arg(24)->Unit(benchmark::kMicrosecond);

void BM_DecodeBmpQImage(benchmark::State& state) {
    const auto& bytes = BmpBytes(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QImage image = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeBmpQImage)->Arg(8)->Arg(24)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
