#include "EditorEx.h"
#include "EditorTestHost.h"
#include "FindMatchText.h"
#include "REScanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

namespace quillon {
namespace {

using test::MatchText;
using test::Sj;

class EditorEx : public ::testing::Test {
protected:
    void SetUp() override { E.SetHost(&Host); }

    void SetText(std::string_view S) {
        E.Lines().SetText(S);
        E.SetRowCol(0, 0);
    }
    void Find(const std::string& Pattern, std::uint8_t Options) {
        E.SetFindString(Pattern);
        E.SetSearchOptions(Options);
    }
    std::string Collect(int Row) {
        E.CollectFindMatches(Row);
        return MatchText(E.Matches());
    }
    std::pair<int, int> Caret() const { return {E.Row(), E.Col()}; }
    // The row hook as the painter emits it for row Row, the part from Left to Right (client pixels).
    TPaintOp RowOp(int Row, int Left = 0, int Right = -1) const {
        TPaintOp op;
        op.Kind = poDrawLine;
        op.X = E.TextLeft() - E.TopCol() * E.CharWidth();
        op.Y = E.TextTop() + (Row - E.TopRow()) * E.RowHeight();
        op.Rect = {std::max(Left, E.TextLeft()), op.Y, Right < 0 ? Host.Width : Right, op.Y + E.FontHeight()};
        op.Row = Row;
        return op;
    }
    TPaintPlan Draw(const TPaintOp& Op) {
        TPaintPlan plan;
        E.DoDrawLine(Op, plan);
        return plan;
    }
    // x of column Col on the row of Op.
    int X(const TPaintOp& Op, int Col) const { return Op.X + Col * E.CharWidth(); }

