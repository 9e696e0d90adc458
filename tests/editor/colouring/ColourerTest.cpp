#include "EditorColourer.h"
#include "MemorySettingsStore.h"
#include "RowStates.h"
#include "StreamUtils.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillon {
namespace {

using TTokens = std::vector<std::pair<std::string, int>>;

TTokens Tokens(TColourerParser& parser, const std::string& text, const TRowAttributeData& data = {}) {
    TTokens tokens;
    parser.NewData(text.c_str(), data);
    while (int kind = parser.NextToken()) tokens.emplace_back(parser.TokenString(), kind);
    return tokens;
}

// The framework alone: no colours, no options.
class TPlainParser : public TColourerParser {
public:
    using TColourerParser::TColourerParser;
    TColourerColor* TokenColor() override { return nullptr; }
};

class TPlainColourer : public TColourer {
public:
    TPlainColourer() : TColourer(nullptr) {}
    std::unique_ptr<TColourerParser> CreateParser() override { return std::make_unique<TPlainParser>(this); }
};

TEST(ColourerParser, TokenTable) {
    TPlainColourer colourer;
    TPlainParser parser(&colourer);
    struct Case {
        std::string text;
        TTokens tokens;
    };
    const Case cases[] = {
        {"12.x", {{"12", 4}, {".", 1}, {"x", 11}}},
        {"12.5e+3", {{"12.5e+3", 4}}},
        {"1e", {{"1e", 4}}},
        {"3.E5 7", {{"3.E5", 4}, {"7", 3}}},
        {"0x1F", {{"0", 3}, {"x1F", 11}}},
        {"a_1 Zz", {{"a_1", 11}, {"Zz", 11}}},
        {"\t", {{"\t", 9}}},
        {"\x82\x60\x82\x61\x82\x62", {{"\x82\x60\x82\x61\x82\x62", 15}}}, // ＡＢＣ
        {"\x82\x50\x81\x43\x82\x51", {{"\x82\x50\x81\x43\x82\x51", 14}}}, // １，２
        {"\x82\xA0\x82\xA2\x81\x5B", {{"\x82\xA0\x82\xA2\x81\x5B", 16}}}, // あいー
        {"\x83\x4A\x83\x69\x81\x7C", {{"\x83\x4A\x83\x69\x81\x7C", 17}}}, // カナ－
        {"\x8A\xBF\x8E\x9A", {{"\x8A\xBF\x8E\x9A", 18}}},                 // 漢字
        {"\x81\x41\x81\x41", {{"\x81\x41", 12}, {"\x81\x41", 12}}},       // 、、
        {"\x82\x9B\x83\xA0", {{"\x82\x9B", 12}, {"\x83\xA0", 12}}},       // symbols among 0x82, 0x83
        {"\xB1\xB2\xA1", {{"\xB1\xB2", 20}, {"\xA1", 19}}},               // ｱｲ｡
        {"'q' \"d", {{"'", 1}, {"q", 11}, {"'", 1}, {"\"", 1}, {"d", 11}}},
        {"me@x.jp", {{"me", 11}, {"@", 1}, {"x", 11}, {".", 1}, {"jp", 11}}},
        // A lead byte at the end of the row goes alone and never takes the terminator.
        {"a\x88", {{"a", 11}, {"\x88", 18}}},
        {"a\x81", {{"a", 11}, {"\x81", 12}}},
        {"\x82\x20z", {{"\x82", 1}, {"z", 11}}},
    };
    for (const Case& c : cases) EXPECT_EQ(Tokens(parser, c.text), c.tokens) << c.text;
}

TEST(ColourerParser, NeedsAColourer) {
    try {
        TPlainParser parser(nullptr);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "TColourerParser.Create need instance of TColourer");
    }
}

TEST(ColourerParser, PositionsOfTokens) {
    TPlainColourer colourer;
    TPlainParser parser(&colourer);
    parser.NewData("  ab 12", TRowAttributeData());
    EXPECT_EQ(parser.NextToken(), tkAnk);
    EXPECT_EQ(parser.SourcePos(), 2);
    EXPECT_EQ(parser.TokenLength(), 2);
    EXPECT_EQ(parser.NextToken(), tkInteger);
    EXPECT_EQ(parser.SourcePos(), 5);
    EXPECT_EQ(parser.NextToken(), tkEnd);
}

