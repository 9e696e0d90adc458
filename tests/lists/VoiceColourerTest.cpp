#include "ColourerTestUtils.h"
#include "ZVoiceColourer.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

TToks Voice(const std::string& row, bool vantor) {
    static TVoiceColourer classic(nullptr);
    static TZVoiceColourer zvoice(nullptr);
    return vantor ? ParseRow(zvoice, row) : ParseRow(classic, row);
}

TEST(VoiceColourer, HeaderAndFreeTextAreOneItem) {
    for (const char* row : {"Num--WAVE--------COMMENT", "Num--WAVE--------Dp-COMMENT", "+1 a.wav", "x"})
        for (bool vantor : {false, true}) EXPECT_EQ(Voice(row, vantor), (TToks{{ltAnyItem, row}})) << row;
}

TEST(VoiceColourer, ClassicLines) {
    EXPECT_EQ(Voice("12 voice\\a.wav comment here", false),
              (TToks{{vtVoiceNum, "12"}, {vtVoiceWave, "voice\\a.wav"}, {ltComment, "comment here"}}));
    EXPECT_EQ(Voice("- a b", false), (TToks{{vtVoiceNum, "-"}, {vtVoiceWave, "a"}, {ltComment, "b"}}));
    EXPECT_EQ(Voice("12a x.wav", false), (TToks{{ltError, "12a x.wav"}}));
    EXPECT_EQ(Voice("7", false), (TToks{{vtVoiceNum, "7"}}));
    EXPECT_EQ(Voice("7\tw.wav", false), (TToks{{vtVoiceNum, "7"}, {9, "\t"}, {vtVoiceWave, "w.wav"}}));
}

TEST(VoiceColourer, VantorLines) {
    EXPECT_EQ(Voice("12 a.wav -3x note", true),
              (TToks{{vtVoiceNum, "12"}, {vtVoiceWave, "a.wav"}, {vtVoiceDp, "-3x"}, {ltComment, "note"}}));
    // A wave name with a blank: the rest must be the Dp number.
    EXPECT_EQ(Voice("1 my voice.wav 3", true),
              (TToks{{vtVoiceNum, "1"}, {vtVoiceWave, "my"}, {ltError, "voice.wav 3"}}));
    EXPECT_EQ(Voice("1 my voice.wav 3", false),
              (TToks{{vtVoiceNum, "1"}, {vtVoiceWave, "my"}, {ltComment, "voice.wav 3"}}));
}

} // namespace
