// The motion line is read by two grammars: the colourer's field scan (ScanMotionField, in the full
// scan that paints and the simple scan that token queries use) and the reader of motions.cpp
// (SplitMotionLine), which format, renumber and the frame preview use. Every line of the golden
// motion list, of the motion fuzz seed and of a table of tricky lines goes through both, and they
// must agree on every field boundary:
// - each field the colourer cuts is the reader's field of the same number, at the same bytes;
// - where the colourer stops a line (an error, or an item line), it stops at the start of a field
//   the reader cuts, or at the token where the reader stops;
// - where neither stops, the row ends after the same fields in both.
// The colourer checks values that the reader takes as plain text (an Sp of "x", a De of "C"), so it
// may stop at a field that the reader goes on to read: never the other way round. So the simple
// scan, which refuses a V list that the reader ends after a "/" ("1//2", "1/-", "1/" before a
// blank), stops at the start of the reader's V field. One difference stays, because each grammar
// is made so on purpose: a control byte such as a tab separates fields for the colourer (as in
// every list) and is field text for the reader, which separates fields by blanks only; lines with
// one before their comment are left out.
#include "Cp932.h"
#include "MotionColourer.h"
#include "MotionTestLines.h"
#include "motions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace quillon;

namespace {

// A field as the byte range of its text without the blanks around it.
using TSpan = std::pair<std::size_t, std::size_t>;

// How a grammar cut a line: its fields from the first on, and where it stopped reading the line
// (none when the line ran out first, or all 22 fields were read).
struct TCut {
    std::vector<TSpan> Fields;
    std::optional<std::size_t> Stop;
};

// The reader's fields; an empty comment has no span. The reader stops at the first non-blank after
// its last field.
TCut ReaderCut(const std::string& line) {
    std::vector<std::string> fields;
    SplitMotionLine(line, fields);
    TCut cut;
    std::size_t at = 0;
    for (const std::string& field : fields) {
        const std::size_t lead = field.find_first_not_of(' ');
        if (lead != std::string::npos) cut.Fields.emplace_back(at + lead, at + field.size());
        at += field.size();
    }
    at = line.find_first_not_of(' ', at);
    if (fields.size() < kMotionFieldCount && at != std::string::npos) cut.Stop = at;
    return cut;
}

// The field a motion token kind belongs to: a V value and its separators, a C value and the pieces
// of a Flag are one field each. -1 for a kind that stops the line.
int FieldOfKind(int kind) {
    switch (kind) {
    case mtComment: return mfComment;
    case mtVNone: return mfV;
    case mtCOn: return mfC;
    case mtFlagOn: return mfFlag;
    case mtAnyItem:
    case mtError: return -1;
    default: return kind - mtMotionNum - (kind > mtVNone) - (kind > mtCOn) - (kind > mtFlagOn);
    }
}

// The colourer's fields in ParseMode, with the tokens of one field joined; a field out of its place
// is reported as a stop there.
TCut ColourerCut(const std::string& line, int mode) {
    static TMotionColourer colourer(nullptr);
    std::unique_ptr<TColourerParser> parser = colourer.CreateParserWithMode(mode);
    parser->NewData(line.c_str(), TRowAttributeData());
    TCut cut;
    while (parser->NextToken() != tkEnd && !cut.Stop) {
        const int kind = parser->TokenKind();
        const auto start = static_cast<std::size_t>(parser->SourcePos());
        const std::size_t end = start + static_cast<std::size_t>(parser->TokenLength());
        if (kind == tkTab) continue;
        const int field = FieldOfKind(kind);
        if (!cut.Fields.empty() && field + 1 == static_cast<int>(cut.Fields.size()) &&
            cut.Fields.back().second == start)
            cut.Fields.back().second = end;
        else if (field == static_cast<int>(cut.Fields.size()))
            cut.Fields.emplace_back(start, end);
        else
            cut.Stop = start;
    }
    return cut;
}

// Where two cuts of a line part, or empty when they agree as the top of this file says.
std::string Parting(const TCut& colourer, const TCut& reader) {
    const std::size_t fields = colourer.Fields.size();
    if (fields > reader.Fields.size()) return "the colourer cuts a field the reader refuses";
    for (std::size_t i = 0; i < fields; ++i)
        if (colourer.Fields[i] != reader.Fields[i]) return "field " + std::to_string(i) + " is cut apart";
    if (!colourer.Stop) return fields == reader.Fields.size() ? "" : "the colourer ends early";
    const std::optional<std::size_t> expected =
        fields < reader.Fields.size() ? reader.Fields[fields].first : reader.Stop;
    return colourer.Stop == expected ? "" : "the colourer stops inside field " + std::to_string(fields);
}

std::vector<std::string> FileLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Double-byte characters in CP932 whose trail bytes are a high byte, "[", "|" and "O".
const std::string kKanji = "\x8a\xbf", kBar = "\x81\x5b", kPo = "\x83\x7c", kZero = "\x82\x4f";

// A data line with Value in place of field Field (0..21; -1 for none).
std::string LineWith(int field, const std::string& value) {
    static const char* const fields[] = {"1",
                                         "2",
                                         "-",
                                         "10",
                                         "0",
                                         "0",
                                         "9",
                                         "0",
                                         "0",
                                         "0",
                                         "0",
                                         "9",
                                         "0",
                                         "U",
                                         "0",
                                         "-",
                                         "0",
                                         "000000000000",
                                         "000000000000",
                                         "000000000000",
                                         "000000000000",
                                         ";c"};
    std::string line = "  ";
    for (int i = 0; i < kMotionFieldCount; ++i) line += (i ? " " : "") + (i == field ? value : std::string(fields[i]));
    return line;
}

// Texts put in every field in turn: signs alone and inside, V lists with empty items, a digit
// followed by a letter or a point, numbers out of range, marks, double-byte characters alone, after
// and before a digit.
std::vector<std::string> TrickyValues() {
    std::vector<std::string> values = {
        "+1",   "-1",   "-2",   "1-2",     "+",      "-",       "-0", "1/",  "1//2", "1/-",  "1/+", "1/-/2",
        "1/+x", "1/2/", "9//",  "9//-3/4", "1/2//3", "1/-2/+3", "1x", "x",   "1A",   "1.5",  ".5",  "99999999999",
        "<",    "<+",   "<5>3", "E+5x",    "C",      "E+5<3",   "0U", "12x", "1,2",  "1/2+3"};
    for (const std::string& dbcs : {kKanji, kBar, kPo, kZero})
        for (const std::string& value : {dbcs, "1" + dbcs, dbcs + "1"}) values.push_back(value);
    return values;
}

std::vector<std::string> AllLines() {
    std::vector<std::string> lines = FileLines(std::filesystem::path(QUILLON_GOLDEN_DIR) / "MOTION.LST");
    for (const std::string& line : FileLines(std::filesystem::path(QUILLON_FUZZ_SEED_DIR) / "list" / "motion.lst"))
        lines.push_back(line);
    for (int field = 0; field < kMotionFieldCount; ++field)
        for (const std::string& value : TrickyValues()) lines.push_back(LineWith(field, value));
    const std::string full = LineWith(-1, "");
    for (std::size_t n = 0; n <= full.size(); ++n) lines.push_back(full.substr(0, n)); // every short line
    lines.push_back(full + "   ");
    lines.push_back("; a comment line");
    lines.push_back("1st frame of the walk, with notes");
    lines.push_back("  10 0 5 -");
    lines.push_back("  0   0 255  16");
    lines.push_back(testlines::kEmptyVItemLine);
    lines.push_back(testlines::kLoneSignVItemLine);
    return lines;
}

// Line with its control and double-byte bytes escaped, for the failure message.
std::string Escaped(const std::string& line) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : line)
        if (c >= 32 && c < 127)
            out += static_cast<char>(c);
        else
            out += {'\\', 'x', hex[c >> 4], hex[c & 15]};
    return out;
}

