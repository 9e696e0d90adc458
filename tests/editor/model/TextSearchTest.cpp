#include "TextSearch.h"

#include "Cp932.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace quillon {
namespace {

std::string J(std::string_view utf8) { return Utf8ToCp932(utf8); }

TEST(HanToZenTest, AsciiBecomesFullWidth) {
    for (int c = 0x21; c <= 0x7E; ++c) {
        if (c == '"' || c == '\'' || c == '\\' || c == '~') continue;
        char32_t wide = static_cast<char32_t>(0xFEE0 + c); // U+FF01..U+FF5E
        std::string utf8 = {static_cast<char>(0xE0 | (wide >> 12)), static_cast<char>(0x80 | ((wide >> 6) & 0x3F)),
                            static_cast<char>(0x80 | (wide & 0x3F))};
        EXPECT_EQ(Cp932ToUtf8(HanToZen(std::string(1, static_cast<char>(c)))), utf8) << "byte " << c;
    }
    EXPECT_EQ(HanToZen(" \"'\\~"), J("　”’￥￣"));
}

TEST(HanToZenTest, HalfWidthKana) {
    EXPECT_EQ(
        HanToZen(J("ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ")),
        J("ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン"));
    EXPECT_EQ(HanToZen(J("｡｢｣､ﾞﾟ")), J("。「」、゛゜"));
    EXPECT_EQ(HanToZen("\xA5"), J("．"));
}

TEST(HanToZenTest, VoicedMarksJoinTheirKana) {
    EXPECT_EQ(HanToZen(J("ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ")), J("ガギグゲゴザジズゼゾダヂヅデドバビブベボ"));
    EXPECT_EQ(HanToZen(J("ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞ")), J("パピプペポヴ"));
    // The semi-voiced mark belongs to ﾊ-ﾎ only: ｶﾟ is カ and ゜, never the next-but-one code キ.
    EXPECT_EQ(HanToZen(J("ｶﾟｱﾞﾝﾟ")), J("カ゜ア゛ン゜"));
}

TEST(HanToZenTest, DoubleByteCharactersAndOtherBytesStay) {
    EXPECT_EQ(HanToZen(J("漢字ａ")), J("漢字ａ"));
    EXPECT_EQ(HanToZen("\x01\x80\xFD"), "\x01\x80\xFD");
    EXPECT_EQ(HanToZen("\x82"), "\x82"); // a lead byte at the end stays alone
}

TEST(DBCharEqualTest, LowerCaseTextMatchesUpperCasePattern) {
    struct Alphabet {
        const char* lower;
        const char* upper;
    };
    for (const Alphabet& a : {Alphabet{"ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ",
                                       "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"},
                              Alphabet{"αβγδεζηθικλμνξοπρστυφχψω", "ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ"},
                              Alphabet{"абвгдеёжзийклмнопрстуфхцчшщъыьэюя", "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"}}) {
        std::string lower = J(a.lower), upper = J(a.upper);
        ASSERT_EQ(lower.size(), upper.size());
        for (std::size_t i = 0; i < lower.size(); i += 2) {
            std::string l = lower.substr(i, 2), u = upper.substr(i, 2);
            EXPECT_TRUE(DBCharEqual(u, l)) << a.upper << " " << i;
            EXPECT_TRUE(DBCharEqual(l, l));
            EXPECT_FALSE(DBCharEqual(l, u)) << "the pattern holds the upper case";
        }
    }
    EXPECT_TRUE(DBCharEqual("\x87\x54", "\xEE\xEF")); // Ⅰ, ⅰ
    EXPECT_TRUE(DBCharEqual("\x87\x5D", "\xEE\xF8")); // Ⅹ, ⅹ
    EXPECT_FALSE(DBCharEqual(J("ア"), J("イ")));
    EXPECT_FALSE(DBCharEqual("A", "a"));
}

struct SearchCase {
    const char* note;
    std::string text;
    std::string pattern;
    TSearchOptions options;
    int start; // Info on entry
    int length;
    int found; // -1: no match
    int foundLength;
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.note; }

class SearchTextTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchTextTest, FindsWhatTheTableSays) {
    const SearchCase& c = GetParam();
    TSearchInfo info{c.start, c.length};
    bool found = SearchText(c.text, info, c.pattern, c.options);
    ASSERT_EQ(found, c.found >= 0);
    if (found) {
        EXPECT_EQ(info.Start, c.found);
        EXPECT_EQ(info.Length, c.foundLength);
    } else {
        EXPECT_EQ(info.Start, c.start) << "a failed search leaves Info alone";
    }
}

