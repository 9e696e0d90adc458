#include "EditorScreenStrings.h"

#include "Cp932.h"
#include "EditorColourer.h"
#include "EditorControl.h"
#include "EditorEx.h"
#include "EditorTestHost.h"
#include "EditorUndo.h"
#include "TestEditor.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace quillon {
namespace {

std::string J(std::string_view utf8) { return Utf8ToCp932(utf8); }

// Expects the rows and the line count of Ed's store, whose lines are Lines, to be those that a fresh
// load of its text with the same options gives; while the word wrap is cut in steps, the rows cut so
// far.
void ExpectRowsOfAFreshLoad(TAttachedEditor& Ed, const TEditorStrings& Lines) {
    TTestEditor fresh;
    TEditorScreenStrings& f = fresh.ScreenStrings();
    const TEditorScreenStrings& s = Ed.ScreenStrings();
    f.WrapOption().Assign(s.WrapOption());
    fresh.Layout = Ed.ColumnLayout();
    f.SetWordWrap(s.WordWrap());
    fresh.Lines.SetText(Lines.Text());
    std::vector<std::string> rows = RowsOf(s), want = RowsOf(f);
    if (s.RewrapPending()) {
        rows.resize(static_cast<std::size_t>(s.RewrapFrom()));
        want.resize(std::min(want.size(), rows.size()));
    }
    ASSERT_EQ(rows, want) << (s.RewrapPending() ? "the rows cut so far" : "every row");
    ASSERT_EQ(Lines.Count(), fresh.Lines.Count());
}

class ScreenStringsTest : public ::testing::Test {
protected:
    TTestEditor ed;
    TEditorScreenStrings& s = ed.ScreenStrings();
    std::string Text() const { return ed.Lines.Text(); }
};

TEST_F(ScreenStringsTest, TypingIntoARowIsOneUndoStep) {
    ed.Lines.SetText("abc\r\ndef\r\n");
    ASSERT_EQ(RowsOf(s), (std::vector<std::string>{"abc/0", "def/0"}));
    ed.SetRow(1);
    ed.SetCol(1);
    s.UpdateRows(1, 1, "dXef\r\n");
    EXPECT_EQ(Text(), "abc\r\ndXef\r\n");
    EXPECT_FALSE(s.RowModified(0));
    EXPECT_TRUE(s.RowModified(1));
    ASSERT_EQ(s.UndoObj().UndoList().size(), 1u);

    ed.SetRow(0);
    ed.SetCol(3);
    s.Undo();
    EXPECT_EQ(Text(), "abc\r\ndef\r\n");
    EXPECT_FALSE(s.RowModified(1)) << "undo gives the modified bit back";
    EXPECT_EQ(ed.Row(), 1);
    EXPECT_EQ(ed.Col(), 1) << "undo puts the caret where the change was made";
    EXPECT_FALSE(s.UndoObj().CanUndo());

    s.Redo();
    EXPECT_EQ(Text(), "abc\r\ndXef\r\n");
    EXPECT_TRUE(s.RowModified(1));
    EXPECT_EQ(ed.Row(), 0);
    EXPECT_EQ(ed.Col(), 3) << "redo puts the caret where it stood before the undo";
    EXPECT_TRUE(s.UndoObj().CanUndo());
    EXPECT_FALSE(s.UndoObj().CanRedo());
}

TEST_F(ScreenStringsTest, EditorsHearOfEveryChangeOnce) {
    ed.Lines.SetText("a\r\nb");
    ed.Changes.clear();
    s.UpdateRows(1, 1, "x\r\ny");
    ASSERT_EQ(ed.Changes.size(), 1u);
    EXPECT_TRUE(ed.Changes[0].Updated);
    EXPECT_EQ(ed.Changes[0].UpdateRow, 1);
    EXPECT_EQ(ed.Changes[0].OldRowCount, 1);
    EXPECT_EQ(ed.Changes[0].NewRowCount, 2);
    EXPECT_FALSE(s.UpdateInfo().Updated) << "the record lives only until the bracket ends";
}

TEST_F(ScreenStringsTest, AKeystrokeInALongLineRewrapsOnlyTheRowsThatChange) {
    // Rows of two words and room to spare: a letter typed into row 50 of 100 changes that row alone,
    // and undo and redo rewrite it alone too.
    s.WrapOption().SetWrapByte(20);
    s.WrapOption().SetWordBreak(true);
    s.SetWordWrap(true);
    std::string line;
    for (int i = 0; i < 200; ++i) line += "abcdefg ";
    ed.Lines.SetText(line);
    ASSERT_EQ(s.Count(), 100);
    const std::string before = Text();
    ed.Changes.clear();
    s.UpdateRows(50, 1, "abcxdefg abcdefg ");
    ASSERT_EQ(ed.Changes.size(), 1u);
    EXPECT_EQ(ed.Changes[0].OldRowCount, 2) << "the row and the row above it";
    EXPECT_EQ(ed.Changes[0].NewRowCount, 2);
    EXPECT_EQ(s.Get(50), "abcxdefg abcdefg ");
    EXPECT_EQ(s.Count(), 100);
    const std::string after = Text();
    s.Undo();
    EXPECT_EQ(Text(), before);
    EXPECT_EQ(s.Get(50), "abcdefg abcdefg ");
    s.Redo();
    EXPECT_EQ(Text(), after);
    EXPECT_EQ(ed.Changes.back().OldRowCount, 2);
}

// Without FollowRetMark a line that fills its last row ends in an empty row. A line break typed or
// pasted after it ends the text, which then has no row after that line break.
TEST_F(ScreenStringsTest, ALineBreakAfterAFullLastRowLeavesNoEmptyRow) {
    s.WrapOption().SetWrapByte(20);
    s.SetWordWrap(true);
    const std::string full(20, 'a');
    struct Case {
        std::string text;
        int row, count;
        std::string insert;
    };
    const Case cases[] = {
        {full, 0, 1, "X" + full + "\r\n"}, // a box paste at the start: every pasted row ends a line
        {full, 0, 1, full + "\r\n"},       // Enter at the end
        {"b\r\n" + full, 1, 1, full + "\r\n"},
        {full + full, 1, 1, full + "\r\n"}, // the second of two full rows
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " <- " + c.insert);
        ed.Lines.SetText(c.text);
        const std::vector<std::string> before = RowsOf(s);
        s.UpdateRows(c.row, c.count, c.insert);
        ExpectRowsOfAFreshLoad(ed, ed.Lines);
        const std::vector<std::string> after = RowsOf(s);
        s.Undo();
        EXPECT_EQ(RowsOf(s), before);
        s.Redo();
        EXPECT_EQ(RowsOf(s), after);
    }
}

TEST_F(ScreenStringsTest, UndoOfDeletedLinesReinsertsThemWithTheirEndAttribute) {
    ed.Lines.SetText("a\r\nb\r\nc");
    s.UpdateRows(1, 2, "");
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"a/0"}));
    s.Undo();
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"a/0", "b/0", "c/2"}));
    s.Redo();
    EXPECT_EQ(Text(), "a\r\n");
}

