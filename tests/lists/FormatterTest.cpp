#include "Formatter.h"

#include "Cp932.h"
#include "MotionTestLines.h"
#include "Strutil.h"
#include "motions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

using namespace quillon;

namespace {

const std::string kMotionTitle =
    "-Num---To-Sp-Pic-De-Ci-V---VxRx--VyRy-C-CL-G-Da--Hit-H-Flag-Def1---------Def2---------Att1---------COMMENT";
const std::vector<std::string> kMotionTemplate = {"--R---G---B---G", "  0   0 255  16", kMotionTitle};

const char* const kBox = "000000000000";

// A motion data line of the given fields (Num to Att1) after one blank each, then " " + comment.
std::string MotionLine(std::vector<std::string> fields, const std::string& comment = "") {
    std::string line;
    for (const std::string& f : fields) (line += ' ') += f;
    return line + " " + comment;
}

// The 21 fields of a plain frame, to be changed field by field.
std::vector<std::string> Frame(const std::string& num = "1") {
    return {num, "-", "0", "5", "0", "0", "9", "0", "0", "0", "0", "9", "0", "0", "0", "-", "0", "0", kBox, kBox, kBox};
}

std::vector<std::string> FormatMotion(const std::vector<std::string>& lines,
                                      const TMotionFormatterOptions& options = {}) {
    TMotionFormatter formatter;
    formatter.SetLines(lines);
    formatter.SetOptions(options);
    std::vector<std::string> out;
    formatter.Format(out);
    return out;
}

std::vector<std::string> TrimmedMotionFields(const std::string& line) {
    std::vector<std::string> fields;
    SplitMotionLine(line, fields);
    for (std::string& f : fields) f = TrimZenkaku(f);
    return fields;
}

TMotionFormatterOptions Docking() {
    TMotionFormatterOptions options;
    options.SetCanDockMinus(true);
    return options;
}

} // namespace

TEST(FormatterOptions, DefaultsClampsAndAssign) {
    TMotionFormatterOptions motion;
    EXPECT_TRUE(motion.HeaderAlign());
    EXPECT_FALSE(motion.CanDockMinus());
    EXPECT_EQ(motion.FlagMethod(), fmKeep);
    EXPECT_TRUE(motion.FlagAlign());
    EXPECT_TRUE(motion.AddSemiColon());
    motion.SetFlagMethod(3);
    EXPECT_EQ(motion.FlagMethod(), 2);
    motion.SetFlagMethod(-1);
    EXPECT_EQ(motion.FlagMethod(), 0);

    TMotionFormatterOptions other;
    other.SetHeaderAlign(false);
    other.SetCanDockMinus(true);
    other.SetFlagMethod(1);
    other.SetFlagAlign(false);
    other.SetAddSemiColon(false);
    motion.Assign(other);
    EXPECT_FALSE(motion.HeaderAlign());
    EXPECT_TRUE(motion.CanDockMinus());
    EXPECT_EQ(motion.FlagMethod(), 1);
    EXPECT_FALSE(motion.FlagAlign());
    EXPECT_FALSE(motion.AddSemiColon());

    TMotionFormatter formatter;
    formatter.SetOptions(other);
    other.SetFlagMethod(2);
    EXPECT_EQ(formatter.Options().FlagMethod(), 1) << "the formatter keeps its own copy";
}

TEST(MotionFormatter, TheTemplateComesOutUnchanged) {
    EXPECT_EQ(FormatMotion(kMotionTemplate), kMotionTemplate);
    EXPECT_EQ(FormatMotion({}), std::vector<std::string>{});
}

TEST(MotionFormatter, ADataLineIsRebuiltInTheTemplateColumns) {
    std::vector<std::string> out = FormatMotion(
        {kMotionTitle,
         "   0   1  3  10  0  0 9   0 0   0 0 9 0 0   0   -  0 0 000000000000 000000000000 000000000000 "});
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], kMotionTitle);
    EXPECT_EQ(out[1],
              "   0    1  3  10  0  0 9    0 0   0 0 9  0 0  0    - 0 0    000000000000 000000000000 000000000000 ;");
    // Every title ends where its column ends.
    for (std::string_view name : {"Num", "To", "Sp", "Pic", "De", "Ci", "Vx", "Da", "Hit"}) {
        size_t end = kMotionTitle.find(name) + name.size();
        EXPECT_NE(out[1][end - 1], ' ') << name;
        EXPECT_EQ(out[1][end], ' ') << name;
    }
}

