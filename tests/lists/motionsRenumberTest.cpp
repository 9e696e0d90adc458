#include "motions.h"

#include "AsciiText.h"
#include "MessageBox.h"
#include "MotionTestLines.h"

#include <gtest/gtest.h>
#include <random>

using namespace quillon;

namespace {

const char* const kBoxes = " 000000000000 000000000000 000000000000 ";

// A frame with its number, To and Hit, written the way lists usually are.
std::string Frame(int num, const std::string& to = "-", const std::string& hit = "-") {
    std::string n = std::to_string(num);
    return std::string(4 - std::min<size_t>(4, n.size()), ' ') + n + "  " + to +
           "  3  10  0  0 9   0 0   0 0 9 0 0   0  " + hit + "  0 0" + kBoxes + ";f" + n;
}

std::vector<std::string> Lines(const TMotionLineList& list) {
    std::vector<std::string> lines;
    for (const TMotionLineRec& rec : list) lines.push_back(rec.Line);
    return lines;
}

std::string Field(const TMotionLineList& list, int line, int field) { return list[line].Obj.Items[field]; }

// An Ask that answers with a fixed request (its start number as given) and counts its calls.
struct TAnswer {
    TRenumberRequest Request;
    bool Ok = true;
    int Calls = 0;
    std::int32_t AskedFor = -1;
    TRenumberAsk Ask() {
        return [this](std::int32_t firstNum, TRenumberRequest& request) {
            ++Calls;
            AskedFor = firstNum;
            request = Request;
            return Ok;
        };
    }
};

TAnswer Serial(const std::string& start, int jump = rjAll) {
    TAnswer answer;
    answer.Request.StartNum = start;
    answer.Request.JumpMode = jump;
    return answer;
}

} // namespace

TEST(Renumber, FramesAndTheirReferencesGetTheNewNumbersOnce) {
    TMotionLineList list = ParseMotionLines({
        "-Num---To",
        Frame(10),
        Frame(11, "12"),
        Frame(12),
        Frame(40, "10", "10"),
        Frame(50, "11", "12"),
    });
    TAnswer answer = Serial("20");
    ASSERT_TRUE(RenumberMotionLines(list, 1, 3, answer.Ask()));
    EXPECT_EQ(answer.AskedFor, 10);
    EXPECT_EQ(list[1].Obj.Num, 20);
    EXPECT_EQ(list[2].Obj.Num, 21);
    EXPECT_EQ(list[3].Obj.Num, 22);
    EXPECT_EQ(Field(list, 1, mfNum), "  20");
    EXPECT_EQ(Field(list, 2, mfTo), "   22");
    EXPECT_EQ(Field(list, 4, mfTo), "   20");
    EXPECT_EQ(Field(list, 4, mfHit), "   20");
    EXPECT_EQ(Field(list, 5, mfTo), "   21");
    EXPECT_EQ(Field(list, 5, mfHit), "   22");
    EXPECT_EQ(list[0].Line, "-Num---To");
    // Every other field keeps its exact text.
    EXPECT_EQ(Field(list, 4, mfSp), "  3");
    EXPECT_EQ(Field(list, 4, mfComment), " ;f40");
    for (const TMotionLineRec& rec : list) {
        TMotionLineObj again;
        EXPECT_EQ(ParseMotionLine(rec.Line, again), rec.Obj.Valid);
        EXPECT_EQ(again, rec.Obj) << "the objects follow their lines";
    }
}

TEST(Renumber, AReferenceAlreadyMovedIsNotMovedAgain) {
    // 10 -> 20 first: the To that pointed at 10 now says 20 and must not follow the old 20 to 21.
    TMotionLineList list = ParseMotionLines({Frame(10), Frame(20), Frame(30, "10"), Frame(31, "20")});
    ASSERT_TRUE(RenumberMotionLines(list, 0, 1, Serial("20").Ask()));
    EXPECT_EQ(list[0].Obj.Num, 20);
    EXPECT_EQ(list[1].Obj.Num, 21);
    EXPECT_EQ(list[2].Obj.ToNum, 20);
    EXPECT_EQ(list[3].Obj.ToNum, 21);
}