TEST_F(ScreenStringsTest, UndoOfAppendedLinesDeletesThem) {
    ed.Lines.SetText("a\r\n");
    s.UpdateRows(1, 0, "b\r\nc\r\n");
    EXPECT_EQ(Text(), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(s.UndoObj().UndoList().back().Attribute, 3);
    s.Undo();
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"a/0"}));
    s.Redo();
    EXPECT_EQ(Text(), "a\r\nb\r\nc\r\n");
}

TEST_F(ScreenStringsTest, UndoListKeepsTheLast64Changes) {
    ed.Lines.SetText("x");
    for (int i = 0; i < 65; ++i) s.UpdateRows(0, 1, std::to_string(i));
    EXPECT_EQ(s.UndoObj().UndoList().size(), 64u);
    for (int i = 0; i < 64; ++i) s.Undo();
    EXPECT_FALSE(s.UndoObj().CanUndo());
    EXPECT_EQ(Text(), "0") << "the first change was dropped";
}

TEST_F(ScreenStringsTest, ANewEditAfterAnUndoEmptiesTheRedoList) {
    ed.Lines.SetText("a");
    s.UpdateRows(0, 1, "b");
    s.Undo();
    EXPECT_TRUE(s.UndoObj().CanRedo());
    s.UpdateRows(0, 1, "c");
    EXPECT_FALSE(s.UndoObj().CanRedo());
}

TEST_F(ScreenStringsTest, SwitchingWordWrapClearsTheHistory) {
    ed.Lines.SetText(std::string(100, 'a'));
    s.UpdateRows(0, 1, std::string(30, 'b'));
    ed.Refreshes = 0;
    s.SetWordWrap(true);
    EXPECT_FALSE(s.UndoObj().CanUndo());
    s.Undo();
    EXPECT_EQ(Text(), std::string(30, 'b'));
    EXPECT_EQ(ed.Refreshes, 1);
}

// A text set whole records no change of rows, so the editor repaints once when the Lines' update
// bracket closes (nested brackets: only the outermost).
TEST_F(ScreenStringsTest, SettingTheTextRepaintsTheEditorOnce) {
    ed.Lines.BeginUpdate();
    ed.Lines.SetText("a\r\nb");
    ed.Lines.SetText("c");
    EXPECT_EQ(ed.Refreshes, 0);
    ed.Lines.EndUpdate();
    EXPECT_EQ(ed.Refreshes, 1);
}

TEST_F(ScreenStringsTest, WrapAllAndUnwrapAllKeepTextAndMarks) {
    s.WrapOption().SetWrapByte(20);
    ed.Lines.SetText(std::string(50, 'a') + "\r\nbb\r\n" + std::string(20, 'c'));
    s.SetRowMarks(0, 1 << 3);
    s.SetRowMarks(2, 1 << 12);
    s.SetWordWrap(true);
    EXPECT_EQ(RowsOf(s),
              (std::vector<std::string>{std::string(20, 'a') + "/1", std::string(20, 'a') + "/1",
                                        std::string(10, 'a') + "/0", "bb/0", std::string(20, 'c') + "/1", "/2"}));
    EXPECT_EQ(s.RowMarks(0), 1 << 3);
    EXPECT_EQ(s.RowMarks(4), 1 << 12);
    EXPECT_EQ(s.WrappedRowCount(std::string(40, 'a')), 3);
    EXPECT_EQ(s.WrappedRowCount("short"), 1);
    s.SetRowMarks(2, 1 << 5);
    s.SetWordWrap(false);
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{std::string(50, 'a') + "/0", "bb/0", std::string(20, 'c') + "/2"}));
    EXPECT_EQ(s.RowMarks(0), (1 << 3) | (1 << 5));
    EXPECT_EQ(s.GetUsedMarks(), (1 << 3) | (1 << 5) | (1 << 12));
    // Changing the options re-wraps only with word wrap on.
    s.WrapOption().SetWrapByte(30);
    EXPECT_EQ(s.Count(), 3);
}

TEST_F(ScreenStringsTest, DeletingAMarkedRowHandsItsMarksOn) {
    ed.Lines.SetText("a\r\nb\r\nc\r\n");
    s.SetRowMarks(1, 1 << 2);
    s.UpdateRows(1, 1, "");
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{"a/0", "c/0"}));
    EXPECT_EQ(s.RowMarks(1), 1 << 2);
    EXPECT_TRUE(s.RowModified(1));
}

// A change of every row (a whole list formatted or renumbered) hands the new rows to the store
// whole: the rows are a fresh load's, the marks stay on rows, and undo and redo give back the texts.
TEST_F(ScreenStringsTest, ReplacingEveryRowKeepsMarksUndoAndRedo) {
    auto lines = [](int count, const std::string& word, bool finalBreak) {
        std::string text;
        for (int i = 0; i < count; ++i) text += word + std::to_string(i) + std::string(i % 30, 'x') + "\r\n";
        if (!finalBreak) text.resize(text.size() - 2);
        return text;
    };
    s.WrapOption().SetWrapByte(20);
    for (bool wrap : {false, true}) {
        for (bool finalBreak : {false, true}) {
            for (int newCount : {5, 40, 90}) {
                SCOPED_TRACE(testing::Message() << "wrap " << wrap << " break " << finalBreak << " lines " << newCount);
                s.SetWordWrap(wrap);
                const std::string before = lines(40, "old", finalBreak), after = lines(newCount, "new", finalBreak);
                ed.Lines.SetText(before);
                s.SetRowMarks(0, 1 << 3);
                s.SetRowMarks(s.Count() - 1, 1 << 12);
                const std::vector<std::string> oldRows = RowsOf(s);
                s.UpdateRows(0, s.Count(), after);
                EXPECT_EQ(Text(), after);
                ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(ed, ed.Lines));
                std::uint16_t carried = 0;
                for (int i = 0; i < s.Count(); ++i) carried |= s.RowMarks(i);
                EXPECT_EQ(carried, (1 << 3) | (1 << 12));
                EXPECT_EQ(s.GetUsedMarks(), (1 << 3) | (1 << 12));
                EXPECT_TRUE(s.RowModified(0));
                s.Undo();
                EXPECT_EQ(Text(), before);
                EXPECT_EQ(RowsOf(s), oldRows);
                s.Redo();
                EXPECT_EQ(Text(), after);
                ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(ed, ed.Lines));
            }
        }
    }
}

TEST_F(ScreenStringsTest, AMarkStaysInUseWhileAnyRowCarriesIt) {
    ed.Lines.SetText("a\r\nb\r\nc\r\n");
    s.SetRowMarks(0, 1 << 12);
    s.SetRowMarks(2, 1 << 12);
    s.SetRowMarks(0, 0);
    EXPECT_EQ(s.GetUsedMarks(), 1 << 12) << "row 2 still carries mark 12";
    s.SetRowMarks(2, 0);
    EXPECT_EQ(s.GetUsedMarks(), 0);
    s.SetRowMarks(1, 1 << 4);
    s.UpdateRows(0, 3, "");
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.GetUsedMarks(), 0) << "the marks of the last rows go with them";
}