// A continued token whose carried length is longer than the row stops at the row's end.
TEST(ColourerParser, ContinuedTokenNeverPassesTheRowEnd) {
    TPlainColourer colourer;
    TPlainParser parser(&colourer);
    TRowAttributeData data;
    data.ContinuedToken = tkAnk;
    data.Remain = 900;
    std::string text = "ab\0cd";
    EXPECT_EQ(Tokens(parser, text, data), (TTokens{{"ab", tkAnk}}));
    EXPECT_EQ(Tokens(parser, "ab\r\ncd", data).front(), (std::pair<std::string, int>{"ab", tkAnk}));
}

TEST(BracketCollection, HoldsAtMostFourteen) {
    TPlainColourer colourer;
    for (int i = 0; i < 14; ++i) colourer.Brackets().AddBracket("<" + std::to_string(i), ">");
    try {
        colourer.Brackets().Add();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "TColourerBracketCollection\r\nYou can not add item over 14");
    }
    EXPECT_EQ(colourer.Brackets().Count(), 14);

    // Assign of a longer collection keeps the first 14 and still reports one change.
    TEditorColourer source(nullptr);
    TEditorBracketCollection& longer = source.EditorBrackets();
    for (int i = 0; i < 14; ++i) longer.AddBracket("[" + std::to_string(i), "]");
    TPlainColourer target;
    int changes = 0;
    target.Brackets().OnChange = [&](TPersistent*) { ++changes; };
    target.Brackets().Assign(longer);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(target.Brackets().Item(13).LeftBracket(), "[13");
    target.Brackets().Assign(target.Brackets());
    EXPECT_EQ(target.Brackets().Count(), 14);
}

// ---- rows

struct TRow {
    std::string text;
    int attribute;
};

// A row store that records the rows it was asked to repaint.
class TRows : public TRowAttributeStringList {
public:
    explicit TRows(const std::vector<TRow>& rows) {
        for (const TRow& r : rows) SetRowAttribute(Add(r.text), r.attribute);
    }
    void RowStateChanged(int Index) override { Repainted.push_back(Index); }
    std::vector<int> Repainted;
};

TTokens RowTokens(TColourerParser& parser, const TRows& rows, int row) {
    return Tokens(parser, std::string(rows[row]), rows.GetRowAttributeData(row));
}

class Brackets : public ::testing::Test {
protected:
    Brackets() {
        colourer.Brackets().AddBracket("(", ")");
        colourer.Brackets().AddBracket("\x81\x75", "\x81\x76"); // 「」
    }
    TEditorColourer colourer{nullptr};
    TEditorParser parser{&colourer};
};

TEST_F(Brackets, OpenBracketCarriesOverWrapsAndLineBreaks) {
    TRows rows({{"a (b", raWrapped},
                {"cd", raLineBreak},
                {"", raLineBreak},
                {"   ", raLineBreak},
                {"e) f", raLineBreak},
                {"g", raEndOfText}});
    ResetRowStates(rows, colourer, rows.Count() - 1);
    const int expected[] = {biNone, 0, 0, 0, 0, biNone};
    for (int i = 0; i < rows.Count(); ++i) EXPECT_EQ(rows.BracketIndex(i), expected[i]) << i;
    EXPECT_EQ(RowTokens(parser, rows, 1), (TTokens{{"cd", tkBracket}}));
    EXPECT_EQ(RowTokens(parser, rows, 4), (TTokens{{"e)", tkBracket}, {"f", tkAnk}}));
    EXPECT_EQ(parser.LastBracketIndex(), 0);
}

