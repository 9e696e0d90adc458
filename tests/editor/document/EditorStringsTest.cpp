#include "EditorStrings.h"

#include "RowStringList.h"
#include "Streams.h"
#include "TestEditor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

using namespace std::string_literals;

namespace quillon {
namespace {

namespace fs = std::filesystem;

class LinesTest : public ::testing::Test {
protected:
    TTestEditor ed;
    TEditorScreenStrings& s = ed.ScreenStrings();
    TEditorStrings& lines = ed.Lines;

    fs::path WriteFile(const std::string& bytes) {
        fs::path p = fs::temp_directory_path() / ("quillon-lines-" + std::to_string(::getpid()) + ".txt");
        std::ofstream(p, std::ios::binary) << bytes;
        files.push_back(p);
        return p;
    }
    void TearDown() override {
        for (const fs::path& p : files) fs::remove(p);
    }
    std::vector<fs::path> files;
};

TEST_F(LinesTest, TextMakesRowsAndReadsBack) {
    struct Case {
        std::string text;
        std::vector<std::string> rows;
        std::string readBack;
    };
    const Case cases[] = {
        {"a\r\nb", {"a/0", "b/2"}, "a\r\nb"},
        {"a\r\nb\r\n", {"a/0", "b/0"}, "a\r\nb\r\n"},
        {"a\rb\nc", {"a/0", "b/0", "c/2"}, "a\r\nb\r\nc"},
        {"a\n\r\n", {"a/0", "/0"}, "a\r\n\r\n"},
        {"", {}, ""},
    };
    for (const Case& c : cases) {
        lines.SetText(c.text);
        EXPECT_EQ(RowsOf(s), c.rows) << c.text;
        EXPECT_EQ(lines.Text(), c.readBack);
    }
}

TEST_F(LinesTest, LinesOfAWrappedTextAreWhole) {
    s.WrapOption().SetWrapByte(80);
    s.SetWordWrap(true);
    std::string line(200, 'x');
    lines.SetText(line + "\r\nshort");
    EXPECT_EQ(s.Count(), 4);
    EXPECT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines[0], line);
    EXPECT_EQ(lines[1], "short");
    EXPECT_EQ(lines.LineToRow(1), 3);
    EXPECT_EQ(lines.LineToRow(2), 4);
    EXPECT_EQ(lines[2], "") << "the line count reads as empty with word wrap";
    EXPECT_THROW(lines.Get(3), EStringListError);
    EXPECT_THROW(lines.LineToRow(3), EStringListError);
}

TEST_F(LinesTest, PutInsertAddDelete) {
    lines.SetText("a\r\nb\r\nc");
    lines.Put(1, "B");
    EXPECT_EQ(lines.Text(), "a\r\nB\r\nc");
    EXPECT_EQ(ed.Row(), 2);
    EXPECT_EQ(ed.Col(), 0) << "the caret goes behind the written text and its line break";
    lines.Insert(0, "z");
    EXPECT_EQ(lines.Text(), "z\r\na\r\nB\r\nc");
    EXPECT_EQ(lines.Add("d"), 4);
    EXPECT_EQ(lines.Text(), "z\r\na\r\nB\r\nc\r\nd") << "a line break goes before the new last line";
    lines.Delete(0);
    EXPECT_EQ(lines.Text(), "a\r\nB\r\nc\r\nd");
    lines.Insert(lines.Count(), "e");
    EXPECT_EQ(lines.Text(), "a\r\nB\r\nc\r\nd\r\ne") << "Insert at the line count adds";
    lines.Delete(lines.Count());
    EXPECT_EQ(lines.Count(), 5) << "deleting the line count changes nothing";
    EXPECT_THROW(lines.Put(lines.Count(), "x"), EStringListError);
    EXPECT_THROW(lines.Put(-1, "x"), EStringListError);
    EXPECT_THROW(lines.Get(5), EStringListError);
    lines.Insert(9, "x");
    EXPECT_EQ(lines.Count(), 5) << "Insert past the end without word wrap changes nothing";
    EXPECT_EQ(s.UndoObj().UndoList().size(), 5u) << "every write is one undo step";
}

TEST_F(LinesTest, AddToAnEmptyTextAndAfterAFinalLineBreak) {
    lines.Add("a");
    EXPECT_EQ(lines.Text(), "a\r\n");
    lines.Add("b");
    EXPECT_EQ(lines.Text(), "a\r\nb\r\n");
}

TEST_F(LinesTest, AssignTakesTheLinesAndPutsTheCaretAtTheEnd) {
    TTestEditor other;
    other.Lines.SetText("x\r\ny");
    lines.Assign(other.Lines);
    EXPECT_EQ(lines.Text(), "x\r\ny\r\n");
    EXPECT_EQ(ed.Row(), 2);
    EXPECT_EQ(ed.Col(), 0);
}

TEST_F(LinesTest, LineToRowFollowsEveryChange) {
    s.WrapOption().SetWrapByte(20);
    s.SetWordWrap(true);
    std::mt19937 rng(109);
    std::string text;
    for (int i = 0; i < 40; ++i) text += std::string(rng() % 50, 'a') + "\r\n";
    lines.SetText(text);
    for (int round = 0; round < 200; ++round) {
        int index = static_cast<int>(rng() % static_cast<unsigned>(lines.Count()));
        if (rng() % 2)
            lines.Put(index, std::string(rng() % 70, 'b'));
        else
            lines.Insert(index, std::string(rng() % 30, 'c'));
        // The first row of every line by walking the rows.
        int line = 0;
        for (int r = 0; r < s.Count(); ++r) {
            if (r == 0 || s.RowAttribute(r - 1) != raWrapped) {
                ASSERT_EQ(lines.LineToRow(line), r) << round;
                ++line;
            }
        }
        ASSERT_EQ(lines.Count(), line);
    }
}

TEST_F(LinesTest, LoadFromFileReadsUpToCtrlZOrNul) {
    struct Case {
        std::string bytes;
        std::string text;
    };
    std::string block(8191, 'x');
    const Case cases[] = {
        {"a\r\nb\x1A\r\nc", "a\r\nb"},
        {"a\r\nb\0c\r\nd"s, "a\r\nb"},
        {block + "\r\n" + "y", block + "\r\ny"},      // CR at byte 8191, LF at 8192
        {block + "x\r\ny\r\n", block + "x\r\ny\r\n"}, // CR at byte 8192, LF at 8193: one line break
        {"a\rb\nc\r\n", "a\r\nb\r\nc\r\n"},
        {"", ""},
    };
    for (const Case& c : cases) {
        lines.LoadFromFile(WriteFile(c.bytes));
        EXPECT_EQ(lines.Text(), c.text) << c.bytes.size();
    }
    lines.LoadFromFile(WriteFile(block + "x\r\ny\r\n"));
    EXPECT_EQ(lines.Count(), 2);
    EXPECT_EQ(RowsOf(s).back(), "y/0");
}

TEST_F(LinesTest, AFailedLoadKeepsTheText) {
    lines.SetText("kept");
    EXPECT_THROW(lines.LoadFromFile(fs::temp_directory_path() / "quillon-no-such-file.txt"), EFOpenError);
    EXPECT_EQ(lines.Text(), "kept");
}

TEST_F(LinesTest, LoadingWrapsAndClearsTheHistory) {
    s.WrapOption().SetWrapByte(20);
    s.SetWordWrap(true);
    lines.SetText("x");
    s.UpdateRows(0, 1, "y");
    lines.LoadFromFile(WriteFile(std::string(30, 'a') + "\r\n"));
    EXPECT_EQ(RowsOf(s), (std::vector<std::string>{std::string(20, 'a') + "/1", std::string(10, 'a') + "/0"}));
    EXPECT_FALSE(s.UndoObj().CanUndo());
    EXPECT_GE(ed.Refreshes, 1);
}

} // namespace
} // namespace quillon
