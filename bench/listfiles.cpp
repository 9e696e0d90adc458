// Loading and saving a 100,000-line motion list (about 10 MB), beside a plain read of the same
// bytes split at LF with memchr; and the worst case for finding line ends, the same list with CR
// line ends only, split beside memchr over the same bytes.
#include "ListFiles.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

// The list's bytes, every line ended by EndOfLine.
std::string ListText(const char* EndOfLine) {
    std::mt19937 rng(1);
    std::ostringstream out;
    out << "--R---G---B---G" << EndOfLine << "  0   0 255  16" << EndOfLine;
    for (int i = 0; i < 100000; ++i) {
        out << "  " << i << "    " << i + 1 << "  3  " << rng() % 1800 << "/" << rng() % 1800
            << ",1,A,128   0  0 9/-3/4   0 0   0 0 9 0 0   0   -  0 0 0100 1FF0EF00A010 000000000000 "
               "010020000030 ;\x83\x4B\x83\x62\x83\x63 frame comment with some text"
            << EndOfLine;
    }
    return out.str();
}

const fs::path& ListPath() {
    static const fs::path path = [] {
        fs::path p = fs::temp_directory_path() / "quillon-bench-motion.lst";
        std::ofstream(p, std::ios::binary) << ListText("\r\n");
        return p;
    }();
    return path;
}

void BM_LoadListFile(benchmark::State& state) {
    std::uintmax_t size = fs::file_size(ListPath());
    for (auto _ : state) {
        TListText text = ReadListFile(ListPath());
        benchmark::DoNotOptimize(text.Lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

void BM_SaveListFile(benchmark::State& state) {
    TListText text = ReadListFile(ListPath());
    fs::path out = fs::temp_directory_path() / "quillon-bench-saved.lst";
    for (auto _ : state) WriteListFile(out, text.Lines);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fs::file_size(out)));
    fs::remove(out);
}

// The reference: read the bytes and count the lines with memchr, keeping no copies.
void BM_PlainReadMemchrSplit(benchmark::State& state) {
    std::uintmax_t size = fs::file_size(ListPath());
    for (auto _ : state) {
        std::ifstream in(ListPath(), std::ios::binary);
        std::string bytes(size, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(size));
        size_t lines = 0;
        for (const char* p = bytes.data();
             (p = static_cast<const char*>(std::memchr(p, '\n', bytes.data() + size - p))); ++p)
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

// No LF anywhere: a splitter that looks for the next LF anew on every line reads to the end each time.
void BM_SplitCrOnlyList(benchmark::State& state) {
    const std::string bytes = ListText("\r");
    for (auto _ : state) {
        TListText text = SplitListText(bytes);
        benchmark::DoNotOptimize(text.Lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

// The reference: the same bytes, their lines counted with memchr, keeping no copies.
void BM_MemchrSplitCrOnly(benchmark::State& state) {
    const std::string bytes = ListText("\r");
    const char* const end = bytes.data() + bytes.size();
    for (auto _ : state) {
        size_t lines = 0;
        for (const char* p = bytes.data(); (p = static_cast<const char*>(std::memchr(p, '\r', end - p))); ++p) ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

} // namespace

BENCHMARK(BM_LoadListFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveListFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadMemchrSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitCrOnlyList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemchrSplitCrOnly)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