    TTestHost Host;
    TEditorEx E;
};

// ---- Options and marks

TEST_F(EditorEx, Defaults) {
    EXPECT_EQ(E.Caret().SelDragMode(), dmManual);
    EXPECT_EQ(E.FindString(), "");
    EXPECT_EQ(E.SearchOptions(), 0);
    for (TEditorMark* m :
         {&E.ExMarks().DBSpaceMark(), &E.ExMarks().SpaceMark(), &E.ExMarks().TabMark(), &E.ExMarks().FindMark()}) {
        EXPECT_EQ(m->Color(), TColor(0x808080));
        EXPECT_FALSE(m->Visible());
    }
}

TEST_F(EditorEx, SearchOptionsAreNormalised) {
    const struct {
        int Value, Stored;
    } cases[] = {{15, 7}, {12, 8}, {8, 8}, {9, 9}, {2, 2}, {6, 6}, {4, 0}, {5, 1}, {11, 3}, {10, 2}, {1, 1}, {0, 0}};
    for (const auto& c : cases) {
        E.SetSearchOptions(static_cast<std::uint8_t>(c.Value));
        EXPECT_EQ(E.SearchOptions(), c.Stored) << c.Value;
    }
}

TEST_F(EditorEx, FuzzyFlagChangesOnlyWithRegularExpressions) {
    E.SetSearchOptions(6);
    EXPECT_TRUE(E.Finder().UseFuzzyCharDic());
    E.SetSearchOptions(12); // no regular expression: the finder keeps its flag
    EXPECT_TRUE(E.Finder().UseFuzzyCharDic());
    E.SetSearchOptions(2);
    EXPECT_FALSE(E.Finder().UseFuzzyCharDic());
}

TEST_F(EditorEx, FindStringAndOptionsRepaintOnlyWithVisibleFindMark) {
    SetText("abc");
    Host.Log.clear();
    E.SetFindString("a");
    E.SetSearchOptions(1);
    EXPECT_FALSE(Host.Logged("invalidate"));
    E.ExMarks().FindMark().SetVisible(true); // a mark change repaints
    EXPECT_TRUE(Host.Logged("invalidate"));
    Host.Log.clear();
    E.SetFindString("a"); // unchanged
    EXPECT_FALSE(Host.Logged("invalidate"));
    E.SetFindString("b");
    EXPECT_TRUE(Host.Logged("invalidate"));
    Host.Log.clear();
    E.SetSearchOptions(0);
    EXPECT_TRUE(Host.Logged("invalidate"));
}

TEST_F(EditorEx, MarksAssignIntoTheOwnedObjectsWithOneNotice) {
    TEditorExMarks marks;
    marks.SpaceMark().SetVisible(true);
    marks.TabMark().SetColor(clRed);
    marks.FindMark().SetVisible(true);
    int changes = 0;
    TEditorExMarks target;
    target.OnChange = [&](TPersistent*) { ++changes; };
    TEditorMark* owned = &target.SpaceMark();
    target.Assign(marks);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(&target.SpaceMark(), owned);
    EXPECT_TRUE(target.SpaceMark().Visible());
    EXPECT_EQ(target.TabMark().Color(), clRed);
    EXPECT_TRUE(target.FindMark().Visible());
    EXPECT_FALSE(target.DBSpaceMark().Visible());

    E.SetExMarks(marks);
    EXPECT_TRUE(E.ExMarks().FindMark().Visible());
}

// ---- Match collection

TEST_F(EditorEx, MatchesOfALineInEveryOptionCombination) {
    const struct {
        const char* Text; // UTF-8; the matches are collected on row 0
        const char* Pattern;
        int Options;
        const char* Matches;
    } cases[] = {
        // plain
        {"aaaa", "aa", 0, "1:2 3:2"},             // occurrences never overlap
        {"Cat CAT cat", "cat", 0, "1:3 5:3 9:3"}, // case folded
        {"Cat CAT cat", "cat", 1, "9:3"},
        {"Cat CAT cat", "CAT", 1, "5:3"},
        {"the cat.", "cat", 8, "5:3"},
        {"concat cat", "cat", 8, "8:3"}, // the skipped occurrence still moves the search on
        {"concat", "cat", 0, "4:3"},
        {"x-ab ab", "ab", 8, "6:2"},
        {"x-ab ab", "ab", 9, "6:2"},
        {"カタカナ漢字", "漢字", 8, "9:4"},
        {"abc", "", 0, ""},
        {"\xe3\x82\xa2"
         "A",
         "A", 1, "3:1"}, // ア is 0x83 0x41: no match on its trail byte
        {"\xe3\x82\xa2"
         "A",
         "a", 0, "3:1"}, // and folding leaves the trail byte alone
        {"ｶﾞガ", "ガ", 0, "3:2"},
        // regular expressions
        {"aba", "^a", 2, "1:1"},
        {"aba", "a$", 2, "3:1"},
        {"aXbx", "x", 2, "2:1 4:1"},
        {"aXbx", "x", 3, "4:1"},
        {"aBc", "[A-Z]", 2, "1:1 2:1 3:1"}, // the pattern is folded too
        {"aBc", "[A-Z]", 3, "2:1"},
        {"abc", "x*", 2, ""}, // only empty matches
        {"axxbx", "x*", 2, "2:2 5:1"},
        {"\xe3\x82\xa2"
         "A",
         "A", 3, "3:1"},
        {"ｶﾞガ", "ガ", 2, "3:2"},
        {"ｶﾞガ", "ガ", 6, "1:2 3:2"},  // fuzzy characters
        {"ｶﾞガ", "ガ", 14, "1:2 3:2"}, // whole word dropped
        {"abc abc", "b.", 2, "2:2 6:2"},
    };
    for (const auto& c : cases) {
        SetText(Sj(c.Text) + "\r\nsecond");
        Find(Sj(c.Pattern), static_cast<std::uint8_t>(c.Options));
        EXPECT_EQ(Collect(0), c.Matches) << c.Text << " / " << c.Pattern << " / " << c.Options;
    }
}

TEST_F(EditorEx, AnchorsAtLogicalLineEnds) {
    SetText("ba\r\nab\r\na");
    Find("^a", 2);
    EXPECT_EQ(Collect(0), "");
    EXPECT_EQ(Collect(1), "1:1");
    Find("a$", 2);
    EXPECT_EQ(Collect(0), "2:1"); // before the appended CR LF
    EXPECT_EQ(Collect(1), "");
    EXPECT_EQ(Collect(2), "1:1"); // at the end of the text
}

TEST_F(EditorEx, LineHeadOnlyInTheFirstSearch) {
    // "^" after the first search matches only after an LF of the line.
    SetText("aaa");
    Find("^a", 2);
    EXPECT_EQ(Collect(0), "1:1");
}

TEST_F(EditorEx, LogicalLinesOfWrappedRows) {
    E.SetWordWrap(true);
    E.WrapOption().SetWrapByte(20);
    SetText(std::string(18, 'x') + "cat" + std::string(10, 'y') + "\r\nnext");
    ASSERT_GE(E.RowCount(), 3);
    ASSERT_EQ(E.GetRowAttribute(0), raWrapped);
    const std::string line = std::string(18, 'x') + "cat" + std::string(10, 'y');
    EXPECT_EQ(E.LogicalLineText(0), line);
    EXPECT_EQ(E.LogicalLineText(1), line);
    EXPECT_EQ(E.LogicalLineText(2), "next");
    EXPECT_EQ(E.LogicalLineText(-1), "");
    EXPECT_EQ(E.LogicalLineText(E.RowCount()), "");
    Find("cat", 0);
    EXPECT_EQ(Collect(1), "19:3");
    Find("y$", 2);
    EXPECT_EQ(Collect(0), "31:1");
}

TEST_F(EditorEx, MatchesKeptForALineFollowEveryChange) {
    E.SetWordWrap(true);
    E.WrapOption().SetWrapByte(20);
    SetText(std::string(18, 'x') + "cat" + std::string(10, 'y') + "\r\nCat cat");
    const int last = E.RowCount() - 1;
    Find("cat", 0);
    EXPECT_EQ(Collect(0), "19:3");
    EXPECT_EQ(Collect(1), "19:3") << "another row of the line";
    EXPECT_EQ(Collect(last), "1:3 5:3") << "another line";
    Find("cat", sfoMatchCase);
    EXPECT_EQ(Collect(last), "5:3") << "the options";
    Find("Cat", sfoMatchCase);
    EXPECT_EQ(Collect(last), "1:3") << "the find string";
    E.SetRowCol(last, 0);
    E.Perform(WM_CHAR, 'C');
    EXPECT_EQ(Collect(last), "2:3") << "the text";
}

TEST_F(EditorEx, BadRegularExpressionRaisesFromCollecting) {
    SetText("a(b");
    Find("(", 2);
    EXPECT_THROW(E.CollectFindMatches(0), ERegExpParser);
    Find("(", 0); // plain text: a bracket is a character
    EXPECT_EQ(Collect(0), "2:1");
}

// ---- FindNext and FindPrev

class EditorExFind : public EditorEx {
protected:
    void SetUp() override {
        EditorEx::SetUp();
        SetText("cat a\r\nno\r\na cat cat");
        Find("cat", 0);
    }
    // Selected text and caret after a search.
    std::string Hit() const { return E.SelText(); }
};

TEST_F(EditorExFind, ForwardsToTheEndOfTheText) {
    const std::vector<std::pair<int, int>> starts = {{0, 0}, {2, 2}, {2, 6}};
    for (const auto& [row, col] : starts) {
        ASSERT_TRUE(E.FindNext());
        EXPECT_EQ(Hit(), "cat");
        EXPECT_EQ(E.SelDraw().StartRow, row);
        EXPECT_EQ(E.SelDraw().Start, col);
    }
    const auto caret = Caret();
    const int selStart = E.SelStart();
    EXPECT_FALSE(E.FindNext()); // no wrap-around: nothing changes
    EXPECT_EQ(Caret(), caret);
    EXPECT_EQ(E.SelStart(), selStart);
    EXPECT_EQ(Hit(), "cat");
}

TEST_F(EditorExFind, BackwardsToTheStartOfTheText) {
    E.SetRowCol(2, 9);
    const std::vector<std::pair<int, int>> found = {{2, 6}, {2, 2}, {0, 0}};
    for (const auto& [row, col] : found) {
        ASSERT_TRUE(E.FindPrev());
        EXPECT_EQ(Caret(), std::make_pair(row, col)); // the caret at the match start
    }
    EXPECT_FALSE(E.FindPrev());
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
}

TEST_F(EditorExFind, BackwardsFindsAMatchEndingAtTheCaretLine) {
    E.SetRowCol(1, 1);
    ASSERT_TRUE(E.FindPrev());
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
}

TEST_F(EditorExFind, CaretHitStyleStaysAtTheMatchStart) {
    E.SetHitStyle(hsCaret);
    ASSERT_TRUE(E.FindNext());
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    ASSERT_TRUE(E.FindNext()); // moves on by the last hit's length
    EXPECT_EQ(Caret(), std::make_pair(2, 2));
    ASSERT_TRUE(E.FindNext());
    EXPECT_EQ(Caret(), std::make_pair(2, 6));
    EXPECT_FALSE(E.FindNext());
}

// The caret hit style walks the matches alike whether the editor has the focus (a widened caret
// shows the hit) or another window has it.
TEST_F(EditorExFind, CaretHitStyleWalksAlikeWithAndWithoutTheFocus) {
    const std::vector<std::pair<int, int>> hits = {{0, 0}, {0, 2}, {0, 7}, {2, 1}, {3, 0}};
    for (bool focus : {true, false}) {
        Host.HasFocus = focus;
        SetText("aaaa b aa\r\n\r\nxaa\r\naa");
        Find("aa", 0);
        E.SetHitStyle(hsCaret);
        for (const auto& hit : hits) {
            ASSERT_TRUE(E.FindNext()) << focus;
            EXPECT_EQ(Caret(), hit) << focus;
        }
        EXPECT_FALSE(E.FindNext()) << focus;
        E.CancelSelection();
        E.SetRowCol(3, 2);
        for (auto hit = hits.rbegin(); hit != hits.rend(); ++hit) {
            ASSERT_TRUE(E.FindPrev()) << focus;
            EXPECT_EQ(Caret(), *hit) << focus;
        }
        EXPECT_FALSE(E.FindPrev()) << focus;
    }
}

TEST_F(EditorExFind, MatchBeyondColumn1000IsSkippedWithoutWordWrap) {
    SetText(std::string(1000, 'x') + "cat\r\nxcat");
    ASSERT_TRUE(E.FindNext());
    EXPECT_EQ(Caret().first, 1);
    EXPECT_EQ(E.SelDraw().Start, 1);
}

TEST_F(EditorExFind, MatchesInWrappedLines) {
    E.SetWordWrap(true);
    E.WrapOption().SetWrapByte(20);
    SetText(std::string(18, 'x') + "cat" + std::string(10, 'y') + "cat");
    ASSERT_TRUE(E.FindNext());
    EXPECT_EQ(Hit(), "cat");
    EXPECT_EQ(E.SelStart(), 18);
    ASSERT_TRUE(E.FindNext());
    EXPECT_EQ(E.SelStart(), 31);
    EXPECT_FALSE(E.FindNext());
    ASSERT_TRUE(E.FindPrev()); // the caret ends the last hit: that hit is found again
    EXPECT_EQ(E.SelStart(), 31);
    ASSERT_TRUE(E.FindPrev()); // now from its start
    EXPECT_EQ(E.SelStart(), 18);
}

TEST_F(EditorExFind, EmptyMatchesEndTheSearch) {
    Find("q*", 2);
    EXPECT_FALSE(E.FindNext());
    E.SetRowCol(2, 9);
    EXPECT_FALSE(E.FindPrev());
}

TEST_F(EditorExFind, RegularExpressionsAcrossLines) {
    Find("^(a|n)", 2);
    ASSERT_TRUE(E.FindNext());
    EXPECT_EQ(Caret().first, 1);
    EXPECT_EQ(Hit(), "n");
    ASSERT_TRUE(E.FindNext());
    EXPECT_EQ(E.SelDraw().StartRow, 2);
    EXPECT_EQ(E.SelDraw().Start, 0);
    EXPECT_FALSE(E.FindNext());
}

TEST_F(EditorExFind, BadRegularExpressionRaisesAndChangesNothing) {
    const std::string text = E.Lines().Text();
    Find("[", 2);
    EXPECT_THROW(E.FindNext(), ERegExpParser);
    EXPECT_THROW(E.FindPrev(), ERegExpParser);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    EXPECT_EQ(E.Lines().Text(), text);
}

// A plain find string is sought in chunks of lines; every hit of FindNext from the top and of
// FindPrev from the end is a match that the line's own collection (the marks') holds, in order, none
// left out: with case folded or not (a trail byte that is a letter is not folded: ア and ヂ differ
// only there), whole words, word wrap on and off (the column limit), and lines longer than a chunk.
TEST(FindInChunks, HitsAreTheLinesMatchesInOrder) {
    const std::vector<std::string> pieces = {"cat",      "CAT", "Cat",    " ",      " ",
                                             ".",        "a",   Sj("ア"), Sj("ａ"), Sj("漢字"),
                                             Sj("カタ"), "x",   "catcat", Sj("ヂ"), Sj("ニ")};
    const std::vector<std::string> patterns = {"cat", "Cat", "a", Sj("ア"), Sj("漢"), "t c", Sj("字カ"), "x."};
    std::mt19937 random(20261211);
    for (int trial = 0; trial < 120; ++trial) {
        std::string text;
        const int lines = 1 + static_cast<int>(random() % 12);
        for (int l = 0; l < lines; ++l) {
            const std::size_t kind = random() % 10;
            const std::size_t size = kind == 0  ? 70000 + random() % 5000
                                     : kind < 3 ? 900 + random() % 400
                                                : random() % 60;
            // A line longer than a chunk holds a piece now and then, so that its hits stay few.
            std::string line;
            while (line.size() < size)
                line += kind == 0 && random() % 8 != 0 ? std::string(1000, 'y') : pieces[random() % pieces.size()];
            text += line + (l + 1 < lines ? "\r\n" : "");
        }
        const std::string pattern = patterns[random() % patterns.size()];
        const auto options = static_cast<std::uint8_t>(random() % 2 * sfoMatchCase | random() % 2 * sfoWholeWord);
        const bool wrap = random() % 2;
        TTestHost host;
        TEditorEx E;
        E.SetHost(&host);
        E.SetWordWrap(wrap);
        E.WrapOption().SetWrapByte(40);
        E.Lines().SetText(text);
        E.SetFindString(pattern);
        E.SetSearchOptions(options);
        // The matches of every line as absolute offsets of the text, before the column limit.
        std::vector<int> expected;
        int lineStart = 0;
        for (int row = 0; row < E.RowCount();) {
            E.CollectFindMatches(row);
            for (const TFindMatch& m : E.Matches())
                if (wrap || m.Position <= 1000) expected.push_back(lineStart + m.Position - 1);
            const std::string line = E.LogicalLineText(row);
            lineStart += static_cast<int>(line.size()) + 2;
            while (E.GetRowAttribute(row) == raWrapped) ++row;
            ++row;
        }
        const std::string where = "trial " + std::to_string(trial) + " pattern " + pattern + " options " +
                                  std::to_string(options) + (wrap ? " wrapped" : "");
        std::vector<int> forward, backward;
        E.SetRowCol(0, 0);
        while (forward.size() <= expected.size() && E.FindNext()) forward.push_back(E.SelStart());
        ASSERT_EQ(forward, expected) << where;
        E.SetRowCol(E.RowCount() - 1, 0);
        E.SetSelStart(static_cast<int>(text.size()));
        while (backward.size() <= expected.size() && E.FindPrev()) backward.push_back(E.SelStart());
        std::reverse(backward.begin(), backward.end());
        ASSERT_EQ(backward, expected) << where;
    }
}

// ---- Matches at line breaks
//
// A regular expression sees each line with its CR LF. A match that takes a part of the line break
// takes all of it, so that a search always moves on and a replacement always changes the text:
// before, "\n" was found at the row end again and again (F3 stood still, replace-all never ended,
// and backwards it counted replacements that changed nothing).

constexpr int kSearchSteps = 64; // far more than any case below needs

// The hits of repeated searches, each as "selection start:length", under a step bound; "LOOPS"
// when a search finds the hit it stands on, or the bound is reached.
std::string WalkHits(TEditorEx& E, bool Backward) {
    std::string hits;
    int last = Backward ? INT_MAX : -1;
    for (int step = 0; step < kSearchSteps; ++step) {
        if (!(Backward ? E.FindPrev() : E.FindNext())) return hits;
        const int start = E.SelStart();
        if (Backward ? start >= last : start <= last) return hits + " LOOPS";
        last = start;
        hits += (hits.empty() ? "" : " ") + std::to_string(start) + ":" + std::to_string(E.SelLength());
    }
    return hits + " LOOPS";
}

// The one-at-a-time replace loop, as the replace command runs it, under a step bound: Count the
// replacements, -1 when the loop does not end within Steps. False when a replacement leaves the caret
// elsewhere than behind (backwards before) the text it put in, past the column limit of an unwrapped
// row or in a character cut in two: the next search then starts elsewhere than the text says.
bool ReplaceOneByOne(TEditorEx& E, const std::string& Replacement, bool Backward, int& Count,
                     int Steps = kSearchSteps) {
    bool sound = true;
    for (Count = 0; Count < Steps; ++Count) {
        if (!(Backward ? E.FindPrev() : E.FindNext())) return sound;
        const int start = E.SelStart(), length = E.GetTextLength() - E.HitSelLength();
        E.ReplaceHit(Replacement, Backward);
        sound = sound && E.SelStart() == start + (Backward ? 0 : E.GetTextLength() - length);
    }
    Count = -1;
    return sound;
}

struct LineBreakCase {
    const char* Pattern;
    const char* Hits;     // forwards from the top; backwards the same in reverse
    const char* Replaced; // every match replaced by "", either way
    int Count;
};

const std::string kBreaks = "ab\r\ncd \r\n\r\nef";

const LineBreakCase kLineBreakCases[] = {
    {"\\n", "2:2 7:2 9:2", "abcd ef", 3},    {"\\r", "2:2 7:2 9:2", "abcd ef", 3},
    {"[\\n]", "2:2 7:2 9:2", "abcd ef", 3},  {"[\\r\\n]", "2:2 7:2 9:2", "abcd ef", 3},
    {"\\n*", "2:2 7:2 9:2", "abcd ef", 3},   {"(b|\\n)", "1:1 2:2 7:2 9:2", "acd ef", 4},
    {"\\r\\n", "2:2 7:2 9:2", "abcd ef", 3}, {"[ \\t\\r\\n]+", "2:2 6:3 9:2", "abcdef", 3},
    {"d.\\r", "5:4", "ab\r\nc\r\nef", 1},
};

TEST_F(EditorEx, SearchesMoveOnOverLineBreaks) {
    for (const bool wrap : {false, true})
        for (const LineBreakCase& c : kLineBreakCases) {
            const std::string where = std::string(c.Pattern) + (wrap ? " wrapped" : "");
            E.SetWordWrap(wrap);
            E.WrapOption().SetWrapByte(4);
            SetText(kBreaks);
            Find(c.Pattern, sfoRegExp);
            EXPECT_EQ(WalkHits(E, false), c.Hits) << where;
            E.CancelSelection();
            E.SetSelStart(static_cast<int>(kBreaks.size()));
            std::string backwards = WalkHits(E, true), forwards;
            for (std::size_t end = backwards.size(); end != std::string::npos && end > 0;) {
                const std::size_t space = backwards.rfind(' ', end - 1);
                const std::size_t from = space == std::string::npos ? 0 : space + 1;
                forwards += (forwards.empty() ? "" : " ") + backwards.substr(from, end - from);
                end = space;
            }
            EXPECT_EQ(forwards, c.Hits) << where << " backwards";
        }
}

TEST_F(EditorEx, ReplacingMatchesAtLineBreaksEnds) {
    for (const bool wrap : {false, true})
        for (const bool backward : {false, true})
            for (const LineBreakCase& c : kLineBreakCases) {
                const std::string where =
                    std::string(c.Pattern) + (wrap ? " wrapped" : "") + (backward ? " backwards" : "");
                E.SetWordWrap(wrap);
                E.WrapOption().SetWrapByte(4);
                SetText(kBreaks);
                Find(c.Pattern, sfoRegExp);
                E.SetHitStyle(hsDraw);
                if (backward) E.SetSelStart(static_cast<int>(kBreaks.size()));
                int count = 0;
                EXPECT_TRUE(ReplaceOneByOne(E, "", backward, count)) << where;
                EXPECT_EQ(count, c.Count) << where;
                EXPECT_EQ(E.Lines().Text(), c.Replaced) << where;
            }
}

// A window that paints at once when asked to update, as a real one does: every row's hook runs and
// collects the matches of its line again while the search moves the caret.
class TPaintingHost : public TTestHost {
public:
    TEditorEx* Editor = nullptr;
    int Paints = 0;
    void UpdateWindow() override {
        if (!Editor) return;
        ++Paints;
        TPaintPlan plan;
        for (int row = 0; row < Editor->RowCount(); ++row) {
            TPaintOp op;
            op.Kind = poDrawLine;
            op.Row = row;
            op.Rect = {0, 0, Width, 16};
            Editor->DoDrawLine(op, plan);
        }
    }
};

TEST(EditorExPainting, SearchSurvivesPaintingDuringTheCaretMove) {
    TPaintingHost host;
    TEditorEx e;
    e.SetHost(&host);
    e.Lines().SetText("xx cat\r\ncat cat\r\nno");
    e.ExMarks().FindMark().SetVisible(true);
    e.SetFindString("cat");
    e.SetRowCol(0, 0);
    host.Editor = &e;
    for (int expected : {3, 8, 12}) {
        ASSERT_TRUE(e.FindNext());
        EXPECT_EQ(e.SelStart(), expected);
        EXPECT_EQ(e.SelText(), "cat");
    }
    EXPECT_GT(host.Paints, 0);
    for (int expected : {12, 8, 3}) {
        ASSERT_TRUE(e.FindPrev());
        EXPECT_EQ(e.SelStart(), expected);
    }
}

// ---- Marks in the paint plan

TEST_F(EditorEx, BlankMarksOnSpacesTabsAndFullWidthSpaces) {
    SetText("a b\tc" + Sj("　") + "d");
    E.ExMarks().SpaceMark().SetVisible(true);
    E.ExMarks().TabMark().SetVisible(true);
    E.ExMarks().DBSpaceMark().SetVisible(true);
    E.ExMarks().DBSpaceMark().SetColor(clRed);
    const TPaintOp op = RowOp(0);
    const TPaintPlan plan = Draw(op);
    const int w = E.CharWidth(), h = E.FontHeight(), y = op.Y;
    ASSERT_EQ(plan.size(), 4u);
    // the space at column 1: a frame of one column
    EXPECT_EQ(plan[0].Kind, poLines);
    EXPECT_EQ(plan[0].Points, (std::vector<std::pair<int, int>>{{X(op, 1), y + 1},
                                                                {X(op, 1) + w - 2, y + 1},
                                                                {X(op, 1) + w - 2, y + h - 3},
                                                                {X(op, 1), y + h - 3},
                                                                {X(op, 1), y + 1}}));
    // the tab at column 3: an arrow in its first column
    const int m = y + h / 2, d = std::max(3, h / 8), r = X(op, 3) + w - 1;
    EXPECT_EQ(plan[1].Points, (std::vector<std::pair<int, int>>{{X(op, 3) + 1, m}, {r, m}, {r - d, m - d}}));
    EXPECT_EQ(plan[2].Points, (std::vector<std::pair<int, int>>{{r, m}, {r - d, m + d}}));
    // the full-width space after the tab stop (c at 8): columns 9 and 10
    EXPECT_EQ(plan[3].Color, clRed);
    EXPECT_EQ(plan[3].Points.front(), std::make_pair(X(op, 9), y + 1));
    EXPECT_EQ(plan[3].Points[1], std::make_pair(X(op, 9) + 2 * w - 2, y + 1));
}

TEST_F(EditorEx, TabMarksFollowTheTabStops) {
    E.Caret().SetTabSpaceCount(4);
    SetText("\tab\t" + Sj("漢") + "\t");
    E.ExMarks().TabMark().SetVisible(true);
    const TPaintOp op = RowOp(0);
    const TPaintPlan plan = Draw(op);
    ASSERT_EQ(plan.size(), 6u); // two lines per tab
    EXPECT_EQ(plan[0].Points.front().first, X(op, 0) + 1);
    EXPECT_EQ(plan[2].Points.front().first, X(op, 6) + 1);  // after "ab" at columns 4 and 5
    EXPECT_EQ(plan[4].Points.front().first, X(op, 10) + 1); // after the kanji at columns 8 and 9
}

TEST_F(EditorEx, HalfVisibleFullWidthSpaceGetsItsRightHalf) {
    SetText("a" + Sj("　") + "b");
    E.ExMarks().DBSpaceMark().SetVisible(true);
    const TPaintOp whole = RowOp(0);
    const TPaintOp op = RowOp(0, X(whole, 2)); // a part from column 2 on
    const TPaintPlan plan = Draw(op);
    const int w = E.CharWidth(), h = E.FontHeight(), x = X(op, 1);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(
        plan[0].Points,
        (std::vector<std::pair<int, int>>{
            {x + w, op.Y + 1}, {x + 2 * w - 2, op.Y + 1}, {x + 2 * w - 2, op.Y + h - 3}, {x + w - 1, op.Y + h - 3}}));
    EXPECT_TRUE(Draw(RowOp(0, X(whole, 3))).empty()); // neither half
}

TEST_F(EditorEx, NoFullWidthSpaceMarkAcrossCharacters) {
    SetText("\x81\x81\x40 "); // ＝ followed by @: the bytes 0x81 0x40 are no full-width space
    E.ExMarks().DBSpaceMark().SetVisible(true);
    EXPECT_TRUE(Draw(RowOp(0)).empty());
}

TEST_F(EditorEx, NothingIsMarkedPastColumn1000) {
    std::string s(1002, 'x');
    s[999] = ' ';
    s[1000] = ' ';
    SetText(s);
    E.ExMarks().SpaceMark().SetVisible(true);
    TPaintOp op = RowOp(0);
    op.X = E.TextLeft() - 990 * E.CharWidth(); // scrolled to column 990
    const TPaintPlan plan = Draw(op);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].Points.front().first, X(op, 999));
}