TEST_F(ScreenStringsTest, TheStoreOutlivesAnEditorThatDetaches) {
    auto second = std::make_unique<TTestEditor>(ed.Store());
    ed.Lines.SetText("shared");
    EXPECT_EQ(second->Lines.Text(), "shared");
    EXPECT_EQ(s.Editors().size(), 2u);
    second->HasFocus = true;
    EXPECT_EQ(s.ActiveEditor(), second.get());
    second.reset();
    EXPECT_EQ(s.Editors().size(), 1u);
    EXPECT_EQ(ed.Lines.Text(), "shared");
}

TEST_F(ScreenStringsTest, ClearCancelsSelectionsAndResetsCarets) {
    ed.Lines.SetText("a\r\nb");
    s.SetRowMarks(1, 1);
    ed.SetRow(1);
    ed.SetCol(1);
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(ed.Row(), 0);
    EXPECT_EQ(ed.Col(), 0);
    EXPECT_GE(ed.Cancels, 1);
    EXPECT_EQ(s.GetUsedMarks(), 0);
    EXPECT_FALSE(s.UndoObj().CanUndo());
}

TEST_F(ScreenStringsTest, EditsRecomputeColouringStatesBelowTheChange) {
    TEditorColourer colourer(nullptr);
    auto& bracket = static_cast<TColourerBracketItem&>(colourer.Brackets().Add());
    bracket.SetLeftBracket("(");
    bracket.SetRightBracket(")");
    ed.Colourer = &colourer;
    ed.Lines.SetText("a\r\nb\r\nc\r\n");
    EXPECT_EQ(s.BracketIndex(2), -1);
    s.UpdateRows(0, 1, "(a\r\n");
    EXPECT_EQ(s.BracketIndex(1), 0);
    EXPECT_EQ(s.BracketIndex(2), 0) << "the open bracket carries over the rows below";
    EXPECT_FALSE(ed.Invalidated.empty());
    s.Undo();
    EXPECT_EQ(s.BracketIndex(2), -1);
}

// A random walk of edits, undos and redos in lines of many rows, with a colourer whose tokens run
// over rows (long identifiers, comments, quotes, a bracket): after every step each computed row's
// colouring state is a fresh load's, and so is every row's once the idle work has run.
TEST(ScreenStringsModel, ColouringStatesAfterRandomEditsUndosAndRedosAreAFreshLoads) {
    TEditorColourer colourer(nullptr);
    colourer.SetCommenter("//");
    colourer.SetQuotation("'");
    colourer.Brackets().AddBracket("(", ")");
    auto setUp = [&](TTestEditor& Editor) {
        Editor.Colourer = &colourer;
        Editor.ScreenStrings().WrapOption().SetWrapByte(20);
        Editor.ScreenStrings().SetWordWrap(true);
    };
    TTestEditor ed;
    setUp(ed);
    ed.FullStates = false;
    TEditorScreenStrings& s = ed.ScreenStrings();
    std::mt19937 rng(11);
    colourer.SetMail(true);
    // Lines of some hundred bytes (one piece in 40 is a line break).
    const std::string pieces[] = {std::string(37, 'b'), "b", " ", "//", "'", "(", ")", "12.5", "@", ".", "-", "\r\n"};
    auto piece = [&]() -> const std::string& {
        const unsigned n = rng() % 40 == 0 ? std::size(pieces) : std::size(pieces) - 1;
        return pieces[rng() % n];
    };
    std::string text;
    for (int i = 0; i < 300; ++i) text += piece();
    ed.Lines.SetText(text);
    // Every row from From on whose state is computed agrees with a fresh load's.
    auto expectFreshLoadsStates = [&](int step) {
        TTestEditor fresh;
        setUp(fresh);
        fresh.Lines.SetText(ed.Lines.Text());
        const TEditorScreenStrings& f = fresh.ScreenStrings();
        // Rows that an edit left waiting for the word wrap's cut hold their text, cut or not.
        std::vector<std::string> rows = RowsOf(s), want = RowsOf(f);
        rows.resize(static_cast<std::size_t>(s.RewrapFrom()));
        want.resize(std::min(want.size(), rows.size()));
        ASSERT_EQ(rows, want) << "step " << step;
        for (int r = 0; r < s.Count() && s.BracketIndex(r) != biNotComputed; ++r)
            ASSERT_TRUE(SameRowState(s.GetRowAttributeData(r), f.GetRowAttributeData(r)))
                << "step " << step << " row " << r;
    };
    for (int step = 0; step < 1500; ++step) {
        const unsigned op = rng() % 10;
        if (op < 6 && s.Count() > 0) {
            // A piece typed into a row, or a character deleted from it.
            const int row = static_cast<int>(rng() % static_cast<unsigned>(s.Count()));
            std::string t(s.Get(row));
            const std::size_t at = rng() % (t.size() + 1);
            if (rng() % 3 == 0 && at < t.size())
                t.erase(at, 1);
            else
                t.insert(at, piece());
            s.UpdateRows(row, 1, t);
        } else if (op < 8) {
            s.Undo();
        } else if (op < 9) {
            s.Redo();
        } else {
            s.ComputeRowStates(static_cast<int>(rng() % 40));
        }
        expectFreshLoadsStates(step);
        if (::testing::Test::HasFatalFailure()) return;
    }
    while (s.ComputeRowStates(100)) {
    }
    ASSERT_EQ(s.FirstNotComputed(0), s.Count());
    expectFreshLoadsStates(-1);
}

// A random walk of edits, undos and redos, checked after every step against a plain std::string of
// the text: the text, the rows (those of a fresh load of the text), the marks in use and the modified flags
// that undo and redo give back.
struct ModelStep {
    std::string before, after; // text
    // Empty when the change was made while the word wrap was cut in steps, or when it or a later
    // change left the rest of a long line to the cut (a cut clears the modified bits of the rows it
    // cuts).
    std::vector<bool> modifiedBefore, modifiedAfter;
};

std::vector<bool> ModifiedFlags(const TEditorScreenStrings& s) {
    std::vector<bool> flags;
    for (int i = 0; i < s.Count(); ++i) flags.push_back(s.RowModified(i));
    return flags;
}

// The byte offsets of the character boundaries of a row's text, its end included.
std::vector<std::size_t> CharBoundaries(std::string_view row) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i <= row.size(); i += i < row.size() && IsLeadByte(row[i]) ? 2 : 1) at.push_back(i);
    return at;
}

// The shape of the text that RunModel edits.
struct ModelText {
    int length;     // pieces in the first text and the most in a long insert
    int lineBreaks; // one piece in lineBreaks is a line break
    bool inRowEdits;
    // Now and then word wrap is switched off and on or its width changed, and the rows the editor
    // does not show (it shows a few) are cut in a few idle steps; the walk goes on meanwhile, with
    // edits only where rows are cut (nothing may hold a waiting row's number).
    bool wrapInSteps = false;
    // Now and then an idle step cuts rows that an edit left waiting.
    bool idleCuts = false;
};
constexpr ModelText kShortLines{200, 8, false};
// Lines of many rows, typed into as a keystroke types: inside a row, a character at a time (without
// word wrap half of them through ReplaceInRow).
constexpr ModelText kLongLines{3000, 400, true};
constexpr ModelText kWrapInSteps{1500, 30, false, true};
// Lines of tens of kilobytes, typed into, whose rests an edit leaves to idle steps that cut them a run
// of rows at a time.
constexpr ModelText kVeryLongLines{60000, 25000, true, false, true};

