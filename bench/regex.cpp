// Regular-expression search over a generated 50,000-line list (ASCII mixed with kanji and kana),
// line by line as the editor's find highlighting and the item search do, beside memmem for the
// literal and Oniguruma (Shift-JIS, longest match) on the same lines in the same run.
#include "Cp932.h"
#include "LineRegExp.h"

#include <benchmark/benchmark.h>
#include <oniguruma.h>

#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon {
namespace {

const std::vector<std::string>& Lines() {
    static const std::vector<std::string> lines = [] {
        const char* const words[] = {"motion", "frame", "jump", "attack", "guard", "stand", "walk", "punch", "kick", "throw"};
        const char* const japanese[] = {"立ち", "ガード", "しゃがみ", "攻撃判定", "ジャンプ", "必殺技", "投げ", "歩き",
                                        "ダッシュ", "待機"};
        std::vector<std::string> result;
        std::mt19937 random(50000);
        for (int i = 0; i < 50000; ++i) {
            std::string line;
            if (random() % 10 == 0) {
                line = ";" + Utf8ToCp932(japanese[random() % 10]) + " " + words[random() % 10];
            } else {
                for (int field = 0; field < 12; ++field) line += std::to_string(random() % 1000) + ", ";
                line += words[random() % 10];
                line += " " + Utf8ToCp932(japanese[random() % 10]) + Utf8ToCp932(japanese[random() % 10]);
            }
            result.push_back(std::move(line));
        }
        return result;
    }();
    return lines;
}

int64_t TotalBytes() {
    int64_t total = 0;
    for (const std::string& line : Lines()) total += static_cast<int64_t>(line.size());
    return total;
}

struct TCase {
    const char* Pattern;  // UTF-8
    bool Fuzzy;
};

const TCase Cases[] = {
    {"qwerty", false},         // a literal that is never there
    {"[0-9]+,", false},
    {"ガ", true},
    {"^;", false},
    {"[0-9, ]+Z", false},      // every run of digits and commas is walked from each start
};

void BM_Regex(benchmark::State& state) {
    const TCase& c = Cases[state.range(0)];
    TLineRegExp re;
    re.SetUseFuzzyCharDic(c.Fuzzy);
    re.SetRegExp(Utf8ToCp932(c.Pattern));
    int64_t found = 0;
    for (auto _ : state) {
        for (const std::string& line : Lines()) {
            int pos = 0;
            int len = 0;
            found += re.Match(line, pos, len) > 0;
        }
    }
    state.SetLabel(c.Pattern);
    state.counters["lines_found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * TotalBytes());
}

// Oniguruma on the same pattern as our engine compiles it (fuzzy characters expanded).
void BM_Oniguruma(benchmark::State& state) {
    const TCase& c = Cases[state.range(0)];
    TLineRegExp expander;
    expander.SetUseFuzzyCharDic(c.Fuzzy);
    expander.SetRegExp(Utf8ToCp932(c.Pattern));
    const std::string pattern = expander.CacheString(expander.CacheIndex());
    OnigEncoding encodings[] = {ONIG_ENCODING_SJIS};
    onig_initialize(encodings, 1);
    regex_t* reg = nullptr;
    OnigErrorInfo info;
    const auto* p = reinterpret_cast<const OnigUChar*>(pattern.data());
    if (onig_new(&reg, p, p + pattern.size(), ONIG_OPTION_FIND_LONGEST, ONIG_ENCODING_SJIS, ONIG_SYNTAX_DEFAULT,
                 &info) != ONIG_NORMAL)
        throw std::runtime_error("onig_new");
    OnigRegion* region = onig_region_new();
    int64_t found = 0;
    for (auto _ : state) {
        for (const std::string& line : Lines()) {
            const auto* s = reinterpret_cast<const OnigUChar*>(line.data());
            const auto* e = s + line.size();
            found += onig_search(reg, s, e, s, e, region, ONIG_OPTION_NONE) >= 0;
        }
    }
    onig_region_free(region, 1);
    onig_free(reg);
    state.SetLabel(c.Pattern);
    state.counters["lines_found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * TotalBytes());
}

void BM_Memmem(benchmark::State& state) {
    const std::string needle = Cases[0].Pattern;
    int64_t found = 0;
    for (auto _ : state) {
        for (const std::string& line : Lines())
            found += memmem(line.data(), line.size(), needle.data(), needle.size()) != nullptr;
    }
    state.SetLabel(needle);
    state.counters["lines_found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * TotalBytes());
}

// The editor sets its pattern again for every painted row: the same fuzzy pattern, found in the
// cache after its first compilation.
void BM_SetSameFuzzyPattern10000(benchmark::State& state) {
    TLineRegExp re;
    re.SetUseFuzzyCharDic(true);
    const std::string pattern = Utf8ToCp932("ガ");
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) re.SetRegExp(pattern);
        benchmark::DoNotOptimize(re.CacheIndex());
    }
    state.counters["per_set"] = benchmark::Counter(static_cast<double>(state.iterations()) * 10000,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The item search makes a new search object for every field: a full compilation each time.
void BM_NewObjectFuzzyPattern(benchmark::State& state) {
    const std::string pattern = Utf8ToCp932("ガード");
    for (auto _ : state) {
        TLineRegExp re;
        re.SetRegExp(pattern);
        re.SetUseFuzzyCharDic(true);
        benchmark::DoNotOptimize(re.CacheIndex());
    }
}

BENCHMARK(BM_Regex)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Oniguruma)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memmem)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetSameFuzzyPattern10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewObjectFuzzyPattern)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quillon

BENCHMARK_MAIN();