// A row of blanks that starts a line holds no token: the scan of its line finds the next token in
// a row below, and the row ends in the bracket it started in, not outside it.
TEST_F(Brackets, ARowOfBlanksStartingALinePassesTheOpenBracketOn) {
    TRows rows({{"x\x81\x75", raLineBreak}, {"    ", raWrapped}, {"  y ", raWrapped}, {"    ", raEndOfText}});
    ResetRowStates(rows, colourer, rows.Count() - 1);
    const int expected[] = {biNone, 1, 1, 1};
    for (int i = 0; i < rows.Count(); ++i) EXPECT_EQ(rows.BracketIndex(i), expected[i]) << i;
    EXPECT_EQ(RowTokens(parser, rows, 2), (TTokens{{"y ", tkBracket}}));
}

TEST_F(Brackets, DoubleByteRightBracketCutByTheWrap) {
    // 「ab」c with the wrap between the two bytes of 」.
    TRows rows({{"\x81\x75"
                 "ab\x81",
                 raWrapped},
                {"\x76"
                 "c",
                 raEndOfText}});
    ResetRowStates(rows, colourer, 1);
    TRowAttributeData next = rows.GetRowAttributeData(1);
    EXPECT_EQ(next.ContinuedToken, tkBracket);
    EXPECT_EQ(next.Remain, 1);
    EXPECT_EQ(next.BracketIndex, 1);
    EXPECT_EQ(RowTokens(parser, rows, 1), (TTokens{{"\x76", tkBracket}, {"c", tkAnk}}));
    EXPECT_EQ(parser.BracketIndex(), biNone);
}

TEST_F(Brackets, ShortenedCollectionGivesNoColour) {
    TRows rows({{"x \x81\x75", raLineBreak}, {"y", raEndOfText}});
    ResetRowStates(rows, colourer, 1);
    ASSERT_EQ(rows.BracketIndex(1), 1);
    colourer.Brackets().Delete(1);
    TRowAttributeData data = rows.GetRowAttributeData(1);
    parser.NewData(rows[1].data(), data);
    EXPECT_EQ(parser.NextToken(), tkEnd); // the bracket is gone: the row's tokens end
    // The rest of a cut right bracket of the removed item: a bracket token without a colour.
    data.ContinuedToken = tkBracket;
    data.Remain = 1;
    parser.NewData(rows[1].data(), data);
    EXPECT_EQ(parser.NextToken(), tkBracket);
    EXPECT_EQ(parser.TokenColor(), nullptr);
}

// The kind of the token over every byte of Text but blanks (0), parsed as the rows the wrap cuts at
// the offsets Cuts (none: the whole line in one piece), each from its computed state.
std::vector<int> KindsOfBytes(TColourer& colourer, const std::string& text, const std::vector<int>& cuts) {
    std::vector<TRow> pieces;
    std::size_t from = 0;
    for (int cut : cuts) {
        pieces.push_back({text.substr(from, static_cast<std::size_t>(cut) - from), raWrapped});
        from = static_cast<std::size_t>(cut);
    }
    pieces.push_back({text.substr(from), raEndOfText});
    TRows rows(pieces);
    ResetRowStates(rows, colourer, rows.Count() - 1);
    std::unique_ptr<TColourerParser> parser = colourer.CreateParser();
    std::vector<int> kinds(text.size(), 0);
    std::size_t offset = 0;
    for (int i = 0; i < rows.Count(); ++i) {
        // A row is painted from a parse of the rest of its line, clipped to the row.
        const std::string rest = text.substr(offset);
        const int end = static_cast<int>(rows[i].size());
        parser->NewData(rest.c_str(), rows.GetRowAttributeData(i));
        while (int kind = parser->NextToken()) {
            if (parser->SourcePos() >= end) break;
            const int length = std::min(parser->TokenLength(), end - parser->SourcePos());
            std::fill_n(kinds.begin() + static_cast<std::ptrdiff_t>(offset) + parser->SourcePos(), length, kind);
        }
        offset += rows[i].size();
    }
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == ' ') kinds[i] = 0; // a row's leading blanks lie outside its first token
    return kinds;
}