// A V list that ends in a "/" before an empty item or a lone sign: the formatter writes the fields
// the reader cuts, Vx and Hit each ending under its title, and the line reads back the same.
TEST(MotionFormatter, AVListEndingInASlashKeepsItsFieldsInTheirColumns) {
    const std::vector<std::string> lines = {kMotionTitle, testlines::kEmptyVItemLine, testlines::kLoneSignVItemLine};
    for (const TMotionFormatterOptions& options : {TMotionFormatterOptions(), Docking()}) {
        const std::vector<std::string> out = FormatMotion(lines, options);
        ASSERT_EQ(out.size(), lines.size());
        for (std::size_t i = 1; i < lines.size(); ++i) {
            std::vector<std::string> before = TrimmedMotionFields(lines[i]);
            before[mfComment] = ";" + before[mfComment];
            EXPECT_EQ(TrimmedMotionFields(out[i]), before) << out[i];
            std::vector<std::string> fields;
            SplitMotionLine(out[i], fields);
            std::size_t end = 0;
            for (int k = 0; k <= mfHit; ++k) {
                end += fields[k].size();
                if (k == mfVx) EXPECT_EQ(end, out[0].find("Vx") + 2) << out[i];
            }
            EXPECT_EQ(end, out[0].find("Hit") + 3) << out[i];
        }
    }
}

TEST(MotionFormatter, ColumnsWidenToTheLongestFieldAndTheTitleFollows) {
    std::vector<std::string> wide = Frame("12345");
    wide[mfVy] = "123456";
    wide[mfDef1] = "0000000000001";
    std::vector<std::string> out = FormatMotion({kMotionTitle, MotionLine(Frame("1"), "a"), MotionLine(wide, "b")});
    EXPECT_EQ(out[0].substr(0, 6), "--Num-");
    EXPECT_NE(out[0].find("Rx-----Vy"), std::string::npos);
    EXPECT_NE(out[0].find("-Def1----------Def2"), std::string::npos);
    EXPECT_EQ(out[1].size(), out[2].size());
    EXPECT_EQ(out[1].substr(0, 5), "    1");
    EXPECT_EQ(out[2].substr(0, 5), "12345");
    EXPECT_EQ(out[0].find("-COMMENT"), out[1].find(";a") - 1);
    EXPECT_EQ(out[1].find(";a"), out[2].find(";b"));
}

TEST(MotionFormatter, SignsDockOnlyWhenAllowedAndAfterADigit) {
    std::vector<std::string> v = Frame();
    v[mfCi] = "5";
    v[mfV] = "-3";
    EXPECT_NE(FormatMotion({MotionLine(v)})[0].find("  5 -3"), std::string::npos);
    EXPECT_NE(FormatMotion({MotionLine(v)}, Docking())[0].find("  5-3"), std::string::npos);

    // Beyond the minimum width a widest signed field touches the digit before it.
    std::vector<std::string> vy = Frame();
    vy[mfVy] = "-1234";
    EXPECT_NE(FormatMotion({MotionLine(vy)})[0].find(" 0 -1234"), std::string::npos);
    EXPECT_NE(FormatMotion({MotionLine(vy)}, Docking())[0].find(" 0-1234"), std::string::npos);

    // A To of "-1" stays at the minimum width 5 either way.
    std::vector<std::string> to = Frame("0");
    to[mfTo] = "-1";
    EXPECT_EQ(FormatMotion({MotionLine(to)})[0].substr(0, 9), "   0   -1");
    EXPECT_EQ(FormatMotion({MotionLine(to)}, Docking())[0].substr(0, 9), "   0   -1");

    // De never docks: "5" followed by "-123" in De keeps a blank even when docking is on.
    std::vector<std::string> de = Frame();
    de[mfDe] = "-123";
    EXPECT_NE(FormatMotion({MotionLine(de)}, Docking())[0].find("5 -123"), std::string::npos);
}