// A V list that ends in a "/" before an empty item or a lone sign leaves the Num and Hit columns
// where they are: the line with "1//2" is a frame of its own, and the Hit 90 of the line with
// "1/- 74" follows frame 90 while its H of 31 stays.
TEST(Renumber, AVListEndingInASlashKeepsTheFramesColumns) {
    using testlines::kEmptyVItemLine, testlines::kLoneSignVItemLine;
    TMotionLineList list = ParseMotionLines({Frame(31), Frame(90), kEmptyVItemLine, kLoneSignVItemLine});
    ASSERT_TRUE(RenumberMotionLines(list, 0, 2, Serial("200").Ask()));
    std::string renumbered = kEmptyVItemLine, followed = kLoneSignVItemLine;
    renumbered.replace(0, 4, " 202");
    followed.replace(followed.find(" 90 31 "), 3, "  201");
    EXPECT_EQ(list[2].Line, renumbered);
    EXPECT_EQ(list[3].Line, followed);
    EXPECT_EQ(list[3].Obj.Hit, 201);
    EXPECT_EQ(list[3].Obj.ToNum, 3479);
}

TEST(Renumber, OffsetModeShiftsByTheFirstFramesChange) {
    TMotionLineList list = ParseMotionLines({Frame(5), Frame(7, "5"), Frame(9, "7")});
    std::vector<std::string> before = Lines(list);
    TAnswer same = Serial("5");
    same.Request.OffsetMode = true;
    EXPECT_FALSE(RenumberMotionLines(list, 0, 2, same.Ask()));
    EXPECT_EQ(same.Calls, 1);
    EXPECT_EQ(Lines(list), before);

    TAnswer shift = Serial("105");
    shift.Request.OffsetMode = true;
    ASSERT_TRUE(RenumberMotionLines(list, 0, 2, shift.Ask()));
    EXPECT_EQ(list[0].Obj.Num, 105);
    EXPECT_EQ(list[1].Obj.Num, 107);
    EXPECT_EQ(list[2].Obj.Num, 109);
    EXPECT_EQ(list[1].Obj.ToNum, 105);
    EXPECT_EQ(list[2].Obj.ToNum, 107);
}

TEST(Renumber, DuplicatesShareTheirNewNumberOnlyWhenAsked) {
    std::vector<std::string> source = {Frame(5), Frame(5), Frame(6), Frame(9, "5")};
    TMotionLineList separate = ParseMotionLines(source);
    ASSERT_TRUE(RenumberMotionLines(separate, 0, 2, Serial("1").Ask()));
    EXPECT_EQ(separate[0].Obj.Num, 1);
    EXPECT_EQ(separate[1].Obj.Num, 2);
    EXPECT_EQ(separate[2].Obj.Num, 3);
    EXPECT_EQ(separate[3].Obj.ToNum, 1);

    TMotionLineList shared = ParseMotionLines(source);
    TAnswer answer = Serial("1");
    answer.Request.Duplicates = true;
    ASSERT_TRUE(RenumberMotionLines(shared, 0, 2, answer.Ask()));
    EXPECT_EQ(shared[0].Obj.Num, 1);
    EXPECT_EQ(shared[1].Obj.Num, 1);
    EXPECT_EQ(shared[2].Obj.Num, 2);
    EXPECT_EQ(shared[3].Obj.ToNum, 1);
}

