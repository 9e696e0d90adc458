#include "RelationJumps.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "MotionTestLines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace quillon;
using quillon::testlines::Motion;
namespace fs = std::filesystem;

namespace {

// Header rows 0-2 (the third names frame 40 as if it were one, and must not be found), frames after.
std::vector<std::string> MotionList() {
    return {"--R---G---B---G",
            "  0   0 255  16",
            Motion({.Num = "40"}),
            Motion({.Num = "12", .To = "-1"}),                               // 3
            Motion({.Num = "13", .To = "0", .Hit = "40"}),                   // 4
            Motion({.Num = "14", .To = "12", .Hit = "40", .Flag = "0100"}),  // 5
            Motion({.Num = "40", .To = "-"}),                                // 6
            "not a frame",                                                   // 7
            Motion({.Num = "41", .To = "-1", .Hit = "13", .Flag = "00001"}), // 8
            Motion({.Num = "13"}),                                           // 9: a second 13
            Motion({.Num = "15", .To = "99", .Hit = "-", .Flag = "3000"})};  // 10
}

struct Fixture : ::testing::Test {
    TScriptedMessages Boxes;
    TMessageServiceScope Scope{Boxes};
};

using RelationInMotion = Fixture;

TEST_F(RelationInMotion, ToAndHitLeadToTheFirstLineOfTheirFrame) {
    struct Case {
        int Caret, Kind, Target; // -1 no jump
        bool Reported;
    };
    const Case cases[] = {
        {3, 51, 4, false},   // To -1 on 12: the next frame, 13
        {4, 51, -1, false},  // To 0
        {5, 51, 3, false},   // To 12
        {6, 51, -1, false},  // To "-"
        {8, 51, -1, true},   // To -1 on 41: frame 42 does not exist
        {10, 51, -1, true},  // To 99 does not exist
        {4, 67, -1, false},  // Hit 40, Flag of twelve "0": no branch
        {5, 67, 6, false},   // Flag 0100: branch on hit, frame 40 past the header
        {8, 67, 4, false},   // random branch (fifth "1"): the first frame 13
        {10, 67, -1, false}, // Hit "-"
        {7, 51, -1, false},  // not a motion line
        {3, 50, -1, false},  // Num is no reference
        {99, 51, -1, false},
    };
    for (const Case& c : cases) {
        Boxes.Shown.clear();
        int row = -7;
        EXPECT_EQ(GoRelationInMotion(MotionList(), c.Caret, c.Kind, row), c.Target >= 0) << c.Caret << " " << c.Kind;
        EXPECT_EQ(c.Target >= 0 ? row : -1, c.Target) << c.Caret << " " << c.Kind;
        EXPECT_EQ(Boxes.Shown.size(), c.Reported ? 1u : 0u) << c.Caret << " " << c.Kind;
    }
}

TEST_F(RelationInMotion, AMissingFrameIsReported) {
    int row = 0;
    EXPECT_FALSE(GoRelationInMotion(MotionList(), 10, 51, row));
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(Boxes.Shown[0].Text, "参照先のフレーム 99 が見つかりません。");
    EXPECT_EQ(Boxes.Shown[0].Title, "参照先にジャンプ");
    EXPECT_EQ(FindFrameRow(MotionList(), 40), 6);
    EXPECT_EQ(FindFrameRow({"", "", Motion({.Num = "1"})}, 1), -1);
}

TEST(RelationJumps, OfferedOnReferencesOnlyWithoutSelection) {
    EXPECT_TRUE(CanGoRelation(lkMotion, 51, false));
    EXPECT_TRUE(CanGoRelation(lkMotion, 67, false));
    EXPECT_FALSE(CanGoRelation(lkMotion, 67, true));
    EXPECT_FALSE(CanGoRelation(lkMotion, 58, false));
    EXPECT_TRUE(CanGoRelation(lkCommand, 58, false));
    EXPECT_TRUE(CanGoRelation(lkZCommand, 58, false));
    EXPECT_FALSE(CanGoRelation(lkZCommand, 51, false));
    EXPECT_FALSE(CanGoRelation(lkVoice, 58, false));
}

TEST(RelationJumps, CenterCaretRow) {
    struct Case {
        int Caret, Top, Visible, Lines, NewTop;
    };
    const Case cases[] = {
        {50, 40, 20, 100, 40},                        // 50 - 10
        {55, 40, 20, 100, 45}, {5, 0, 20, 100, 0},    // the top would be negative
        {50, 0, 20, 100, 0},                          // the caret is not visible
        {10, 0, 20, 15, 0},                           // shorter than the window
        {59, 40, 20, 100, 49}, {60, 40, 20, 100, 40}, // one below the window
    };
    for (const Case& c : cases) EXPECT_EQ(CenterCaretRow(c.Caret, c.Top, c.Visible, c.Lines), c.NewTop) << c.Caret;
}

class CommandJumps : public Fixture {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "quillon-jumps-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        Dir = tmpl;
    }
    void TearDown() override { fs::remove_all(Dir); }
    void Touch(std::initializer_list<const char*> Names) {
        for (const char* name : Names) std::ofstream(Dir / name) << "";
    }
    // The target file's name for a jump from List, or "" when there is none.
    std::string Target(const char* List, bool Vantor) {
        const std::optional<fs::path> file = RelationTargetFile(Dir / List, Vantor);
        return file ? file->filename().string() : "";
    }