TEST_F(EditorEx, NoMarksWhenHiddenOrWithoutAWindow) {
    SetText(" \t x");
    Find("x", 0);
    EXPECT_TRUE(Draw(RowOp(0)).empty());
    E.ExMarks().SpaceMark().SetVisible(true);
    E.ExMarks().FindMark().SetVisible(true);
    EXPECT_FALSE(Draw(RowOp(0)).empty());
    const TPaintOp op = RowOp(0);
    E.SetHost(nullptr);
    EXPECT_TRUE(Draw(op).empty());
}

TEST_F(EditorEx, FindMarksUnderlineTheMatches) {
    SetText("a cat\tcat");
    E.ExMarks().FindMark().SetVisible(true);
    E.ExMarks().FindMark().SetColor(clBlue);
    Find("cat", 0);
    const TPaintOp op = RowOp(0);
    const TPaintPlan plan = Draw(op);
    const int bottom = op.Y + E.FontHeight() - 1;
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].Kind, poFill);
    EXPECT_EQ(plan[0].BkColor, clBlue);
    EXPECT_EQ(plan[0].Rect, (TRect{X(op, 2), bottom, X(op, 5) - 1, bottom + 1}));
    EXPECT_EQ(plan[1].Rect, (TRect{X(op, 8), bottom, X(op, 11) - 1, bottom + 1})); // after the tab stop
    // A part that cuts a match: the mark is cut at the part's edges.
    const TPaintPlan cut = Draw(RowOp(0, X(op, 3), X(op, 9)));
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0].Rect, (TRect{X(op, 3), bottom, X(op, 5) - 1, bottom + 1}));
    EXPECT_EQ(cut[1].Rect, (TRect{X(op, 8), bottom, X(op, 9) - 1, bottom + 1}));
}