TEST(MotionFormatter, ALineWhoseFieldBeforeASignEndsInALetterNeverDocks) {
    // The first widest Ci follows a digit and may dock; the second follows "E": docking it would
    // make "E+12" one De field and the frame would no longer split into its fields.
    std::vector<std::string> a = Frame(), b = Frame("2");
    a[mfCi] = "+12";
    b[mfDe] = "E";
    b[mfCi] = "+12";
    std::vector<std::string> out = FormatMotion({MotionLine(a), MotionLine(b)}, Docking());
    for (size_t i = 0; i < 2; ++i) {
        ASSERT_EQ(TrimmedMotionFields(out[i]).size(), 22u) << out[i];
        EXPECT_EQ(TrimmedMotionFields(out[i])[mfDe], i == 0 ? "0" : "E");
        EXPECT_EQ(TrimmedMotionFields(out[i])[mfCi], "+12");
    }
    EXPECT_NE(out[1].find("E +12"), std::string::npos) << out[1];
    // "<" and ">" dock only as the first widest field.
    std::vector<std::string> c = Frame("3");
    c[mfCi] = "<12";
    EXPECT_NE(FormatMotion({MotionLine(a), MotionLine(c)}, Docking())[1].find("0 <12"), std::string::npos);
    EXPECT_NE(FormatMotion({MotionLine(c)}, Docking())[0].find(" 0<12"), std::string::npos);
}

