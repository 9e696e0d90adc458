// The character maker's heavy parts: cutting pictures into shared cells, and reducing the colours
// of a cell sheet. Methods 1 and 2 run beside Leptonica's lossless colour-map conversion (exact,
// fails beyond 256 colours) and its few-colours octcube quantisation at 5 bits a channel; method 0
// (the fixed general palette) runs beside Leptonica's median cut to 256 colours on a sheet of a few
// hundred thousand colours, its worst case.
#include "PatMake.h"
#include "ColorReduction.h"
#include "DIB.h"

#include <benchmark/benchmark.h>
#include <leptonica/allheaders.h>

#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

using namespace quillon;
namespace fs = std::filesystem;

// 300 pictures of 256 x 256 made of 16 x 16 blocks on the cutting grid: a quarter of the blocks
// are background, and of the others about 70% repeat a block seen before.
class TPictureSet {
public:
    TPictureSet() {
        FFolder = fs::temp_directory_path() / ("quillon-bench-patmake-" + std::to_string(::getpid()));
        fs::create_directories(FFolder);
        std::mt19937 rng(7);
        std::vector<std::uint32_t> seeds; // one per distinct block
        for (int p = 0; p < 300; ++p) {
            TDIB dib;
            dib.SetSize(256, 256, 24);
            for (int by = 0; by < 16; ++by)
                for (int bx = 0; bx < 16; ++bx) {
                    std::uint32_t seed = 0;
                    if ((p | bx | by) == 0 || rng() % 4 == 0)
                        seed = 0; // background (the key)
                    else if (!seeds.empty() && rng() % 10 < 7)
                        seed = seeds[rng() % seeds.size()];
                    else
                        seeds.push_back(seed = static_cast<std::uint32_t>(seeds.size() + 1));
                    for (int y = 0; y < 16; ++y) {
                        std::uint8_t* row = dib.ScanLine(by * 16 + y) + bx * 48;
                        for (int x = 0; x < 16; ++x) {
                            std::uint32_t c =
                                seed == 0 ? 0 : (seed * 2654435761u) ^ static_cast<std::uint32_t>(x * 131 + y * 7);
                            row[3 * x] = static_cast<std::uint8_t>(c);
                            row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
                            row[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
                        }
                    }
                }
            TBitmapListEntry e;
            e.Number = p;
            e.Path = FFolder / ("p" + std::to_string(p) + ".bmp");
            dib.SaveToFile(e.Path);
            Entries.push_back(e);
        }
    }
    ~TPictureSet() {
        std::error_code ec;
        fs::remove_all(FFolder, ec);
    }
    TBitmapListEntries Entries;

private:
    fs::path FFolder;
};

const TPictureSet& Pictures() {
    static TPictureSet set;
    return set;
}

void SetPixels(benchmark::State& state, std::int64_t pixelsPerIteration) {
    state.counters["pixels/s"] =
        benchmark::Counter(static_cast<double>(pixelsPerIteration), benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(state.iterations() * pixelsPerIteration * 3);
}

void BM_CollectVantor(benchmark::State& state) {
    const auto& entries = Pictures().Entries;
    for (auto _ : state) {
        TCollectResult r = CollectVantorPatternCells(entries, nullptr);
        if (!r.Error.empty()) state.SkipWithError(r.Error.c_str());
        benchmark::DoNotOptimize(r.Sheet);
    }
    SetPixels(state, 300LL * 256 * 256);
}
BENCHMARK(BM_CollectVantor)->Unit(benchmark::kMillisecond);

void BM_CollectClassicMode1(benchmark::State& state) {
    const auto& entries = Pictures().Entries;
    for (auto _ : state) {
        TCollectResult r = CollectPatternCells(entries, nullptr, 1);
        if (!r.Error.empty()) state.SkipWithError(r.Error.c_str());
        benchmark::DoNotOptimize(r.Sheet);
    }
    SetPixels(state, 300LL * 256 * 256);
}
BENCHMARK(BM_CollectClassicMode1)->Unit(benchmark::kMillisecond);

// A cell sheet: the key colour around blobs that use 200 colours in runs of a few pixels.
std::vector<std::uint8_t> MakeSheet(int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3, 0);
    std::mt19937 rng(5);
    std::uint32_t colour = 0;
    for (std::size_t i = 0; i < pixels.size() / 3; ++i) {
        if (rng() % 5 == 0) colour = rng() % 3 == 0 ? 0 : 1 + rng() % 200;
        std::uint32_t c = colour * 0x01030507u;
        pixels[3 * i] = static_cast<std::uint8_t>(c);
        pixels[3 * i + 1] = static_cast<std::uint8_t>(c >> 8);
        pixels[3 * i + 2] = static_cast<std::uint8_t>(colour ? (c >> 16) | 1 : 0);
    }
    return pixels;
}

void BM_Reduce(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const int method = static_cast<int>(state.range(2));
    const std::vector<std::uint8_t> sheet = MakeSheet(w, h);
    const T24BitView view{sheet.data(), w * 3, w, h};
    TReducedPicture out;
    for (auto _ : state) {
        if (!ReduceColourPixels(view, method, nullptr, out)) state.SkipWithError("reduction failed");
        benchmark::DoNotOptimize(out.Indexes.data());
    }
    SetPixels(state, static_cast<std::int64_t>(w) * h);
}

PIX* ToPix(const std::vector<std::uint8_t>& sheet, int w, int h) {
    PIX* pix = pixCreate(w, h, 32);
    l_uint32* data = pixGetData(pix);
    const int wpl = pixGetWpl(pix);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = &sheet[(static_cast<std::size_t>(y) * w + x) * 3];
            data[y * wpl + x] = (static_cast<l_uint32>(p[2]) << 24) | (p[1] << 16) | (p[0] << 8);
        }
    return pix;
}