TEST(Renumber, JumpModesChooseWhichReferencesFollow) {
    std::vector<std::string> source = {Frame(1, "2"), Frame(2, "1", "1"), Frame(3, "1"), Frame(4, "2", "2")};
    struct Case {
        int jump;
        std::vector<int> to, hit; // of lines 0..3 after renumbering lines 0..1 from 11
    } cases[] = {
        {rjNone, {2, 1, 1, 2}, {-1, 1, -1, 2}},
        {rjAll, {12, 11, 11, 12}, {-1, 11, -1, 12}},
        {rjInRange, {12, 11, 1, 2}, {-1, 11, -1, 2}},
    };
    for (const Case& c : cases) {
        TMotionLineList list = ParseMotionLines(source);
        ASSERT_TRUE(RenumberMotionLines(list, 0, 1, Serial("11", c.jump).Ask()));
        EXPECT_EQ(list[0].Obj.Num, 11);
        EXPECT_EQ(list[1].Obj.Num, 12);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(list[i].Obj.ToNum, c.to[i]) << "jump " << c.jump << " line " << i;
            EXPECT_EQ(list[i].Obj.Hit, c.hit[i]) << "jump " << c.jump << " line " << i;
        }
    }
}

TEST(Renumber, NothingToRenumberOrCancelledChangesNothing) {
    TMotionLineList list = ParseMotionLines({"note", Frame(1), "", Frame(2)});
    std::vector<std::string> before = Lines(list);
    TAnswer answer = Serial("5");
    EXPECT_FALSE(RenumberMotionLines(list, 2, 2, answer.Ask()));
    EXPECT_FALSE(RenumberMotionLines(list, 3, 1, answer.Ask()));
    EXPECT_FALSE(RenumberMotionLines(list, 0, 0, answer.Ask()));
    EXPECT_EQ(answer.Calls, 0) << "no dialog without a frame in the range";
    answer.Ok = false;
    EXPECT_FALSE(RenumberMotionLines(list, 0, 3, answer.Ask()));
    EXPECT_EQ(answer.Calls, 1);
    EXPECT_EQ(Lines(list), before);
    EXPECT_EQ(FindNextMotionLine(list, 0, 3), 1);
    EXPECT_EQ(FindNextMotionLine(list, 2, 99), 3);
    EXPECT_EQ(FindNextMotionLine(list, -5, 0), -1);
}

TEST(Renumber, RequestsThatWouldBreakTheListAreRefusedWithAWarning) {
    struct Case {
        std::string start;
        bool offset;
        std::string warning;
    } cases[] = {
        {"a", false, "開始番号が数値ではありません"},
        {"", false, "開始番号が数値ではありません"},
        {"-1", false, "番号が 0 より小さくなるためリナンバできません"},
        {"0", true, "番号が 0 より小さくなるためリナンバできません"}, // 10 -> 0 moves 5 to -5
        {"2147483647", false, "番号が大きすぎるためリナンバできません"},
        {"2147483647", true, "番号が大きすぎるためリナンバできません"},
    };
    for (const Case& c : cases) {
        TMotionLineList list = ParseMotionLines({Frame(10), Frame(5), Frame(12, "5", "10")});
        std::vector<std::string> before = Lines(list);
        TScriptedMessages messages;
        TMessageServiceScope scope(messages);
        TAnswer answer = Serial(c.start);
        answer.Request.OffsetMode = c.offset;
        EXPECT_FALSE(RenumberMotionLines(list, 0, 2, answer.Ask())) << c.start;
        EXPECT_EQ(Lines(list), before) << c.start;
        ASSERT_EQ(messages.Shown.size(), 1u) << c.start;
        EXPECT_EQ(messages.Shown[0].Text, c.warning);
        EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Warning);
    }
    TMotionLineList list = ParseMotionLines({Frame(10)});
    EXPECT_TRUE(RenumberMotionLines(list, 0, 0, Serial(" 7 ").Ask())) << "blanks around the number are fine";
    EXPECT_EQ(list[0].Obj.Num, 7);
}

TEST(Renumber, LongNumbersStaySeparateFields) {
    // Five digits fill the To and Hit columns; they keep a blank so that they do not join the
    // field before them.
    TMotionLineList list = ParseMotionLines({Frame(1), Frame(2, "1", "1")});
    ASSERT_TRUE(RenumberMotionLines(list, 0, 0, Serial("123456").Ask()));
    EXPECT_EQ(list[0].Obj.Num, 123456);
    ASSERT_TRUE(list[1].Obj.Valid) << list[1].Line;
    EXPECT_EQ(list[1].Obj.ToNum, 123456);
    EXPECT_EQ(list[1].Obj.Hit, 123456);
    EXPECT_EQ(Field(list, 1, mfTo), " 123456");
}

