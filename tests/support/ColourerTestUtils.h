#pragma once
// Token dumps of list rows for the colourer tests: rows parsed alone, and rows of a row store whose
// states the colouring framework propagates, painted as the editor paints them.
#include "Cp932.h"
#include "LineText.h"
#include "OrvColourer.h"
#include "RowAttrStrings.h"
#include "RowStates.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace quillon::test {

struct TTok {
    int Kind;
    std::string Text;
    bool operator==(const TTok&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const TTok& t) { return os << t.Kind << ":\"" << t.Text << '"'; }

using TToks = std::vector<TTok>;

// The tokens of a row that starts a logical line, as the parser hands them out (without the final
// kind 0).
inline TToks ParseRow(TColourerParser& parser, const std::string& row,
                      const TRowAttributeData& data = TRowAttributeData()) {
    TToks toks;
    parser.NewData(row.c_str(), data);
    while (parser.NextToken() != tkEnd) toks.push_back({parser.TokenKind(), parser.TokenString()});
    return toks;
}

inline TToks ParseRow(TOrvColourer& colourer, const std::string& row, int mode = pmFull) {
    return ParseRow(*colourer.CreateParserWithMode(mode), row);
}

// The rows of a text, each with its row attribute.
struct TRow {
    std::string Text;
    int Attribute = raLineBreak;
};

// A row store holding Rows, with every row state computed from the top.
inline void FillStore(TRowAttributeStringList& store, TOrvColourer& colourer, const std::vector<TRow>& rows) {
    for (const TRow& row : rows) store.SetRowAttribute(store.Add(row.Text), row.Attribute);
    ResetRowStates(store, colourer, store.Count() - 1);
}

// Every byte of row Index as the editor paints it from State: the kind of the token that covers it,
// -1 for a byte between tokens. A wrapped row is parsed with the rest of its logical line, as
// painting does.
inline std::vector<int> RowKinds(TOrvColourer& colourer, const TRowAttributeStringList& store, int Index,
                                 const TRowAttributeData& State, int mode = pmFull) {
    return RowKinds(*colourer.CreateParserWithMode(mode), store, Index, State);
}

// Row Index painted from its stored state.
inline std::vector<int> RowKinds(TOrvColourer& colourer, const TRowAttributeStringList& store, int Index,
                                 int mode = pmFull) {
    return RowKinds(colourer, store, Index, store.GetRowAttributeData(Index), mode);
}

// The painted kinds of every row of a store, joined.
inline std::vector<int> TextKinds(TOrvColourer& colourer, const TRowAttributeStringList& store, int mode = pmFull) {
    std::vector<int> kinds;
    for (int i = 0; i < store.Count(); ++i) {
        std::vector<int> row = RowKinds(colourer, store, i, mode);
        kinds.insert(kinds.end(), row.begin(), row.end());
    }
    return kinds;
}

// Lines cut into rows of at most Width bytes, a double-byte character never split (one wider than
// Width makes a row of its own); every row but the last of a line is wrapped.
inline std::vector<TRow> CutRows(const std::vector<std::string>& lines, std::size_t width) {
    std::vector<TRow> rows;
    for (const std::string& line : lines) {
        std::size_t at = 0;
        while (line.size() - at > width) {
            std::size_t end = at;
            while (end < line.size()) {
                const std::size_t next = end + (IsLeadByte(line[end]) ? 2 : 1);
                if (next - at > width && end > at) break;
                end = next;
            }
            rows.push_back({line.substr(at, end - at), raWrapped});
            at = end;
        }
        rows.push_back({line.substr(at), raLineBreak});
    }
    return rows;
}

// The painted kinds of Lines cut at Width against those of the lines unwrapped: empty when they
// agree, else where they part.
inline std::string WrapDifference(TOrvColourer& colourer, const std::vector<std::string>& lines, std::size_t width,
                                  int mode = pmFull) {
    TRowAttributeStringList whole, wrapped;
    FillStore(whole, colourer, CutRows(lines, 1u << 20));
    FillStore(wrapped, colourer, CutRows(lines, width));
    const std::vector<int> got = TextKinds(colourer, wrapped, mode), want = TextKinds(colourer, whole, mode);
    if (got.size() != want.size()) return "sizes differ";
    const auto diff = std::mismatch(got.begin(), got.end(), want.begin());
    if (diff.first == got.end()) return {};
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return colourer.ClassName() + " width " + std::to_string(width) + ", byte " +
           std::to_string(diff.first - got.begin()) + ": " + std::to_string(*diff.first) + " instead of " +
           std::to_string(*diff.second) + "\n" + text;
}

} // namespace quillon::test