constexpr TSearchOptions F = stDown, B = 0;
const std::string kFullABC = J("ＡＢＣ"), kFullabc = J("ａｂｃ");

INSTANTIATE_TEST_SUITE_P(
    Table, SearchTextTest,
    ::testing::Values(
        SearchCase{"ignores case forwards", "xxabcxx", "ABC", F, 0, 0, 2, 3},
        SearchCase{"ignores case backwards", "xxabcxx", "ABC", B, 7, 0, 2, 3},
        SearchCase{"match case forwards", "xxabcxx", "ABC", F | stMatchCase, 0, 0, -1, 0},
        SearchCase{"match case backwards", "xxabcxx", "ABC", B | stMatchCase, 7, 0, -1, 0},
        SearchCase{"lower-case pattern", "xxABCxx", "abc", F, 0, 0, 2, 3},
        SearchCase{"full-width text without folding", kFullABC, "ABC", F, 0, 0, -1, 0},
        SearchCase{"full-width text without folding, backwards", kFullABC, "ABC", B, 6, 0, -1, 0},
        SearchCase{"width folding", kFullABC, "ABC", F | stWidthFold, 0, 0, 0, 6},
        SearchCase{"width folding backwards", kFullABC, "ABC", B | stWidthFold, 6, 0, 0, 6},
        SearchCase{"width folding, lower-case text", kFullabc, "ABC", F | stWidthFold, 0, 0, 0, 6},
        SearchCase{"width folding, lower-case text backwards", kFullabc, "abc", B | stWidthFold, 6, 0, 0, 6},
        SearchCase{"width folding, half-width text", "xabc", J("ＡＢＣ"), F | stWidthFold, 0, 0, 1, 3},
        SearchCase{"width folding and case", kFullabc, "ABC", F | stWidthFold | stMatchCase, 0, 0, -1, 0},
        SearchCase{"ガ matches ｶﾞ", J("xｶﾞx"), J("ガ"), F | stWidthFold, 0, 0, 1, 2},
        SearchCase{"ガ matches ｶﾞ backwards", J("xｶﾞx"), J("ガ"), B | stWidthFold, 4, 0, 1, 2},
        SearchCase{"ヴ matches ｳﾞ", J("ｳﾞ"), J("ヴ"), F | stWidthFold, 0, 0, 0, 2},
        SearchCase{"パ matches ﾊﾟ backwards", J("ﾊﾟ"), J("パ"), B | stWidthFold, 2, 0, 0, 2},
        SearchCase{"ｶﾟ is not キ", J("ｶﾟ"), J("キ"), F | stWidthFold, 0, 0, -1, 0},
        SearchCase{"ｶﾟ is カ゜", J("ｶﾟ"), J("カ゜"), F | stWidthFold, 0, 0, 0, 2},
        SearchCase{"ガ needs width folding", J("ｶﾞ"), J("ガ"), F, 0, 0, -1, 0},
        SearchCase{"line break skipped", "a\r\nb", "ab", F | stSkipLineBreaks, 0, 0, 0, 4},
        SearchCase{"line break skipped backwards", "a\r\nb", "ab", B | stSkipLineBreaks, 4, 0, 0, 4},
        SearchCase{"line break not skipped", "a\r\nb", "ab", F, 0, 0, -1, 0},
        SearchCase{"no skip before the first character", "\r\nab", "ab", F | stSkipLineBreaks, 0, 0, 2, 2},
        SearchCase{"blanks skipped", "a \tb", "ab", F | stSkipBlanks, 0, 0, 0, 4},
        SearchCase{"full-width space skipped", J("a　b"), "ab", F | stSkipBlanks, 0, 0, 0, 4},
        SearchCase{"blanks are not line breaks", "a b", "ab", F | stSkipLineBreaks, 0, 0, -1, 0},
        SearchCase{"skipping stops at the end of the text", "a\r\n", "ab", F | stSkipLineBreaks, 0, 0, -1, 0},
        SearchCase{"skipping stops at the end, backwards", "xa  ", "ab", B | stSkipBlanks, 4, 0, -1, 0},
        SearchCase{"whole word not inside a word", "concatenate", "cat", F | stWholeWord, 0, 0, -1, 0},
        SearchCase{"whole word not inside a word, backwards", "concatenate", "cat", B | stWholeWord, 11, 0, -1, 0},
        SearchCase{"whole word not at the start of catalog", "catalog", "cat", F | stWholeWord, 0, 0, -1, 0},
        SearchCase{"whole word not at the start of catalog, backwards", "catalog", "cat", B | stWholeWord, 7, 0, -1, 0},
        SearchCase{"whole word not at the end of concat", "concat", "cat", F | stWholeWord, 0, 0, -1, 0},
        SearchCase{"whole word not at the end of concat, backwards", "concat", "cat", B | stWholeWord, 6, 0, -1, 0},
        SearchCase{"whole word before an underscore", "cat_", "cat", F | stWholeWord, 0, 0, 0, 3},
        SearchCase{"whole word filling the buffer", "cat", "cat", F | stWholeWord, 0, 0, 0, 3},
        SearchCase{"whole word filling the buffer, backwards", "cat", "cat", B | stWholeWord, 3, 0, 0, 3},
        SearchCase{"whole word after a blank", "a cat.", "cat", B | stWholeWord, 6, 0, 2, 3},
        SearchCase{"whole word skips the longer word", "cats cat", "cat", F | stWholeWord, 0, 0, 5, 3},
        SearchCase{"forward search passes the previous match", "abcabc", "abc", F, 0, 3, 3, 3},
        SearchCase{"backward search ends at the start", "abcabc", "abc", B, 5, 0, 0, 3},
        SearchCase{"no match on a trail byte (ア = 83 41)", J("ア"), "A", F | stMatchCase, 0, 0, -1, 0},
        SearchCase{"no match on a trail byte, backwards", J("ア"), "A", B | stMatchCase, 2, 0, -1, 0},
        SearchCase{"no match on a trail byte 5C (表)", J("表") + "\\", "\\", F, 0, 0, 2, 1},
        SearchCase{"start on a trail byte moves on", J("表") + "\\", "\\", F, 1, 0, 2, 1},
        SearchCase{"double-byte letters fold both ways", J("xΑΒΓ"), J("αβγ"), F, 0, 0, 1, 6},
        SearchCase{"double-byte lower-case text", J("xαβγ"), J("ΑΒΓ"), B, 7, 0, 1, 6},
        SearchCase{"small Roman numeral found by its capital", "x\xEE\xEF", "\x87\x54", F, 0, 0, 1, 2},
        SearchCase{"capital Roman numeral found by the small one", "x\x87\x54", "\xEE\xEF", B, 3, 0, 1, 2},
        SearchCase{"double-byte case kept", J("αβγ"), J("ΑΒΓ"), F | stMatchCase, 0, 0, -1, 0},
        SearchCase{"pattern longer than the text", "ab", "abc", F, 0, 0, -1, 0},
        SearchCase{"pattern longer than the text, backwards", "ab", "abc", B, 2, 0, -1, 0},
        SearchCase{"start beyond the text", "abc", "a", F, 4, 0, -1, 0},
        SearchCase{"negative start", "abc", "a", F, -1, 0, -1, 0},
        SearchCase{"negative length", "abc", "a", F, 0, -1, -1, 0},
        SearchCase{"empty pattern", "abc", "", F, 0, 0, -1, 0}, SearchCase{"empty buffer", "", "a", F, 0, 0, -1, 0}));

