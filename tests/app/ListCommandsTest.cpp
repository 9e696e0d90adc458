#include "ListCommands.h"

#include "EditorTestHost.h"
#include "ListKinds.h"
#include "MakePattern.h"
#include "MessageBox.h"
#include "MotionTestLines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;
using testlines::Motion;

// Dialogs answered from the test: the requests they were given are kept.
class TFakeDialogs : public TListCommandDialogs {
public:
    bool RenumberOk = true;
    TRenumberRequest Renumber;
    std::vector<std::int32_t> RenumberAsked;
    bool EnvOk = true;
    std::vector<int> EnvPages;
    int MakerResult = 1;
    std::vector<TMakerJob> Jobs;

    bool AskRenumber(std::int32_t FirstNum, TRenumberRequest& Request) override {
        RenumberAsked.push_back(FirstNum);
        if (RenumberOk) Request = Renumber;
        return RenumberOk;
    }
    bool EditEnvironment(const TListOptions& Options, int Page) override {
        EnvPages.push_back(Page);
        if (EnvOk) Options.MotionOptions.SetCanDockMinus(true);
        return EnvOk;
    }
    int RunMaker(const TMakerJob& Job) override {
        Jobs.push_back(Job);
        return MakerResult;
    }
};

class ListCommands : public ::testing::Test {
protected:
    void SetUp() override { E.SetHost(&Host); }

    void SetText(std::string_view S) {
        E.Lines().SetText(S);
        E.SetRowCol(0, 0);
        E.SetModified(false);
    }
    std::string Text() const { return E.Lines().Text(); }
    int UndoSteps() { return static_cast<int>(E.ScreenStrings().UndoObj().UndoList().size()); }
    // Selects from the start of row First to the start of row Last (so row Last holds nothing of it).
    void SelectRows(int First, int Last) {
        E.SetSelStart(E.RowOffset(First));
        E.SetSelLength(E.RowOffset(Last) - E.RowOffset(First));
    }
    void Select(int Start, int Length) {
        E.SetSelStart(Start);
        E.SetSelLength(Length);
    }

    TTestHost Host;
    TEditor E;
    TScriptedMessages Boxes;
    TMessageServiceScope Scope{Boxes};
    TFakeDialogs Dialogs;
    TMotionFormatterOptions MotionOptions;
    TCommandFormatterOptions CommandOptions;
    TZCommandFormatterOptions ZCommandOptions;
    TMakerOptions MakerOptions;
    TListOptions Options{MotionOptions, CommandOptions, ZCommandOptions, MakerOptions};
};

std::string Frame(int Num, const std::string& To = "0") {
    testlines::TMotionFields f;
    f.Num = std::to_string(Num);
    f.To = To;
    f.Comment = "c";
    return Motion(f);
}

// ---- Case and width conversions