// Leptonica's exact conversion (method 1's work) and its 5-bit octcube few-colours quantisation
// (the nearest it has to method 2's 5-6-5 step followed by an exact palette).
void BM_Leptonica(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const bool quantise = state.range(2) == 2;
    setMsgSeverity(L_SEVERITY_NONE);
    PIX* pix = ToPix(MakeSheet(w, h), w, h);
    for (auto _ : state) {
        PIX* out = quantise ? pixFewColorsOctcubeQuant1(pix, 5) : pixConvertRGBToCmapLossless(pix);
        if (!out) state.SkipWithError("Leptonica gave no picture");
        pixDestroy(&out);
    }
    pixDestroy(&pix);
    SetPixels(state, static_cast<std::int64_t>(w) * h);
}

// A sheet of shaded pictures with noise: nearly every pixel differs from the one before it, and
// most colours occur once. Cells on a 16-pixel grid keep the key colour.
std::vector<std::uint8_t> MakeManyColourSheet(int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3, 0);
    std::mt19937 rng(640);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (x % 16 == 0 && y % 16 == 0) continue;
            std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = static_cast<std::uint8_t>(rng());
            p[1] = static_cast<std::uint8_t>(y * 3 + rng() % 48);
            p[2] = static_cast<std::uint8_t>(x * 5 + rng() % 48);
        }
    return pixels;
}

void BM_ReduceManyColours(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const std::vector<std::uint8_t> sheet = MakeManyColourSheet(w, h);
    const T24BitView view{sheet.data(), w * 3, w, h};
    TReducedPicture out;
    for (auto _ : state) {
        if (!ReduceColourPixels(view, 0, nullptr, out)) state.SkipWithError("reduction failed");
        benchmark::DoNotOptimize(out.Indexes.data());
    }
    SetPixels(state, static_cast<std::int64_t>(w) * h);
}

void BM_LeptonicaMedianCutManyColours(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    setMsgSeverity(L_SEVERITY_NONE);
    PIX* pix = ToPix(MakeManyColourSheet(w, h), w, h);
    for (auto _ : state) {
        PIX* out = pixMedianCutQuant(pix, 0);
        if (!out) state.SkipWithError("Leptonica gave no picture");
        pixDestroy(&out);
    }
    pixDestroy(&pix);
    SetPixels(state, static_cast<std::int64_t>(w) * h);
}

void ManyColourSizes(benchmark::internal::Benchmark* b) {
    b->Args({640, 720})->Args({512, 16384})->ArgNames({"w", "h"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ReduceManyColours)->Apply(ManyColourSizes);
BENCHMARK(BM_LeptonicaMedianCutManyColours)->Apply(ManyColourSizes);

void SheetSizes(benchmark::internal::Benchmark* b, std::initializer_list<int> methods) {
    for (int method : methods) {
        b->Args({640, 720, method});
        b->Args({512, 16384, method});
    }
    b->ArgNames({"w", "h", "method"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Reduce)->Apply([](auto* b) { SheetSizes(b, {0, 1, 2}); });
BENCHMARK(BM_Leptonica)->Apply([](auto* b) { SheetSizes(b, {1, 2}); });

} // namespace

BENCHMARK_MAIN();