// Whatever row a wrapped line's scan starts at, its colours are those of the line parsed in one
// piece: a wrap that cuts a left bracket (the next row's "*/" is the end of "/*", not a right bracket),
// a right bracket or a comment opener, at one or two places, changes nothing.
TEST(RowScan, CutsOfBracketsAndCommentOpenersColourAsTheWholeLine) {
    TEditorColourer colourer(nullptr);
    colourer.Brackets().AddBracket("/*", "*/");
    colourer.Brackets().AddBracket("<!--", "-->");
    colourer.SetCommenter("//");
    colourer.SetQuotation("\"");
    const std::string texts[] = {"aaaa/*/b", "a/*/*/b c", "x<!--->-->y z", "x<!-->y-->z", "p//q r"};
    for (const std::string& text : texts) {
        const std::vector<int> whole = KindsOfBytes(colourer, text, {});
        const int n = static_cast<int>(text.size());
        for (int a = 1; a < n; ++a)
            for (int b = a; b < n; ++b) {
                std::vector<int> cuts{a};
                if (b > a) cuts.push_back(b);
                EXPECT_EQ(KindsOfBytes(colourer, text, cuts), whole) << text << " cut at " << a << ", " << b;
            }
    }
}

TEST(RowScan, QuotesCarryOverWrapsOnly) {
    TPlainColourer colourer;
    TPlainParser parser(&colourer);
    // The single-quote method is reached only as a continuation in the base parser; start it there.
    TRowAttributeData quoted;
    quoted.ContinuedToken = tkSingleQuoted;
    TRows wrapped({{"ab", raWrapped}, {"cd' e", raEndOfText}});
    wrapped.PutRowState(0, quoted);
    TRowAttributeData data = wrapped.GetRowAttributeData(0);
    parser.ScanRow(0, wrapped, data);
    EXPECT_EQ(data.ContinuedToken, tkSingleQuoted);
    EXPECT_EQ(data.Remain, 0);
    wrapped.PutRowState(1, data);
    EXPECT_EQ(RowTokens(parser, wrapped, 1), (TTokens{{"cd'", tkSingleQuoted}, {"e", tkAnk}}));

    TRows broken({{"ab", raLineBreak}, {"cd' e", raEndOfText}});
    broken.PutRowState(0, quoted);
    data = broken.GetRowAttributeData(0);
    parser.ScanRow(0, broken, data);
    EXPECT_EQ(data.ContinuedToken, 0);
}

TEST(RowScan, QuoteEndsAtALineBreakAfterABlankRow) {
    TEditorColourer colourer(nullptr);
    colourer.SetQuotation("'");
    TRows rows({{"x 'ab", raWrapped}, {"   ", raLineBreak}, {"cd", raEndOfText}});
    ResetRowStates(rows, colourer, 2);
    EXPECT_EQ(rows.ContinuedToken(1), tkQuotation);
    EXPECT_EQ(rows.ContinuedToken(2), 0);
}

TEST(RowScan, CommentRunsToTheEndOfTheLogicalLine) {
    TEditorColourer colourer(nullptr);
    colourer.SetCommenter("//");
    TEditorParser parser(&colourer);
    TRows rows({{"a // b", raWrapped}, {"cc", raWrapped}, {"dd", raLineBreak}, {"ee", raEndOfText}});
    ResetRowStates(rows, colourer, 3);
    EXPECT_EQ(rows.ContinuedToken(1), tkComment);
    EXPECT_EQ(rows.ContinuedToken(2), tkComment);
    EXPECT_EQ(rows.ContinuedToken(3), 0);
    EXPECT_EQ(RowTokens(parser, rows, 2), (TTokens{{"dd", tkComment}}));
    EXPECT_EQ(RowTokens(parser, rows, 3), (TTokens{{"ee", tkAnk}}));
}