// A plain reference: the first (last) character boundary at which the pattern's bytes occur.
int ReferenceFind(const std::string& text, const std::string& pat, int from, bool down) {
    std::vector<bool> boundary(text.size() + 1, true);
    for (std::size_t i = 0; i < text.size(); ++i)
        if (IsLeadByte(text[i]) && i + 1 < text.size()) boundary[++i] = false;
    int last = static_cast<int>(text.size() - pat.size());
    for (int i = down ? from : std::min(from, last); down ? i <= last : i >= 0; i += down ? 1 : -1)
        if (i >= 0 && boundary[static_cast<std::size_t>(i)] &&
            text.compare(static_cast<std::size_t>(i), pat.size(), pat) == 0)
            return i;
    return -1;
}

TEST(SearchTextRandom, MatchCaseAgreesWithAPlainByteSearch) {
    const std::string pieces[] = {"a", "A", "\x41", "\x83\x41", "\x83\x83", "\x82\xA0", "\\", "\x95\x5C", "\r\n"};
    std::mt19937 rng(9);
    auto random = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += pieces[rng() % std::size(pieces)];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string text = random(1 + static_cast<int>(rng() % 12));
        std::string pat = random(1 + static_cast<int>(rng() % 2));
        bool down = rng() % 2;
        int start = static_cast<int>(rng() % (text.size() + 1));
        TSearchInfo info{start, 0};
        bool found = SearchText(text, info, pat, (down ? stDown : 0) | stMatchCase);
        int expected = ReferenceFind(text, pat, down ? start : start - static_cast<int>(pat.size()), down);
        ASSERT_EQ(found ? info.Start : -1, expected) << "round " << round;
        if (found) {
            EXPECT_EQ(info.Length, static_cast<int>(pat.size()));
        }
    }
}