// Pieces of random text, the last one a line break: words, a tab, double-byte characters and the
// punctuation of the line-break rules.
const std::vector<std::string>& TextPieces() {
    static const std::vector<std::string> pieces = {"a", "b", " ", "\t", J("あ"), J("、"), J("（"), J("」"), "\r\n"};
    return pieces;
}

// The same with a long word, which word break cuts at a third of the width, and with what colouring
// carries over rows: brackets opened and closed, a comment, a quote and a run of blanks.
const std::vector<std::string>& ColouredPieces() {
    static const std::vector<std::string> pieces = {"a",
                                                    "b",
                                                    " ",
                                                    "\t",
                                                    J("あ"),
                                                    J("、"),
                                                    J("（"),
                                                    J("」"),
                                                    std::string(100, 'x'),
                                                    "/*",
                                                    "*/",
                                                    "/*/",
                                                    J("「"),
                                                    "//",
                                                    "\"",
                                                    std::string(300, ' '),
                                                    "\r\n"};
    return pieces;
}

// Up to Max pieces of text; one piece in LineBreaks may be a line break (none with LineBreaks 0).
std::string RandomText(std::mt19937& Rng, int Max, int LineBreaks,
                       const std::vector<std::string>& Pieces = TextPieces()) {
    std::string t;
    for (int n = static_cast<int>(Rng() % static_cast<unsigned>(Max + 1)); n > 0; --n) {
        // One draw per statement, so that every build walks the same path.
        const bool mayBreak = LineBreaks > 0 && Rng() % static_cast<unsigned>(LineBreaks) == 0;
        t += Pieces[Rng() % (mayBreak ? Pieces.size() : Pieces.size() - 1)];
    }
    return t;
}

void SetRandomWrapOptions(std::mt19937& Rng, TEditorWrapOption& O) {
    O.SetWrapByte(20 + static_cast<int>(Rng() % 20));
    O.SetLeading(Rng() % 2);
    O.SetFollowPunctuation(Rng() % 2);
    O.SetFollowRetMark(Rng() % 2);
}

void RunModel(unsigned seed, bool wordWrap, bool wordBreak, int steps, ModelText shape = kShortLines) {
    TTestEditor ed;
    TEditorScreenStrings& s = ed.ScreenStrings();
    std::mt19937 rng(seed);
    SetRandomWrapOptions(rng, s.WrapOption());
    s.WrapOption().SetWordBreak(wordBreak);
    ed.Layout.TabSpaceCount = 4;
    if (shape.wrapInSteps || shape.idleCuts) ed.LookAhead = 4;
    s.SetWordWrap(wordWrap);

    auto randomText = [&](int max) { return RandomText(rng, max, shape.lineBreaks); };
    // A keystroke in a row: Count rows from Row (one, or two to join a line with the next) become
    // their text with one character typed, deleted or overtyped at a character boundary.
    auto keystroke = [&](int& row, int& rows) {
        row = static_cast<int>(rng() % static_cast<unsigned>(s.RewrapFrom()));
        rows = 1;
        std::string t(s.Get(row));
        const std::vector<std::size_t> at = CharBoundaries(t);
        const std::size_t i = rng() % at.size();
        const std::size_t next = i + 1 < at.size() ? at[i + 1] : at[i];
        switch (rng() % 4) {
        case 0: return t.insert(at[i], randomText(1));
        case 1: return t.erase(at[i], next - at[i]);
        case 2: return t.replace(at[i], next - at[i], randomText(1));
        default:
            // The row's line break deleted: its line and the next become one.
            if (s.RowAttribute(row) == raLineBreak && row + 1 < s.RewrapFrom()) {
                rows = 2;
                return t + std::string(s.Get(row + 1));
            }
            return t.insert(at[i], randomText(1));
        }
    };
    std::string text = randomText(shape.length);
    ed.Lines.SetText(text);
    std::deque<ModelStep> undo, redo;
    std::uint16_t marks = 0;

    std::string lastOp;
    for (int step = 0; step < steps; ++step) {
        if (shape.idleCuts && rng() % 4 == 0) s.RewrapStep(1 + rng() % 3000);
        const unsigned op = rng() % 10;
        if (op < 6) {
            // Rows that wait for the word wrap's cut are not edited (their numbers change).
            const int count = s.RewrapFrom();
            const bool mayAppend = count == s.Count() && (count == 0 || s.RowAttribute(count - 1) == raLineBreak);
            int row = static_cast<int>(rng() % static_cast<unsigned>(count + (mayAppend ? 1 : 0)));
            int rows = row == count ? 0 : static_cast<int>(rng() % static_cast<unsigned>(std::min(3, count - row) + 1));
            if (shape.inRowEdits && !wordWrap && count > 0 && rng() % 2 == 0) {
                // Changes inside rows, as typing makes one and a replace-all several: in each, the
                // bytes of a character or none replaced by a character or none.
                const int rowsChanged = rng() % 3 == 0 ? 1 + static_cast<int>(rng() % 4) : 1;
                std::vector<TRowSplice> splices;
                std::vector<std::string> inserts(static_cast<std::size_t>(rowsChanged));
                std::vector<std::size_t> offsets;
                std::size_t replaced = 0;
                lastOp = "ReplaceInRows(";
                row = static_cast<int>(rng() % static_cast<unsigned>(count));
                for (std::string& insert : inserts) {
                    if (row >= count) break;
                    const std::vector<std::size_t> at = CharBoundaries(s.Get(row));
                    const std::size_t i = rng() % at.size();
                    const std::size_t length = rng() % 2 == 0 && i + 1 < at.size() ? at[i + 1] - at[i] : 0;
                    insert = rng() % 3 == 0 ? "" : randomText(1);
                    if (insert == "\r\n" ||
                        !s.CanReplaceInRow(row, static_cast<int>(at[i]), static_cast<int>(length), insert))
                        insert = "x";
                    splices.push_back({row, at[i], length, insert});
                    offsets.push_back(s.GetRowsText(0, row).size() + at[i]);
                    replaced += length;
                    lastOp += std::to_string(row) + ":" + std::to_string(at[i]) + "," + std::to_string(length) + ",[" +
                              insert + "] ";
                    row += 1 + static_cast<int>(rng() % 5);
                }
                lastOp += ")";
                ASSERT_TRUE(s.CanReplaceInRows(splices)) << lastOp;
                ModelStep m{text, "", ModifiedFlags(s), {}};
                s.ReplaceInRows(splices);
                EXPECT_EQ(s.UndoObj().UndoList().back().Text.size(), replaced) << "the record holds the bytes replaced";
                for (std::size_t k = splices.size(); k-- > 0;)
                    text.replace(offsets[k], splices[k].Length, splices[k].Text);
                m.after = text;
                m.modifiedAfter = ModifiedFlags(s);
                undo.push_back(std::move(m));
                if (undo.size() > 64) undo.pop_front();
                redo.clear();
                continue;
            }
            std::string insert = shape.inRowEdits && count > 0 && rng() % 4 != 0
                                     ? keystroke(row, rows)
                                     : randomText(rng() % 4 == 0 ? std::min(shape.length, 60) : 3);
            if (rows == 0 && insert.empty()) continue;
            const std::size_t offset = s.GetRowsText(0, row).size();
            const std::size_t length = s.GetRowsText(row, rows).size();
            const bool cutting = s.RewrapPending();
            ModelStep m{text, "", cutting ? std::vector<bool>() : ModifiedFlags(s), {}};
            lastOp = "UpdateRows(" + std::to_string(row) + ", " + std::to_string(rows) + ", [" + insert + "])";
            s.UpdateRows(row, rows, insert);
            text.replace(offset, length, insert);
            m.after = text;
            m.modifiedAfter = ModifiedFlags(s);
            if (s.RewrapPending()) {
                // The rest of a long line waits for a cut, which no step records: no step gives the
                // modified bits of its rows back.
                for (ModelStep& u : undo) u.modifiedBefore.clear(), u.modifiedAfter.clear();
                m.modifiedBefore.clear();
                m.modifiedAfter.clear();
            }
            const TUndoData& record = s.UndoObj().UndoList().back();
            if (record.RowCount == 0 && record.Attribute != 3 && s.Count() > 0 && !m.modifiedBefore.empty()) {
                // Removing whole rows marks the row that takes their place; undo leaves it marked.
                int marked = std::min(record.Row, s.Count() - 1);
                int afterUndo = marked < record.Row ? marked : marked + static_cast<int>(record.Flags.size());
                m.modifiedBefore[static_cast<std::size_t>(afterUndo)] = true;
            }
            undo.push_back(std::move(m));
            if (undo.size() > 64) undo.pop_front();
            redo.clear();
        } else if (op < 8) {
            s.Undo();
            if (!undo.empty()) {
                text = undo.back().before;
                if (!undo.back().modifiedBefore.empty()) {
                    ASSERT_EQ(ModifiedFlags(s), undo.back().modifiedBefore) << "step " << step;
                }
                redo.push_back(std::move(undo.back()));
                undo.pop_back();
            }
        } else if (op < 9) {
            s.Redo();
            if (!redo.empty()) {
                text = redo.back().after;
                if (!redo.back().modifiedAfter.empty()) {
                    ASSERT_EQ(ModifiedFlags(s), redo.back().modifiedAfter) << "step " << step;
                }
                undo.push_back(std::move(redo.back()));
                redo.pop_back();
            }
        } else if (shape.wrapInSteps && rng() % 3 == 0) {
            // The history goes with the switch; a few steps of idle work follow.
            if (rng() % 2 == 0) {
                lastOp = "word wrap off and on";
                s.SetWordWrap(false);
                s.SetWordWrap(true);
            } else {
                lastOp = "wrap width changed";
                // Another width: the same one changes nothing, the history included.
                const int width = 20 + static_cast<int>(rng() % 19);
                s.WrapOption().SetWrapByte(width < s.WrapOption().WrapByte() ? width : width + 1);
            }
            undo.clear();
            redo.clear();
            for (int k = static_cast<int>(rng() % 4); k > 0; --k) s.RewrapStep(1 + rng() % 300);
        } else if (s.Count() > 0) {
            const int row = static_cast<int>(rng() % static_cast<unsigned>(s.Count()));
            const auto mark = static_cast<std::uint16_t>(1u << (10 + rng() % 6));
            s.SetRowMarks(row, s.RowMarks(row) | mark);
            marks |= mark;
        }
        ASSERT_EQ(ed.Lines.Text(), text) << "step " << step << ", last edit " << lastOp;
        ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(ed, ed.Lines)) << "step " << step << ", last edit " << lastOp;
        if (s.Count() == 0) marks = 0;
        std::uint16_t carried = 0;
        for (int i = 0; i < s.Count(); ++i) carried |= s.RowMarks(i);
        ASSERT_EQ(carried, marks) << "marks move with rows but are never lost, step " << step;
        ASSERT_EQ(s.GetUsedMarks(), marks) << "step " << step;
        if (::testing::Test::HasFatalFailure()) return;
    }
    // The idle work leaves the rows of a fresh load.
    while (s.RewrapStep(1000)) {
    }
    ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(ed, ed.Lines));
}