TEST(RowScan, TokenCutByAWrapFinishesInTheNextRow) {
    TEditorColourer colourer(nullptr);
    TStringList words;
    words.Add("begin");
    colourer.SetReserveWordList(words);
    TEditorParser parser(&colourer);
    TRows rows({{"x be", raWrapped}, {"gin y", raEndOfText}});
    ResetRowStates(rows, colourer, 1);
    EXPECT_EQ(rows.ContinuedToken(1), tkReserveWord);
    EXPECT_EQ(rows.Remain(1), 3);
    EXPECT_EQ(RowTokens(parser, rows, 1), (TTokens{{"gin", tkReserveWord}, {"y", tkAnk}}));
    // Re-prime and stop at the continued part: it is not itself a reserved word.
    parser.NewData(rows[1].data(), rows.GetRowAttributeData(1));
    parser.NextToken();
    EXPECT_FALSE(parser.IsReserveWord());
    EXPECT_EQ(parser.TokenColor(), &colourer.Reserve());
}

TEST(ReserveWords, MatchInAnyCase) {
    TEditorColourer colourer(nullptr);
    TStringList words;
    words.Add("begin");
    int notified = 0;
    struct THandler {
        int* n;
        void Call(TPersistent*) { ++*n; }
    } handler{&notified};
    colourer.NotifyEventList().Add(MakeMethod<&THandler::Call>(&handler));
    colourer.SetReserveWordList(words);
    EXPECT_EQ(notified, 1);
    TEditorParser parser(&colourer);
    parser.NewData("BEGIN Begin beginning", TRowAttributeData());
    for (bool expected : {true, true, false}) {
        parser.NextToken();
        EXPECT_EQ(parser.IsReserveWord(), expected) << parser.TokenString();
        EXPECT_EQ(parser.TokenColor() == &colourer.Reserve(), expected);
    }
}

// ---- propagation

class Propagation : public ::testing::Test {
protected:
    Propagation() {
        colourer.Brackets().AddBracket("(", ")");
        std::vector<TRow> text;
        for (int i = 0; i < 30; ++i) text.push_back({"row " + std::to_string(i), raLineBreak});
        text.back().attribute = raEndOfText;
        rows = std::make_unique<TRows>(text);
        ResetRowStates(*rows, colourer, rows->Count() - 1);
    }
    TEditorColourer colourer{nullptr};
    std::unique_ptr<TRows> rows;
};

TEST_F(Propagation, StopsAtTheFirstRowThatAgrees) {
    rows->Put(5, "edited"); // no bracket: nothing below changes
    EXPECT_EQ(UpdateRowStates(*rows, colourer, 6, 10, true), 0);
    EXPECT_TRUE(rows->Repainted.empty());
    EXPECT_EQ(rows->BracketIndex(29), biNone); // far rows are left computed
}

TEST_F(Propagation, MarksRowsBeyondTheLookAheadAsNotComputed) {
    rows->Put(5, "open (");
    EXPECT_EQ(UpdateRowStates(*rows, colourer, 6, 4, true), 5);
    EXPECT_EQ(rows->Repainted, (std::vector<int>{6, 7, 8, 9, 10}));
    for (int i = 6; i <= 10; ++i) EXPECT_EQ(rows->BracketIndex(i), 0) << i;
    for (int i = 11; i < 30; ++i) EXPECT_EQ(rows->BracketIndex(i), biNotComputed) << i;
    // A not-computed row is recomputed from the nearest computed row above it.
    rows->Put(20, "close )");
    UpdateRowStates(*rows, colourer, 25, 100, false);
    for (int i = 11; i <= 20; ++i) EXPECT_EQ(rows->BracketIndex(i), 0) << i;
    for (int i = 21; i < 30; ++i) EXPECT_EQ(rows->BracketIndex(i), biNone) << i;
    EXPECT_EQ(UpdateRowStates(*rows, colourer, 30, 1, true), 0);
}

TEST_F(Propagation, ResetComputesOnlyUpToLast) {
    ResetRowStates(*rows, colourer, 3);
    EXPECT_EQ(rows->BracketIndex(3), biNone);
    EXPECT_EQ(rows->BracketIndex(4), biNotComputed);
}

// ---- the editor's colourer

class EditorParser : public ::testing::Test {
protected:
    TTokens Scan(const std::string& text) { return Tokens(parser, text); }
    TEditorColourer colourer{nullptr};
    TEditorParser parser{&colourer};
};

