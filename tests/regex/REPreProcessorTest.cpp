#include "REPreProcessor.h"
#include "FuzzyCharDic.h"
#include "RETestUtil.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using test::Sj;

std::string Fuzzy(const std::string& pattern) {
    TREPreProcessor pre(pattern);
    pre.FuzzyCharDicList.push_back(&FuzzyCharDic());
    pre.UseFuzzyCharDic = true;
    pre.Run();
    return pre.ProcessedPattern();
}

TEST(FuzzyCharDic, HoldsTheStoredSets) {
    const TREDictionary& dic = FuzzyCharDic();
    ASSERT_EQ(dic.Count(), 145u);
    EXPECT_EQ(dic.Set(0), (TREDictionary::TSet{Sj("Ａ"), Sj("ａ"), "A", "a"}));
    EXPECT_EQ(dic.Set(25), (TREDictionary::TSet{Sj("Ｚ"), Sj("ｚ"), "Z", "z"}));
    EXPECT_EQ(dic.Set(36), (TREDictionary::TSet{"\x81\x40", " "}));
    EXPECT_EQ(dic.Set(38), (TREDictionary::TSet{"\"", Sj("”")}));
    EXPECT_EQ(dic.Set(48), (TREDictionary::TSet{Sj("ー"), Sj("～"), Sj("ｰ"), ""}));
    EXPECT_EQ(dic.Set(60), (TREDictionary::TSet{"\\", Sj("￥")}));
    EXPECT_EQ(dic.Set(65), (TREDictionary::TSet{"|", Sj("｜")}));
    EXPECT_EQ(dic.Set(68), (TREDictionary::TSet{",", Sj("､"), Sj("、"), Sj("，")}));
    EXPECT_EQ(dic.Set(80)[3], dic.Set(80)[4]); // "ス゛" twice, as stored
    EXPECT_EQ(dic.Set(144), (TREDictionary::TSet{Sj("ﾟ"), Sj("゜")}));
    for (size_t s = 0; s < dic.Count(); ++s) { // no item lost in the conversion to CP932
        if (s == 57) continue;
        for (const std::string& item : dic.Set(s)) EXPECT_EQ(item.find('?'), std::string::npos) << s;
    }
}

TEST(TREPreProcessor, ExpandsFuzzyCharacters) {
    const struct {
        const char* Pattern;
        const char* Expected;
    } cases[] = {
        {"ガ", "(が|ガ|ｶﾞ|か゛|カ゛)"},
        {"か゛", "(が|ガ|ｶﾞ|か゛|カ゛)"}, // two characters found as one item before "か" alone
        {"ｶﾞ", "(が|ガ|ｶﾞ|か゛|カ゛)"},
        {"A", "(Ａ|ａ|A|a)"},
        {"\\.", "(｡|\\.|。|．)"}, // an escaped metacharacter is a plain character
        {"ー", "(ー|～|ｰ|)"},
        {"-", "(-|ー|－|～|ｰ)"},
        {"うぁ", "(う|ウ|ｳ|ぅ|ゥ|ｩ)(あ|ア|ｱ|ぁ|ァ|ｧ)"}, // the first matching item wins
        {"[ガ]", "[ガ]"},
        {"[^ガ]x", "[^ガ](Ｘ|ｘ|X|x)"},
        {"漢(1|b)*", "漢((1|１|一|①|Ⅰ|壱)|(Ｂ|ｂ|B|b))*"},
        {"\\|", "(\\||｜)"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Fuzzy(Sj(c.Pattern)), Sj(c.Expected)) << c.Pattern;
}

// A postfix operator applies to the last character before it: a longer item must not take that
// character into its group.
TEST(TREPreProcessor, KeepsTheOperandOfAPostfixOperator) {
    EXPECT_EQ(Fuzzy(Sj("か゛*")), Sj("(か|カ|ｶ)(ﾞ|゛)*"));
    EXPECT_EQ(Fuzzy(Sj("ｶﾞ+")), Sj("(か|カ|ｶ)(ﾞ|゛)+"));
    EXPECT_EQ(Fuzzy(Sj("か゛か゛?")), Sj("(が|ガ|ｶﾞ|か゛|カ゛)(か|カ|ｶ)(ﾞ|゛)?"));
    EXPECT_EQ(Fuzzy(Sj("ガ*")), Sj("(が|ガ|ｶﾞ|か゛|カ゛)*"));
    EXPECT_EQ(Fuzzy(Sj("か゛|")), Sj("(が|ガ|ｶﾞ|か゛|カ゛)|"));
}

TEST(TREPreProcessor, LeavesThePatternAsItIsWithoutDictionaries) {
    TREPreProcessor pre("[abc"); // not even scanned
    pre.Run();
    EXPECT_EQ(pre.ProcessedPattern(), "[abc");
    pre.UseSynonymDic = true; // no synonym dictionary exists: the pattern comes back as written
    pre.SetPattern(Sj("a\\.ア[x-z]"));
    pre.Run();
    EXPECT_EQ(pre.ProcessedPattern(), Sj("a\\.ア[x-z]"));
}

TEST(TREPreProcessor, PassesScannerErrorsOn) {
    EXPECT_THROW(Fuzzy("[abc"), ERegExpParser);
    EXPECT_EQ(Fuzzy("abc"), Sj("(Ａ|ａ|A|a)(Ｂ|ｂ|B|b)(Ｃ|ｃ|C|c)"));
}

} // namespace
} // namespace quillon