TEST(StringConversions, EachConversionOfMixedText) {
    // "aZ" ａ(82 81) Ａ(82 60) α(83 BF) я(84 91) ヂ(83 61: trail byte "a") ｶ(B6)
    const std::string mixed = "aZ\x82\x81\x82\x60\x83\xBF\x84\x91\x83\x61\xB6";
    struct Case {
        TStrConvert Conversion;
        std::string Expected;
    } cases[] = {
        {scToUpper, "AZ\x82\x60\x82\x60\x83\x9F\x84\x60\x83\x61\xB6"},
        {scToLower, "az\x82\x81\x82\x81\x83\xBF\x84\x91\x83\x61\xB6"},
        {scToUpperFile, "AZ\x82\x81\x82\x60\x83\xBF\x84\x91\x83\x61\xB6"},
        {scToLowerFile, "az\x82\x81\x82\x60\x83\xBF\x84\x91\x83\x61\xB6"},
        {scToZenkaku, "\x82\x81\x82\x79\x82\x81\x82\x60\x83\xBF\x84\x91\x83\x61\x83\x4A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Conversion);
        EXPECT_EQ(ConvertString(c.Conversion, mixed), c.Expected);
    }
    EXPECT_EQ(ConvertString(scToHankaku, "\x82\x60\x83\x4A"), "A\xB6");
}

TEST_F(ListCommands, ConversionReplacesTheSelectionAsOneUndoStep) {
    SetText("abc def\r\nghi\r\n");
    Select(4, 7); // "def\r\ngh"
    const int steps = UndoSteps();
    ASSERT_TRUE(ConvertSelection(E, scToUpper));
    EXPECT_EQ(Text(), "abc DEF\r\nGHi\r\n");
    EXPECT_EQ(UndoSteps(), steps + 1);
    E.Undo();
    EXPECT_EQ(Text(), "abc def\r\nghi\r\n");
}

TEST_F(ListCommands, ConversionDoesNothingWithoutSelectionReadOnlyOrWithoutChange) {
    SetText("abc\r\n");
    EXPECT_FALSE(ConvertSelection(E, scToUpper));
    Select(0, 3);
    E.SetReadOnly(true);
    EXPECT_FALSE(ConvertSelection(E, scToUpper));
    EXPECT_EQ(Text(), "abc\r\n");
    EXPECT_TRUE(E.IsSelected());
    E.SetReadOnly(false);
    EXPECT_FALSE(ConvertSelection(E, scToLower)); // already lower case: no step, selection kept
    EXPECT_TRUE(E.IsSelected());
    EXPECT_FALSE(E.CanUndo());
    EXPECT_FALSE(E.Modified());
}

TEST_F(ListCommands, BoxSelectionIsConvertedInPlace) {
    SetText("abcd\r\nefgh\r\nijkl\r\n");
    E.SetSelectionMode(1);
    E.SetRowCol(0, 1);
    E.StartSelection();
    E.SetRowCol(1, 3);
    E.ExtendSelection();
    E.ActivateSelection();
    ASSERT_EQ(E.SelText(), "bc\r\nfg\r\n");
    ASSERT_TRUE(ConvertSelection(E, scToUpper));
    EXPECT_EQ(Text(), "aBCd\r\neFGh\r\nijkl\r\n");
    E.Undo();
    EXPECT_EQ(Text(), "abcd\r\nefgh\r\nijkl\r\n");
}

// ---- Enabling

TEST(ListCommandEnablingTable, FollowsKindNameSelectionAndReadOnly) {
    struct Case {
        TListCommandState State;
        TListCommandEnabling Expected;
    } cases[] = {
        // Kind, Named, Selected, ReadOnly, Empty -> ReNum, Format, SetEnv, Go, StrConvert
        {{lkMotion, false, true, false, false}, {true, true, true, false, true}},
        {{lkMotion, false, false, false, false}, {false, true, true, false, false}},
        {{lkMotion, true, true, true, false}, {false, false, true, false, false}},
        {{lkMotion, false, false, false, true}, {false, false, true, false, false}},
        {{lkCommand, false, true, false, false}, {false, true, true, false, true}},
        {{lkZCommand, true, false, false, false}, {false, true, true, false, false}},
        {{lkVoice, true, true, false, false}, {false, false, true, false, true}},
        {{lkText, true, false, false, false}, {false, false, true, false, false}},
        {{lkBmp, true, false, false, false}, {false, false, true, true, false}},
        {{lkBmp, false, false, false, false}, {false, false, true, false, false}},
        {{lkQes, true, false, true, false}, {false, false, true, true, false}},
        {{lkEnemy, true, false, false, false}, {false, false, true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.State.Kind << " named " << c.State.Named << " sel "
                                        << c.State.Selected << " ro " << c.State.ReadOnly << " empty "
                                        << c.State.Empty);
        EXPECT_EQ(ListCommandEnabling(c.State), c.Expected);
    }
}

TEST_F(ListCommands, StateIsReadFromTheEditor) {
    TListCommandState s = ListCommandState(E, lkMotion, true);
    EXPECT_TRUE(s.Empty);
    EXPECT_FALSE(s.Selected);
    SetText("abc\r\n");
    Select(1, 1);
    E.SetReadOnly(true);
    s = ListCommandState(E, lkCommand, false);
    EXPECT_EQ(s.Kind, lkCommand);
    EXPECT_FALSE(s.Named);
    EXPECT_FALSE(s.Empty);
    EXPECT_TRUE(s.Selected);
    EXPECT_TRUE(s.ReadOnly);
}

// ---- Formatting and the whole-text replacement

TEST_F(ListCommands, FormatReplacesTheTextAsOneStepKeepingTheSelection) {
    const std::vector<std::string> lines = {"; motions", Frame(1),
                                            "   12 3  3  10 0 0 9 0 0 0 0 9 0 U 0 - 0 "
                                            "000000000000 000000000000 000000000000 000000000000 end"};
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    SetText(text);
    Select(3, 5);
    const int start = E.SelStart(), length = E.SelLength();

    TMotionFormatter reference;
    reference.SetOptions(MotionOptions);
    reference.SetLines(lines);
    std::vector<std::string> expected;
    reference.Format(expected);
    std::string expectedText;
    for (const std::string& l : expected) expectedText += l + "\r\n";
    ASSERT_NE(expectedText, text);

    ASSERT_TRUE(FormatList(E, lkMotion, Options));
    EXPECT_EQ(Text(), expectedText);
    EXPECT_EQ(E.SelStart(), start);
    EXPECT_EQ(E.SelLength(), length);
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_TRUE(E.Modified());
    E.Undo();
    EXPECT_EQ(Text(), text);

    // Formatting the formatted list again changes nothing and adds no step.
    E.Redo();
    const int steps = UndoSteps();
    EXPECT_FALSE(FormatList(E, lkMotion, Options));
    EXPECT_EQ(UndoSteps(), steps);
}

TEST_F(ListCommands, FormatUsesTheOptionsOfTheKind) {
    const std::string line = "0 2U 0 0 1 3 Punch";
    SetText(line + "\r\n");
    CommandOptions.SetAddSemiColon(true);
    ZCommandOptions.SetAddSemiColon(false);
    TCommandFormatter command;
    command.SetOptions(CommandOptions);
    command.SetLines({line});
    std::vector<std::string> expected;
    command.Format(expected);
    ASSERT_TRUE(FormatList(E, lkCommand, Options));
    EXPECT_EQ(Text(), expected.at(0) + "\r\n");
}

TEST_F(ListCommands, FormatLeavesOtherKindsReadOnlyTextAndTheMissingFinalBreak) {
    const std::string text = "; motions\r\n" + Frame(1);
    SetText(text);
    for (int kind : {lkText, lkVoice, lkZVoice, lkEnemy, lkQes, lkBmp})
        EXPECT_FALSE(FormatList(E, kind, Options)) << kind;
    E.SetReadOnly(true);
    EXPECT_FALSE(FormatList(E, lkMotion, Options));
    EXPECT_EQ(Text(), text);
    EXPECT_FALSE(E.CanUndo());
    E.SetReadOnly(false);
    ASSERT_TRUE(FormatList(E, lkMotion, Options));
    EXPECT_NE(Text().substr(Text().size() - 2), "\r\n"); // no line is added at the end
    EXPECT_EQ(E.Lines().Count(), 2);
}

// Lines that are no data lines pass byte for byte, the title line in the middle of the list is
// rebuilt, and the last line keeps having no line break.
TEST_F(ListCommands, FormatRebuildsFramesAroundOtherLinesUpToALastLineWithoutBreak) {
    const std::vector<std::string> lines = {"  note\t  ", "-Num---To", Frame(1, "-12"), "", "x 1 2", Frame(123456)};
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    text.resize(text.size() - 2);
    SetText(text);
    std::vector<std::string> expected;
    TMotionFormatter reference;
    reference.SetLines(lines);
    reference.Format(expected);
    std::string expectedText;
    for (const std::string& line : expected) expectedText += line + "\r\n";
    expectedText.resize(expectedText.size() - 2);
    ASSERT_EQ(expected[0], lines[0]);
    ASSERT_NE(expected[1], lines[1]);

    ASSERT_TRUE(FormatList(E, lkMotion, Options));
    EXPECT_EQ(Text(), expectedText);
    EXPECT_EQ(UndoSteps(), 1);
    E.Undo();
    EXPECT_EQ(Text(), text);
}

// A text whose lines end in LF alone reads as the same lines: formatted already, it is left alone.
TEST_F(ListCommands, AFormattedListWithOtherLineEndsIsNotChanged) {
    std::vector<std::string> formatted;
    TMotionFormatter formatter;
    formatter.SetLines({"; motions", Frame(1), Frame(2, "-1")});
    formatter.Format(formatted);
    for (const char* end : {"\n", "\r"}) {
        std::string text;
        for (const std::string& line : formatted) text += line + end;
        SetText(text);
        EXPECT_FALSE(FormatList(E, lkMotion, Options)) << static_cast<int>(end[0]);
        EXPECT_FALSE(E.CanUndo());
        EXPECT_FALSE(E.Modified());
    }
}

// ---- Renumbering

TEST_F(ListCommands, RenumberTakesTheSelectedLinesUpToTheLastOneTouched) {
    // Rows 3 to 7 selected with the selection ending at the start of row 7: rows 3 to 6 renumber.
    std::string text = "; title\r\n";
    for (int n = 1; n <= 8; ++n) text += Frame(n) + "\r\n";
    SetText(text);
    SelectRows(3, 7);
    int first = 0, last = 0;
    ASSERT_TRUE(SelectedLines(E, first, last));
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 6);
    Dialogs.Renumber.StartNum = "20";
    ASSERT_TRUE(ReNumSelection(E, Dialogs));
    EXPECT_EQ(Dialogs.RenumberAsked, std::vector<std::int32_t>({3}));
    const std::vector<std::string> nums = {"   1", "   2", "  20", "  21", "  22", "  23", "   7", "   8"};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(E.Lines().Get(i + 1).substr(0, 4), nums[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(UndoSteps(), 1);
    E.Undo();
    EXPECT_EQ(Text(), text);
}

// With word wrap the selection's rows are display rows: they name lines through the line starts.
TEST_F(ListCommands, RenumberUnderWordWrapCountsLogicalLines) {
    std::string text = "; title\r\n";
    for (int n = 1; n <= 5; ++n) text += Frame(n) + "\r\n";
    SetText(text);
    E.SetWordWrap(true);
    E.WrapOption().SetWrapByte(20);
    const TEditorStrings& lines = E.Lines();
    ASSERT_GT(lines.LineToRow(3), 3);
    int first = 0, last = 0;
    SelectRows(lines.LineToRow(2), lines.LineToRow(4));
    ASSERT_TRUE(SelectedLines(E, first, last));
    EXPECT_EQ(std::make_pair(first, last), std::make_pair(2, 3));
    // Ending at the start of a later row of line 3 still selects some of line 3.
    SelectRows(lines.LineToRow(2) + 1, lines.LineToRow(3) + 1);
    ASSERT_TRUE(SelectedLines(E, first, last));
    EXPECT_EQ(std::make_pair(first, last), std::make_pair(2, 3));

    Dialogs.Renumber.StartNum = "30";
    ASSERT_TRUE(ReNumSelection(E, Dialogs));
    EXPECT_EQ(Dialogs.RenumberAsked, std::vector<std::int32_t>({2}));
    const char* nums[] = {"   1", "  30", "  31", "   4", "   5"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(lines.Get(i + 1).substr(0, 4), nums[i]) << i;
}

// The commands read the editor's lines one at a time and write the new text as they go: a jump to
// a frame that is renumbered further down, lines that are no frames between the frames and a last
// line without a line break must come out as the renumbering of the whole list gives them.
TEST_F(ListCommands, RenumberReachesJumpsOnEitherSideAndKeepsTheOtherLines) {
    testlines::TMotionFields jumps;
    jumps.Num = "1", jumps.To = "5", jumps.Hit = "1"; // to a frame further down, and to itself
    testlines::TMotionFields back;
    back.Num = "2", back.To = "1";
    testlines::TMotionFields last;
    last.Num = "5", last.To = "2", last.Hit = "5", last.Comment = ";end";
    const std::vector<std::string> lines = {Frame(40, "5"), "; frames",   Motion(jumps), "",
                                            Motion(back),   "  note\t  ", Motion(last)};
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    text.resize(text.size() - 2); // the last line has no line break
    SetText(text);
    Select(E.RowOffset(1), static_cast<int>(text.size()) - E.RowOffset(1));
    const int start = E.SelStart(), length = E.SelLength();
    Dialogs.Renumber.StartNum = "10";
    Dialogs.Renumber.JumpMode = rjAll;

    TMotionLineList expected = ParseMotionLines(lines);
    ASSERT_TRUE(RenumberMotionLines(expected, 1, 6, [&](std::int32_t, TRenumberRequest& Request) {
        Request = Dialogs.Renumber;
        return true;
    }));
    std::string expectedText;
    for (const TMotionLineRec& rec : expected) expectedText += rec.Line + "\r\n";
    expectedText.resize(expectedText.size() - 2);
    EXPECT_EQ(expected[2].Obj.Items[mfTo], "   12"); // the jump to frame 5, renumbered after frame 1
    EXPECT_EQ(expected[0].Obj.Items[mfTo], "   12"); // frame 40, above the range, follows too
    EXPECT_EQ(expected[6].Obj.Items[mfNum], "  12");
    EXPECT_EQ(expected[6].Obj.Items[mfHit], "   12");

    ASSERT_TRUE(ReNumSelection(E, Dialogs));
    EXPECT_EQ(Text(), expectedText);
    EXPECT_EQ(E.SelStart(), start);
    EXPECT_EQ(E.SelLength(), length);
    EXPECT_EQ(UndoSteps(), 1);
    E.Undo();
    EXPECT_EQ(Text(), text);
}

TEST_F(ListCommands, RenumberRefusalsChangeNothing) {
    const std::string text = "; title\r\n; more\r\n" + Frame(5) + "\r\n";
    SetText(text);
    EXPECT_FALSE(ReNumSelection(E, Dialogs)); // no selection
    SelectRows(0, 2);
    EXPECT_FALSE(ReNumSelection(E, Dialogs));
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(Boxes.Shown[0].Text, "リナンバできる行が選択されていません");
    EXPECT_EQ(Boxes.Shown[0].Title, "エラー");
    EXPECT_EQ(Boxes.Shown[0].Icon, TMsgIcon::Warning);
    EXPECT_TRUE(Dialogs.RenumberAsked.empty());

    SelectRows(0, 3);
    Dialogs.RenumberOk = false;
    EXPECT_FALSE(ReNumSelection(E, Dialogs));
    EXPECT_EQ(Dialogs.RenumberAsked.size(), 1u);
    Dialogs.RenumberOk = true;
    Dialogs.Renumber.StartNum = "9";
    E.SetReadOnly(true);
    EXPECT_FALSE(ReNumSelection(E, Dialogs));
    EXPECT_EQ(Text(), text);
    EXPECT_FALSE(E.CanUndo());
}

// ---- Environment and convert

TEST_F(ListCommands, EnvironmentOpensOnThePageOfTheKind) {
    const std::pair<int, int> pages[] = {{lkMotion, 0}, {lkCommand, 1}, {lkZCommand, 2}, {lkBmp, 3},
                                         {lkText, 0},   {lkVoice, 0},   {lkQes, 0}};
    for (const auto& [kind, page] : pages) EXPECT_EQ(EnvironmentPage(kind), page) << kind;
    EXPECT_TRUE(SetEnvironment(lkZCommand, Options, Dialogs));
    EXPECT_EQ(Dialogs.EnvPages, std::vector<int>({2}));
    EXPECT_TRUE(MotionOptions.CanDockMinus());
}

class ConvertCommand : public ListCommands {
protected:
    void SetUp() override {
        ListCommands::SetUp();
        Dir = fs::temp_directory_path() / ("quillon_listcmds_" + std::to_string(::getpid()));
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
    fs::path Dir;
};

TEST_F(ConvertCommand, AnUnnamedListIsToldToBeSavedFirst) {
    SetText("1 a.bmp\r\n");
    for (int kind : {lkBmp, lkQes}) {
        Boxes.Shown.clear();
        EXPECT_FALSE(ConvertList(E, kind, {}, Options, Dialogs));
        ASSERT_EQ(Boxes.Shown.size(), 1u);
        EXPECT_EQ(Boxes.Shown[0].Text, "ファイルを保存してから実行してください");
    }
    Boxes.Shown.clear();
    EXPECT_FALSE(ConvertList(E, lkMotion, Dir / "m.lst", Options, Dialogs));
    EXPECT_TRUE(Boxes.Shown.empty());
    EXPECT_TRUE(Dialogs.Jobs.empty());
}

TEST_F(ConvertCommand, AQuessaSourceBecomesItsEnemyList) {
    std::vector<std::string> source;
    NewQesSource(source);
    std::string text;
    for (const std::string& l : source) text += l + "\r\n";
    SetText(text);
    Boxes.Answer(TMsgResult::Ok);
    ConvertList(E, lkQes, Dir / "E.QES", Options, Dialogs);
    EXPECT_TRUE(fs::exists(Dir / "E.lst"));
    EXPECT_FALSE(fs::exists(Dir / "E.QES")); // the source itself is not written
}

// ---- The character maker command

TEST(BitmapListSuffixes, ByNameInAnyCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"/d/bmp3.lst", "3"}, {"/d/ZBMP2.LST", "2"}, {"/d/Bmp7.Lst", "7"},    {"/d/MYBMP.LST", ""},
        {"/d/BMP8.LST", ""},  {"/d/BMP0.LST", ""},   {"/d/BMP1.LST.bak", ""}, {"/d/ZBMP.LST", ""},
    };
    for (const auto& [name, suffix] : cases) EXPECT_EQ(BitmapListSuffix(name), suffix) << name;
}

class MakerCommand : public ConvertCommand {
protected:
    void SetUp() override {
        ConvertCommand::SetUp();
        std::ofstream(Dir / "a.bmp") << "x";
        Lines = {"1 a.bmp"};
    }
    std::vector<std::string> Lines;
};

TEST_F(MakerCommand, MadeFilesAreReportedWithTheTimeTaken) {
    MakerOptions.CreateMode = 0;
    MakerOptions.UseDecColorDepth = true;
    MakerOptions.DecColorDepthMethod = 2;
    Boxes.Answer(TMsgResult::Yes);
    ASSERT_TRUE(MakePatternFromBitmapList(Lines, Dir / "bmp3.lst", MakerOptions, Dialogs));
    ASSERT_EQ(Boxes.Shown.size(), 2u);
    EXPECT_EQ(Boxes.Shown[0].Text, "\"PATTERN3.PAT\"と\"CHARA3.BMP\"の作成を開始します。\r\n"
                                   "(編集中のﾌｧｲﾙと同じﾌｫﾙﾀﾞに上書き作成されます)\r\nよろしいですか？");
    EXPECT_EQ(Boxes.Shown[0].Title, "確認");
    EXPECT_EQ(Boxes.Shown[0].Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(Boxes.Shown[0].Icon, TMsgIcon::Question);
    const std::string done = "\"PATTERN3.PAT\" と \"CHARA3.BMP\" の作成が完了しました\r\n所要時間：";
    EXPECT_EQ(Boxes.Shown[1].Text.substr(0, done.size()), done);
    const std::string time = Boxes.Shown[1].Text.substr(done.size());
    EXPECT_EQ(time.substr(time.size() - 3), "[s]");
    EXPECT_EQ(time[time.size() - 7], '.'); // three decimals
    EXPECT_EQ(Boxes.Shown[1].Title, "ファイル作成");
    EXPECT_EQ(Boxes.Shown[1].Icon, TMsgIcon::Information);

    ASSERT_EQ(Dialogs.Jobs.size(), 1u);
    const TMakerJob& job = Dialogs.Jobs[0];
    EXPECT_EQ(job.OutputFolder, Dir);
    EXPECT_EQ(job.Suffix, "3");
    ASSERT_EQ(job.Entries.size(), 1u);
    EXPECT_EQ(job.Entries[0].Number, 1);
    EXPECT_TRUE(job.UseDecColorDepth);
    EXPECT_EQ(job.DecColorDepthMethod, 2);
    EXPECT_EQ(job.CreateMode, 0);
}

TEST_F(MakerCommand, VantorModeNamesTheVantorFiles) {
    MakerOptions.CreateMode = 2;
    Boxes.Answer(TMsgResult::Yes);
    ASSERT_TRUE(MakePatternFromBitmapList(Lines, Dir / "BMP2.LST", MakerOptions, Dialogs));
    EXPECT_EQ(Boxes.Shown[0].Text.rfind("\"ZPATTERN2.ZPT\"と\"ZCHARA2.BMP\"の作成を開始します。", 0), 0u);
    EXPECT_EQ(Boxes.Shown[1].Text.rfind("\"ZPATTERN2.ZPT\" と \"ZCHARA2.BMP\" の作成が完了しました", 0), 0u);
}

TEST_F(MakerCommand, DeclinedFailedOrCancelledRunsReturnFalse) {
    // No: nothing more is shown and the dialog does not open.
    Boxes.Answer(TMsgResult::No);
    EXPECT_FALSE(MakePatternFromBitmapList(Lines, Dir / "bmp.lst", MakerOptions, Dialogs));
    EXPECT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_TRUE(Dialogs.Jobs.empty());

    // A list without data: the parser's message, no dialog.
    Boxes.Shown.clear();
    Boxes.Answer(TMsgResult::Yes);
    EXPECT_FALSE(MakePatternFromBitmapList({"", "  "}, Dir / "bmp.lst", MakerOptions, Dialogs));
    ASSERT_EQ(Boxes.Shown.size(), 2u);
    EXPECT_EQ(Boxes.Shown[1].Text, "\"" + (Dir / "bmp.lst").string() + "\"\r\nに有効なデータがありません");
    EXPECT_EQ(Boxes.Shown[1].Title, "エラー");
    EXPECT_EQ(Boxes.Shown[1].Icon, TMsgIcon::Error);
    EXPECT_TRUE(Dialogs.Jobs.empty());

    Boxes.Shown.clear();
    Boxes.Answer(TMsgResult::Yes);
    Dialogs.MakerResult = 2;
    EXPECT_FALSE(MakePatternFromBitmapList(Lines, Dir / "bmp.lst", MakerOptions, Dialogs));
    ASSERT_EQ(Boxes.Shown.size(), 2u);
    EXPECT_EQ(Boxes.Shown[1].Text, "処理を中止しました");
    EXPECT_EQ(Boxes.Shown[1].Title, "ファイル作成");

    Boxes.Shown.clear();
    Boxes.Answer(TMsgResult::Yes);
    Dialogs.MakerResult = 3;
    EXPECT_FALSE(MakePatternFromBitmapList(Lines, Dir / "bmp.lst", MakerOptions, Dialogs));
    EXPECT_EQ(Boxes.Shown.size(), 1u);

    EXPECT_FALSE(MakePatternFromBitmapList(Lines, {}, MakerOptions, Dialogs));
    EXPECT_EQ(Dialogs.Jobs.size(), 2u);
}

TEST_F(MakerCommand, TheEditorsUnsavedLinesAreUsed) {
    SetText("1 a.bmp\r\n");
    Boxes.Answer(TMsgResult::Yes);
    ASSERT_TRUE(ConvertList(E, lkBmp, Dir / "ZBMP5.LST", Options, Dialogs));
    ASSERT_EQ(Dialogs.Jobs.size(), 1u);
    EXPECT_EQ(Dialogs.Jobs[0].Suffix, "5");
    EXPECT_EQ(Dialogs.Jobs[0].Entries.size(), 1u);
    EXPECT_FALSE(fs::exists(Dir / "ZBMP5.LST"));
}

} // namespace
} // namespace quillon