TEST_F(EditorParser, Options) {
    colourer.SetHexPrefix("0x");
    EXPECT_EQ(Scan("0X1f"), (TTokens{{"0X1f", tkHex}}));
    colourer.SetCommenter("//");
    colourer.SetQuotation("'");
    EXPECT_EQ(Scan("'a//b'"), (TTokens{{"'a//b'", tkQuotation}}));
    EXPECT_EQ(Scan("a//'b'"), (TTokens{{"a", tkAnk}, {"//'b'", tkComment}}));
    EXPECT_EQ(Scan("'it''s' x"), (TTokens{{"'it''s'", tkQuotation}, {"x", tkAnk}}));
    EXPECT_EQ(Scan("#13"), (TTokens{{"#", tkSymbol}, {"13", tkInteger}}));
    colourer.SetControlCode(true);
    EXPECT_EQ(Scan("#13 #$0D"), (TTokens{{"#13", tkControlCode}, {"#$0D", tkHexControlCode}}));
    EXPECT_EQ(Scan("me@x.jp"), (TTokens{{"me", tkAnk}, {"@", tkSymbol}, {"x", tkAnk}, {".", tkSymbol}, {"jp", tkAnk}}));
    colourer.SetMail(true);
    colourer.SetUrl(true);
    EXPECT_EQ(Scan("me@x.jp http://a.b/c?d"), (TTokens{{"me@x.jp", tkMail}, {"http://a.b/c?d", tkUrl}}));
}

// A run in which no address starts is scanned once, not once per token (a long line of numbers
// and commas was quadratic); that must not hide an address in a later run or a later row.
TEST_F(EditorParser, MailAfterARunWithoutAddress) {
    colourer.SetMail(true);
    EXPECT_EQ(
        Scan("a,1@b c@d.e"),
        (TTokens{{"a", tkAnk}, {",", tkSymbol}, {"1", tkInteger}, {"@", tkSymbol}, {"b", tkAnk}, {"c@d.e", tkMail}}));
    std::string row = "a,b,c,d,e,f";
    EXPECT_EQ(Tokens(parser, row).size(), 11u);
    row = "x@y.z";
    EXPECT_EQ(Tokens(parser, row), (TTokens{{"x@y.z", tkMail}}));
}

TEST_F(EditorParser, QuotationIsOneSingleByteCharacter) {
    EXPECT_EQ(Scan("'a'"), (TTokens{{"'", tkSymbol}, {"a", tkAnk}, {"'", tkSymbol}}));
    colourer.SetQuotation("'abc");
    EXPECT_EQ(colourer.Quotation(), "'");
    colourer.SetQuotation("\x81\x75"); // 「 is refused
    EXPECT_EQ(colourer.Quotation(), "'");
    colourer.SetQuotation("");
    EXPECT_EQ(colourer.Quotation(), "");
}

TEST_F(EditorParser, TokenColours) {
    const TEditorColors& c = colourer.Colors();
    struct Case {
        std::string text;
        const TColourerColor* color;
    };
    colourer.SetCommenter(";");
    const Case cases[] = {{"+", &c.Symbol()},  {"12", &c.Int()},      {"abc", &c.Ank()}, {"\x82\xA0", &c.DBCS()},
                          {"\xB1", &c.DBCS()}, {"; x", &c.Comment()}, {"\t", nullptr}};
    for (const Case& k : cases) {
        parser.NewData(k.text.c_str(), TRowAttributeData());
        parser.NextToken();
        EXPECT_EQ(parser.TokenColor(), k.color) << k.text;
    }
}

TEST(EditorColourer, SetAllColorLeavesSelectAndHit) {
    TEditorColourer colourer(nullptr);
    int notified = 0;
    struct THandler {
        int* n;
        void Call(TPersistent*) { ++*n; }
    } handler{&notified};
    colourer.NotifyEventList().Add(MakeMethod<&THandler::Call>(&handler));
    colourer.SetAllColor(clRed);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(colourer.Colors().Ank().Color(), clRed);
    EXPECT_EQ(colourer.Colors().Reserve().Color(), clRed);
    EXPECT_EQ(colourer.Colors().Select().Color(), clWhite);
    EXPECT_EQ(colourer.Colors().Hit().Color(), clNone);
    colourer.Colors().Comment().SetStyle(StyleBit(fsItalic));
    EXPECT_EQ(notified, 2);
    EXPECT_TRUE(colourer.HasItalic(colourer));
    colourer.SetAllStyle(0);
    EXPECT_FALSE(colourer.HasItalic(colourer));
}

