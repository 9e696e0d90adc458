#include "AsciiText.h"
#include "Colors.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(AsciiText, StrToIntTakesOnlyWholeDecimalIntegers) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"0", 0},
        {"-12", -12},
        {"+7", 7},
        {"2147483647", 2147483647},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"12a", std::nullopt},
        {" 1", std::nullopt},
        {"2147483648", std::nullopt},
        {"+-1", std::nullopt},
        {"$1F", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(AsciiText, TrimRemovesControlsAndBlanksOnly) {
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
    EXPECT_EQ(Trim("\x81\x40"), "\x81\x40"); // the full-width blank is no control character
}

TEST(AsciiText, NumbersToText) {
    EXPECT_EQ(IntToStr(-2147483648LL), "-2147483648");
    EXPECT_EQ(IntToHex(255, 2), "FF");
    EXPECT_EQ(IntToHex(10, 3), "00A");
    EXPECT_EQ(IntToHex(0x1FF, 2), "1FF");
}

TEST(AsciiText, CommaTextRoundTripsAwkwardNames) {
    std::vector<std::string> items{"/a/plain.lst", "/b/with blank.lst", "/c/co,mma.lst", "/d/q\"uote.lst"};
    std::string text = ToCommaText(items);
    EXPECT_EQ(text, R"(/a/plain.lst,"/b/with blank.lst","/c/co,mma.lst","/d/q""uote.lst")");
    EXPECT_EQ(FromCommaText(text), items);
    EXPECT_TRUE(FromCommaText("").empty());
    // Outside quotes a blank separates, as the string list does.
    EXPECT_EQ(FromCommaText("a b,c"), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(Colors, NamesAndNumbersRoundTrip) {
    for (TColor c : {clNone, clBlack, clRed, clLime, clYellow, clFuchsia, clAqua, clGreen, clWindow, clHighlight,
                     RGBColor(1, 2, 3)}) {
        EXPECT_EQ(StringToColor(ColorToString(c)), c) << ColorToString(c);
    }
    EXPECT_EQ(ColorToString(clNone), "clNone");
    EXPECT_EQ(ColorToString(RGBColor(1, 2, 3)), "$00030201");
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_EQ(StringToColor("clNoSuchColour"), std::nullopt);
    EXPECT_EQ(StringToColor("$"), std::nullopt);
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
}
