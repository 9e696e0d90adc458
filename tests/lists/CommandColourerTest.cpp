#include "ColourerTestUtils.h"
#include "ZCommandColourer.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

TCommandColourer ClassicColourer(nullptr);
TZCommandColourer VantorColourer(nullptr);

TToks Command(const std::string& row, TOrvColourer& colourer = ClassicColourer, int mode = pmFull) {
    return ParseRow(colourer, row, mode);
}

// The tokens of a Cancel field within a data line.
TToks Cancel(const std::string& cancel, int mode = pmFull) {
    TToks toks = Command("1 2 " + cancel + " 0 0 0 ;c", ClassicColourer, mode);
    return TToks(toks.begin() + 2, toks.end() - 4);
}

TEST(CommandColourer, LinesThatDoNotStartWithADigitAreOneItem) {
    for (const char* row : {"CmdNum--Command--Cancel--Std-AmnNum--Vx--Comment",
                            "CmdNum--Command--Cancel--Std-AmnNum--Sh-Sp-Dk--Comment", "-1 2", "text 1 2"}) {
        for (TOrvColourer* colourer :
             {static_cast<TOrvColourer*>(&ClassicColourer), static_cast<TOrvColourer*>(&VantorColourer)})
            for (int mode : {pmFull, pmSimple})
                EXPECT_EQ(Command(row, *colourer, mode), (TToks{{ltAnyItem, row}})) << row;
    }
}

TEST(CommandColourer, ClassicDataLine) {
    EXPECT_EQ(Command("12a 236P+K 0100 -1 20 3 rest of it"), (TToks{{ctCmdNum, "12a"},
                                                                    {ctCmdCommand, "236P"},
                                                                    {ctCmdCommandSymbol, "+"},
                                                                    {ctCmdCommand, "K"},
                                                                    {ctCmdCancel, "0"},
                                                                    {ctCmdCancelFlagOn, "1"},
                                                                    {ctCmdCancel, "00"},
                                                                    {ctCmdStd, "-1"},
                                                                    {ctCmdAmnNum, "20"},
                                                                    {ctCmdVx, "3"},
                                                                    {ltComment, "rest of it"}}));
    EXPECT_EQ(Command("1 2+6 0 0 0 0 x"), (TToks{{ctCmdNum, "1"},
                                                 {ctCmdCommand, "2"},
                                                 {ctCmdCommandSymbol, "+"},
                                                 {ctCmdCommand, "6"},
                                                 {ctCmdCancel, "0"},
                                                 {ctCmdStd, "0"},
                                                 {ctCmdAmnNum, "0"},
                                                 {ctCmdVx, "0"},
                                                 {ltComment, "x"}}));
}

TEST(CommandColourer, VantorDataLine) {
    EXPECT_EQ(Command("1 a+S 0 0 1 2 3 4 note", VantorColourer), (TToks{{ctCmdNum, "1"},
                                                                        {ctCmdCommand, "a"},
                                                                        {ctCmdCommandSymbol, "+"},
                                                                        {ctCmdCommand, "S"},
                                                                        {ctCmdCancel, "0"},
                                                                        {ctCmdStd, "0"},
                                                                        {ctCmdAmnNum, "1"},
                                                                        {ctCmdSh, "2"},
                                                                        {ctCmdSp, "3"},
                                                                        {ctCmdDk, "4"},
                                                                        {ltComment, "note"}}));
}

TEST(CommandColourer, CommandCharacterSets) {
    // Letters only the Vantor list knows are errors to the end of the row in the classic list.
    for (char c : std::string("ABCSXYZabcsxyz")) {
        std::string row = std::string("1 2") + c + " 0";
        EXPECT_EQ(Command(row), (TToks{{ctCmdNum, "1"}, {ctCmdCommand, "2"}, {ltError, std::string(1, c) + " 0"}}))
            << c;
        EXPECT_EQ(Command(row, VantorColourer)[1], (TTok{ctCmdCommand, std::string("2") + c})) << c;
    }
    EXPECT_EQ(Command("1 !+-?N[]_~ 0")[1], (TTok{ctCmdCommandSymbol, "!+-?N[]_~"}));
    EXPECT_EQ(Command("1 0123456789DKLPRUdklnpru 0")[1], (TTok{ctCmdCommand, "0123456789DKLPRUdklnpru"}));
    EXPECT_EQ(Command("1 Q 0")[1], (TTok{ltError, "Q 0"}));
}

TEST(CommandColourer, CancelPositionsAndFlags) {
    EXPECT_EQ(Cancel(std::string(20, '0')), (TToks{{ctCmdCancel, "00000"},
                                                   {ctCmdCancelSep, "0"},
                                                   {ctCmdCancel, "000000000"},
                                                   {ctCmdCancelSep, "0"},
                                                   {ctCmdCancel, "0000"}}));
    EXPECT_EQ(
        Cancel("1000010000"),
        (TToks{{ctCmdCancelFlagOn, "1"}, {ctCmdCancel, "0000"}, {ctCmdCancelFlagOnSep, "1"}, {ctCmdCancel, "0000"}}));
    EXPECT_EQ(Cancel("-"), (TToks{{ctCmdCancel, "-"}}));
    EXPECT_EQ(Cancel("0x1"), (TToks{{ctCmdCancel, "0x"}, {ctCmdCancelFlagOn, "1"}}));
    for (std::string cancel : {"1000010000", "00000000000000000000", "-", "0a1"})
        EXPECT_EQ(Cancel(cancel, pmSimple), (TToks{{ctCmdCancel, cancel}})) << cancel;
    for (int mode : {pmFull, pmSimple}) {
        EXPECT_EQ(Command("1 2 +0 0", ClassicColourer, mode).back(), (TTok{ltError, "+0 0"}));
        EXPECT_EQ(Command("1 2 a0 0", ClassicColourer, mode).back(), (TTok{ltError, "a0 0"}));
    }
}

TEST(CommandColourer, NumberFieldsTakeMinusOrDigitButNotPlus) {
    EXPECT_EQ(Command("1 2 0 +1 0").back(), (TTok{ltError, "+1 0"}));
    EXPECT_EQ(Command("1 2 0 -x 0")[3], (TTok{ctCmdStd, "-x"}));
    EXPECT_EQ(Command("1 2 0 0 0 0 0 0 0 0 0", VantorColourer).back(), (TTok{ltComment, "0 0 0"}));
    EXPECT_EQ(Command("1 2 0 0 0 0 0 0 0 0 0").back(), (TTok{ltComment, "0 0 0 0 0"}));
}

} // namespace