TEST(EditorColourer, BracketColoursReachTheEditors) {
    TEditorColourer colourer(nullptr);
    int notified = 0;
    struct THandler {
        int* n;
        void Call(TPersistent*) { ++*n; }
    } handler{&notified};
    colourer.NotifyEventList().Add(MakeMethod<&THandler::Call>(&handler));
    colourer.Brackets().AddBracket("(", ")");
    colourer.Brackets().AddBracket("[", "]");
    notified = 0;
    colourer.EditorBrackets().SetAllBkColor(clYellow);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(colourer.Brackets().Item(1).ItemColor().BkColor(), clYellow);
    colourer.Brackets().Item(0).ItemColor().SetStyle(StyleBit(fsBold));
    EXPECT_EQ(notified, 2);
}

void ChangeEverything(TEditorColourer& c) {
    TStringList ext;
    ext.Add("txt");
    c.SetFileExtList(ext);
    TStringList words;
    words.Add("if");
    words.Add("then");
    c.SetReserveWordList(words);
    c.Brackets().AddBracket("(", ")").ItemColor().SetColor(clRed);
    c.Brackets().AddBracket("\x81\x75", "\x81\x76").ItemColor().SetStyle(StyleBit(fsUnderline));
    c.SetAllBkColor(clYellow);
    c.SetAllColor(RGBColor(1, 2, 3));
    c.SetAllStyle(StyleBit(fsBold) | StyleBit(fsStrikeOut));
    c.Colors().Select().SetBkColor(clLime);
    c.Colors().Hit().SetColor(clFuchsia);
    c.SetCommenter("//");
    c.SetControlCode(true);
    c.SetHexPrefix("$");
    c.SetMail(true);
    c.SetQuotation("\"");
    c.SetUrl(true);
}

TEST(EditorColourer, RoundTripThroughTheSettingsStore) {
    TMemorySettingsStore store;
    TEditorColourer a(nullptr);
    ChangeEverything(a);
    a.WriteToRegistry(store, "ColourerProperties", "Editor");
    // Initialised differently from both a and the defaults.
    TEditorColourer b(nullptr);
    b.Brackets().AddBracket("<", ">");
    b.Brackets().AddBracket("{", "}");
    b.Brackets().AddBracket("[", "]");
    b.Colors().Ank().SetColor(clGreen);
    b.SetQuotation("'");
    b.ReadFromRegistry(store, "ColourerProperties", "Editor");
    EXPECT_EQ(WriteComponent(b), WriteComponent(a));
    EXPECT_EQ(b.Brackets().Count(), 2);
    EXPECT_EQ(b.Brackets().Item(1).RightBracket(), "\x81\x76");
    EXPECT_EQ(b.Colors().Ank().Color(), RGBColor(1, 2, 3));
    EXPECT_EQ(b.Reserve().Style(), StyleBit(fsBold) | StyleBit(fsStrikeOut));
    EXPECT_EQ(b.Quotation(), "\"");

    // Set back to clNone: the default value survives too.
    a.Colors().Ank().SetColor(clNone);
    a.WriteToRegistry(store, "ColourerProperties", "Editor");
    b.ReadFromRegistry(store, "ColourerProperties", "Editor");
    EXPECT_EQ(b.Colors().Ank().Color(), clNone);

    TEditorColourer c(nullptr);
    c.ReadFromRegistry(store, "ColourerProperties", "Absent");
    TEditorColourer fresh(nullptr);
    EXPECT_EQ(WriteComponent(c), WriteComponent(fresh));
}

} // namespace
} // namespace quillon
