// TEditor: token queries by position and by caret.
#include "EditorControl.h"

#include "EditorControlUtils.h"
#include "RowStates.h"

namespace quillon {

// ---- Token queries

bool TEditor::PosToRowCol(int X, int Y, int& ARow, int& ACol, int& Index) const {
    if (RowCount() == 0 || FCharWidth == 0 || X < TextLeft() || Y < TextTop()) return false;
    PointToColRow(X, Y, true, ACol, ARow);
    return CellAt(ARow, ACol, Index);
}

bool TEditor::CellAt(int ARow, int& ACol, int& Index) const {
    if (ARow < 0 || ARow >= RowCount()) return false;
    const std::string cls = ClassString(ARow);
    if (ClassAt(cls, ACol) == ccDoubleSecond) --ACol;
    while (ClassAt(cls, ACol) == ccTabFill) --ACol;
    Index = StringIndex(ARow, ACol);
    return ACol < static_cast<int>(cls.size());
}

bool TEditor::TokenAt(int ARow, int Index, TEditor* Source, bool KeepState, std::string& Token, int& Kind, int& Start) {
    const int first = FStore->LogicalLineStart(ARow);
    std::string line;
    for (int r = first; r < ARow; ++r) line += GetRowString(r);
    const int offset = static_cast<int>(line.size()) + Index;
    for (int r = ARow; r < RowCount(); ++r) {
        line += GetRowString(r);
        if (GetRowAttribute(r) != raWrapped) break;
    }
    std::unique_ptr<TColourerParser> parser;
    TRowAttributeData data;
    if (Source) {
        parser = Source->ActiveColourerRef().CreateParser();
        data = FStore->GetRowAttributeData(first);
        if (!KeepState) data.BracketIndex = biNone;
    } else {
        parser = std::make_unique<TTokenParser>();
        data = InitialRowState();
    }
    data.RowAttribute = raLineBreak;
    parser->NewData(line.c_str(), data);
    while (int kind = parser->NextToken()) {
        if (parser->SourcePos() <= offset && offset < parser->SourcePos() + parser->TokenLength()) {
            Token = parser->TokenString();
            Kind = kind;
            Start = parser->SourcePos();
            return true;
        }
    }
    return false;
}

bool TEditor::DoTokenFromPos(int X, int Y, TEditor* Source, std::string& Token, bool KeepState, int& Kind) {
    Token.clear();
    Kind = 0;
    int row = 0, col = 0, index = 0, start = 0;
    return PosToRowCol(X, Y, row, col, index) && TokenAt(row, index, Source, KeepState, Token, Kind, start);
}

bool TEditor::SelectToken(int ARow, int Index, TEditor* Source, bool KeepState) {
    std::string token;
    int kind = 0, start = 0;
    if (!TokenAt(ARow, Index, Source, KeepState, token, kind, start)) return false;
    CancelSelection();
    SetCaretToLineOffset(FStore->LogicalLineStart(ARow), start);
    SetSelLength(static_cast<int>(token.size()));
    return true;
}

bool TEditor::DoSelectTokenFromPos(int X, int Y, TEditor* Source, bool KeepState) {
    int row = 0, col = 0, index = 0;
    return PosToRowCol(X, Y, row, col, index) && SelectToken(row, index, Source, KeepState);
}

bool TEditor::TokenFromPos(int X, int Y, std::string& Token) {
    int kind = 0;
    return DoTokenFromPos(X, Y, this, Token, false, kind);
}

int TEditor::TokenKindFromPos(int X, int Y) {
    std::string token;
    int kind = 0;
    DoTokenFromPos(X, Y, this, token, false, kind);
    return kind;
}

// The caret's own row and column, whether or not a system caret exists.
bool TEditor::TokenFromCaret(std::string& Token) {
    Token.clear();
    int col = FCol, index = 0, kind = 0, start = 0;
    return CellAt(FRow, col, index) && TokenAt(FRow, index, this, false, Token, kind, start);
}

int TEditor::TokenKindFromCaret() {
    std::string token;
    int col = FCol, index = 0, kind = 0, start = 0;
    if (CellAt(FRow, col, index)) TokenAt(FRow, index, this, false, token, kind, start);
    return kind;
}

bool TEditor::SelectTokenFromCaret() {
    int col = FCol, index = 0;
    return CellAt(FRow, col, index) && SelectToken(FRow, index, this, false);
}

bool TEditor::SelectTokenFromPos(int X, int Y) { return DoSelectTokenFromPos(X, Y, this, false); }

} // namespace quillon