// The bracket that each row of S starts inside (biNone for none), from one parse of each logical line
// whole: a row starts inside the bracket token that runs over its start, else in the state after the
// last token of its line that ends before it (the line's first row: after the line above).
std::vector<int> BracketsOfAWholeParse(const TEditorScreenStrings& S, TColourer& Colourer) {
    struct TToken {
        int start, end, kind, bracket, after;
    };
    const std::unique_ptr<TColourerParser> parser = Colourer.CreateParser();
    std::vector<int> brackets;
    int open = biNone;
    for (int first = 0; first < S.Count();) {
        const int last = S.LogicalLineEnd(first);
        std::string line;
        std::vector<int> starts;
        for (int r = first; r <= last; ++r) {
            starts.push_back(static_cast<int>(line.size()));
            line += S.Get(r);
        }
        TRowAttributeData entry;
        entry.BracketIndex = open;
        parser->NewData(line.c_str(), entry);
        std::vector<TToken> tokens;
        while (parser->NextToken() != tkEnd) {
            tokens.push_back({parser->SourcePos(), parser->SourcePos() + parser->TokenLength(), parser->TokenKind(),
                              parser->LastBracketIndex(), parser->BracketIndex()});
        }
        for (const int at : starts) {
            int bracket = open;
            for (const TToken& t : tokens) {
                if (t.end <= at) {
                    bracket = t.after;
                } else {
                    if (t.start < at) bracket = t.kind == tkBracket ? t.bracket : biNone;
                    break;
                }
            }
            brackets.push_back(bracket);
        }
        if (!tokens.empty()) open = tokens.back().after;
        first = last + 1;
    }
    return brackets;
}

// What an editor walk does besides editing over selections with undo and redo.
struct TEditorWalk {
    bool wordWrap;
    int steps;
    // Long lines (10-100 KB) with long runs of blanks, brackets, comments and quotes, word break, and
    // switches of the wrap width, of word break and of word wrap between the edits, each followed by
    // a few idle steps only; the colouring states are checked once the idle work has run.
    bool longLines = false;
};