TEST_F(EditorEx, FindMarksOfAMatchAcrossWrappedRows) {
    E.SetWordWrap(true);
    E.WrapOption().SetWrapByte(20);
    SetText(std::string(18, 'x') + "cat" + std::string(10, 'y'));
    ASSERT_EQ(E.GetRowString(0).size(), 20u);
    E.ExMarks().FindMark().SetVisible(true);
    Find("cat", 0);
    const TPaintOp row0 = RowOp(0), row1 = RowOp(1);
    const TPaintPlan first = Draw(row0), second = Draw(row1);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(first[0].Rect.Left, X(row0, 18));
    EXPECT_EQ(first[0].Rect.Right, X(row0, 20) - 1);
    EXPECT_EQ(second[0].Rect.Left, X(row1, 0));
    EXPECT_EQ(second[0].Rect.Right, X(row1, 1) - 1);
}

TEST_F(EditorEx, FindMarksOfWrappedRowsInAnyOrder) {
    E.SetWordWrap(true);
    E.WrapOption().SetWrapByte(20);
    SetText(std::string(18, 'x') + "cat" + std::string(17, 'y') + "cat" + std::string(10, 'z'));
    ASSERT_EQ(E.RowCount(), 3);
    E.ExMarks().FindMark().SetVisible(true);
    Find("cat", 0);
    auto marks = [&](int row) {
        std::vector<TRect> rects;
        for (const TPaintOp& op : Draw(RowOp(row))) rects.push_back(op.Rect);
        return rects;
    };
    const std::vector<std::vector<TRect>> inOrder = {marks(0), marks(1), marks(2)};
    ASSERT_EQ(inOrder[1].size(), 2u);
    EXPECT_EQ(inOrder[1][0].Left, X(RowOp(1), 0));
    EXPECT_EQ(inOrder[1][1].Left, X(RowOp(1), 18));
    for (int row : {2, 0, 1, 1, 0}) EXPECT_EQ(marks(row), inOrder[static_cast<std::size_t>(row)]) << row;
}

