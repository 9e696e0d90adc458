#include "BmpColourer.h"
#include "ColourerTestUtils.h"
#include "EditorColourer.h"
#include "MotionColourer.h"
#include "QesEnemyColourer.h"
#include "StreamUtils.h"
#include "ZCommandColourer.h"
#include "ZVoiceColourer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>

using namespace quillon;
using namespace quillon::test;

namespace {

std::vector<std::unique_ptr<TOrvColourer>> AllColourers() {
    std::vector<std::unique_ptr<TOrvColourer>> all;
    all.push_back(std::make_unique<TMotionColourer>(nullptr));
    all.push_back(std::make_unique<TCommandColourer>(nullptr));
    all.push_back(std::make_unique<TZCommandColourer>(nullptr));
    all.push_back(std::make_unique<TVoiceColourer>(nullptr));
    all.push_back(std::make_unique<TZVoiceColourer>(nullptr));
    all.push_back(std::make_unique<TStdEnemyColourer>(nullptr));
    all.push_back(std::make_unique<TQesEnemyColourer>(nullptr));
    all.push_back(std::make_unique<TBmpColourer>(nullptr));
    return all;
}

std::vector<std::string> PropNames(const TPersistent& instance, const TClassInfo& base) {
    std::vector<std::string> names;
    for (const TPropInfo* prop : instance.ClassInfo().AllProps())
        if (!base.FindProp(prop->Name)) names.push_back(prop->Name);
    return names;
}

TEST(OrvColourer, ColourPropertiesInStreamOrder) {
    const std::vector<std::vector<std::string>> expected = {
        {"MotionNum", "ToNum", "Sp",     "Pic",  "De",   "Ci",   "V",       "VNone", "Vx",
         "Rx",        "Vy",    "Ry",     "C",    "COn",  "CL",   "G",       "Da",    "Hit",
         "H",         "Flag",  "FlagOn", "Def1", "Def2", "Att1", "AnyItem", "Error", "Comment"},
        {"AnyItem", "CmdNum", "CmdCommand", "CmdCommandSymbol", "CmdCancel", "CmdCancelSep", "CmdCancelFlagOn",
         "CmdCancelFlagOnSep", "CmdStd", "CmdAmnNum", "CmdVx", "Error", "Comment"},
        {"AnyItem", "CmdNum", "CmdCommand", "CmdCommandSymbol", "CmdCancel", "CmdCancelSep", "CmdCancelFlagOn",
         "CmdCancelFlagOnSep", "CmdStd", "CmdAmnNum", "CmdSh", "CmdSp", "CmdDk", "Error", "Comment"},
        {"AnyItem", "VoiceNum", "VoiceWave", "Error", "Comment"},
        {"AnyItem", "VoiceNum", "VoiceWave", "VoiceDp", "Error", "Comment"},
        {"AnyItem", "StdEnemyDistance", "StdEnemyPercent", "StdEnemyCommand", "StdEnemyCommandSymbol", "StdEnemyEnemy",
         "StdEnemyMySelf", "Error", "Comment"},
        {"AnyItem", "QesDistance", "QesPercent", "QesCommand", "QesCommandSymbol", "QesEnemy", "QesMySelf", "Error",
         "Comment"},
        {"AnyItem", "BmpNum", "BmpOffsetDelimtter", "BmpOffset", "BmpFileName", "Error"},
    };
    auto all = AllColourers();
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(PropNames(*all[i], TColourer::StaticClassInfo()), expected[i]) << all[i]->ClassName();
        EXPECT_EQ(all[i]->ColorCount(), static_cast<int>(expected[i].size()));
    }
}