namespace {

// The renumbering written out the simple way: every renumbered frame visits every line.
bool ReferenceRenumber(TMotionLineList& list, int first, int last, const TRenumberRequest& request) {
    int f = FindNextMotionLine(list, first, last);
    if (f < 0) return false;
    std::int64_t start = *StrToInt(Trim(request.StartNum)), delta = start - list[f].Obj.Num;
    if (request.OffsetMode && delta == 0) return false;
    std::vector<char> done(list.size()), toDone(list.size()), hitDone(list.size());
    auto store = [&](int j, std::array<std::string, kMotionFieldCount> items) {
        list[j].Line.clear();
        for (const std::string& item : items) list[j].Line += item;
        ParseMotionLine(list[j].Line, list[j].Obj);
    };
    auto ref = [](std::int64_t value) {
        std::string text = std::to_string(value);
        return text.size() < 5 ? std::string(5 - text.size(), ' ') + text : " " + text;
    };
    auto num = [](std::int64_t value) {
        std::string text = std::to_string(value);
        return text.size() < 4 ? std::string(4 - text.size(), ' ') + text : text;
    };
    std::int64_t next = start;
    for (int i = f; i <= last; ++i) {
        if (!list[i].Obj.Valid || done[i]) continue;
        std::int32_t old = list[i].Obj.Num;
        std::int64_t now = request.OffsetMode ? old + delta : next;
        if (request.JumpMode != rjNone) {
            int from = request.JumpMode == rjInRange ? first : 0;
            int to = request.JumpMode == rjInRange ? last : static_cast<int>(list.size()) - 1;
            for (int j = from; j <= to; ++j) {
                if (!list[j].Obj.Valid) continue;
                bool t = list[j].Obj.ToNum == old && !toDone[j], h = list[j].Obj.Hit == old && !hitDone[j];
                if (!t && !h) continue;
                auto items = list[j].Obj.Items;
                if (t) items[mfTo] = ref(now), toDone[j] = 1;
                if (h) items[mfHit] = ref(now), hitDone[j] = 1;
                store(j, items);
            }
        }
        for (int k = i; k <= last; ++k) {
            if (k != i && !(request.Duplicates && list[k].Obj.Valid && !done[k] && list[k].Obj.Num == old)) continue;
            auto items = list[k].Obj.Items;
            items[mfNum] = num(now);
            store(k, items);
            done[k] = 1;
        }
        ++next;
    }
    return true;
}

} // namespace

TEST(Renumber, MatchesTheStraightforwardAlgorithmOnRandomLists) {
    std::mt19937 rng(5);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> source;
        int count = 1 + pick(30);
        for (int i = 0; i < count; ++i) {
            if (pick(6) == 0) {
                source.push_back("note");
                continue;
            }
            auto maybeRef = [&] { return pick(3) == 0 ? std::string("-") : std::to_string(pick(15)); };
            source.push_back(Frame(pick(15), maybeRef(), maybeRef()));
        }
        int first = pick(count), last = first + pick(count - first);
        TRenumberRequest request;
        request.StartNum = std::to_string(pick(20));
        request.JumpMode = pick(3);
        request.Duplicates = pick(2);
        request.OffsetMode = pick(2);
        TMotionLineList fast = ParseMotionLines(source), reference = ParseMotionLines(source);
        TScriptedMessages messages;
        TMessageServiceScope scope(messages);
        bool changed = RenumberMotionLines(fast, first, last, [&](std::int32_t, TRenumberRequest& r) {
            r = request;
            return true;
        });
        if (!messages.Shown.empty()) {
            EXPECT_FALSE(changed);
            EXPECT_EQ(Lines(fast), source);
            continue; // the reference would have written negative numbers
        }
        EXPECT_EQ(changed, ReferenceRenumber(reference, first, last, request)) << round;
        EXPECT_EQ(Lines(fast), Lines(reference)) << round;
    }
}