// The marks of each row of a wrapped line, searched in the rows around it, are the matches of the
// whole line that reach the row: across row ends, on double-byte characters, as whole words, with
// case folded, and for a find string whose occurrences may overlap (collected for the whole line).
TEST_F(EditorEx, FindMarksOfWrappedRowsAreTheMatchesOfTheirWholeLine) {
    const std::string pieces[] = {"ab", "a", "b", " ", "AB", "x", Sj("の"), Sj("あ")};
    const std::pair<std::string, std::uint8_t> patterns[] = {
        {"ab", sfoMatchCase}, {"ab", 0}, {"ab", sfoMatchCase | sfoWholeWord}, {Sj("の"), sfoMatchCase},
        {"aa", sfoMatchCase}, {"b a", 0}};
    std::mt19937 rng(38);
    E.SetWordWrap(true);
    E.ExMarks().FindMark().SetVisible(true);
    for (const int width : {5, 8, 20}) {
        E.WrapOption().SetWrapByte(width);
        std::string text;
        for (int line = 0; line < 3; ++line) {
            for (int n = 0; n < 150; ++n) text += pieces[rng() % std::size(pieces)];
            text += "\r\n";
        }
        SetText(text);
        for (const auto& [pattern, options] : patterns) {
            Find(pattern, options);
            int lineStart = 0; // the offset of the row's first byte in its line
            for (int row = 0; row < E.RowCount(); ++row) {
                const TPaintOp op = RowOp(row);
                std::vector<std::pair<int, int>> expected, drawn;
                E.CollectFindMatches(row);
                const int first = lineStart + 1, last = lineStart + static_cast<int>(E.GetRowString(row).size());
                for (const TFindMatch& m : E.Matches()) {
                    const int end = m.Position + m.Length - 1;
                    if (end >= first && m.Position <= last)
                        expected.push_back(
                            {X(op, std::max(m.Position, first) - first), X(op, std::min(end, last) - first + 1) - 1});
                }
                for (const TPaintOp& mark : Draw(op)) drawn.push_back({mark.Rect.Left, mark.Rect.Right});
                ASSERT_EQ(drawn, expected) << "width " << width << ", " << pattern << ", row " << row;
                lineStart = E.GetRowAttribute(row) == raWrapped ? last : 0;
            }
        }
    }
}

TEST_F(EditorEx, BadRegularExpressionNeverRaisesOutOfPainting) {
    SetText("a (b");
    E.ExMarks().FindMark().SetVisible(true);
    E.ExMarks().SpaceMark().SetVisible(true);
    Find("(", 2);
    TPaintPlan plan;
    EXPECT_NO_THROW(plan = Draw(RowOp(0)));
    ASSERT_EQ(plan.size(), 1u); // the space mark only
    EXPECT_EQ(plan[0].Kind, poLines);
}

TEST_F(EditorEx, MarksFollowThePainterRowHooks) {
    SetText("a b\r\ncd");
    E.ExMarks().SpaceMark().SetVisible(true);
    TPaintMarks marks;
    TPaintGeometry g;
    g.CharWidth = E.CharWidth();
    g.FontHeight = E.FontHeight();
    g.RowHeight = E.RowHeight();
    g.TextLeft = E.TextLeft();
    g.TextTop = E.TextTop();
    g.ClientWidth = Host.Width;
    g.ClientHeight = Host.Height;
    TEditorPainter painter(E.ScreenStrings(), E.ActiveColourerRef(), marks, g, TPaintLook(), TPaintSelection(),
                           [this](std::string_view s) { return E.ExpandTabs(s); });
    TPaintPlan plan, over;
    painter.PaintText({0, 0, Host.Width, Host.Height}, plan);
    for (const TPaintOp& op : plan)
        if (op.Kind == poDrawLine) E.DoDrawLine(op, over);
    ASSERT_EQ(over.size(), 1u);
    EXPECT_EQ(over[0].Points.front(), std::make_pair(E.TextLeft() + E.CharWidth(), E.TextTop() + 1));
}