// Every colour starts at clNone; SetDefaultColors gives each colour the first-start look its colour
// table names, and a line in error stands out from the comment after it.
TEST(OrvColourer, DefaultColours) {
    for (const auto& colourer : AllColourers()) {
        TOrvColourer& c = *colourer;
        SCOPED_TRACE(c.ClassName());
        for (int k = 0; k < c.ColorCount(); ++k) {
            EXPECT_EQ(c.ColorAt(k).Color(), clNone);
            EXPECT_EQ(c.ColorAt(k).BkColor(), clNone);
        }
        c.SetDefaultColors();
        for (int k = 0; k < c.ColorCount(); ++k) {
            const TKindColorInfo& info = c.ColorInfoAt(k);
            const TColourerColor& color = c.ColorAt(k);
            EXPECT_EQ(color.Color(), info.Color) << info.Name;
            EXPECT_EQ(color.BkColor(), info.BkColor) << info.Name;
            EXPECT_EQ(color.Style(), info.Style) << info.Name;
            EXPECT_EQ(c.KindColor(info.Kind), &color) << info.Name;
        }
        const TColourerColor* error = nullptr;
        for (int k = 0; k < c.ColorCount(); ++k)
            if (std::string_view(c.ColorInfoAt(k).Name) == "Error") error = &c.ColorAt(k);
        ASSERT_NE(error, nullptr);
        EXPECT_NE(error->BkColor(), clNone);
        EXPECT_NE(error->Color(), error->BkColor());
        EXPECT_EQ(c.Reserve().Color(), clNone);
        EXPECT_EQ(c.Brackets().Count(), 0);
    }
}

// The colours are stored under their names and read back, the user's changes included.
TEST(OrvColourer, ColoursStreamByNameAndRoundTrip) {
    TBmpColourer a(nullptr), b(nullptr);
    a.SetDefaultColors();
    TColourerColor changed;
    changed.SetColor(clTeal);
    changed.SetBkColor(clMaroon);
    a.SetKindColor(btBmpOffsetDelimtter, changed);
    const TBytes stream = WriteComponent(a);
    const std::string text(stream.begin(), stream.end());
    EXPECT_NE(text.find("BmpOffsetDelimtter"), std::string::npos);
    ReadComponent(stream, b);
    EXPECT_EQ(b.KindColor(btBmpOffsetDelimtter)->Color(), clTeal);
    EXPECT_EQ(b.KindColor(btBmpOffsetDelimtter)->BkColor(), clMaroon);
    EXPECT_EQ(b.KindColor(ltError)->BkColor(), a.KindColor(ltError)->BkColor());
    EXPECT_EQ(WriteComponent(b), stream);
}

TEST(OrvColourer, TokenColourByKind) {
    TMotionColourer colourer(nullptr);
    colourer.SetDefaultColors();
    TStringList words;
    words.Add("abc");
    colourer.SetReserveWordList(words);
    auto parser = colourer.CreateParser();
    // Def1 is a reserved word (in another letter case).
    parser->NewData("1\t2 3 4 5 6 9 0 0 0 0 9 0 0 0 - 0 0 ABC d2", TRowAttributeData());
    std::vector<const TColourerColor*> colours;
    while (parser->NextToken() != tkEnd) colours.push_back(parser->TokenColor());
    ASSERT_EQ(colours.size(), 21u);
    EXPECT_EQ(colours[0], colourer.KindColor(mtMotionNum));
    EXPECT_EQ(colours[1], nullptr); // the tab
    EXPECT_EQ(colours[2], colourer.KindColor(mtToNum));
    EXPECT_EQ(colours[7], colourer.KindColor(mtVNone));
    EXPECT_EQ(colours[19], &colourer.Reserve());
    EXPECT_EQ(colours[20], colourer.KindColor(mtDef2));
    EXPECT_EQ(colourer.KindColor(1), nullptr);

    // A colour change reaches every editor that uses the colourer.
    int changes = 0;
    auto handler = [](void* data, TPersistent*) { ++*static_cast<int*>(data); };
    colourer.NotifyEventList().Add({handler, &changes});
    TColourerColor red;
    red.SetColor(clRed);
    colourer.SetKindColor(mtPic, red);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(colourer.KindColor(mtPic)->Color(), clRed);
}