    fs::path Dir;
};

TEST_F(CommandJumps, TheMotionListBesideACommandList) {
    Touch({"COMMAND2.LST", "MOTION.LST"});
    EXPECT_EQ(Target("COMMAND2.LST", false), "MOTION.LST");
    Touch({"motion2.lst"});
    EXPECT_EQ(Target("COMMAND2.LST", false), "motion2.lst");
    EXPECT_EQ(Target("command.lst", false), "MOTION.LST");
    Touch({"ZMotion.lst"});
    EXPECT_EQ(Target("COMMAND2.LST", false), "ZMotion.lst");
    Touch({"ZMOTION2.LST"});
    EXPECT_EQ(Target("Command2.lst", false), "ZMOTION2.LST");
    EXPECT_EQ(Target("COMMAND8.LST", false), "ZMotion.lst"); // no suffix beyond 7
    EXPECT_EQ(Target("ZCOMMAND2.LST", true), "ZMOTION2.LST");
    EXPECT_EQ(Target("ZCOMMAND.LST", true), "ZMotion.lst");
    // a Vantor command list beside the command list: its motion lists are not this one's
    Touch({"zcommand.lst"});
    EXPECT_EQ(Target("COMMAND2.LST", false), "motion2.lst");
    EXPECT_EQ(Target("COMMAND3.LST", false), "MOTION.LST");
}

TEST_F(CommandJumps, ANumberedVantorCommandListCountsToo) {
    Touch({"ZCOMMAND3.LST", "ZMOTION.LST", "MOTION.LST"});
    EXPECT_EQ(Target("COMMAND3.LST", false), "MOTION.LST");
    EXPECT_EQ(Target("COMMAND1.LST", false), "ZMOTION.LST");
    fs::remove(Dir / "MOTION.LST");
    EXPECT_EQ(Target("COMMAND3.LST", false), "");
}

TEST_F(CommandJumps, AmnNumLeadsToItsFrameInTheNeighbouringList) {
    Touch({"COMMAND.LST", "MOTION.LST"});
    struct Case {
        const char* Line;
        int Kind;
        int Frame; // -1 no jump
    };
    const Case cases[] = {
        {"0 236P 10000 0 20 3 x", 58, 20}, {"0 236P 10000 0 20 3 x", 57, -1}, {"0 236P 10000 0 -1 3 x", 58, -1},
        {"0 236P 10000 0 ab 3 x", 58, -1}, {"0 236P 10000 0 20", 58, -1}, // not a command line
    };
    for (const Case& c : cases) {
        TRelationTarget target;
        EXPECT_EQ(GoRelationFromCommand(c.Line, c.Kind, Dir / "COMMAND.LST", target), c.Frame >= 0) << c.Line;
        if (c.Frame >= 0) {
            EXPECT_EQ(target.Frame, c.Frame);
            EXPECT_EQ(target.File.filename(), "MOTION.LST");
        }
    }
    TRelationTarget target;
    EXPECT_TRUE(GoRelationFromZCommand("0 a+S 0100 0 7 2 3 4 x", 58, Dir / "ZCOMMAND.LST", target));
    EXPECT_EQ(target.Frame, 7);
    EXPECT_FALSE(GoRelationFromZCommand("0 236P 10000 0 20 3 x", 58, Dir / "ZCOMMAND.LST", target));
    EXPECT_TRUE(Boxes.Shown.empty());

    // the target window then looks for the frame, past the header of its list
    EXPECT_EQ(GoToFrame(MotionList(), 13), 4);
    EXPECT_EQ(GoToFrame(MotionList(), 20), -1);
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(Boxes.Shown[0].Text, "参照先のフレーム 20 が見つかりません。");
}

TEST_F(CommandJumps, ACommandListWithoutAMotionListSaysSo) {
    Touch({"COMMAND.LST"});
    TRelationTarget target;
    EXPECT_FALSE(GoRelationFromCommand("0 236P 10000 0 20 3 x", 58, Dir / "COMMAND.LST", target));
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(Boxes.Shown[0].Text, "参照先のモーションリストが見つかりません。");
    EXPECT_EQ(Boxes.Shown[0].Icon, TMsgIcon::Information);
}

} // namespace