// ---- Double click and drops

TEST_F(EditorEx, DoubleClickSelectsTheTokenUnderTheCaret) {
    SetText("foo bar baz");
    int clicks = 0;
    E.OnDblClick = [&](TEditor&) { ++clicks; };
    E.SetRowCol(0, 5);
    E.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(E.SelText(), "bar");
    E.Perform(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(E.SelText(), "bar");
}

TEST_F(EditorEx, DroppedFilesKeepTheLastDrop) {
    std::vector<std::string> reported;
    E.OnDropFiles = [&](TEditor&, const std::vector<std::string>& Files, int, TPoint) {
        EXPECT_EQ(E.DroppedFiles(), Files); // filled before the event fires
        reported = Files;
    };
    E.DoDropFiles({"a.txt", "b.txt"}, 0, {});
    E.DoDropFiles({"c.txt"}, 0, {});
    EXPECT_EQ(E.DroppedFiles(), std::vector<std::string>{"c.txt"});
    EXPECT_EQ(reported, std::vector<std::string>{"c.txt"});
}

// ---- ReplaceAll

struct ReplaceAllCase {
    const char* Note;
    std::string Text;
    std::string Find;
    std::uint8_t Options;
    std::string Replacement;
    // False where the one-at-a-time way may leave the caret elsewhere than the text says (a match or
    // a replacement past the column limit of an unwrapped row, a character cut in two); ReplaceAll
    // then goes on from where the text says.
    bool Sound = true;
};

void PrintTo(const ReplaceAllCase& c, std::ostream* os) { *os << c.Note; }

std::string Repeat(const std::string& S, int N) {
    std::string r;
    for (int i = 0; i < N; ++i) r += S;
    return r;
}

const std::string kLongRow = Repeat("x", 500) + "yy" + Repeat("x", 540) + "yy" + Repeat("x", 100) + "\r\nyy\r\n";
const std::string kTabRow = Repeat("\tyy", 130) + "\r\nyy";

class ReplaceAllTest : public ::testing::TestWithParam<ReplaceAllCase> {
protected:
    void SetUp() override {
        E.SetHost(&Host);
        Slow.SetHost(&SlowHost);
    }
    // Both editors with the text, the search and the caret at Row and Col; wrapped at 10 columns.
    void Prepare(bool Wrap, int Row, int Col) {
        const ReplaceAllCase& c = GetParam();
        for (TEditorEx* e : {&E, &Slow}) {
            e->SetWordWrap(Wrap);
            e->WrapOption().SetWrapByte(10);
            e->Lines().SetText(c.Text);
            e->SetRowCol(Row, Col);
            e->SetHitStyle(hsDraw);
            e->SetFindString(c.Find);
            e->SetSearchOptions(c.Options);
        }
    }
    TTestHost Host, SlowHost;
    TEditorEx E, Slow;
};

// Every case from the top, from the middle of its first line and from the end, both ways, with and
// without word wrap: the same text, the same count, the same caret and selection as one at a time,
// and (made in one change) one undo gives the text back byte for byte, and one redo the replaced
// text.
TEST_P(ReplaceAllTest, AsOneAtATimeAndUndoneAtOnce) {
    const ReplaceAllCase& c = GetParam();
    for (const bool wrap : {false, true})
        for (const bool backward : {false, true})
            for (const auto& [row, col] : {std::pair{0, 0}, std::pair{0, 3}, std::pair{1000, 0}}) {
                const std::string where = std::string(wrap ? "wrapped" : "unwrapped") +
                                          (backward ? ", backwards" : ", forwards") + ", from " + std::to_string(row) +
                                          "," + std::to_string(col);
                Prepare(wrap, row, col);
                const int count = E.ReplaceAll(c.Replacement, backward);
                int slowCount = 0;
                if (ReplaceOneByOne(Slow, c.Replacement, backward, slowCount, 100000)) {
                    ASSERT_EQ(count, slowCount) << where;
                    ASSERT_EQ(E.Lines().Text(), Slow.Lines().Text()) << where;
                    EXPECT_EQ(E.Row(), Slow.Row()) << where;
                    EXPECT_EQ(E.Col(), Slow.Col()) << where;
                    EXPECT_EQ(E.SelStart(), Slow.SelStart()) << where;
                    EXPECT_EQ(E.SelLength(), Slow.SelLength()) << where;
                } else {
                    EXPECT_FALSE(c.Sound) << where;
                }
                if (count == 0) continue;
                const std::string replaced = E.Lines().Text();
                E.Undo();
                EXPECT_EQ(E.Lines().Text(), c.Text) << where;
                E.Redo();
                EXPECT_EQ(E.Lines().Text(), replaced) << where;
            }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAllTest,
    ::testing::Values(
        ReplaceAllCase{"a shorter text searched again from the line start", "aaaa\r\naaaaa\r\n", "aa", 0, "a"},
        ReplaceAllCase{"a longer text holding the pattern", "ab ab\r\nabab", "ab", 0, "aab"},
        ReplaceAllCase{"deleting", "a-b-c\r\n--\r\n-", "-", 0, ""},
        ReplaceAllCase{"whole words see the new neighbours", "cat cat_cat catcat\r\ncat", "cat", sfoWholeWord, "x"},
        ReplaceAllCase{"whole words, joined by the replacement", "cat.cat cat\r\n", "cat", sfoWholeWord, "catz"},
        ReplaceAllCase{"case folded", "ABC abc Abc\r\naBc", "abc", 0, "X"},
        ReplaceAllCase{"case kept", "ABC abc Abc\r\naBc", "abc", sfoMatchCase, "X"},
        ReplaceAllCase{"never on a trail byte", Sj("ア表\\A") + "\r\n\\" + Sj("ア"), "\\", 0, "\\\\"},
        ReplaceAllCase{"trail byte looking like a letter", Sj("アA") + "a" + Sj("ア"), "a", 0, "b"},
        ReplaceAllCase{"double-byte text", Sj("ガッツ攻撃ガッツ\r\nガッツ"), Sj("ガッツ"), 0, Sj("構え")},
        ReplaceAllCase{"a lead byte left at the end of the replacement", "ab ab\r\nab", "b", 0, "\x83", false},
        ReplaceAllCase{"a replacement with a line break", "ab ab\r\nab", "b", 0, "\r\n", false},
        ReplaceAllCase{"the last line emptied", "x\r\nab", "ab", 0, ""},
        ReplaceAllCase{"regex anchored at the line start", "aaa b\r\naab", "^a", sfoRegExp, ""},
        ReplaceAllCase{"regex at the line end", "ba\r\naa\r\na", "a$", sfoRegExp, "c"},
        ReplaceAllCase{"regex longest match", "xx-xxx-x\r\nx", "x+", sfoRegExp, "yy"},
        ReplaceAllCase{"regex taking the line break", "ab\r\ncb\r\nb", "b.", sfoRegExp, "z"},
        ReplaceAllCase{"backwards a match reaching into the replacement", "aaab\r\naab", "ab", sfoMatchCase, "b"},
        ReplaceAllCase{"lines joined", "ab\r\ncd \r\n\r\nef\r\n", "\\n", sfoRegExp, ""},
        ReplaceAllCase{"lines joined, a match at the line end", "ab\r\ncd \r\n\r\nef", "(b|\\n)", sfoRegExp, "-"},
        ReplaceAllCase{"lines joined by a class", "ab\r\ncd \r\n\r\nef", "[ \\t\\r\\n]+", sfoRegExp, "_"},
        ReplaceAllCase{"lines joined, empty matches", "ab\r\ncd \r\n\r\nef", "\\n*", sfoRegExp, "x"},
        ReplaceAllCase{"a match up to the CR", "ab\r\ncb\r\nb", "b\\r", sfoRegExp, "<>"},
        ReplaceAllCase{"line breaks replaced by line breaks", "ab\r\ncd\r\n", "\\r\\n", sfoRegExp, "\r\n\r\n"},
        ReplaceAllCase{"a lone LF in the replacement", "ab ab\r\nab", "b", 0, "1\n2"},
        ReplaceAllCase{"lines cut and joined", "a-b-c\r\n-\r\n", "-|\\n", sfoRegExp, "\r\n"},
        ReplaceAllCase{"everything deleted", "ab\r\nab\r\n", "ab", 0, ""},
        ReplaceAllCase{"unwrapped matches past column 1000", kLongRow, "yy", 0, "zzz"},
        ReplaceAllCase{"tabs past column 1000 (unwrapped)", kTabRow, "yy", 0, "z", false}));

// Long lines with many hits, where ReplaceAll searches on from what it replaced instead of from the
// line start, in the cases where the two could part: a match before the replacement that now reaches
// into it, a match starting inside it, anchors, empty matches, whole words, double-byte text.
INSTANTIATE_TEST_SUITE_P(
    LongLines, ReplaceAllTest,
    ::testing::Values(
        ReplaceAllCase{"a shorter text meeting the match before it", Repeat("aaaab", 150) + "\r\naaaa", "aa", 0, "a"},
        ReplaceAllCase{"a match starting inside the replacement", Repeat("abb ", 200), "ab", 0, "xa"},
        ReplaceAllCase{"the same after gaps without a match", Repeat("bbbbbbbbbbaaaa", 60), "aa", 0, "a"},
        ReplaceAllCase{"whole words among many", Repeat("cat cat_cat catcat ", 60) + "\r\ncat", "cat", sfoWholeWord,
                       "x"},
        ReplaceAllCase{"case folded beside trail bytes", Repeat(Sj("アA") + "aA", 200), "a", 0, "Bb"},
        ReplaceAllCase{"double-byte text", Repeat(Sj("ガッツ攻撃") + "a", 150), Sj("ッ"), 0, Sj("構え")},
        ReplaceAllCase{"regex bounded, reaching into the replacement", Repeat("acb ", 200), "a[bx]?[bx]?|c|b",
                       sfoRegExp, "x"},
        ReplaceAllCase{"regex bounded, a match now starting in a gap", Repeat("zzzzzzzzzzzzadx ", 60), "acx|d|x",
                       sfoRegExp, "c"},
        ReplaceAllCase{"regex repeated, reaching into the replacement", Repeat("acb ", 200), "a[bx]*|c|b", sfoRegExp,
                       "x"},
        ReplaceAllCase{"regex class", Repeat("0102030", 150), "0[0-9]", sfoRegExp, "10"},
        ReplaceAllCase{"regex with empty matches", Repeat("xa", 300) + "\r\nx", "x?", sfoRegExp, "-"},
        ReplaceAllCase{"regex anchored at the line start", Repeat("a", 600) + "b\r\naab", "^a", sfoRegExp, ""},
        ReplaceAllCase{"regex anchored at the line end", "b" + Repeat("a", 300) + "\r\nba", "a$", sfoRegExp, ""},
        ReplaceAllCase{"regex double-byte", Repeat(Sj("ガッツ攻撃") + "z", 80), Sj("[ッ攻]."), sfoRegExp, Sj("撃")},
        ReplaceAllCase{"regex walks reading far past the replacement", Repeat("a" + Repeat("b", 100) + " ", 8),
                       "ab*c|b", sfoRegExp, "x"},
        ReplaceAllCase{"regex a match made far across the replacements", Repeat("a" + Repeat("d", 100) + "c ", 3),
                       "ab*c|d", sfoRegExp, "b"},
        ReplaceAllCase{"regex walks failing at the line end", Repeat("ab ", 150) + "\r\nab", "a[^x]*x|b", sfoRegExp,
                       "x"},
        ReplaceAllCase{"regex repeated inside a literal", Repeat("a comment, commmment; ", 40), "com+ent", sfoRegExp,
                       "remark"},
        ReplaceAllCase{"regex repeated, the replacement matching again", Repeat("10020 ", 120), "0+", sfoRegExp, "0"}));

// Lines of ten kilobytes with a thousand hits or more, where ReplaceAll reads only the part of the
// line that the search may still read and leaves the rest where it is: longer and shorter
// replacements, one that grows the line several times over, whole words looking back over long runs
// of bytes that may lead a character, bounded regular expressions.
const std::string kLeadRun = Sj("＝ぁ亜字"); // every byte may lead a character

// Matches 16 bytes long between gaps of every even length from 240 to 300 bytes: a regular expression
// step reads a part of the line, first a few hundred bytes, more when a match may reach past it.
std::string SparseMatches() {
    std::string s;
    for (int gap = 240; gap <= 300; gap += 2) s += "a" + Repeat("y", 15) + Repeat("z", gap);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    VeryLongLines, ReplaceAllTest,
    ::testing::Values(
        ReplaceAllCase{"longer", Repeat("abc de ", 1500) + "\r\nabc", "abc", 0, "<abcabc>", false},
        ReplaceAllCase{"shorter", Repeat("abcd e ", 1500) + "\r\nabcd", "abcd", 0, "x", false},
        ReplaceAllCase{"growing many times over", Repeat("ab", 2000), "a", 0, "xxxxxxxxxxxxxxxx", false},
        ReplaceAllCase{"whole words", Repeat("cat cat_cat catcat ", 600), "cat", sfoWholeWord, "kitten", false},
        ReplaceAllCase{"whole words after lead bytes", Repeat(kLeadRun + "x" + kLeadRun + "xx" + Sj("ア") + "x ", 450),
                       "x", sfoWholeWord, "yy", false},
        ReplaceAllCase{"whole words made lead bytes", Repeat(kLeadRun + "x" + kLeadRun + "x " + kLeadRun, 350), "x",
                       sfoWholeWord, Sj("ぁ"), false},
        ReplaceAllCase{"double-byte text astride lead bytes", Repeat(kLeadRun + Sj("亜＝") + "\x9f", 750), "\x9f\x81",
                       0, "z", false},
        ReplaceAllCase{"regex bounded, longer", Repeat("0102030 ", 1000), "0[0-9]", sfoRegExp, "<10>", false},
        ReplaceAllCase{"regex bounded, shorter", Repeat("acb ", 1200), "a[bx]?[bx]?|c|b", sfoRegExp, "x", false},
        ReplaceAllCase{"regex bounded, sparse matches", SparseMatches(), "a" + Repeat("y?", 20), sfoRegExp, "b", false},
        ReplaceAllCase{"regex double-byte", Repeat(Sj("ガッツ攻撃") + "z" + kLeadRun, 500), Sj("[ッ攻]."), sfoRegExp,
                       Sj("撃撃"), false}));

// Many lines, most changed, so that the rows changed fill several blocks of the row store and grow or
// shrink them past their limits.
INSTANTIATE_TEST_SUITE_P(
    ManyLines, ReplaceAllTest,
    ::testing::Values(ReplaceAllCase{"growing", Repeat("a 12 b 12\r\n\r\nc\r\n", 1500), "12", 0, Repeat("345", 12)},
                      ReplaceAllCase{"shrinking", Repeat("a 12 b 12 " + Repeat("x", 60) + "\r\n", 2000), "12 b 12 x", 0,
                                     ""}));

// One round of the random differentials below: ReplaceAll on Text from the caret at Row, Col against
// the one-at-a-time way. Where that way is sound, the text, the count, the caret and the selection
// are its own; always one undo gives the text back byte for byte, and one redo the replaced text.
// Compared: the one-at-a-time way was sound; Replaced: ReplaceAll replaced something.
struct TRandomRound {
    std::string Text, Find, With;
    std::uint8_t Options = 0;
    bool Wrap = false, Backward = false;
    int Row = 0, Col = 0; // Row -1: the end of the text
};

void CompareRandomRound(const TRandomRound& R, const std::string& Where, int& Compared, int& Replaced) {
    TTestHost host, slowHost;
    TEditorEx e, slow;
    e.SetHost(&host);
    slow.SetHost(&slowHost);
    for (TEditorEx* x : {&e, &slow}) {
        x->SetWordWrap(R.Wrap);
        x->WrapOption().SetWrapByte(8);
        x->Lines().SetText(R.Text);
        if (R.Row < 0)
            x->SetSelStart(x->GetTextLength());
        else
            x->SetRowCol(R.Row, R.Col);
        x->SetHitStyle(hsDraw);
        x->SetFindString(R.Find);
        x->SetSearchOptions(R.Options);
    }
    const std::string before = e.Lines().Text();
    const int count = e.ReplaceAll(R.With, R.Backward);
    int slowCount = 0;
    if (ReplaceOneByOne(slow, R.With, R.Backward, slowCount, 100000)) {
        ++Compared;
        ASSERT_EQ(count, slowCount) << Where;
        ASSERT_EQ(e.Lines().Text(), slow.Lines().Text()) << Where;
        EXPECT_EQ(e.Row(), slow.Row()) << Where;
        EXPECT_EQ(e.Col(), slow.Col()) << Where;
        EXPECT_EQ(e.SelStart(), slow.SelStart()) << Where;
        EXPECT_EQ(e.SelLength(), slow.SelLength()) << Where;
    }
    if (count == 0) return;
    ++Replaced;
    const std::string after = e.Lines().Text();
    e.Undo();
    ASSERT_EQ(e.Lines().Text(), before) << Where;
    e.Redo();
    ASSERT_EQ(e.Lines().Text(), after) << Where;
}

std::string RoundName(int Round, const TRandomRound& R) {
    return "round " + std::to_string(Round) + ": " + R.Find + " -> " + R.With + (R.Wrap ? ", wrapped" : "") +
           (R.Backward ? ", backwards" : "") + ", from " + std::to_string(R.Row) + "," + std::to_string(R.Col);
}

// ReplaceAll against the one-at-a-time way on random texts, with fixed seeds: few letters, so that
// matches crowd, meet and reach into the replacements; line breaks in the texts, the patterns and the
// replacements; empty replacements; double-byte characters; now and then one line of thousands of
// bytes.
TEST(ReplaceAllRandom, AsOneAtATimeAndUndoneAtOnce) {
    const std::string kana = Sj("ア"); // 0x83 0x41: its trail byte is "A"
    const std::vector<std::string> atoms = {"a", "a", "b", "A", " ", "\r\n", kana, "ab"};
    const struct {
        const char* Find;
        std::uint8_t Options;
    } finds[] = {{"a", 0},
                 {"ab", 0},
                 {"aa", sfoMatchCase},
                 {"a", sfoWholeWord},
                 {"ba", 0},
                 {"a+", sfoRegExp},
                 {"b|\\n", sfoRegExp},
                 {"\\n", sfoRegExp},
                 {"a$", sfoRegExp},
                 {"^b", sfoRegExp},
                 {"a*", sfoRegExp},
                 {"[ab]\\r", sfoRegExp},
                 {"b.", sfoRegExp},
                 {"\\r\\n", sfoRegExp},
                 {"[ \\r\\n]+", sfoRegExp},
                 {"(ab)+", sfoRegExp},
                 {"A", sfoRegExp | sfoMatchCase}};
    const std::vector<std::string> replacements = {"", "a", "b", "xy", "\r\n", "a\r\nb", "ab", "\n"};
    std::mt19937 rng(36);
    auto pick = [&rng](std::size_t N) { return static_cast<std::size_t>(rng() % N); };
    int compared = 0, replaced = 0; // rounds compared with the one-at-a-time way; rounds that replaced
    for (int round = 0; round < 1500; ++round) {
        const bool longLine = round % 50 == 49;
        TRandomRound r;
        const std::size_t atomCount = longLine ? 1500 + pick(1500) : pick(24);
        for (std::size_t i = 0; i < atomCount; ++i) {
            const std::string& atom = atoms[pick(atoms.size())];
            r.Text += longLine && atom == "\r\n" ? "b" : atom;
        }
        const auto& find = finds[pick(std::size(finds))];
        r.Find = find.Find;
        r.Options = find.Options;
        r.With = replacements[pick(replacements.size())];
        r.Wrap = pick(2) == 0;
        r.Backward = pick(2) == 0;
        TTestHost host;
        TEditorEx rows;
        rows.SetHost(&host);
        rows.SetWordWrap(r.Wrap);
        rows.WrapOption().SetWrapByte(8);
        rows.Lines().SetText(r.Text);
        r.Row = static_cast<int>(pick(static_cast<std::size_t>(rows.RowCount()) + 1));
        r.Col = static_cast<int>(pick(6));
        CompareRandomRound(r, RoundName(round, r), compared, replaced);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(compared, 1200);
    EXPECT_GT(replaced, 600);
}

// The same on one long wrapped line of repeated pieces, mostly backwards from its end, for patterns
// whose search may read far: repetitions, a repetition inside a literal, a replacement that matches
// again, walks that run on to the line's end and fail, anchors, and plain text.
TEST(ReplaceAllRandom, LongLinesAsOneAtATime) {
    const std::vector<std::string> pieces = {
        "e ", "ee", "a comment, commmment; ", "10020 ", "com", "ent", "x", Sj("ア"), "a", "c", Repeat("d", 20)};
    const struct {
        const char* Find;
        std::uint8_t Options;
    } finds[] = {{"e+", sfoRegExp}, {"com+ent", sfoRegExp}, {"0+", sfoRegExp},
                 {"^", sfoRegExp},  {"$", sfoRegExp},       {"e$", sfoRegExp},
                 {"^e", sfoRegExp}, {"e[^x]*x", sfoRegExp}, {"comment", sfoMatchCase},
                 {"e", 0},          {"ab*c|d", sfoRegExp}};
    const std::vector<std::string> replacements = {"", "x", "0", "remark", "ee", "e\r\ne", "b"};
    std::mt19937 rng(37);
    auto pick = [&rng](std::size_t N) { return static_cast<std::size_t>(rng() % N); };
    int compared = 0, replaced = 0;
    for (int round = 0; round < 200; ++round) {
        TRandomRound r;
        for (std::size_t i = 300 + pick(900); i > 0; --i) r.Text += pieces[pick(pieces.size())];
        const auto& find = finds[pick(std::size(finds))];
        r.Find = find.Find;
        r.Options = find.Options;
        r.With = replacements[pick(replacements.size())];
        r.Wrap = true;
        r.Backward = pick(4) != 0;
        r.Row = r.Backward ? -1 : 0;
        CompareRandomRound(r, RoundName(round, r), compared, replaced);
        if (HasFatalFailure()) return;
    }
    EXPECT_EQ(compared, 200); // a wrapped line: the one-at-a-time way is always sound
    EXPECT_GT(replaced, 120);
}

} // namespace
} // namespace quillon