TEST(OrvColourer, ParseModeIsPassedPerQuery) {
    TMotionColourer colourer(nullptr);
    const std::string row = "1 2 3 4 5 6 9/1 0 0 0 0 90 0 0 0 - 0 0100 d1 d2 a1";
    EXPECT_EQ(colourer.ParseMode(), pmFull);
    EXPECT_EQ(ParseRow(*colourer.CreateParserWithMode(pmSimple), row).size(), 21u);
    EXPECT_EQ(colourer.ParseMode(), pmFull);
    EXPECT_EQ(ParseRow(*colourer.CreateParser(), row).size(), 25u);
    // A parser takes the colourer's mode when it is created.
    colourer.SetParseMode(pmSimple);
    auto simple = colourer.CreateParser();
    colourer.SetParseMode(pmFull);
    EXPECT_EQ(ParseRow(*simple, row).size(), 21u);
    // On a colourer that is no list colourer, a list parser scans in full and has no colours.
    TEditorColourer plain(nullptr);
    TOrvColourerParser parser(&plain, MotionColourerTraits);
    EXPECT_EQ(parser.ParseMode(), pmFull);
    EXPECT_EQ(ParseRow(parser, row).size(), 25u);
    EXPECT_EQ(parser.TokenColor(), nullptr);
}

// The field counter starts at every logical line: a line that starts with a tab is scanned from its
// first field, whatever the line before ended with.
TEST(OrvColourer, EveryLogicalLineStartsAtItsFirstField) {
    TMotionColourer colourer(nullptr);
    TRowAttributeStringList store;
    FillStore(store, colourer, {{"1 2 3 4 5 6 9 0 0 0 0 9 0 0 0 - 0 0 d1 d2 a1"}, {"\t5 6 7"}, {"\t"}, {"\t8 9"}});
    EXPECT_EQ(RowKinds(colourer, store, 1), (std::vector<int>{9, mtMotionNum, -1, mtToNum, -1, mtSp}));
    EXPECT_EQ(RowKinds(colourer, store, 3), (std::vector<int>{9, mtMotionNum, -1, mtToNum}));

    TCommandColourer command(nullptr);
    TRowAttributeStringList commands;
    FillStore(commands, command, {{"1 2 0000000"}, {"\t3 4"}});
    EXPECT_EQ(RowKinds(command, commands, 1), (std::vector<int>{9, ctCmdNum, -1, ctCmdCommand}));
}

// ---- wrapped lines are coloured as the same lines unwrapped

template <class T> const T& Pick(std::mt19937& rng, const std::vector<T>& pool) {
    return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
}

std::string Blank(std::mt19937& rng) { return Pick<std::string>(rng, {" ", " ", " ", "  ", "\t", " \t "}); }

// A line of fields from the pools, joined by blanks, sometimes with a comment.
std::string FieldLine(std::mt19937& rng, const std::vector<std::vector<std::string>>& fields, int count,
                      const std::vector<std::string>& comments) {
    std::string line = Pick<std::string>(rng, {"", "", " ", "   "});
    for (int i = 0; i < count; ++i) line += (i ? Blank(rng) : "") + Pick(rng, fields[static_cast<std::size_t>(i)]);
    return line + Pick(rng, comments);
}

// Motion lines: data lines, short and cut-off data lines, fields that do not fit, item lines.
std::string MotionLine(std::mt19937& rng) {
    static const std::vector<std::vector<std::string>> fields = {
        {"0", "12", "1234"},
        {"-", "-1", "12", "+3"},
        {"0", "3", "30"},
        {"10", "-", "12,1,A,128/13.5:2:3", "1/2/3", "5*", "7:2:-1", "1,1", "12/", "12x", "1."},
        {"0", "C1", "E-2", "T3", "C"},
        {"0", "<5", ">2"},
        {"9", "+9", "1/2", "9/1/+9", "1//2", "1/", "-5", "x"},
        {"0", "1.5", "-2"},
        {"0", "12"},
        {"0", "1.5"},
        {"0", "7"},
        {"9", "90", "0", "-1"},
        {"0", "3"},
        {"0", "A1", "Zz9", "-"},
        {"0", "2.5"},
        {"-", "3"},
        {"0", "2"},
        {"0", "0100", "ABC0", "000000000001", "0000000000000000"},
        {"000000000000", "+12345-6789A", "d1"},
        {"000000000000", "d2"},
        {"000000000000", "a1"},
    };
    static const std::vector<std::string> comments = {"", "", " ; a comment that runs on and on", " note 1 2 3"};
    static const std::vector<std::string> items = {
        "--R---G---B---G", "  0   0 255  16", "10 0 5 -",
        "-Num---To-Sp-Pic-De-Ci-V---VxRx--VyRy-C-CL-G-Da--Hit-H-Flag-Def1---------Def2---------Att1---------"
        "COMMENT",
        "Some free text that is long enough to wrap over several rows of the editor"};
    if (std::uniform_int_distribution<int>(0, 9)(rng) == 0) return Pick(rng, items);
    int count = std::uniform_int_distribution<int>(0, 9)(rng) < 8 ? 21 : std::uniform_int_distribution<int>(1, 21)(rng);
    return FieldLine(rng, fields, count, count == 21 ? comments : std::vector<std::string>{""});
}