// A reference search that walks every position as the search is described: characters classed from
// the buffer's start, each text character widened (HanToZen) and case-folded before it is compared.
class ReferenceSearch {
public:
    ReferenceSearch(const std::string& Text, TSearchOptions Options) : T(Text), Opt(Options), Trail(Text.size() + 1) {
        for (std::size_t i = 0; i + 1 < T.size(); ++i)
            if (IsLeadByte(T[i])) Trail[++i] = true;
    }

    bool Find(TSearchInfo& Info, const std::string& Pattern) const {
        std::vector<std::string> pat;
        const std::string wide = Wide(Pattern);
        for (std::size_t i = 0; i < wide.size();) {
            const std::size_t n = IsLeadByte(wide[i]) && i + 1 < wide.size() ? 2 : 1;
            pat.push_back(Fold(wide.substr(i, n)));
            i += n;
        }
        const int n = static_cast<int>(T.size());
        int minSize = 0;
        for (const std::string& c : pat) minSize += Opt & stWidthFold ? 1 : static_cast<int>(c.size());
        if (Opt & stDown) {
            int s = Info.Start + Info.Length;
            if (s < n && Trail[static_cast<std::size_t>(s)]) ++s;
            for (int p = s; p <= n - minSize; ++p)
                if (Report(p, pat, Info)) return true;
        } else {
            int s = Info.Start - minSize;
            if (Opt & stWidthFold) {
                s = Info.Start;
                for (int k = 0; k < minSize; ++k) {
                    --s;
                    if (s > 0 && (Trail[static_cast<std::size_t>(s)] ||
                                  (!Trail[static_cast<std::size_t>(s - 1)] && !IsLeadAt(s - 1) && IsPair(s - 1))))
                        --s;
                }
            }
            for (int p = s; p >= 0; --p)
                if (Report(p, pat, Info)) return true;
        }
        return false;
    }

private:
    static bool Delimiter(unsigned char b) { return IsWordDelimiter(b); }
    unsigned char At(int p) const { return static_cast<unsigned char>(T[static_cast<std::size_t>(p)]); }
    bool IsLeadAt(int p) const {
        return !Trail[static_cast<std::size_t>(p)] && IsLeadByte(T[static_cast<std::size_t>(p)]) &&
               p + 1 < static_cast<int>(T.size());
    }
    bool IsPair(int p) const {
        if (!(Opt & stWidthFold) || p + 1 >= static_cast<int>(T.size())) return false;
        const std::string two = T.substr(static_cast<std::size_t>(p), 2);
        return HanToZen(two).size() == 2 && !IsLeadByte(two[0]) && (two[1] == '\xDE' || two[1] == '\xDF');
    }
    std::string Wide(const std::string& C) const { return Opt & stWidthFold ? HanToZen(C) : C; }
    // The upper-case form: single bytes through UpperTable, the double-byte letters used here by hand.
    std::string Fold(std::string C) const {
        if (Opt & stMatchCase) return C;
        static const std::pair<std::string, std::string> pairs[] = {
            {J("ａ"), J("Ａ")}, {J("ｂ"), J("Ｂ")}, {J("α"), J("Α")}, {"\xEE\xEF", "\x87\x54"}};
        for (const auto& [lower, upper] : pairs)
            if (C == lower) return upper;
        if (C.size() == 1) C[0] = static_cast<char>(UpperTable[static_cast<unsigned char>(C[0])]);
        return C;
    }
    bool Report(int p, const std::vector<std::string>& pat, TSearchInfo& Info) const {
        const int n = static_cast<int>(T.size());
        if (Trail[static_cast<std::size_t>(p)]) return false;
        if ((Opt & stWholeWord) && (Delimiter(At(p)) || (p > 0 && !Delimiter(At(p - 1))))) return false;
        int off = 0;
        for (std::size_t i = 0; i < pat.size();) {
            const int pos = p + off;
            if (pos >= n) return false;
            const int size = IsLeadAt(pos) || IsPair(pos) ? 2 : 1;
            const std::string c = T.substr(static_cast<std::size_t>(pos), static_cast<std::size_t>(size));
            if (Fold(Wide(c)) == pat[i]) {
                off += size, ++i;
                continue;
            }
            const unsigned char b = At(pos);
            if (i > 0 && (Opt & stSkipLineBreaks) && (b == '\r' || b == '\n'))
                off += 1;
            else if (i > 0 && (Opt & stSkipBlanks) && (b == '\t' || b == ' '))
                off += 1;
            else if (i > 0 && (Opt & stSkipBlanks) && IsLeadAt(pos) && c == J("　"))
                off += 2;
            else
                return false;
        }
        if ((Opt & stWholeWord) && p + off < n && !Delimiter(At(p + off))) return false;
        Info = {p, off};
        return true;
    }