// A random walk of an editor's edits over stream and box selections (box and stream pastes, typing,
// deleting) and of undos and redos. After every step the rows are those of a fresh load, and undo
// and redo give back the texts before and after each change. The editor colours with brackets, a
// comment and a quote; after the idle work every row's colouring state is a fresh load's, and the
// bracket it starts inside is that of a parse of its logical line whole.
void RunEditorModel(unsigned seed, const TEditorWalk& walk) {
    // Brackets of two single bytes, which the wrap may cut on either side, beside a comment opener
    // that shares their "/", and of double-byte characters.
    TEditorColourer colourer(nullptr);
    colourer.Brackets().AddBracket("/*", "*/");
    colourer.Brackets().AddBracket(J("「"), J("」"));
    colourer.SetCommenter("//");
    colourer.SetQuotation("\"");
    TTestHost host;
    TEditorEx e;
    e.SetHost(&host);
    e.SetColourer(&colourer);
    e.SetUndoListMax(walk.steps + 1); // so that every change stays undoable
    std::mt19937 rng(seed);
    SetRandomWrapOptions(rng, e.WrapOption());
    e.WrapOption().SetWordBreak(walk.longLines && rng() % 2 == 0);
    e.SetWordWrap(walk.wordWrap);
    const std::vector<std::string>& pieces = walk.longLines ? ColouredPieces() : TextPieces();
    std::string text = RandomText(rng, 200, 8, pieces);
    for (int line = walk.longLines ? 2 : 0; line > 0; --line) {
        const std::size_t length = 10000 + rng() % 90000;
        std::string longLine;
        while (longLine.size() < length) longLine += RandomText(rng, 60, 0, pieces);
        text += "\r\n" + longLine + "\r\n" + RandomText(rng, 100, 8, pieces);
    }
    e.Lines().SetText(text);
    TEditorScreenStrings& s = e.ScreenStrings();
    auto undoSteps = [&] { return s.UndoObj().UndoList().size(); };
    // A point on a row or on the row after the last, up to 3 columns beyond the row's end.
    auto randomPoint = [&] {
        const int row = static_cast<int>(rng() % static_cast<unsigned>(e.RowCount() + 1));
        e.SetRowCol(row, static_cast<int>(rng() % static_cast<unsigned>(e.RowDisplayLength(row) + 4)));
    };
    auto randomBox = [&] {
        std::string box;
        for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n) box += RandomText(rng, 4, 0, pieces) + "\r\n";
        return box;
    };
    auto computeAll = [](TEditorScreenStrings& S) {
        while (S.ComputeRowStates(1000)) {
        }
    };
    auto expectStatesOfAFreshLoad = [&] {
        s.FinishRewrap();
        computeAll(s);
        TTestHost freshHost;
        TEditorEx fresh;
        fresh.SetHost(&freshHost);
        fresh.SetColourer(&colourer);
        fresh.WrapOption().Assign(s.WrapOption());
        fresh.SetWordWrap(s.WordWrap());
        fresh.Lines().SetText(e.Lines().Text());
        computeAll(fresh.ScreenStrings());
        const TEditorScreenStrings& f = fresh.ScreenStrings();
        ASSERT_EQ(RowsOf(s), RowsOf(f));
        const std::vector<int> brackets = BracketsOfAWholeParse(s, colourer);
        for (int r = 0; r < s.Count(); ++r) {
            ASSERT_TRUE(SameRowState(s.GetRowAttributeData(r), f.GetRowAttributeData(r))) << "row " << r;
            ASSERT_EQ(s.BracketIndex(r), brackets[static_cast<std::size_t>(r)]) << "row " << r;
        }
    };
    std::deque<ModelStep> undo, redo;
    std::string lastOp;
    for (int step = 0; step < walk.steps; ++step) {
        const unsigned op = rng() % 10;
        if (op < 7) {
            const unsigned selection = rng() % 3; // none, stream, box
            e.SetSelectionMode(selection == 2 ? 1 : 0);
            randomPoint();
            if (selection > 0) {
                e.StartSelection();
                randomPoint();
                e.ExtendSelection();
            }
            const std::string before = e.Lines().Text();
            const std::size_t records = undoSteps();
            lastOp = std::string(selection == 0   ? "caret"
                                 : selection == 1 ? "stream"
                                                  : "box") +
                     " at " + std::to_string(e.Row()) + "," + std::to_string(e.Col()) + ": ";
            switch (rng() % 4) {
            case 0: {
                const std::string box = randomBox();
                lastOp += "box paste [" + box + "]";
                host.SetClipboardText(box, true);
                e.PasteFromClipboard();
                break;
            }
            case 1: {
                const std::string pasted = RandomText(rng, 6, 3, pieces);
                lastOp += "paste [" + pasted + "]";
                host.SetClipboardText(pasted, false);
                e.PasteFromClipboard();
                break;
            }
            case 2: {
                const std::string typed = RandomText(rng, 1, 4, pieces);
                lastOp += "type [" + typed + "]";
                e.TypeText(typed);
                break;
            }
            default: lastOp += "delete"; e.DeleteSelection();
            }
            if (undoSteps() != records) {
                undo.push_back({before, e.Lines().Text(), {}, {}});
                redo.clear();
            }
        } else if (op < 9) {
            lastOp = "undo";
            e.Undo();
            if (!undo.empty()) {
                ASSERT_EQ(e.Lines().Text(), undo.back().before) << "step " << step;
                redo.push_back(std::move(undo.back()));
                undo.pop_back();
            }
        } else if (!walk.longLines || rng() % 2 == 0) {
            lastOp = "redo";
            e.Redo();
            if (!redo.empty()) {
                ASSERT_EQ(e.Lines().Text(), redo.back().after) << "step " << step;
                undo.push_back(std::move(redo.back()));
                redo.pop_back();
            }
        } else if (rng() % 2 == 0) {
            lastOp = "idle";
            ASSERT_NO_FATAL_FAILURE(expectStatesOfAFreshLoad()) << "step " << step;
        } else {
            // Another width, word break or word wrap; the history goes with a switch that re-wraps, and
            // only a few idle steps follow.
            static const int widths[] = {20, 37, 80, 151, 250};
            switch (rng() % 3) {
            case 0:
                lastOp = "wrap width";
                e.WrapOption().SetWrapByte(widths[rng() % std::size(widths)]);
                break;
            case 1:
                lastOp = "word break";
                e.WrapOption().SetWordBreak(!e.WrapOption().WordBreak());
                break;
            default: lastOp = "word wrap"; e.SetWordWrap(!e.WordWrap());
            }
            if (!s.UndoObj().CanUndo() && !s.UndoObj().CanRedo()) {
                undo.clear();
                redo.clear();
            }
            for (int k = static_cast<int>(rng() % 4); k > 0; --k) {
                s.RewrapStep(1 + rng() % 3000);
                s.ComputeRowStates(static_cast<int>(rng() % 200));
            }
        }
        ASSERT_EQ(undoSteps(), undo.size()) << "step " << step << ", last edit " << lastOp;
        ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(e, e.Lines())) << "step " << step << ", last edit " << lastOp;
    }
    if (walk.longLines) {
        ASSERT_NO_FATAL_FAILURE(expectStatesOfAFreshLoad());
    }
}

TEST(EditorModel, RandomEditsOverSelectionsWithWordWrap) {
    for (unsigned seed : {1u, 2u, 3u}) RunEditorModel(seed, {true, 1500});
}

TEST(EditorModel, RandomEditsOverSelectionsWithoutWordWrap) { RunEditorModel(4, {false, 1500}); }