// Command lines with Cancel fields long enough to be cut by a wrap.
std::string CommandLine(std::mt19937& rng) {
    static const std::vector<std::vector<std::string>> fields = {
        {"0", "12", "12a"},
        {"236P", "2+6", "a+S", "!+-?N[]_~", "Q"},
        {"0", "-", "1000010000", "00000000000000000000", "0101010101010101010101010101010101", "0x1", "+0"},
        {"0", "-1", "+1"},
        {"0", "20"},
        {"0", "3"},
        {"0", "1"},
        {"0", "2"},
    };
    static const std::vector<std::string> comments = {"", " comment text", " ; 1 2 3 4 5"};
    if (std::uniform_int_distribution<int>(0, 9)(rng) == 0) return "CmdNum--Command--Cancel--Std-AmnNum--Vx--Comment";
    return FieldLine(rng, fields, std::uniform_int_distribution<int>(1, 8)(rng), comments);
}

std::string EnemyLine(std::mt19937& rng) {
    static const std::vector<std::vector<std::string>> fields = {
        {"0", "120"},
        {"50", "x50%"},
        {"E100#(236P)", "E100[C040]", "((D))", "([)]", "(D", "D)P(K)", "%0%A", "#@#D", "E10", "E1000", "[[D]"},
    };
    static const std::vector<std::string> comments = {"", " a comment", " [ ( ) ]"};
    return FieldLine(rng, fields, std::uniform_int_distribution<int>(1, 3)(rng), comments);
}

std::string BmpLine(std::mt19937& rng) {
    static const std::vector<std::vector<std::string>> fields = {
        {"10", "10:-8:16", "11::16", "12:1:2:3", "10x", "10:1::"},
        {"a.bmp", "a b.bmp", "abcdefghijklmnopqrstu vwxyz ABCDEFGHIJKLMNOPQRS TUV", "x   y"},
    };
    return FieldLine(rng, fields, std::uniform_int_distribution<int>(1, 2)(rng), {""});
}

void ExpectWrappedAsUnwrapped(TOrvColourer& colourer, const std::function<std::string(std::mt19937&)>& makeLine,
                              int mode) {
    std::mt19937 rng(20261210);
    for (int round = 0; round < 150; ++round) {
        std::vector<std::string> lines;
        for (int i = 0; i < 6; ++i) lines.push_back(makeLine(rng));
        const std::size_t width = std::uniform_int_distribution<std::size_t>(8, 120)(rng);
        const std::string difference = WrapDifference(colourer, lines, width, mode);
        ASSERT_TRUE(difference.empty()) << difference;
    }
}

TEST(OrvColourer, WrappedMotionLinesAreColouredAsUnwrapped) {
    TMotionColourer colourer(nullptr);
    ExpectWrappedAsUnwrapped(colourer, MotionLine, pmFull);
    // Row states are those of the colourer's own scan; in a world of simple scans the one token
    // per field goes on over the wraps as well.
    colourer.SetParseMode(pmSimple);
    ExpectWrappedAsUnwrapped(colourer, MotionLine, pmSimple);
}

TEST(OrvColourer, WrappedCommandEnemyAndBitmapLinesAreColouredAsUnwrapped) {
    TCommandColourer command(nullptr);
    TZCommandColourer zcommand(nullptr);
    TStdEnemyColourer enemy(nullptr);
    TQesEnemyColourer qes(nullptr);
    TBmpColourer bmp(nullptr);
    ExpectWrappedAsUnwrapped(command, CommandLine, pmFull);
    ExpectWrappedAsUnwrapped(zcommand, CommandLine, pmFull);
    ExpectWrappedAsUnwrapped(enemy, EnemyLine, pmFull);
    ExpectWrappedAsUnwrapped(qes, EnemyLine, pmFull);
    ExpectWrappedAsUnwrapped(bmp, BmpLine, pmFull);
}