    const std::string& T;
    TSearchOptions Opt;
    std::vector<bool> Trail;
};

// Texts long enough for the sixteen-at-a-time skip, with letters of both cases and widths, kana pairs,
// runs of lead-range bytes and trail bytes that look like ASCII; patterns cut from the text (changed
// in case or width at times) or made up. Every option combination, both directions.
TEST(SearchTextRandom, AgreesWithTheReferenceForEveryOption) {
    const std::string pieces[] = {"a",     "A",        "b",        "B",        " ",     "\r\n",     "\t",       "_",
                                  ".",     "\x83\x83", "\x83\x41", "\x95\x5C", "\\",    "\x87\x54", "\xEE\xEF", J("ｶ"),
                                  J("ﾞ"),  J("ﾟ"),     J("ﾊ"),     J("ガ"),    J("カ"), J("パ"),    J("ａ"),    J("Ａ"),
                                  J("ｂ"), J("α"),     J("Α"),     J("　"),    J("漢"), "\x81"};
    const std::pair<std::string, std::string> swaps[] = {{"a", "A"},       {"A", J("ａ")}, {J("ガ"), J("ｶﾞ")},
                                                         {J("α"), J("Α")}, {"b", J("Ｂ")}, {"\x87\x54", "\xEE\xEF"}};
    const TSearchOptions flags[] = {stMatchCase, stWholeWord, stWidthFold, stSkipLineBreaks, stSkipBlanks};
    std::mt19937 rng(28);
    for (int round = 0; round < 6000; ++round) {
        std::string text;
        const int count = 1 + static_cast<int>(rng() % 90);
        for (int i = 0; i < count; ++i) text += pieces[rng() % std::size(pieces)];
        std::string pattern;
        if (rng() % 4 == 0) {
            for (int i = 1 + static_cast<int>(rng() % 3); i > 0; --i) pattern += pieces[rng() % std::size(pieces)];
        } else {
            const std::size_t from = rng() % text.size();
            pattern = text.substr(from, 1 + rng() % 4);
            for (const auto& [a, b] : swaps)
                if (rng() % 2 == 0)
                    for (std::size_t at; (at = pattern.find(a)) != std::string::npos;) pattern.replace(at, a.size(), b);
        }
        TSearchOptions options = rng() % 2 ? stDown : 0;
        for (TSearchOptions flag : flags)
            if (rng() % 3 == 0) options |= flag;
        const TSearchInfo from{static_cast<std::int32_t>(rng() % (text.size() + 1)),
                               static_cast<std::int32_t>(rng() % 3)};
        TSearchInfo got = from, want = from;
        const bool found = SearchText(text, got, pattern, options);
        const std::string where = "options " + std::to_string(options) + " text " + ::testing::PrintToString(text) +
                                  " pattern " + ::testing::PrintToString(pattern) + " from " +
                                  std::to_string(from.Start) + "," + std::to_string(from.Length);
        ASSERT_EQ(found, ReferenceSearch(text, options).Find(want, pattern)) << where;
        if (found) {
            ASSERT_EQ(got.Start, want.Start) << where;
            ASSERT_EQ(got.Length, want.Length) << where;
        }
    }
}

} // namespace
} // namespace quillon
