// The editor's text model on a 100,000-line motion list (about 10 MB, a tenth of the lines with a
// double-byte comment), each figure beside a plain memchr line split of the same bytes.
#include "TextSearch.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <random>
#include <string>

using namespace quillon;

namespace {

const std::string& MotionList() {
    static const std::string text = [] {
        std::string s;
        std::mt19937 rng(1);
        s += "--R---G---B---G\r\n  0   0 255  16\r\n";
        for (int i = 0; i < 100000; ++i) {
            for (unsigned v : {unsigned(i), unsigned(i + 1), 3u, unsigned(rng() % 1800)}) s.append("  ").append(std::to_string(v));
            s.append("/").append(std::to_string(rng() % 1800));
            s.append(",1,A,128   0  0 9/-3/4   0 0   0 0 9 0 0   0   -  0 0 0100 1FF0EF00A010 000000000000 010020000030");
            // ;ガッツ攻撃の構え、右手を前へ
            if (i % 10 == 0) s += " ;\x83\x4B\x83\x62\x83\x63\x8D\x55\x8C\x82\x82\xCC\x8D\x5C\x82\xA6\x81\x41\x89\x45";
            s += "\r\n";
        }
        return s;
    }();
    return text;
}

void SetBytes(benchmark::State& state, std::size_t size) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}

// The reference of every figure: the lines of the same bytes found with memchr.
void BM_MemchrLineSplit(benchmark::State& state) {
    const std::string& s = MotionList();
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* end = s.data() + s.size();
        for (const char* p = s.data(); (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p) ++lines;
        benchmark::DoNotOptimize(lines);
    }
    SetBytes(state, MotionList().size());
}

void BM_SearchMissingPattern(benchmark::State& state) {
    const std::string& s = MotionList();
    for (auto _ : state) {
        TSearchInfo info{0, 0};
        benchmark::DoNotOptimize(SearchText(s, info, "missing", stDown));
    }
    SetBytes(state, s.size());
}

} // namespace

BENCHMARK(BM_MemchrLineSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchMissingPattern)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