// The rows the wrap tests cut: a double-byte character wider than the width is a row of its own.
TEST(OrvColourer, TestRowsHoldADoubleByteCharacterWiderThanTheWidth) {
    std::vector<std::string> rows;
    for (const TRow& row : CutRows({"a\x82\xa0"
                                    "b"},
                                   1))
        rows.push_back(row.Text + "/" + std::to_string(row.Attribute));
    EXPECT_EQ(rows, (std::vector<std::string>{"a/1", "\x82\xa0/1", "b/0"}));
}

// A token cut by the wrap goes on for exactly its own length, however many rows it covers.
TEST(OrvColourer, TokensCutOverSeveralRowsKeepTheirKindAndEnd) {
    TBmpColourer bmp(nullptr);
    TStdEnemyColourer enemy(nullptr);
    TQesEnemyColourer qes(nullptr);
    // A file name with blanks over three rows stays one file name to the end of the line.
    EXPECT_EQ(WrapDifference(bmp, {"10 abcdefghijklmnopqrstu vwxyz ABCDEFGHIJKLMNOPQRS TUV"}, 20), "");
    // A bad condition code cut by the wrap is an error up to its blank, and the comment after it
    // stays a comment on the rows that follow.
    const std::string cutCode = std::string(30, ' ') + "80 30 E10 comment text here and more text to make a third row";
    EXPECT_EQ(WrapDifference(enemy, {cutCode}, 38), "");
    EXPECT_EQ(WrapDifference(qes, {cutCode}, 38), "");
    // An error run longer than two rows ends where its run ends.
    EXPECT_EQ(WrapDifference(enemy, {"80 30 Exxxxxxxxxxxxxxxxxxxxxxxxxx D comment"}, 8), "");
}

// A line whose first rows are all blank still starts at its first field, whatever field the line
// before ended in.
TEST(OrvColourer, ALineStartingWithBlankRowsStartsAtItsFirstField) {
    TStdEnemyColourer enemy(nullptr);
    TMotionColourer motion(nullptr);
    const std::string blanks(30, ' ');
    EXPECT_EQ(WrapDifference(enemy, {"10 50 (D", blanks + "80 30 E10 comment"}, 8), "");
    EXPECT_EQ(
        WrapDifference(motion, {"1 0 3 10 0 0 9 0 0 0 0 9 0 0 0 - 0 0 a b c comment", blanks + "2 0 3 10 0 0 9"}, 10),
        "");
}

// Whether a motion line is data or an item (four or five words) is decided over the whole logical
// line, so a data line paints alike at every width.
TEST(OrvColourer, MotionLinesCountTheirWordsOverTheLogicalLine) {
    TMotionColourer colourer(nullptr);
    const std::vector<std::string> lines = {
        "   1   0  3  12,1,A,128/13.5:2:3  C1 <2 9/1/+9 1.5 0 -2 0 90 0 A1 2.5 3 1 0100 d1 d2 a1 jump",
        "  0   0 255  16", "10 0 5 -", "10 0 5"};
    for (std::size_t width = 8; width <= 40; ++width) EXPECT_EQ(WrapDifference(colourer, lines, width), "");
}

// The Cancel counter goes on over a wrap: the marked positions of a Cancel field cut after its
// eighth character stay the 6th and 16th.
TEST(OrvColourer, CancelCounterSurvivesAWrap) {
    TCommandColourer colourer(nullptr);
    TRowAttributeStringList store;
    FillStore(store, colourer, {{"1 2 00000000", raWrapped}, {"000000000000 0"}});
    std::vector<int> kinds = TextKinds(colourer, store);
    EXPECT_EQ(kinds[4 + 5], ctCmdCancelSep);
    EXPECT_EQ(kinds[4 + 15], ctCmdCancelSep);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), ctCmdCancelSep), 2);

    // The counter falls by one per Cancel character from 4; a new line starts it afresh.
    TOrvColourerParser parser(&colourer, CommandColourerTraits);
    ParseRow(parser, "1 2 000");
    EXPECT_EQ(parser.StateHere().ParseValue, 1);
    ParseRow(parser, "1 2");
    EXPECT_EQ(parser.StateHere().ParseValue, kCancelCounterStart);
}

} // namespace