TEST(EditorModel, RandomEditsInLongLinesWithWordBreakAndColouring) {
    // Seeds 30 and 44 cut the "/*" of a "/*/" at the row end.
    for (unsigned seed : {5u, 6u, 7u, 8u, 30u, 44u}) {
        SCOPED_TRACE(seed);
        RunEditorModel(seed, {seed % 2 == 0, 300, true});
    }
}

// The ways a text reaches the caret of an editor: typed, pasted as a stream, pasted as a box.
struct TInsertWay {
    const char* name;
    void (*insert)(TEditor& E, TTestHost& Host, const std::string& Text);
};
const TInsertWay kInsertWays[] = {
    {"typed", [](TEditor& E, TTestHost&, const std::string& Text) { E.TypeText(Text); }},
    {"stream paste",
     [](TEditor& E, TTestHost& Host, const std::string& Text) {
         Host.SetClipboardText(Text, false);
         E.PasteFromClipboard();
     }},
    {"box paste",
     [](TEditor& E, TTestHost& Host, const std::string& Text) {
         Host.SetClipboardText(Text + "\r\n", true);
         E.PasteFromClipboard();
     }},
};

// With word break a row inside a long word is cut at a third of the width, after a look for the
// word's end a whole width ahead: it sees up to three rows below it, and a space put there moves its
// cut (a line of 30 x wraps as 6, 6, 18; with a space after the 15th as 15 and the space, then 15).
TEST(EditorModel, ASpaceInALongWordRecutsTheRowsAboveThatSeeIt) {
    struct Where {
        int length, row;
    };
    for (const Where w : {Where{30, 2}, Where{40, 3}}) {
        for (const TInsertWay& way : kInsertWays) {
            SCOPED_TRACE(testing::Message() << w.length << " x, row " << w.row << ", " << way.name);
            TTestHost host;
            TEditor e;
            e.SetHost(&host);
            e.WrapOption().SetWrapByte(20);
            e.WrapOption().SetWordBreak(true);
            e.SetWordWrap(true);
            const std::string before(static_cast<std::size_t>(w.length), 'x');
            e.Lines().SetText(before);
            e.SetRowCol(w.row, 3);
            way.insert(e, host, " ");
            const std::string after = e.Lines().Text();
            ASSERT_EQ(after.find(' '), static_cast<std::size_t>(6 * w.row + 3));
            ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(e, e.Lines()));
            e.Undo();
            ASSERT_EQ(e.Lines().Text(), before);
            ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(e, e.Lines()));
            e.Redo();
            ASSERT_EQ(e.Lines().Text(), after);
            ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(e, e.Lines()));
        }
    }
}

// A bracket opened before a line of 2,000 blanks with one letter among them, wrapped at 151: every
// row of the blank line lies inside the bracket wherever the letter stands, loaded, typed, pasted,
// and after undo and redo (a row of blanks has no token of its own to close or open one).
TEST(EditorModel, ABracketOpenedBeforeALongRunOfBlanksCoversEveryRowOfIt) {
    TEditorColourer colourer(nullptr);
    colourer.Brackets().AddBracket("/*", "*/");
    colourer.Brackets().AddBracket(J("「"), J("」"));
    colourer.SetCommenter("//");
    colourer.SetQuotation("\"");
    constexpr int kWidth = 151;
    auto make = [&](TEditor& E, TTestHost& Host) {
        E.SetHost(&Host);
        E.SetColourer(&colourer);
        E.WrapOption().SetWrapByte(kWidth);
        E.SetWordWrap(true);
    };
    auto computeAll = [](TEditor& E) {
        while (E.ScreenStrings().ComputeRowStates(1000)) {
        }
    };
    // Every row after the first lies inside bracket Bracket, as in a fresh load of the text.
    auto expectInside = [&](TEditor& E, int Bracket) {
        computeAll(E);
        TTestHost host;
        TEditor fresh;
        make(fresh, host);
        fresh.Lines().SetText(E.Lines().Text());
        computeAll(fresh);
        const TEditorScreenStrings& s = E.ScreenStrings();
        ASSERT_EQ(RowsOf(s), RowsOf(fresh.ScreenStrings()));
        for (int r = 1; r < s.Count(); ++r) {
            ASSERT_EQ(s.BracketIndex(r), Bracket) << "row " << r;
            ASSERT_TRUE(SameRowState(s.GetRowAttributeData(r), fresh.ScreenStrings().GetRowAttributeData(r)))
                << "row " << r;
        }
    };
    const std::string blanks(2000, ' ');
    for (const int bracket : {0, 1}) {
        const std::string head = "x" + std::string(colourer.Brackets().Item(bracket).LeftBracket()) + "\r\n";
        for (const int at : {0, 400, 1500}) {
            SCOPED_TRACE(testing::Message() << "bracket " << bracket << ", letter at " << at);
            {
                SCOPED_TRACE("loaded");
                TTestHost host;
                TEditor e;
                make(e, host);
                std::string text = head + blanks;
                text[head.size() + static_cast<std::size_t>(at)] = 'y';
                e.Lines().SetText(text);
                ASSERT_NO_FATAL_FAILURE(expectInside(e, bracket));
            }
            for (const TInsertWay& way : kInsertWays) {
                SCOPED_TRACE(way.name);
                TTestHost host;
                TEditor e;
                make(e, host);
                e.Lines().SetText(head + blanks);
                computeAll(e);
                e.SetRowCol(1 + at / kWidth, at % kWidth);
                way.insert(e, host, "y");
                const std::string after = e.Lines().Text();
                ASSERT_EQ(after.find('y'), head.size() + static_cast<std::size_t>(at));
                ASSERT_NO_FATAL_FAILURE(expectInside(e, bracket));
                e.Undo();
                ASSERT_EQ(e.Lines().Text(), head + blanks);
                ASSERT_NO_FATAL_FAILURE(expectInside(e, bracket));
                e.Redo();
                ASSERT_EQ(e.Lines().Text(), after);
                ASSERT_NO_FATAL_FAILURE(expectInside(e, bracket));
            }
        }
    }
}

TEST(ScreenStringsModel, RandomEditsUndosAndRedosWithWordWrap) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) RunModel(seed, true, false, 2500);
}

TEST(ScreenStringsModel, KeystrokesInLongWrappedLines) {
    // Lines of hundreds of rows, so that an edit re-wraps only until the rows fall as before; a
    // re-wrap that stops at the wrong row leaves rows that a full re-wrap would cut elsewhere. The
    // seeds' options cover kinsoku (10, 17), hanging punctuation (7, 8, 17) and FollowRetMark (8-10).
    for (unsigned seed : {7u, 8u, 9u, 10u, 17u}) RunModel(seed, true, false, 1500, kLongLines);
}

TEST(ScreenStringsModel, KeystrokesInVeryLongWrappedLinesLeaveTheirRestsToIdleSteps) {
    for (unsigned seed : {6u, 11u}) RunModel(seed, true, false, 150, kVeryLongLines);
}

TEST(ScreenStringsModel, RandomEditsWithoutWordWrap) { RunModel(5, false, false, 2000); }