std::string Shown(const TCut& cut) {
    std::ostringstream out;
    for (auto [from, to] : cut.Fields) out << from << '-' << to << ' ';
    if (cut.Stop) out << "stop " << *cut.Stop;
    return out.str();
}

// A control byte before the comment (or anywhere, on a line that has none).
bool HasControlBeforeComment(const std::string& line, const TCut& reader) {
    const std::size_t end = reader.Fields.size() == kMotionFieldCount ? reader.Fields.back().first : line.size();
    for (std::size_t i = 0; i < end; ++i)
        if (static_cast<unsigned char>(line[i]) < 32) return true;
    return false;
}

void ExpectAgreement(int mode) {
    int data = 0, compared = 0;
    for (const std::string& line : AllLines()) {
        const TCut reader = ReaderCut(line), colourer = ColourerCut(line, mode);
        if (HasControlBeforeComment(line, reader)) continue;
        EXPECT_EQ(Parting(colourer, reader), "")
            << Escaped(line) << "\nreader:   " << Shown(reader) << "\ncolourer: " << Shown(colourer);
        ++compared;
        data += colourer.Fields.size() == kMotionFieldCount;
    }
    EXPECT_GT(compared, 600);
    EXPECT_GT(data, 100);
}

TEST(MotionGrammars, ThePaintingScanCutsLinesAsTheReaderDoes) { ExpectAgreement(pmFull); }

TEST(MotionGrammars, TheSimpleScanCutsLinesAsTheReaderDoes) { ExpectAgreement(pmSimple); }

// The simple scan refuses a V list that the reader ends after a "/": at the start of the V field.
TEST(MotionGrammars, TheSimpleScanStopsAtAVListEndingInASlash) {
    for (const char* v : {"1//2", "1/", "9/", "1/-", "9//-3/4"}) {
        const std::string line = LineWith(mfV, v);
        const TCut reader = ReaderCut(line), colourer = ColourerCut(line, pmSimple);
        ASSERT_GT(reader.Fields.size(), std::size_t{mfVx}) << v;
        EXPECT_EQ(colourer.Fields.size(), std::size_t{mfV}) << v;
        EXPECT_EQ(colourer.Stop, reader.Fields[mfV].first) << v;
    }
}

// Neither grammar cuts a double-byte character in two, whatever field holds it.
TEST(MotionGrammars, NoFieldBoundaryFallsInsideADoubleByteCharacter) {
    for (const std::string& line : AllLines()) {
        std::vector<bool> starts(line.size() + 1, false);
        for (std::size_t p = 0; p <= line.size(); p += p + 1 < line.size() && IsLeadByte(line[p]) ? 2 : 1)
            starts[p] = true;
        for (const TCut& cut : {ReaderCut(line), ColourerCut(line, pmFull), ColourerCut(line, pmSimple)}) {
            for (auto [from, to] : cut.Fields)
                EXPECT_TRUE(starts[from] && starts[to]) << Escaped(line) << " " << from << "-" << to;
            if (cut.Stop) {
                EXPECT_TRUE(starts[*cut.Stop]) << Escaped(line) << " stop " << *cut.Stop;
            }
        }
    }
}

} // namespace