TEST(MotionFormatter, FlagMethods) {
    struct Case {
        int method;
        std::vector<std::string> in, out;
    } cases[] = {
        {fmCutZeros, {"00010000", "0000", "01", "000000100"}, {"0001", "0000", "01", "0000001"}},
        {fmPadZeros, {"01", "000001"}, {"010000", "000001"}},
        {fmPadZeros, {"1", "01"}, {"1000", "0100"}},
        {fmKeep, {"00010000", "01"}, {"00010000", "01"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        for (const std::string& flag : c.in) {
            std::vector<std::string> f = Frame();
            f[mfFlag] = flag;
            lines.push_back(MotionLine(f));
        }
        TMotionFormatterOptions options;
        options.SetFlagMethod(c.method);
        std::vector<std::string> out = FormatMotion(lines, options);
        for (size_t i = 0; i < out.size(); ++i) EXPECT_EQ(TrimmedMotionFields(out[i])[mfFlag], c.out[i]) << c.in[i];
    }
}

TEST(MotionFormatter, FlagAlignment) {
    std::vector<std::string> a = Frame(), b = Frame();
    b[mfFlag] = "0000001";
    std::vector<std::string> aligned = FormatMotion({kMotionTitle, MotionLine(a), MotionLine(b)});
    EXPECT_EQ(aligned[1].find(kBox), aligned[2].find(kBox));
    EXPECT_NE(aligned[0].find("-Flag----Def1"), std::string::npos);
    TMotionFormatterOptions loose;
    loose.SetFlagAlign(false);
    std::vector<std::string> out = FormatMotion({kMotionTitle, MotionLine(a), MotionLine(b)}, loose);
    EXPECT_EQ(out[1].find(kBox) + 3, out[2].find(kBox)) << "each flag keeps its own width, at least 4";
    EXPECT_NE(out[0].find("-Flag-Def1"), std::string::npos);
}

TEST(MotionFormatter, CommentsGetTheirSemicolon) {
    struct Case {
        bool add;
        std::string comment, end;
    } cases[] = {
        {true, "", " ;"},       {true, ";abc", " ;abc"},
        {true, "abc", " ;abc"}, {true, Utf8ToCp932("　全角　"), " ;" + Utf8ToCp932("全角")},
        {false, "", " "},       {false, "abc", " abc"},
    };
    for (const Case& c : cases) {
        TMotionFormatterOptions options;
        options.SetAddSemiColon(c.add);
        std::string out = FormatMotion({MotionLine(Frame(), c.comment)}, options)[0];
        ASSERT_GE(out.size(), c.end.size());
        EXPECT_EQ(out.substr(out.size() - c.end.size()), c.end) << c.comment;
        EXPECT_EQ(TrimmedMotionFields(out).size(), 22u);
    }
}

TEST(MotionFormatter, OnlyTheFirstTitleLineIsReplaced) {
    std::vector<std::string> f = Frame("12345");
    std::vector<std::string> out = FormatMotion({"-Num old", MotionLine(f), "-Num second"});
    EXPECT_EQ(out[0].substr(0, 10), "--Num---To");
    EXPECT_EQ(out[2], "-Num second");
    TMotionFormatterOptions keep;
    keep.SetHeaderAlign(false);
    EXPECT_EQ(FormatMotion({"-Num old", MotionLine(f)}, keep)[0], "-Num old");
    // The widened title is still the title: shrinking the frame numbers again brings "-Num" back,
    // and a second title line further down is never touched.
    std::vector<std::string> again = FormatMotion({out[0], MotionLine(Frame("1")), "-Num second"});
    EXPECT_EQ(again[0], kMotionTitle);
    EXPECT_EQ(again[2], "-Num second");
}

TEST(MotionFormatter, LinesThatAreNotDataLinesPassByteForByte) {
    std::vector<std::string> frame21 = Frame();
    std::string noComment = MotionLine(frame21);
    noComment.pop_back(); // ends right after Att1: 21 fields
    std::vector<std::string> blankSp = Frame();
    blankSp[mfSp] = Utf8ToCp932("　"); // a field of nothing but a full-width space
    std::vector<std::string> doubleByteV = Frame();
    doubleByteV[mfV] = "\x83\x5C"; // a V of one double-byte character: no data line, never cut in two
    std::vector<std::string> lines = {"",
                                      "   ",
                                      "  note\t ",
                                      noComment,
                                      "x 1 2 3",
                                      MotionLine(blankSp, "c"),
                                      "\x83\x5C\x95\x5C ",
                                      MotionLine(doubleByteV, "c")};
    EXPECT_EQ(FormatMotion(lines), lines);
}

namespace {

// Random field texts that a motion line can hold, some with blanks or marks around them.
class TMotionCorpus {
public:
    explicit TMotionCorpus(unsigned seed) : FRng(seed) {}

    std::string Line() {
        if (Pick(10) == 0) return Pick(2) ? kMotionTitle : "note " + Num();
        std::string line;
        for (int k = 0; k < kMotionFieldCount - 1; ++k) {
            line.append(1 + Pick(3), ' ');
            line += Field(k);
        }
        return line + std::string(1 + Pick(2), ' ') + Of({"", "abc", ";x y", "\x81\x40\x8A\xBF", "\x83\x5C"});
    }

private:
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(FRng); }
    std::string Of(std::initializer_list<const char*> choices) { return *(choices.begin() + Pick(choices.size())); }
    std::string Num() { return std::to_string(std::uniform_int_distribution<int>(0, Pick(4) ? 999 : 999999)(FRng)); }
    std::string Signed() { return Of({"", "", "-", "+"}) + Num(); }

    std::string Field(int k) {
        switch (k) {
        case mfNum: return Num();
        case mfTo: return Pick(3) ? Num() : Of({"-", "-1", "+4"});
        case mfPic: return Of({"5", "-", "12,1", "3/4:2", "-7", "12.5", "1/2/3/4/5/6"});
        case mfDe: return Of({"0", "E", "E+5", "C-3", "T10", "-5", "+", "12", "-123"});
        case mfCi: return Of({"0", "<12", ">-3", "-7", "+12", "5", "<+1", "-1234"});
        case mfV: return Of({"9", "9/-3/4", "-3", "1/", "+2", "-", "12/34"});
        case mfHit: return Pick(2) ? Num() : Of({"-", "+5"});
        case mfFlag: return Of({"0", "00010000", "01", "-", "1111111", "000000000"});
        case mfDef1:
        case mfDef2:
        case mfAtt1: return Of({kBox, "1FF0EF00A010", "0000000000001", "0"});
        default:
            switch (Pick(8)) {
            case 0: return "\t" + Num();          // a control character trims away
            case 1: return Signed() + "\x81\x40"; // so does a trailing full-width space
            case 2: return Of({"x", "\x83\x5C"}); // letters and double-byte text are kept
            default: return Signed();
            }
        }
    }

    std::mt19937 FRng;
};

} // namespace

TEST(MotionFormatter, FormattedLinesKeepTheirFieldsAndFormattingAgainChangesNothing) {
    TMotionCorpus corpus(11);
    size_t dataLines = 0, total = 0;
    for (int round = 0; round < 64; ++round) {
        std::vector<std::string> lines(kMotionTemplate);
        for (int i = 0; i < 40; ++i) lines.push_back(corpus.Line());
        TMotionFormatterOptions options;
        options.SetCanDockMinus(round % 2);
        options.SetFlagMethod(round / 2 % 3);
        options.SetFlagAlign(round / 6 % 2);
        options.SetAddSemiColon(round / 12 % 2);
        std::vector<std::string> once = FormatMotion(lines, options);
        ASSERT_EQ(once.size(), lines.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            std::vector<std::string> before = TrimmedMotionFields(lines[i]), after = TrimmedMotionFields(once[i]);
            ++total;
            if (before.size() != kMotionFieldCount) {
                if (i != 2) { // the title line
                    EXPECT_EQ(once[i], lines[i]);
                }
                continue;
            }
            ++dataLines;
            ASSERT_EQ(after.size(), before.size()) << lines[i] << "\n" << once[i];
            for (int k = 0; k < mfFlag; ++k) EXPECT_EQ(after[k], before[k]) << k << ": " << once[i];
            for (int k = mfDef1; k < mfComment; ++k) EXPECT_EQ(after[k], before[k]) << k << ": " << once[i];
            std::string comment = options.AddSemiColon() && (before[mfComment].empty() || before[mfComment][0] != ';')
                                      ? ";" + before[mfComment]
                                      : before[mfComment];
            EXPECT_EQ(after[mfComment], comment);
        }
        EXPECT_EQ(FormatMotion(once, options), once) << "round " << round;
    }
    EXPECT_GT(dataLines, total / 2);
}

namespace {

const std::string kCommandTitle = "CmdNum--Command--Cancel--Std-AmnNum--Vx--Comment";
const std::string kZCommandTitle = "CmdNum--Command--Cancel--Std-AmnNum--Sh-Sp-Dk--Comment";

template <class Formatter, class Options = std::decay_t<decltype(std::declval<Formatter>().Options())>>
std::vector<std::string> FormatWith(const std::vector<std::string>& lines, const Options& options = {}) {
    Formatter formatter;
    formatter.SetLines(lines);
    formatter.SetOptions(options);
    std::vector<std::string> out;
    formatter.Format(out);
    return out;
}

std::vector<std::string> FormatCommands(const std::vector<std::string>& lines,
                                        const TCommandFormatterOptions& options = {}) {
    return FormatWith<TCommandFormatter>(lines, options);
}

std::vector<std::string> CommandFields(const std::string& line) {
    std::vector<std::string> fields;
    SplitCommandLine(line, fields);
    for (std::string& f : fields) f = TrimZenkaku(f);
    return fields;
}

} // namespace

TEST(CommandFormatter, TheTemplatesComeOutUnchanged) {
    EXPECT_EQ(FormatCommands({kCommandTitle}), std::vector<std::string>{kCommandTitle});
    EXPECT_EQ(FormatWith<TZCommandFormatter>({kZCommandTitle}), std::vector<std::string>{kZCommandTitle});
}

TEST(CommandFormatter, ADataLineIsRebuiltUnderTheTemplateTitle) {
    std::vector<std::string> out = FormatCommands({"CmdNum old", "1 236P 0 0 1 0 Fireball"});
    EXPECT_EQ(out[0], kCommandTitle);
    EXPECT_EQ(out[1], "     1     236P   0      0        1   0  ;Fireball");
    std::vector<std::string> z = FormatWith<TZCommandFormatter>({"CmdNum old", "1 236P 0 0 1 0 5 2 Fireball"});
    EXPECT_EQ(z[0], kZCommandTitle);
    EXPECT_EQ(z[1], "     1     236P   0      0        1   0  5  2  ;Fireball");
}

TEST(CommandFormatter, WideFieldsWidenTheirColumnsAndTheTitle) {
    std::vector<std::string> out =
        FormatCommands({kCommandTitle, "1234567 23632147PK 0000001 123 45 -6789 ;x", "1 2U 0 0 1 3 "});
    EXPECT_EQ(out[0].find("-CmdNum----Command--Cancel---Std"), 0u) << out[0];
    EXPECT_EQ(out[1].size(), out[2].size() + 1);
    EXPECT_EQ(out[1].find(";x"), out[0].find("Comment"));
    EXPECT_EQ(out[2].find(';'), out[0].find("Comment"));
    EXPECT_EQ(out[1].find("-6789") + 5, out[0].find("Vx") + 2);
    // Formatting again finds the widened title and keeps it.
    EXPECT_EQ(FormatCommands(out), out);
}

TEST(CommandFormatter, CancelFlags) {
    struct Case {
        int method;
        bool align;
        std::vector<std::string> in, out;
    } cases[] = {
        {fmCutZeros, true, {"000100", "01", "-", "0000000"}, {"00010", "01", "-", "00000"}},
        {fmPadZeros, true, {"01", "000001", "-"}, {"010000", "000001", "-"}},
        {fmPadZeros, false, {"1", "-"}, {"10000", "-"}},
        {fmKeep, false, {"000100", "-"}, {"000100", "-"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        for (const std::string& cancel : c.in) lines.push_back("1 2U " + cancel + " 0 1 3 ");
        TCommandFormatterOptions options;
        options.SetFlagMethod(c.method);
        options.SetFlagAlign(c.align);
        std::vector<std::string> out = FormatCommands(lines, options);
        for (size_t i = 0; i < out.size(); ++i) {
            EXPECT_EQ(CommandFields(out[i])[cfCancel], c.out[i]) << c.in[i];
            if (c.in[i] == "-") {
                EXPECT_NE(out[i].find("       -"), std::string::npos) << "a lone - is written \"    -\"";
            }
        }
    }
}

TEST(CommandFormatter, TitleAndLinesThatAreNoCommandLines) {
    TCommandFormatterOptions keep;
    keep.SetHeaderAlign(false);
    EXPECT_EQ(FormatCommands({"CmdNum old", "1 2U 0 0 1 3 "}, keep)[0], "CmdNum old");
    std::vector<std::string> lines = {"1 2U 0 0 1 3", "", "  text  ", "1 \x81\x40 0 0 1 3 x", "x 1 2 3 4 5 6"};
    EXPECT_EQ(FormatCommands(lines), lines);
    TCommandFormatterOptions bare;
    bare.SetAddSemiColon(false);
    std::string out = FormatCommands({"1 2U 0 0 1 3 "}, bare)[0];
    EXPECT_EQ(out.back(), ' ') << "without \";\" an empty comment leaves the blanks";
    EXPECT_EQ(CommandFields(out).size(), 7u);
}

namespace {

// The title and Count random lines of a command list (Vantor when vantor is set), most of them
// command lines.
std::vector<std::string> CommandCorpus(std::mt19937& rng, bool vantor, int count) {
    auto pick = [&](std::initializer_list<const char*> choices) {
        return std::string(*(choices.begin() + std::uniform_int_distribution<size_t>(0, choices.size() - 1)(rng)));
    };
    std::vector<std::string> lines = {vantor ? kZCommandTitle : kCommandTitle};
    for (int i = 0; i < count; ++i) {
        std::string line = pick({"1", "12", "1234567", "0"});
        line += " " + pick({"236P", "2U", "2363214PPK", "\x83\x5C"});
        line += " " + pick({"0", "-", "000100", "0000000000", "1"});
        line += "  " + pick({"0", "-", "123", "1\x81\x40"});
        for (int k = 0; k < (vantor ? 4 : 2); ++k) line += " " + pick({"0", "-12", "12345", "1\t"});
        line += pick({" ", "  ;c", " note text ", " \x81\x40x"});
        lines.push_back(pick({"", "", "", "", "", "note"}) + line);
    }
    return lines;
}

} // namespace

TEST(CommandFormatter, FormattedLinesKeepTheirFieldsAndFormattingAgainChangesNothing) {
    std::mt19937 rng(3);
    for (int round = 0; round < 48; ++round) {
        bool vantor = round % 2;
        std::vector<std::string> lines = CommandCorpus(rng, vantor, 30);
        TCommandFormatterOptions options;
        options.SetFlagMethod(round / 2 % 3);
        options.SetFlagAlign(round / 6 % 2);
        options.SetAddSemiColon(round / 12 % 2);
        TZCommandFormatterOptions zoptions;
        zoptions.SetFlagMethod(options.FlagMethod());
        zoptions.SetFlagAlign(options.FlagAlign());
        zoptions.SetAddSemiColon(options.AddSemiColon());
        auto format = [&](const std::vector<std::string>& in) {
            return vantor ? FormatWith<TZCommandFormatter>(in, zoptions) : FormatCommands(in, options);
        };
        auto fieldsOf = [&](const std::string& line) {
            std::vector<std::string> fields;
            (vantor ? SplitZCommandLine : SplitCommandLine)(line, fields);
            for (std::string& f : fields) f = TrimZenkaku(f);
            return fields;
        };
        size_t count = vantor ? kZCommandFieldCount : kCommandFieldCount;
        std::vector<std::string> once = format(lines);
        for (size_t i = 1; i < lines.size(); ++i) {
            std::vector<std::string> before = fieldsOf(lines[i]), after = fieldsOf(once[i]);
            if (before.size() != count) {
                EXPECT_EQ(once[i], lines[i]);
                continue;
            }
            ASSERT_EQ(after.size(), count) << lines[i] << "\n" << once[i];
            for (size_t k = 0; k + 1 < count; ++k) {
                if (k != cfCancel) {
                    EXPECT_EQ(after[k], before[k]) << k << ": " << once[i];
                }
            }
        }
        EXPECT_EQ(format(once), once) << "round " << round;
    }
}

// ---- Golden output

namespace {

// The options of a golden round: every combination, each bit of the round number a choice.
template <class Options> Options RoundOptions(int round) {
    Options options;
    options.SetFlagMethod(round / 2 % 3);
    options.SetFlagAlign(round / 6 % 2);
    options.SetAddSemiColon(round / 12 % 2);
    options.SetHeaderAlign(round / 24 % 2 == 0);
    return options;
}

// The golden file of that name in tests/lists/formatted.
std::filesystem::path FormattedFile(const std::string& name) {
    return std::filesystem::path(QUILLON_FORMATTED_DIR) / name;
}

// Compares the lines with the golden file, or writes them to it when QUILLON_REGENERATE_GOLDEN is set.
void ExpectGolden(const std::string& name, const std::vector<std::string>& lines) {
    if (std::getenv("QUILLON_REGENERATE_GOLDEN")) {
        std::ofstream out(FormattedFile(name), std::ios::binary);
        for (const std::string& line : lines) out << line << '\n';
        return;
    }
    std::ifstream in(FormattedFile(name), std::ios::binary);
    std::vector<std::string> expected;
    for (std::string line; std::getline(in, line);) expected.push_back(line);
    ASSERT_EQ(lines.size(), expected.size()) << name;
    for (size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(lines[i], expected[i]) << name << " line " << i + 1;
}

} // namespace

// What the formatters write for fixed lists under every combination of options, byte for byte as
// the golden files in tests/lists/formatted hold it. After an intended change of the output, run
// this test with QUILLON_REGENERATE_GOLDEN set and review the difference of the files.
TEST(Formatters, WriteWhatTheGoldenFilesHold) {
    std::vector<std::string> motion;
    TMotionCorpus corpus(5);
    for (int round = 0; round < 48; ++round) {
        std::vector<std::string> lines(kMotionTemplate);
        for (int i = 0; i < 10; ++i) lines.push_back(corpus.Line());
        TMotionFormatterOptions options = RoundOptions<TMotionFormatterOptions>(round);
        options.SetCanDockMinus(round % 2);
        motion.push_back("== round " + std::to_string(round));
        for (std::string& line : FormatMotion(lines, options)) motion.push_back(std::move(line));
    }
    ExpectGolden("motion.txt", motion);

    std::vector<std::string> command;
    std::mt19937 rng(7);
    for (int round = 0; round < 48; ++round) {
        const bool vantor = round % 2;
        const std::vector<std::string> lines = CommandCorpus(rng, vantor, 10);
        command.push_back("== round " + std::to_string(round));
        std::vector<std::string> out =
            vantor ? FormatWith<TZCommandFormatter>(lines, RoundOptions<TZCommandFormatterOptions>(round))
                   : FormatCommands(lines, RoundOptions<TCommandFormatterOptions>(round));
        for (std::string& line : out) command.push_back(std::move(line));
    }
    ExpectGolden("command.txt", command);
}
