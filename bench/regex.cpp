// Regular-expression search, line by line as the editor's find highlighting and the item search
// do, beside Oniguruma (Shift-JIS, longest match) and memmem on the same lines in the same run.
//
// Data: real Japanese prose (the Japanese Debian reference from the debian-reference-ja
// package, the lines that convert to CP932, repeated to 10 MB), a generated 50,000-line list,
// and single long lines of prose (1 KB, 16 KB, 64 KB and 1 MB) without "Z" or "Q", on which
// patterns that fail late would read the line once per start if the search restarted at each.
// Oniguruma's longest match is not leftmost-longest ("a|ab" on "ab" gives 1): it is a yardstick
// of speed, not of results.
//
// Patterns whose complete automaton is huge (BM_HugeRegex and BM_HugeOniguruma) are searched on
// 10 MB, the prose or lines of random a's and b's, with the peak of heap memory that compiling
// and searching take (every malloc of the process is counted, so both engines are measured
// alike). Oniguruma is left out on the 4,000 ranges: it tries them one by one at every
// position, and one pass over the 10 MB takes it minutes.
#include "Cp932.h"
#include "HeapPeak.h"
#include "JapaneseProse.h"
#include "LineRegExp.h"

#include <benchmark/benchmark.h>
#include <oniguruma.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon {
namespace {

constexpr size_t ProseBytes = size_t{10} << 20;

// The prose repeated to 10 MB.
const std::vector<std::string>& Prose() {
    static const std::vector<std::string> lines = [] {
        const std::vector<std::string>& once = JapaneseProseLines();
        if (once.empty())
            throw std::runtime_error(std::string("no prose: install debian-reference-ja for ") + JapaneseProseFile);
        std::vector<std::string> result;
        size_t bytes = 0;
        while (bytes < ProseBytes) {
            for (const std::string& l : once) {
                result.push_back(l);
                bytes += l.size();
            }
        }
        return result;
    }();
    return lines;
}

// A generated motion list: ASCII fields mixed with kanji and kana.
const std::vector<std::string>& List() {
    static const std::vector<std::string> lines = [] {
        const char* const words[] = {"motion", "frame", "jump",  "attack", "guard",
                                     "stand",  "walk",  "punch", "kick",   "throw"};
        const char* const japanese[] = {"立ち",   "ガード", "しゃがみ", "攻撃判定", "ジャンプ",
                                        "必殺技", "投げ",   "歩き",     "ダッシュ", "待機"};
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

// One line of prose of Length bytes (cut at a character start), with every "Z" and "Q" made
// lower case so that the patterns that look for them fail at the end of the line.
std::string LongLine(size_t Length) {
    std::string line;
    for (const std::string& l : Prose()) {
        for (size_t i = 0; i < l.size(); ++i) {
            const size_t n = IsLeadByte(l[i]) && i + 1 < l.size() ? 2 : 1;
            if (line.size() + n > Length) return line;
            if (n == 1 && (l[i] == 'Z' || l[i] == 'Q'))
                line += static_cast<char>(l[i] + 32);
            else
                line.append(l, i, n);
            i += n - 1;
        }
        if (line.size() < Length) line += ' ';
    }
    return line;
}

int64_t TotalBytes(const std::vector<std::string>& Lines) {
    int64_t total = 0;
    for (const std::string& line : Lines) total += static_cast<int64_t>(line.size());
    return total;
}

struct TCase {
    const char* Pattern; // UTF-8
    bool Fuzzy = false;
};

const TCase ProseCases[] = {
    {"オプション"},
    {"ファイル"},
    {"鬱蒼たる"}, // a Japanese literal that is never there
    {"qwerty"},   // an ASCII literal that is never there
    {"debian"},
    {"[0-9]+,"},
    {"^;"},
    {"^\\.[A-Z]+"},
    {"[0-9, ]+Z"},
    {"[ぁ-ん]+Z"},
    {".*Z"},
    {"[a-z ]+Z"},
    {"(a|b)*c.*Z"},
    {"[ァ-ヶ]+"},
    {"パッケージ|ファイル|システム"},
    {"[0-9]+\\.[0-9]+"},
    {"^ *\\$ "},
    {"ます。$"},
    {"^.*です"},
    {"(で|に)(す|な)"},
    {"ガ", true},
    {"ファイル", true},
};

const TCase ListCases[] = {
    {"qwerty"}, {"[0-9]+,"}, {"ガ", true}, {"^;"}, {"[0-9, ]+Z"},
};

// Missing from the long lines: "Z" and "Q" are gone from them.
const TCase LongCases[] = {
    {"鬱蒼たる"}, {".*Z"}, {"[a-z ]+Z"}, {"(a|b)*c.*Z"}, {".*(Z|Q)"}, {"[a-z ]+(Z|Q)"}, {"[ぁ-ん]+(Z|Q)"},
};

enum TData { dtProse, dtList };

const std::vector<std::string>& Data(int64_t Data) { return Data == dtProse ? Prose() : List(); }
const TCase& CaseOf(int64_t Data, int64_t Index) { return Data == dtProse ? ProseCases[Index] : ListCases[Index]; }

// The pattern as our engine compiles it (fuzzy characters expanded), so both engines search
// for the same thing.
std::string Expanded(const TCase& C) {
    TLineRegExp expander;
    expander.SetUseFuzzyCharDic(C.Fuzzy);
    expander.SetRegExp(Utf8ToCp932(C.Pattern));
    return expander.CacheString(expander.CacheIndex());
}

class TOniguruma {
public:
    explicit TOniguruma(const std::string& Pattern) {
        OnigEncoding encodings[] = {ONIG_ENCODING_SJIS};
        onig_initialize(encodings, 1);
        OnigErrorInfo info;
        const auto* p = reinterpret_cast<const OnigUChar*>(Pattern.data());
        if (onig_new(&FReg, p, p + Pattern.size(), ONIG_OPTION_FIND_LONGEST, ONIG_ENCODING_SJIS, ONIG_SYNTAX_DEFAULT,
                     &info) != ONIG_NORMAL)
            throw std::runtime_error("onig_new");
        FRegion = onig_region_new();
    }
    ~TOniguruma() {
        onig_region_free(FRegion, 1);
        onig_free(FReg);
    }
    bool Search(const std::string& Line) {
        const auto* s = reinterpret_cast<const OnigUChar*>(Line.data());
        const auto* e = s + Line.size();
        return onig_search(FReg, s, e, s, e, FRegion, ONIG_OPTION_NONE) >= 0;
    }

private:
    regex_t* FReg = nullptr;
    OnigRegion* FRegion = nullptr;
};

void Report(benchmark::State& State, const std::string& Label, int64_t Found, int64_t Bytes) {
    State.SetLabel(Label);
    State.counters["lines_found"] = static_cast<double>(Found) / static_cast<double>(State.iterations());
    State.SetBytesProcessed(State.iterations() * Bytes);
}

// Arguments: data set, case.
void BM_Regex(benchmark::State& state) {
    const TCase& c = CaseOf(state.range(0), state.range(1));
    const std::vector<std::string>& lines = Data(state.range(0));
    TLineRegExp re;
    re.SetUseFuzzyCharDic(c.Fuzzy);
    re.SetRegExp(Utf8ToCp932(c.Pattern));
    int64_t found = 0;
    for (auto _ : state) {
        for (const std::string& line : lines) {
            int pos = 0;
            int len = 0;
            found += re.Match(line, pos, len) > 0;
        }
    }
    Report(state, c.Pattern, found, TotalBytes(lines));
}

void BM_Oniguruma(benchmark::State& state) {
    const TCase& c = CaseOf(state.range(0), state.range(1));
    const std::vector<std::string>& lines = Data(state.range(0));
    TOniguruma onig(Expanded(c));
    int64_t found = 0;
    for (auto _ : state)
        for (const std::string& line : lines) found += onig.Search(line);
    Report(state, c.Pattern, found, TotalBytes(lines));
}

// Arguments: data set, case (a literal).
void BM_Memmem(benchmark::State& state) {
    const std::string needle = Utf8ToCp932(CaseOf(state.range(0), state.range(1)).Pattern);
    const std::vector<std::string>& lines = Data(state.range(0));
    int64_t found = 0;
    for (auto _ : state) {
        for (const std::string& line : lines)
            found += memmem(line.data(), line.size(), needle.data(), needle.size()) != nullptr;
    }
    Report(state, CaseOf(state.range(0), state.range(1)).Pattern, found, TotalBytes(lines));
}

// Arguments: line length, case. The time per byte should not grow with the line.
void BM_LongLine(benchmark::State& state) {
    const TCase& c = LongCases[state.range(1)];
    const std::string line = LongLine(static_cast<size_t>(state.range(0)));
    TLineRegExp re;
    re.SetRegExp(Utf8ToCp932(c.Pattern));
    int64_t found = 0;
    for (auto _ : state) {
        int pos = 0;
        int len = 0;
        found += re.Match(line, pos, len) > 0;
    }
    Report(state, c.Pattern, found, static_cast<int64_t>(line.size()));
}

void BM_LongLineMemmem(benchmark::State& state) {
    const std::string line = LongLine(static_cast<size_t>(state.range(0)));
    const std::string needle = Utf8ToCp932(LongCases[0].Pattern);
    int64_t found = 0;
    for (auto _ : state) {
        const char* data = line.data();
        benchmark::DoNotOptimize(data); // keeps the search from being hoisted out of the loop
        found += memmem(data, line.size(), needle.data(), needle.size()) != nullptr;
    }
    Report(state, LongCases[0].Pattern, found, static_cast<int64_t>(line.size()));
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

// An alternation of 2,000 one-range classes that overlap their neighbours: every range is cut
// where the others begin and end.
void BM_Compile2000OverlappingRanges(benchmark::State& state) {
    std::string pattern;
    char buffer[32];
    for (int i = 0; i < 2000; ++i) {
        std::snprintf(buffer, sizeof buffer, "%s[\\x%04X-\\x%04X]", i ? "|" : "", 0x100 + i * 7, 0x100 + i * 7 + 500);
        pattern += buffer;
    }
    for (auto _ : state) {
        TLineRegExp re;
        re.SetRegExp(pattern);
        benchmark::DoNotOptimize(re.CacheIndex());
    }
}

// Lines of 64 random a's and b's, 10 MB: every line reaches many states of the patterns below.
const std::vector<std::string>& Letters() {
    static const std::vector<std::string> lines = [] {
        std::mt19937 random(64);
        std::vector<std::string> result(ProseBytes / 64);
        for (std::string& line : result)
            for (int i = 0; i < 64; ++i) line += random() % 2 ? 'a' : 'b';
        return result;
    }();
    return lines;
}

std::string Repeat(const std::string& S, int Count) {
    std::string result;
    for (int i = 0; i < Count; ++i) result += S;
    return result;
}

// Valid double-byte characters in code order, as Shift-JIS bytes.
std::vector<std::string> DoubleByteCharacters() {
    std::vector<std::string> result;
    for (int lead = 0x88; lead <= 0x9F; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            if (trail != 0x7F) result.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    return result;
}

struct THugeCase {
    const char* Label;
    std::string Pattern; // Shift-JIS, the same for both engines
    const std::vector<std::string>& Lines;
};

const std::vector<THugeCase>& HugeCases() {
    static const std::vector<THugeCase> cases = [] {
        std::mt19937 random(10000);
        std::string literal;
        while (literal.size() < 20000) literal += Utf8ToCp932(random() % 2 ? "ア" : "イ");
        std::string nested = "a";
        for (int i = 0; i < 16; ++i) nested = "(" + nested + ")+";
        const std::vector<std::string> characters = DoubleByteCharacters();
        std::string ranges;
        for (int i = 0; i < 4000; ++i) ranges += (i ? "|[" : "[") + characters[i] + "-" + characters[i + 500] + "]";
        return std::vector<THugeCase>{
            {"(a|b)*a(a|b){13} letters", "(a|b)*a" + Repeat("(a|b)", 13), Letters()},
            {".*a.{13} letters", ".*a" + Repeat(".", 13), Letters()},
            {".*a.{13} prose", ".*a" + Repeat(".", 13), Prose()},
            {"10,000-character literal", literal, Prose()},
            {"(((a)+)+)+ 16 deep", nested, Prose()},
            {"4,000 overlapping ranges", ranges, Prose()},
        };
    }();
    return cases;
}

// Arguments: case. Compiles once per iteration, then searches every line.
template <class TSearch> void HugeSearch(benchmark::State& State, TSearch Search) {
    const THugeCase& c = HugeCases()[State.range(0)];
    int64_t found = 0;
    std::ptrdiff_t peak = 0;
    for (auto _ : State) {
        const THeapPeak heap;
        found += Search(c);
        peak = std::max(peak, heap.Bytes());
    }
    Report(State, c.Label, found, TotalBytes(c.Lines));
    State.counters["peak_MB"] = static_cast<double>(peak) / (1 << 20);
}

void BM_HugeRegex(benchmark::State& state) {
    HugeSearch(state, [](const THugeCase& c) {
        TLineRegExp re;
        re.SetRegExp(c.Pattern);
        int64_t found = 0;
        for (const std::string& line : c.Lines) {
            int pos = 0;
            int len = 0;
            found += re.Match(line, pos, len) > 0;
        }
        return found;
    });
}

void BM_HugeOniguruma(benchmark::State& state) {
    HugeSearch(state, [](const THugeCase& c) {
        TOniguruma onig(c.Pattern);
        int64_t found = 0;
        for (const std::string& line : c.Lines) found += onig.Search(line);
        return found;
    });
}

// The editor keeps one finder for its life: 30 patterns over one class of 1,500 double-byte
// ranges, each searched over 300 KB of lines drawn from four of the class's characters, where
// every pattern's automaton reaches thousands of states of 1,500 classes each. The peak of heap
// memory is what the finder's automata hold together.
void BM_ManyBigClassPatterns(benchmark::State& state) {
    const std::vector<std::string> characters = DoubleByteCharacters();
    std::string someClass = "[";
    for (int i = 0; i < 1500; ++i) someClass += characters[2 * i] + "-" + characters[2 * i];
    someClass += "]";
    std::mt19937 random(1500);
    std::vector<std::string> lines(300 << 10 >> 8);
    for (std::string& line : lines)
        while (line.size() < 256) line += characters[2 * (random() % 4)];
    int64_t found = 0;
    std::ptrdiff_t peak = 0;
    for (auto _ : state) {
        const THeapPeak heap;
        TLineRegExp re;
        for (int p = 0; p < 30; ++p) {
            re.SetRegExp(someClass + "*" + characters[2 * (p % 4)] + Repeat(someClass, 10 + p / 4));
            for (const std::string& line : lines) {
                int pos = 0;
                int len = 0;
                found += re.Match(line, pos, len) > 0;
            }
        }
        peak = std::max(peak, heap.Bytes());
    }
    Report(state, "30 patterns", found, TotalBytes(lines) * 30);
    state.counters["peak_MB"] = static_cast<double>(peak) / (1 << 20);
}

void ProseArgs(benchmark::internal::Benchmark* b) {
    for (int64_t i = 0; i < static_cast<int64_t>(std::size(ProseCases)); ++i) b->Args({dtProse, i});
    for (int64_t i = 0; i < static_cast<int64_t>(std::size(ListCases)); ++i) b->Args({dtList, i});
}

void LongArgs(benchmark::internal::Benchmark* b) {
    for (int64_t length : {1 << 10, 16 << 10, 64 << 10, 1 << 20})
        for (int64_t i = 0; i < static_cast<int64_t>(std::size(LongCases)); ++i) b->Args({length, i});
}

BENCHMARK(BM_Regex)->Apply(ProseArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Oniguruma)->Apply(ProseArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memmem)->Args({dtProse, 2})->Args({dtProse, 3})->Args({dtList, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongLine)->Apply(LongArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongLineMemmem)->Arg(1 << 10)->Arg(16 << 10)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SetSameFuzzyPattern10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewObjectFuzzyPattern)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Compile2000OverlappingRanges)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HugeRegex)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HugeOniguruma)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManyBigClassPatterns)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quillon

BENCHMARK_MAIN();