TEST(ScreenStringsModel, EditsUndosAndMarksWhileTheWordWrapIsCutInSteps) {
    for (unsigned seed : {7u, 8u, 10u, 17u, 21u}) RunModel(seed, true, false, 1500, kWrapInSteps);
}

TEST(ScreenStringsModel, ChangesInsideLongRowsWithoutWordWrap) {
    for (unsigned seed : {11u, 12u}) RunModel(seed, false, false, 1500, kLongLines);
}

TEST_F(ScreenStringsTest, AChangeInsideARowNeedsWordWrapOffAndNoLineBreak) {
    ed.Lines.SetText("abc\r\ndef");
    EXPECT_TRUE(s.CanReplaceInRow(1, 3, 0, "x")) << "at the row's end";
    EXPECT_FALSE(s.CanReplaceInRow(1, 3, 1, "x")) << "past the row's end";
    EXPECT_FALSE(s.CanReplaceInRow(0, 1, 0, "\r\n"));
    EXPECT_FALSE(s.CanReplaceInRow(0, 1, 0, "")) << "no change";
    EXPECT_FALSE(s.CanReplaceInRow(2, 0, 0, "x"));
    EXPECT_FALSE(s.CanReplaceInRow(1, 0, 3, "")) << "the text's end makes no empty row";
    EXPECT_TRUE(s.CanReplaceInRow(0, 0, 3, "")) << "a line stays, empty";
    s.SetWordWrap(true);
    EXPECT_FALSE(s.CanReplaceInRow(0, 1, 0, "x")) << "a change may re-wrap";
}

// Word wrap switched on for a text of short lines and lines of a few rows and one of a hundred: the rows the editor
// shows (its top row and the colouring's look-ahead below it, its caret row) are cut at once, the rest in steps, some
// stopping inside a long line. At every step the rows cut are those of a fresh load and the text, caret and view stay;
// at the end the rows are a fresh load's and the marks those of a cut of the whole text at once.
TEST(WordWrapInSteps, ShownRowsAtOnceTheRestInStepsEndAsAFreshLoad) {
    for (unsigned seed : {1u, 7u, 8u, 10u, 17u}) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        std::string text;
        for (int line = 0; line < 200; ++line)
            text += RandomText(rng, line == 100 ? 2000 : line % 3 ? 60 : 8, 0) + "\r\n";
        auto make = [&](TTestEditor& Ed) {
            std::mt19937 options(seed);
            SetRandomWrapOptions(options, Ed.ScreenStrings().WrapOption());
            Ed.Layout.TabSpaceCount = 4;
            Ed.LookAhead = 4;
            Ed.Lines.SetText(text);
            for (int row : {0, 30, 70, 71, Ed.ScreenStrings().Count() - 1})
                Ed.ScreenStrings().SetRowMarks(row, static_cast<std::uint16_t>(1u << (row % 16)));
            for (int row = 0; row < Ed.ScreenStrings().Count(); ++row) Ed.ScreenStrings().SetRowModified(row, true);
            Ed.SetTopRow(5);
            Ed.SetRow(30);
            Ed.SetCol(3);
            Ed.ScreenStrings().SetWordWrap(true);
        };
        TTestEditor whole, ed;
        make(whole);
        whole.ScreenStrings().FinishRewrap();
        ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(whole, whole.Lines));
        make(ed);
        TEditorScreenStrings& s = ed.ScreenStrings();
        ASSERT_TRUE(s.RewrapPending());
        EXPECT_GT(s.RewrapFrom(), 30) << "the caret row is cut";
        EXPECT_EQ(ed.Pending, 1) << "the rest is left to the idle work";
        for (int from = s.RewrapFrom(); s.RewrapStep(100); from = s.RewrapFrom()) {
            ASSERT_GT(s.RewrapFrom(), from);
            ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(ed, ed.Lines));
            ASSERT_EQ(ed.Lines.Text(), text);
            ASSERT_EQ(ed.Row(), 30);
            ASSERT_EQ(ed.TopRow(), 5);
            ASSERT_EQ(ed.Col(), 0);
        }
        ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(ed, ed.Lines));
        std::vector<std::uint16_t> marks, wholeMarks;
        for (int r = 0; r < s.Count(); ++r) marks.push_back(s.RowMarks(r));
        for (int r = 0; r < whole.ScreenStrings().Count(); ++r) wholeMarks.push_back(whole.ScreenStrings().RowMarks(r));
        EXPECT_EQ(marks, wholeMarks);
        EXPECT_EQ(s.GetUsedMarks(), whole.ScreenStrings().GetUsedMarks());
        EXPECT_EQ(ModifiedFlags(s), std::vector<bool>(static_cast<std::size_t>(s.Count()), false))
            << "no cut row keeps its modified bit";
    }
}

// Every change of the rows, and switching word wrap off, while the rows are cut in steps: a change
// above the waiting rows leaves them waiting, any other sees the whole cut, and the rows end as a
// fresh load of the text.
TEST(WordWrapInSteps, ChangesWhileTheRowsAreCutEndAsAFreshLoad) {
    struct Case {
        const char* name;
        std::function<void(TTestEditor&)> change;
        bool waits = false;
    };
    const Case cases[] = {
        {"typing in a cut row", [](TTestEditor& e) { e.ScreenStrings().UpdateRows(3, 1, "typed\r\n"); }, true},
        {"joining the last cut line with the first waiting one",
         [](TTestEditor& e) {
             TEditorScreenStrings& s = e.ScreenStrings();
             const int last = s.RewrapFrom() - 1;
             s.UpdateRows(last, 1, std::string(s.Get(last)));
         }},
        {"undo of an edit",
         [](TTestEditor& e) {
             e.ScreenStrings().UpdateRows(0, 0, "new line\r\n");
             e.ScreenStrings().Undo();
         }},
        {"word wrap off", [](TTestEditor& e) { e.ScreenStrings().SetWordWrap(false); }},
        {"another wrap width",
         [](TTestEditor& e) {
             e.ScreenStrings().WrapOption().SetWrapByte(27);
             e.ScreenStrings().FinishRewrap();
         }},
        {"a new text", [](TTestEditor& e) { e.Lines.SetText("a\r\nb"); }},
        {"clearing", [](TTestEditor& e) { e.Lines.Clear(); }},
        {"a line appended", [](TTestEditor& e) { e.Lines.Add("appended"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937 rng(3);
        TTestEditor ed;
        ed.LookAhead = 4;
        TEditorScreenStrings& s = ed.ScreenStrings();
        s.WrapOption().SetWrapByte(20);
        ed.Lines.SetText(RandomText(rng, 1500, 10));
        s.SetWordWrap(true);
        ASSERT_TRUE(s.RewrapPending());
        c.change(ed);
        EXPECT_EQ(s.RewrapPending(), c.waits);
        ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(ed, ed.Lines));
        s.FinishRewrap();
        ASSERT_NO_FATAL_FAILURE(ExpectRowsOfAFreshLoad(ed, ed.Lines));
    }
}

TEST(ScreenStringsModel, RandomEditsWithWordBreak) { RunModel(6, true, true, 2000); }

} // namespace
} // namespace quillon
