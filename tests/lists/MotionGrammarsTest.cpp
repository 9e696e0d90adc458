// The motion line is read by two grammars: the colourer's field scan (ScanMotionField, one token per
// field in the simple scan) and the reader of motions.cpp (SplitMotionLine). Every line of the golden
// motion list and of a table of tricky lines (a double-byte character, a sign, a digit run in every
// field, every short line) goes through both: a line the colourer paints as data is read as the same
// fields, lines both take as data are cut alike, and no boundary splits a character. The lines they
// read apart today are listed with their reasons.
#include "Cp932.h"
#include "MotionColourer.h"
#include "motions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace quillon;

namespace {

// A field as the byte range of its text without the blanks around it.
using TSpan = std::pair<std::size_t, std::size_t>;

// The 22 field spans the reader finds, or none when the line is not a data line. An empty comment
// has no span.
std::vector<TSpan> ReaderSpans(const std::string& line) {
    std::vector<std::string> fields;
    SplitMotionLine(line, fields);
    std::vector<TSpan> spans;
    if (fields.size() != kMotionFieldCount) return spans;
    std::size_t at = 0;
    for (const std::string& field : fields) {
        const std::size_t lead = field.find_first_not_of(' ');
        if (lead != std::string::npos) spans.emplace_back(at + lead, at + field.size());
        at += field.size();
    }
    return spans;
}

// The field kinds of a data line in the simple scan, in field order (the comment after them).
constexpr int kSimpleKinds[] = {mtMotionNum, mtToNum, mtSp, mtPic, mtDe,  mtCi, mtV,    mtVx,   mtRx,   mtVy,  mtRy,
                                mtC,         mtCL,    mtG,  mtDa,  mtHit, mtH,  mtFlag, mtDef1, mtDef2, mtAtt1};

// The field spans the colourer's simple scan gives, or none when it does not make the line a data
// line: all 21 fields in order and then the comment field, which a data line has even when it is
// only a blank.
std::vector<TSpan> ColourerSpans(const std::string& line) {
    static TMotionColourer colourer(nullptr);
    std::unique_ptr<TColourerParser> parser = colourer.CreateParserWithMode(pmSimple);
    parser->NewData(line.c_str(), TRowAttributeData());
    std::vector<TSpan> spans;
    std::size_t field = 0;
    while (parser->NextToken() != tkEnd) {
        const int kind = parser->TokenKind();
        const auto start = static_cast<std::size_t>(parser->SourcePos());
        if (kind == tkTab) continue;
        const bool expected = field < std::size(kSimpleKinds) ? kind == kSimpleKinds[field] : kind == mtComment;
        if (!expected) return {};
        spans.emplace_back(start, start + static_cast<std::size_t>(parser->TokenLength()));
        ++field;
    }
    if (field < std::size(kSimpleKinds) || spans[std::size(kSimpleKinds) - 1].second == line.size()) return {};
    return spans;
}

std::vector<std::string> GoldenMotionLines() {
    std::ifstream in(std::filesystem::path(QUILLON_GOLDEN_DIR) / "MOTION.LST", std::ios::binary);
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

// Texts put in every field in turn: double-byte characters alone, after and before a digit, signs.
std::vector<std::string> TrickyValues() {
    std::vector<std::string> values = {"+1", "-1", "1-2", "+", "-"};
    for (const std::string& dbcs : {kKanji, kBar, kPo, kZero})
        for (const std::string& value : {dbcs, "1" + dbcs, dbcs + "1"}) values.push_back(value);
    return values;
}

std::vector<std::string> TrickyLines() {
    std::vector<std::string> lines;
    for (int field = 0; field < kMotionFieldCount; ++field)
        for (const std::string& value : TrickyValues()) lines.push_back(LineWith(field, value));
    const std::string full = LineWith(-1, "");
    for (std::size_t n = 0; n <= full.size(); ++n) lines.push_back(full.substr(0, n)); // every short line
    lines.push_back(full + "   ");
    lines.push_back("; a comment line");
    lines.push_back("-Num---To-Sp-Pic");
    lines.push_back("  0   0 255  16");
    return lines;
}

// Lines that the grammars read apart today, each for its reason; the test keeps them listed so that
// a change to either grammar that makes them agree (or differ elsewhere) is seen.
std::vector<std::string> KnownDisagreements() {
    std::vector<std::string> lines = {
        LineWith(mfHit, "-1"), // the colourer takes any signed Hit, the reader none below 0
        // The colourer takes a lone sign for a number; the reader wants digits.
        LineWith(mfTo, "+"),
        LineWith(mfCi, "+"),
        LineWith(mfCi, "-"),
        LineWith(mfHit, "+"),
    };
    // H ends at its last digit in the colourer, which lets the Flag field touch it; the reader ends
    // H at the next blank only.
    for (const std::string& dbcs : {kKanji, kBar, kPo, kZero}) lines.push_back(LineWith(mfH, "1" + dbcs));
    return lines;
}

// Line with its tabs and double-byte characters escaped, for the failure message.
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

std::string Shown(const std::vector<TSpan>& spans) {
    std::ostringstream out;
    for (auto [from, to] : spans) out << from << '-' << to << ' ';
    return out.str();
}

// A line the colourer paints as a clean data line is read by the reader as the same 22 fields, at
// the same byte ranges. The reader is the more lenient grammar: a line the colourer marks in error
// may still be read (its values are checked where they are used).
TEST(MotionGrammars, ALineColouredAsDataIsReadAsTheSameFields) {
    std::vector<std::string> lines = GoldenMotionLines();
    ASSERT_GT(lines.size(), 3u);
    for (const std::string& line : TrickyLines()) lines.push_back(line);
    const std::vector<std::string> known = KnownDisagreements();
    int data = 0;
    for (const std::string& line : lines) {
        const std::vector<TSpan> colourer = ColourerSpans(line);
        // Tabs: the colourer takes a tab for a blank between fields, the reader for field text.
        if (colourer.empty() || line.find('\t') != std::string::npos) continue;
        const bool agree = Shown(ReaderSpans(line)) == Shown(colourer);
        const bool listed = std::find(known.begin(), known.end(), line) != known.end();
        EXPECT_NE(agree, listed) << Escaped(line) << "\nreader:   " << Shown(ReaderSpans(line))
                                 << "\ncolourer: " << Shown(colourer);
        ++data;
    }
    EXPECT_GT(data, 40);
}

// Where both grammars take a line as a data line, they cut it at the same places.
TEST(MotionGrammars, LinesBothTakeAsDataAreCutAlike) {
    std::vector<std::string> lines = GoldenMotionLines();
    for (const std::string& line : TrickyLines()) lines.push_back(line);
    const std::vector<std::string> known = KnownDisagreements();
    for (const std::string& line : lines) {
        const std::vector<TSpan> reader = ReaderSpans(line), colourer = ColourerSpans(line);
        if (reader.empty() || colourer.empty() || std::find(known.begin(), known.end(), line) != known.end()) continue;
        EXPECT_EQ(Shown(reader), Shown(colourer)) << Escaped(line);
    }
}

// Neither grammar cuts a double-byte character in two, whatever field holds it.
TEST(MotionGrammars, NoFieldBoundaryFallsInsideADoubleByteCharacter) {
    std::vector<std::string> lines = GoldenMotionLines();
    for (const std::string& line : TrickyLines()) lines.push_back(line);
    for (const std::string& line : lines) {
        std::vector<bool> starts(line.size() + 1, false);
        for (std::size_t p = 0; p <= line.size(); p += p + 1 < line.size() && IsLeadByte(line[p]) ? 2 : 1)
            starts[p] = true;
        for (const auto& spans : {ReaderSpans(line), ColourerSpans(line)})
            for (auto [from, to] : spans)
                EXPECT_TRUE(starts[from] && starts[to]) << Escaped(line) << " " << from << "-" << to;
    }
}

} // namespace
