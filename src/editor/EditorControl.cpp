#include "EditorControl.h"

#include "Cp932.h"
#include "EditorGutters.h"
#include "EditorPopupMenu.h"
#include "EditorUtils.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace quillon {
namespace {

constexpr int kMaxCol = 1000;

std::string Blanks(int Count) {
    return std::string(static_cast<std::size_t>(std::max(0, Count)), ' ');
}

char ClassAt(const std::string& Class, int Col) {
    return Col >= 0 && Col < static_cast<int>(Class.size()) ? Class[static_cast<std::size_t>(Col)] : '0';
}

// The number of tab-fill columns among the first Count class characters.
int FillsBefore(const std::string& Class, int Count) {
    Count = std::clamp(Count, 0, static_cast<int>(Class.size()));
    return static_cast<int>(std::count(Class.begin(), Class.begin() + Count, '3'));
}

// A colourer for the plain token parser: no brackets, no reserved words.
class TPlainColourer : public TColourer {
public:
    TPlainColourer() : TColourer(nullptr) {}
    std::unique_ptr<TColourerParser> CreateParser() override { return std::make_unique<TTokenParser>(); }
};

// Restores a flag when a scope ends, also by an exception.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

} // namespace

// ---- TTokenParser

TColourer& TTokenParser::PlainColourer() {
    static TPlainColourer colourer;
    return colourer;
}

// ---- Construction

TEditor::TEditor(TComponent* Owner) : TComponent(Owner), FDelimiters(quillon::GetDelimiters()) {
    FStore = CreateScreenStrings();
    FStore->AttachEditor(this);
    FLines = CreateEditorStrings();
    FView = CreateViewInfo();
    FCaret = CreateEditorCaret();
    FMarks = CreateMarks();
    FMargin = CreateMargin();
    FImagebar = CreateImagebar();
    FLeftbar = CreateLeftbar();
    FRuler = CreateRuler();
    FSpeed = CreateSpeed();
    auto handler = [this](TPersistent* Sender) { OptionsChanged(Sender); };
    for (TNotifyPersistent* option :
         std::initializer_list<TNotifyPersistent*>{FView.get(), FCaret.get(), FMarks.get(), FMargin.get(),
                                                   FImagebar.get(), FLeftbar.get(), FRuler.get()})
        option->OnChange = handler;
    FPopupMenu = CreateEditorPopupMenu();
    CalcMetrics();
}

TEditor::~TEditor() {
    if (FColourer) FColourer->NotifyEventList().Remove(MakeMethod<&TEditor::ColourerChanged>(this));
    FStore->DetachEditor(this);
}

std::shared_ptr<TEditorScreenStrings> TEditor::CreateScreenStrings() {
    return std::make_shared<TEditorScreenStrings>();
}
std::unique_ptr<TEditorStrings> TEditor::CreateEditorStrings() {
    return std::make_unique<TEditorStrings>(*this);
}
std::unique_ptr<TEditorViewInfo> TEditor::CreateViewInfo() {
    return std::make_unique<TEditorViewInfo>(this);
}
std::unique_ptr<TEditorCaret> TEditor::CreateEditorCaret() {
    return std::make_unique<TEditorCaret>();
}
std::unique_ptr<TEditorMarks> TEditor::CreateMarks() {
    return std::make_unique<TEditorMarks>();
}
std::unique_ptr<TEditorMargin> TEditor::CreateMargin() {
    return std::make_unique<TEditorMargin>();
}
std::unique_ptr<TEditorImagebar> TEditor::CreateImagebar() {
    return std::make_unique<TEditorImagebar>();
}
std::unique_ptr<TEditorLeftbar> TEditor::CreateLeftbar() {
    return std::make_unique<TEditorLeftbar>();
}
std::unique_ptr<TEditorRuler> TEditor::CreateRuler() {
    return std::make_unique<TEditorRuler>();
}
std::unique_ptr<TEditorSpeed> TEditor::CreateSpeed() {
    return std::make_unique<TEditorSpeed>();
}
std::unique_ptr<TEditorPopupMenu> TEditor::CreateEditorPopupMenu() {
    return std::make_unique<TEditorPopupMenu>(this);
}

TDelimiters TEditor::GetDelimiters() const {
    return quillon::GetDelimiters();
}

void TEditor::SetHost(TEditorHost* Host) {
    FHost = Host;
    FCaretShown = false;
    CalcMetrics();
    UpdateScrollBars();
    if (FHost) {
        SetScrollBars(FScrollBars);
        FHost->Invalidate({0, 0, FHost->ClientWidth(), FHost->ClientHeight()});
    }
}

// ---- Properties

TColourer& TEditor::ActiveColourerRef() {
    return FColourer ? *FColourer : static_cast<TColourer&>(FView->Colourer());
}

void TEditor::SetColourer(TColourer* Value) {
    if (Value == FColourer) return;
    const TMethod handler = MakeMethod<&TEditor::ColourerChanged>(this);
    if (FColourer) FColourer->NotifyEventList().Remove(handler);
    FColourer = Value;
    if (FColourer) FColourer->NotifyEventList().Add(handler);
    FStore->ResetRowStates();
    InvalidateAll();
}

void TEditor::ColourerChanged(TPersistent* Sender) {
    OptionsChanged(Sender);
}

void TEditor::SetView(const TEditorViewInfo& Value) {
    FView->Assign(Value);
    ScrollCaretIntoView();
    UpdateCaretPos();
}

void TEditor::SetReserveWordList(const TStringList& Value) {
    if (Value == ReserveWordList()) return;
    FView->Colourer().SetReserveWordList(Value);
    FStore->ResetRowStates();
    InvalidateAll();
}

void TEditor::FontChanged() {
    if (!FHost) return;
    if (FTopCol > 0) SetCol(0);
    CalcMetrics();
    UpdateScrollBars();
    InvalidateAll();
    UpdateCaret();
}

void TEditor::SetLines(const std::vector<std::string>& Value) {
    FLines->Assign(Value);
}

void TEditor::SetHitStyle(TEditorHitStyle Value) {
    if (IsSelectedOrHit()) CancelSelection();
    FHitStyle = Value;
}

void TEditor::SetReadOnly(bool Value) {
    if (FMouseState == msDragging) return;
    FReadOnly = Value;
    if (FReadOnly && IsSelected() && FHost) FHost->SetCursor(FCaret->Cursors().DefaultCursor());
}

void TEditor::SetOverWrite(bool Value) {
    if (FOverWrite == Value) return;
    FOverWrite = Value;
    UpdateCaret();
}

void TEditor::SetScrollBars(TScrollStyle Value) {
    FScrollBars = Value;
    if (!FHost) return;
    FHost->ShowScrollBar(sbHorizontal, Value == ssHorizontal || Value == ssBoth);
    FHost->ShowScrollBar(sbVertical, Value == ssVertical || Value == ssBoth);
    CalcMetrics();
    UpdateScrollBars();
}

void TEditor::SetUndoListMax(int Value) {
    FStore->UndoObj().SetUndoListMax(std::max(64, Value));
}

// ---- Rows

std::string TEditor::GetRowString(int Index) const {
    return Index >= 0 && Index < RowCount() ? FStore->Get(Index) : std::string();
}

int TEditor::GetRowAttribute(int Index) const {
    return Index >= 0 && Index < RowCount() ? FStore->RowAttribute(Index) : raEndOfText;
}

void TEditor::GetRowAttributeData(int Index, TRowAttributeData& Data) const {
    if (Index >= 0 && Index < RowCount()) Data = FStore->GetRowAttributeData(Index);
}

std::uint16_t TEditor::GetRowMarks(int Index) const {
    return Index >= 0 && Index < RowCount() ? FStore->RowMarks(Index) : 0;
}

void TEditor::SetRowMarks(int Index, std::uint16_t Marks) {
    if (Index < 0 || Index >= RowCount() || FStore->RowMarks(Index) == Marks) return;
    FStore->SetRowMarks(Index, Marks);
    if (FHost && FImagebar->Visible()) {
        const int top = TextTop() + (Index - FTopRow) * RowHeight();
        FHost->Invalidate({0, top, FImagebarWidth, top + RowHeight()});
        FHost->UpdateWindow();
    }
}

void TEditor::AttachScreenStrings(TEditor* Source) {
    if (!Source || Source->FStore == FStore) return;
    FStore->DetachEditor(this);
    FStore = Source->FStore;
    FStore->AttachEditor(this);
    Refresh();
}

std::string TEditor::RowText(int Index) const {
    std::string s = GetRowString(Index);
    FStore->AddLineBreak(Index, s);
    return s;
}

int TEditor::RowStep(int Index) const {
    const int attr = GetRowAttribute(Index);
    return static_cast<int>(GetRowString(Index).size()) + (attr == raLineBreak   ? 2
                                                           : attr == raEndOfText ? 1
                                                                                 : 0);
}

int TEditor::RowsStep(int FromRow, int ToRow) const {
    int sum = 0;
    for (int r = std::max(0, FromRow); r < ToRow && r < RowCount(); ++r)
        sum += RowStep(r) - (GetRowAttribute(r) == raEndOfText);
    return sum;
}

// ---- Column and offset conversions

TColumnLayout TEditor::ColumnLayout() const {
    TColumnLayout layout;
    layout.Delimiters = FDelimiters;
    layout.TabSpaceCount = FCaret->TabSpaceCount();
    layout.WordWrap = FStore->WordWrap();
    layout.WrapByte = FStore->WrapOption().WrapByte();
    return layout;
}

std::string TEditor::ClassString(int Index) const {
    return quillon::ClassString(GetRowString(Index), ColumnLayout());
}

int TEditor::CaretStringIndex(int ARow, int ACol) const {
    const std::string cls = ClassString(ARow);
    return ACol - FillsBefore(cls, ACol + 1);
}

int TEditor::StringIndex(int ARow, int ACol) const {
    return std::min(CaretStringIndex(ARow, ACol), static_cast<int>(GetRowString(ARow).size()));
}

int TEditor::DisplayWidth(std::string_view S) const {
    return quillon::DisplayWidth(S, ColumnLayout());
}

int TEditor::RowDisplayLength(int Index) const {
    return DisplayWidth(GetRowString(Index));
}

std::string TEditor::ExpandTabs(std::string_view S) const {
    if (S.find('\t') == std::string_view::npos) return std::string(S);
    const TColumnLayout layout = ColumnLayout();
    std::string out;
    for (std::size_t i = 0; i < S.size(); ++i) {
        if (IsLeadByte(S[i]) && i + 1 < S.size()) {
            out.append(S.substr(i, 2));
            ++i;
        } else if (S[i] == '\t') {
            const int w = static_cast<int>(out.size());
            out.append(
                static_cast<std::size_t>(quillon::DisplayWidth(std::string(w, ' ') + '\t', layout) - w), ' ');
        } else {
            out += S[i];
        }
    }
    return out;
}

std::string TEditor::ExpandedRowString(int Index) const {
    return ExpandTabs(GetRowString(Index));
}

int TEditor::ColToIndexStart(std::string_view Class, int Index) {
    const std::string cls(Class);
    const int len = static_cast<int>(cls.size());
    int c = Index - 1;
    if (c >= len) return len - FillsBefore(cls, len) + (c - len) + 1;
    c = std::max(c, 0);
    if (cls[static_cast<std::size_t>(c)] == '5') ++c;
    while (ClassAt(cls, c) == '3') ++c;
    return c - FillsBefore(cls, c) + 1;
}

int TEditor::ColToIndexEnd(std::string_view Class, int Index) {
    const std::string cls(Class);
    const int len = static_cast<int>(cls.size());
    int c = Index - 1;
    if (c < 0) return 0;
    if (c >= len) return len - FillsBefore(cls, len) + (c - len) + 1;
    if (cls[static_cast<std::size_t>(c)] == '4') ++c;
    while (ClassAt(cls, c) == '3') --c;
    return c - FillsBefore(cls, c) + 1;
}

int TEditor::ColToLinePos(int ARow, int ACol) const {
    if (ARow < 0 || ARow > RowCount() || ACol < 0) return -1;
    const std::string cls = ClassString(ARow);
    if (ClassAt(cls, ACol) == '5') --ACol;
    while (ClassAt(cls, ACol) == '3') --ACol;
    int pos = StringIndex(ARow, ACol);
    for (int r = FStore->LogicalLineStart(std::min(ARow, RowCount() - 1)); r >= 0 && r < ARow; ++r)
        pos += static_cast<int>(GetRowString(r).size());
    return pos;
}

int TEditor::LineOffset(int FirstRow, int ARow, int ACol) const {
    if (ARow < FirstRow) return 0;
    return RowsStep(FirstRow, ARow) + CaretStringIndex(ARow, ACol);
}

void TEditor::WalkRows(int FirstRow, int Offset, int& ARow, int& Rest) const {
    ARow = std::max(0, FirstRow);
    Rest = Offset;
    for (; ARow < RowCount(); ++ARow) {
        const int step = RowStep(ARow);
        if (step > Rest || GetRowAttribute(ARow) == raEndOfText) return;
        Rest -= step;
    }
}

void TEditor::OffsetToRow(int Offset, int& ARow, int& Rest) const {
    WalkRows(0, Offset, ARow, Rest);
}

int TEditor::RowOffset(int ARow) const {
    return RowsStep(0, ARow);
}

void TEditor::SetCaretToLineOffset(int FirstRow, int Offset) {
    int row = 0, rest = 0;
    WalkRows(FirstRow, Offset, row, rest);
    if (row >= RowCount()) {
        SetRow(RowCount());
        SetCol(RowDisplayLength(FRow));
        return;
    }
    SetRow(row);
    const std::string s = GetRowString(row);
    SetCol(std::min(DisplayWidth(std::string_view(s).substr(0, static_cast<std::size_t>(std::max(0, rest)))),
                    DisplayWidth(s)));
}

int TEditor::GetTextLength() const {
    return RowsStep(0, RowCount());
}

std::string TEditor::BuildText(const std::vector<TCutRow>& Rows) {
    std::string s;
    for (const TCutRow& row : Rows) {
        s += row.Text;
        if (row.Attribute == raLineBreak) s += "\r\n";
    }
    return s;
}

int TEditor::IndentOf(std::string_view S) const {
    if (S.empty()) return -1;
    std::size_t i = 0;
    while (i < S.size()) {
        if (S[i] == ' ' || S[i] == '\t')
            ++i;
        else if (S.substr(i, 2) == "\x81\x40")
            i += 2;
        else
            break;
    }
    return DisplayWidth(S.substr(0, i));
}

int TEditor::PrevLineIndent(int ARow) const {
    for (int r = FStore->LogicalLineStart(std::min(ARow, RowCount())) - 1; r >= 0; --r) {
        const int first = FStore->LogicalLineStart(r);
        if (!FStore->GetRowsText(first, -1).empty() && FStore->GetRowsText(first, -1) != "\r\n")
            return std::max(0, IndentOf(GetRowString(first)));
        r = first;
    }
    return 0;
}

int TEditor::RowToLine(int ARow) const {
    return FStore->WordWrap() ? quillon::RowToLine(*FStore, ARow) : ARow;
}

int TEditor::ReferenceRow(int ARow) const {
    if (ARow >= RowCount()) return std::max(0, ARow - 1);
    return std::max(FStore->LogicalLineStart(ARow), ARow - 1);
}

// ---- Geometry and metrics

int TEditor::RowHeight() const {
    return FFontHeight + FMargin->Line() + FMargin->UnderlineSpace();
}

int TEditor::TextLeft() const {
    return FMargin->Left() + (FImagebar->Visible() ? FImagebarWidth : 0) +
           (FLeftbar->Visible() ? FLeftbarWidth : 0);
}

int TEditor::TextTop() const {
    return FMargin->Top() + (FRuler->Visible() ? FRulerHeight : 0);
}

int TEditor::ClientWidth() const {
    return FHost ? FHost->ClientWidth() : FWidth;
}
int TEditor::ClientHeight() const {
    return FHost ? FHost->ClientHeight() : FHeight;
}

bool TEditor::CalcLeftbarDigits() {
    TLeftbarNumbering numbering;
    numbering.ByLine = FLeftbar->ShowNumberMode() == nmLine;
    numbering.ZeroBase = FLeftbar->ZeroBase();
    numbering.ZeroLead = FLeftbar->ZeroLead();
    numbering.Column = FLeftbar->Column();
    const int digits = LeftbarDigits(*FStore, numbering);
    if (digits == FLeftbarDigits) return false;
    FLeftbarDigits = digits;
    return true;
}

void TEditor::CalcGutters() {
    FRulerHeight = quillon::RulerHeight(FRuler->Visible(), FRuler->Edge());
    CalcLeftbarDigits();
    FLeftbarWidth = quillon::LeftbarWidth(FLeftbar->Visible(), FLeftbar->LeftMargin(), FLeftbarDigits,
                                          FCharWidth, FLeftbar->RightMargin());
    FImagebarWidth =
        quillon::ImagebarWidth(FImagebar->Visible(), FImagebar->LeftMargin(), FImagebar->DigitWidth(),
                               FImagebar->MarkWidth(), FImagebar->RightMargin());
}

void TEditor::CalcMetrics() {
    int height = 16, ave = 8;
    if (FHost) FHost->FontMetrics(height, ave);
    FFontHeight = height;
    FCharWidth = ave + FMargin->Character();
    CalcGutters();
    const int extent = FHost ? FHost->ScrollBarExtent() : 0;
    const int h = FScrollBars == ssHorizontal || FScrollBars == ssBoth ? extent : 0;
    const int v = FScrollBars == ssVertical || FScrollBars == ssBoth ? extent : 0;
    // A font without width or height (no font yet) must not divide by zero.
    FRowsPerPage = std::max(1, (ClientHeight() - TextTop() - 5 - h) / std::max(1, RowHeight()));
    FColsPerPage = (ClientWidth() - TextLeft() - FCharWidth / 2 - v) / std::max(1, FCharWidth);
}

void TEditor::PointToColRow(int X, int Y, bool Round, int& ACol, int& ARow) const {
    if (X < TextLeft()) X -= FCharWidth - 1;
    if (Round)
        ACol = std::max(0, (X + FCharWidth / 2 - 1 - TextLeft()) / std::max(1, FCharWidth) + FTopCol);
    else
        ACol = std::max(0, (X - TextLeft()) / std::max(1, FCharWidth) + FTopCol);
    ARow = (Y - TextTop()) / std::max(1, RowHeight()) + FTopRow;
}

// ---- Caret

void TEditor::RememberCol(bool Vertical, int Value) {
    if (!Vertical || FKeepColValid) return;
    FKeepCol = Value;
    FKeepColValid = true;
}

void TEditor::AdjustCol(bool Vertical, int Direction) {
    const std::string cls = ClassString(FRow);
    const int len = static_cast<int>(cls.size());
    if (!Vertical)
        FKeepColValid = false;
    else if (FKeepColValid)
        FCol = FKeepCol;
    const int before = FCol;
    if (!FCaret->FreeCaret() && FCol > len) {
        if (FCaret->KeepCaret() && Vertical) RememberCol(true, LeftButtonDown() ? len : before);
        if (!(Vertical && !LeftButtonDown() && FCaret->FreeRow())) FCol = len;
    }
    if (ClassAt(cls, FCol) == '5') {
        RememberCol(Vertical, before);
        FCol += Direction;
    }
    if (!FCaret->InTab())
        while (ClassAt(cls, FCol) == '3') {
            RememberCol(Vertical, before);
            FCol += Direction;
        }
    if (FStore->WordWrap() && FCol >= len) {
        RememberCol(Vertical, before);
        const int wrapByte = FStore->WrapOption().WrapByte();
        if (GetRowAttribute(FRow) != raWrapped) {
            if (FCol >= wrapByte) FCol = std::max(len, wrapByte - 1);
        } else {
            FCol = std::max(0, len - 1);
        }
        if (ClassAt(cls, FCol) == '5') --FCol;
        if (!FCaret->InTab())
            while (ClassAt(cls, FCol) == '3') --FCol;
    }
    if (FCol > kMaxCol && ClassAt(cls, kMaxCol - 1) != '4') FCol = kMaxCol;
    FCol = std::clamp(FCol, 0, kMaxCol + 1);
    if (!FCaretBatch) UpdateCaret();
}

void TEditor::SetCol(int Value) {
    Value = std::clamp(Value, 0, kMaxCol + 1);
    const int direction = Value > FCol ? 1 : -1;
    InvalidateRulerMark();
    FCol = Value;
    AdjustCol(false, direction);
}

void TEditor::SetRow(int Value) {
    if (Value == FRow && FRow != RowCount()) return;
    InvalidateUnderline();
    Value = std::clamp(Value, 0, RowCount());
    if (Value == RowCount() && Value > 0 && GetRowAttribute(Value - 1) == raEndOfText) --Value;
    FRow = Value;
    const int col = FCol;
    AdjustCol(true, -1);
    if (FCol != col) InvalidateRulerMark();
    InvalidateUnderline();
}

void TEditor::SetRowCol(int ARow, int ACol) {
    if (ARow == FRow && ACol == FCol) return;
    {
        TFlagScope batch(FCaretBatch);
        SetRow(ARow);
        const std::string cls = ClassString(FRow);
        if (ClassAt(cls, ACol) == '5') --ACol;
        if (!FCaret->InTab())
            while (ClassAt(cls, ACol) == '3') --ACol;
        SetCol(ACol);
    }
    UpdateCaret();
}

bool TEditor::HasCaret() const {
    return FHost && FHost->Focused();
}

void TEditor::CaretBeginUpdate() {
    if (++FCaretUpdateCount == 1) HideEditorCaret();
}

void TEditor::CaretEndUpdate() {
    if (FCaretUpdateCount > 0 && --FCaretUpdateCount == 0) ShowEditorCaret();
}

void TEditor::HideEditorCaret() {
    if (!HasCaret() || !FCaretShown) return;
    FHost->HideCaret();
    FCaretShown = false;
}

void TEditor::ShowEditorCaret() {
    if (!HasCaret() || FCaretUpdateCount != 0 || FCaretShown || CaretOutOfView()) return;
    FHost->ShowCaret();
    FCaretShown = true;
}

bool TEditor::CaretOutOfView() const {
    return FTopRow > FRow || FRow > FTopRow + FRowsPerPage || FCol < FTopCol || FTopCol + FColsPerPage < FCol;
}

void TEditor::GetCaretPoint(int& X, int& Y) const {
    X = TextLeft() + (FCol - FTopCol) * FCharWidth;
    Y = TextTop() + (FRow - FTopRow) * RowHeight();
    if (!FOverWrite && FCaret->Style() == csBrief) Y += FFontHeight - 2;
}

void TEditor::MoveImeWindow() {
    FImePending = false;
    if (!HasCaret()) return;
    int x = 0, y = 0;
    GetCaretPoint(x, y);
    FHost->SetImePosition(x, y);
}

void TEditor::FollowIme() {
    if (FKeyRepeat)
        FImePending = true;
    else
        MoveImeWindow();
}

void TEditor::UpdateCaretPos() {
    if (!HasCaret()) return;
    int x = 0, y = 0;
    GetCaretPoint(x, y);
    FHost->SetCaretPos(x, y);
    FollowIme();
    DoCaretMoved();
}

void TEditor::RecreateCaret() {
    if (!HasCaret()) return;
    const int w = FCharWidth - FMargin->Character();
    const int cellWidth = ClassAt(ClassString(FRow), FCol) == '4' ? 2 * w : w;
    int width = 2, height = FFontHeight;
    if (FOverWrite) {
        width = cellWidth;
    } else if (FCaret->Style() == csBrief) {
        width = cellWidth;
        height = 2;
    }
    HideEditorCaret();
    FHost->DestroyCaret();
    FHost->CreateCaret(width, height);
    FHitCaret = false;
}

void TEditor::ScrollCaretIntoView() {
    if (!HasCaret()) return;
    if (FRow < FTopRow)
        SetTopRow(FRow);
    else if (FRow > FTopRow + FRowsPerPage - 1)
        SetTopRow(FRow - (FRowsPerPage - 1));
    if (FCol < FTopCol)
        SetTopCol(std::max(0, std::min(FCol, FTopCol - FColsPerPage / 4)));
    else if (FCol > FTopCol + FColsPerPage - 1)
        SetTopCol(std::min(std::max(FCol - (FColsPerPage - 1), FTopCol + FColsPerPage / 4),
                           kMaxCol - FColsPerPage / 2));
}

void TEditor::UpdateCaret() {
    RecreateCaret();
    ScrollCaretIntoView();
    UpdateCaretPos();
    ShowEditorCaret();
}

// ---- Scrolling

void TEditor::SetTopRow(int Value) {
    Value = std::clamp(Value, 0, RowCount());
    if (Value == FTopRow) return;
    CaretBeginUpdate();
    const int delta = std::clamp(Value - FTopRow, -(FRowsPerPage + 1), FRowsPerPage + 1);
    FTopRow = Value;
    if (FHost) {
        ScrollText(0, -delta * RowHeight(), {0, TextTop(), ClientWidth(), ClientHeight()});
        FHost->SetScrollPos(sbVertical, FTopRow);
    }
    FollowIme();
    CaretEndUpdate();
    DoTopRowChange();
}

void TEditor::SetTopCol(int Value) {
    Value = std::max(0, std::min(Value, kMaxCol - FColsPerPage / 2));
    if (Value == FTopCol) return;
    InvalidateRulerMark();
    CaretBeginUpdate();
    const int delta = Value - FTopCol;
    FTopCol = Value;
    if (FHost) {
        ScrollText(-delta * FCharWidth, 0, {TextLeft(), 0, ClientWidth(), ClientHeight()});
        FHost->SetScrollPos(sbHorizontal, FTopCol);
    }
    FollowIme();
    CaretEndUpdate();
    DoTopColChange();
}

void TEditor::ScrollText(int DX, int DY, const TRect& Rect) {
    if (!FHost) return;
    FHost->UpdateWindow();
    FHost->ScrollWindow(DX, DY, Rect);
    FHost->UpdateWindow();
}

void TEditor::ScrollRows(int FromRow, int Rows) {
    if (!FHost) return;
    Rows = std::clamp(Rows, -(FRowsPerPage + 1), FRowsPerPage + 1);
    const int top = TextTop() + std::max(0, FromRow - FTopRow) * RowHeight();
    ScrollText(0, Rows * RowHeight(), {TextLeft(), top, ClientWidth(), ClientHeight()});
    if (FImagebar->Visible())
        FHost->ScrollWindow(0, Rows * RowHeight(), {0, top, FImagebarWidth, ClientHeight()});
}

void TEditor::UpdateScrollBars() {
    FMaxTopRow = std::max(0, RowCount() + FRowsPerPage - 1);
    FTopRow = std::min(FTopRow, FMaxTopRow);
    FTopCol = std::max(0, std::min(FTopCol, kMaxCol - FColsPerPage / 2));
    if (!FHost) return;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        FHost->SetScrollInfo(sbVertical, 0, std::max(FRowsPerPage, FMaxTopRow), FRowsPerPage, FTopRow);
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        FHost->SetScrollInfo(sbHorizontal, 0, FColsPerPage / 2 + kMaxCol, FColsPerPage, FTopCol);
}

TLResult TEditor::WMScroll(TScrollBarKind Bar, int Code, int Pos) {
    const bool vertical = Bar == sbVertical;
    const int top = vertical ? FTopRow : FTopCol;
    const int page = vertical ? FRowsPerPage : FColsPerPage;
    const int last = vertical ? FMaxTopRow : FColsPerPage / 2 + kMaxCol;
    int delta = 0;
    switch (Code) {
    case SB_LINEUP:
        delta = -1;
        break;
    case SB_LINEDOWN:
        delta = 1;
        break;
    case SB_PAGEUP:
        delta = std::min(-1, -page);
        break;
    case SB_PAGEDOWN:
        delta = std::max(1, page);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        delta = (vertical && FHost ? FHost->TrackPos(sbVertical) : Pos) - top;
        break;
    case SB_TOP:
        delta = -top;
        break;
    case SB_BOTTOM:
        delta = last - top;
        break;
    default:
        return 0;
    }
    delta = std::clamp(delta, -top, last - top);
    if (delta == 0) return 0;
    if (!vertical) {
        SetTopCol(FTopCol + delta);
        return 0;
    }
    SetTopRow(FTopRow + delta);
    // The caret keeps its place on the screen: it moves by the scroll that was applied.
    if (FCaret->LockScroll()) SetRow(FRow + (FTopRow - top));
    return 0;
}

// ---- Painting requests

void TEditor::InvalidateAll() {
    if (FHost) FHost->Invalidate({0, 0, ClientWidth(), ClientHeight()});
}

void TEditor::InvalidateRows(int FromRow, int ToRow) {
    if (!FHost) return;
    FromRow = std::max(FromRow, FTopRow);
    ToRow = std::min(ToRow, FTopRow + FRowsPerPage);
    if (FromRow > ToRow) return;
    FHost->Invalidate({0, TextTop() + (FromRow - FTopRow) * RowHeight(), ClientWidth(),
                       TextTop() + (ToRow - FTopRow + 1) * RowHeight()});
}

void TEditor::InvalidateRow(int ARow) {
    InvalidateRows(ARow, ARow);
}

void TEditor::InvalidateUnderline() {
    if (FMarks->Underline().Visible()) InvalidateRow(FRow);
}

void TEditor::InvalidateRulerMark() {
    if (!FHost || !FRuler->Visible() || FCol < FTopCol || FCol > FTopCol + FColsPerPage) return;
    const int x = TextLeft() + (FCol - FTopCol) * FCharWidth;
    FHost->Invalidate({x, 0, x + FCharWidth, FRulerHeight});
}

void TEditor::ScreenUpdate() {
    const TUpdateInfo& info = FStore->UpdateInfo();
    if (!FHost || !info.Updated) return;
    const int diff = info.NewRowCount - info.OldRowCount;
    const int end = info.UpdateRow + std::max(info.NewRowCount, info.StateRowCount);
    if (std::abs(diff) > FRowsPerPage) {
        InvalidateAll();
        FHost->UpdateWindow();
        return;
    }
    if (diff != 0) {
        InvalidateRows(info.UpdateRow, end - 1);
        ScrollRows(info.UpdateRow + info.OldRowCount, diff);
        if (end >= RowCount()) InvalidateRow(end);
    } else {
        InvalidateRows(info.UpdateRow, end >= RowCount() ? end : end - 1);
    }
    // Numbers below the change: logical-line numbers shift with any change, row numbers only when
    // rows came or went and the end of the text is in view.
    if (FLeftbar->Visible() && FLeftbar->ShowNumber() &&
        (FLeftbar->ShowNumberMode() == nmLine || (diff != 0 && RowCount() <= FTopRow + FRowsPerPage)))
        InvalidateRows(end, info.UpdateRow + FRowsPerPage);
}

// ---- Store notifications

void TEditor::DoChange() {
    ScreenUpdate();
    if (FLeftbar->Visible() && FLeftbar->ShowNumber() && CalcLeftbarDigits()) {
        CalcMetrics();
        InvalidateAll();
    }
    UpdateScrollBars();
    if (FStore->UpdateInfo().Updated) {
        FModified = true;
        if (OnChange) OnChange(*this);
    }
}

void TEditor::Refresh() {
    CalcMetrics();
    UpdateScrollBars();
    InvalidateAll();
}

void TEditor::LinesUpdateBegun() {
    CaretBeginUpdate();
}
void TEditor::LinesUpdateEnded() {
    CaretEndUpdate();
}

void TEditor::OptionsChanged(TPersistent* Sender) {
    if (Sender == FMarks.get()) FMargin->SetUnderlineSpace(FMarks->Underline().Visible() ? 1 : 0);
    if (Sender == FView.get() || dynamic_cast<TColourer*>(Sender)) FStore->ResetRowStates();
    if (!FHost) return;
    CalcMetrics();
    UpdateScrollBars();
    InvalidateAll();
    if (Sender == FCaret.get()) {
        UpdateCaret();
    } else {
        ScrollCaretIntoView();
        UpdateCaretPos();
    }
}

// ---- Events

void TEditor::DoDrawLine(const TPaintOp&, TPaintPlan&) {}

void TEditor::DblClick() {
    if (OnDblClick) OnDblClick(*this);
}

void TEditor::DoCaretMoved() {
    if (OnCaretMoved) OnCaretMoved(*this);
}
void TEditor::DoSelectionChange(bool Selected) {
    if (OnSelectionChange) OnSelectionChange(*this, Selected);
}
void TEditor::DoSelectionModeChange() {
    if (OnSelectionModeChange) OnSelectionModeChange(*this);
}
void TEditor::DoTopColChange() {
    if (OnTopColChange) OnTopColChange(*this);
}
void TEditor::DoTopRowChange() {
    if (OnTopRowChange) OnTopRowChange(*this);
}

// ---- Undo

void TEditor::Undo() {
    CancelSelection();
    FStore->Undo();
}

void TEditor::Redo() {
    CancelSelection();
    FStore->Redo();
}

// ---- Selection

int TEditor::SelStart() const {
    if (RowCount() == 0) return 0;
    if (IsSelectedOrHit()) return RowOffset(FSelStr.StartRow) + FSelStr.Start;
    return RowOffset(FRow) + StringIndex(FRow, FCol);
}

void TEditor::BoxRange(int ARow, int& From, int& To) const {
    const std::string cls = ClassString(ARow);
    const int len = static_cast<int>(GetRowString(ARow).size());
    From = std::min(len, ColToIndexStart(cls, FSelDraw.Start + 1) - 1);
    To = std::clamp(ColToIndexEnd(cls, FSelDraw.End), From, len);
}

int TEditor::SelLength() const {
    if (!IsSelected()) return 0;
    if (FSelStr.StartRow == FSelStr.EndRow) return std::max(0, FSelStr.End - FSelStr.Start + 1);
    int n = 0;
    if (FSelectionMode == 1) {
        for (int r = FSelStr.StartRow; r <= FSelStr.EndRow; ++r) {
            int from = 0, to = 0;
            BoxRange(r, from, to);
            n += to - from + 2;
        }
        return n;
    }
    n = static_cast<int>(GetRowString(FSelStr.StartRow).size()) - FSelStr.Start;
    for (int r = FSelStr.StartRow + 1; r < FSelStr.EndRow; ++r) n += static_cast<int>(GetRowString(r).size());
    n += FSelStr.End + 1;
    for (int r = FSelStr.StartRow; r < FSelStr.EndRow; ++r)
        if (GetRowAttribute(r) == raLineBreak) n += 2;
    return n;
}

std::string TEditor::SelText() const {
    if (!IsSelected()) return {};
    const TSelection& s = FSelStr;
    auto piece = [this](int r, int from, int to) { // bytes from..to-1 of row r, clamped
        const std::string t = GetRowString(r);
        from = std::clamp(from, 0, static_cast<int>(t.size()));
        to = std::clamp(to, from, static_cast<int>(t.size()));
        return t.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    };
    if (s.StartRow == s.EndRow) return piece(s.StartRow, s.Start, s.End + 1);
    std::string text;
    if (FSelectionMode == 1) {
        for (int r = s.StartRow; r <= s.EndRow; ++r) {
            int from = 0, to = 0;
            BoxRange(r, from, to);
            text += piece(r, from, to) + "\r\n";
        }
        return text;
    }
    text = piece(s.StartRow, s.Start, INT32_MAX);
    for (int r = s.StartRow + 1; r <= s.EndRow; ++r) {
        if (GetRowAttribute(r - 1) != raWrapped) text += "\r\n";
        text += r == s.EndRow ? piece(r, 0, s.End + 1) : GetRowString(r);
    }
    return text;
}

void TEditor::SetSelStart(int Value) {
    CancelSelection();
    if (RowCount() == 0) return;
    if (Value < 1) {
        SetRowCol(0, 0);
        return;
    }
    int row = 0, rest = 0;
    OffsetToRow(Value, row, rest);
    if (row >= RowCount()) {
        SetRow(RowCount());
        SetRowCol(FRow, RowDisplayLength(FRow));
        return;
    }
    const std::string s = GetRowString(row);
    SetRowCol(row, std::min(DisplayWidth(std::string_view(s).substr(0, static_cast<std::size_t>(rest))),
                            DisplayWidth(s)));
}

void TEditor::CaretToSelStart() {
    const std::string s = GetRowString(FSelStr.StartRow);
    SetRowCol(FSelStr.StartRow,
              DisplayWidth(std::string_view(s).substr(
                  0, static_cast<std::size_t>(std::clamp(FSelStr.Start, 0, static_cast<int>(s.size()))))));
}

void TEditor::SetSelLength(int Value) {
    if (RowCount() == 0) return;
    SetSelectionMode(0);
    {
        TFlagScope batch(FCaretBatch);
        if (Value < 1) {
            if (IsSelectedOrHit()) {
                CaretToSelStart();
                CancelSelection();
            }
        } else {
            if (IsSelectedOrHit()) CaretToSelStart();
            StartSelection();
            int row = 0, rest = 0;
            WalkRows(FRow, StringIndex(FRow, FCol) + Value, row, rest);
            if (row >= RowCount()) {
                SetRow(RowCount());
                SetCol(RowDisplayLength(FRow));
            } else {
                const std::string s = GetRowString(row);
                SetRow(row);
                SetCol(std::min(
                    DisplayWidth(std::string_view(s).substr(
                        0, static_cast<std::size_t>(std::min<int>(rest, static_cast<int>(s.size()))))),
                    DisplayWidth(s)));
            }
        }
    }
    UpdateCaret();
    if (Value >= 1) ExtendSelection();
}

void TEditor::SetHitSelLength(int Value) {
    switch (FHitStyle) {
    case hsSelect:
        SetSelLength(Value);
        break;
    case hsDraw: {
        TFlagScope hit(FHitFlag);
        SetSelLength(Value);
        break;
    }
    case hsCaret:
        if (Value <= 0) {
            SetSelLength(Value);
            break;
        }
        {
            TFlagScope hit(FHitFlag);
            SetSelLength(Value);
        }
        if (HasCaret()) {
            CaretToSelStart();
            const int endCol =
                FSelDraw.EndRow > FSelDraw.StartRow ? RowDisplayLength(FSelDraw.StartRow) : FSelDraw.End;
            HideEditorCaret();
            FHost->DestroyCaret();
            FHost->CreateCaret(std::max(2, (endCol - FSelDraw.Start) * FCharWidth), FFontHeight);
            FHitCaret = true;
            ShowEditorCaret();
        }
        break;
    }
    FHitLength = Value;
}

void TEditor::StartSelection() {
    CancelSelection();
    if (RowCount() == 0) return;
    FSelState = ssAnchored;
    FAnchorRow = FRow;
    FAnchorIndex = StringIndex(FRow, FCol);
    FAnchorCol = FSelectionMode == 0 ? std::min(FCol, RowDisplayLength(FRow)) : FCol;
    FSelDraw = {FRow, FRow, FAnchorCol, FAnchorCol};
    FSelStr = {FRow, FRow, FAnchorIndex, FAnchorIndex - 1};
    FSelPainted = FSelDraw;
}

void TEditor::ExtendSelection() {
    if (FSelState == ssAnchored)
        ActivateSelection();
    else if (FSelState == ssSelected)
        UpdateSelection();
}

void TEditor::ActivateSelection() {
    if (FSelState != ssAnchored) return;
    InvalidateUnderline();
    FSelState = FHitFlag ? ssHit : ssSelected;
    UpdateSelection();
}

void TEditor::UpdateSelection() {
    if (!IsSelectedOrHit()) return;
    const int i = StringIndex(FRow, FCol);
    FSelStr.StartRow = std::min(FAnchorRow, FRow);
    FSelStr.EndRow = std::max(FAnchorRow, FRow);
    const bool caretAfter = FRow > FAnchorRow || (FRow == FAnchorRow && i > FAnchorIndex);
    FSelStr.Start = caretAfter ? FAnchorIndex : i;
    FSelStr.End = (caretAfter ? i : FAnchorIndex) - 1;

    FSelDraw.StartRow = FSelStr.StartRow;
    FSelDraw.EndRow = FSelStr.EndRow;
    const int anchorLen = RowDisplayLength(FAnchorRow), caretLen = RowDisplayLength(FRow);
    if (FSelectionMode == 1) {
        FSelDraw.Start = std::min(FAnchorCol, FCol);
        FSelDraw.End = std::max(FAnchorCol, FCol);
    } else if (FRow == FAnchorRow) {
        FSelDraw.Start = std::min(std::min(FAnchorCol, FCol), caretLen);
        FSelDraw.End = std::min(std::max(FAnchorCol, FCol), caretLen);
    } else if (FAnchorRow < FRow) {
        FSelDraw.Start = std::min(FAnchorCol, anchorLen);
        FSelDraw.End = std::min(FCol, caretLen);
    } else {
        FSelDraw.Start = std::min(FCol, caretLen);
        FSelDraw.End = std::min(FAnchorCol, anchorLen);
    }
    if (FSelState == ssSelected || FHitStyle == hsDraw) SelectionRepaint(FSelPainted, FSelDraw);
    FSelPainted = FSelDraw;
    DoSelectionChange(true);
}

void TEditor::SelectionRepaint(const TSelection& Old, const TSelection& New) {
    if (Old == New || !FHost) return;
    // Rows whose selected part differs: between the old and the new end rows and start rows.
    if (Old.StartRow == New.StartRow && Old.Start == New.Start && FSelectionMode == 0) {
        InvalidateRows(std::min(Old.EndRow, New.EndRow), std::max(Old.EndRow, New.EndRow));
    } else if (Old.EndRow == New.EndRow && Old.End == New.End && FSelectionMode == 0) {
        InvalidateRows(std::min(Old.StartRow, New.StartRow), std::max(Old.StartRow, New.StartRow));
    } else {
        InvalidateRows(std::min(Old.StartRow, New.StartRow), std::max(Old.EndRow, New.EndRow));
    }
    FHost->UpdateWindow();
}

void TEditor::CancelSelection() {
    if (FSelState == ssAnchored) FSelState = ssNoSelection;
    if (!IsSelectedOrHit()) return;
    FSelState = ssNoSelection;
    FHitLength = 0;
    if (FHitCaret) UpdateCaret();
    if (FHost && !(FSelDraw.StartRow == FSelDraw.EndRow && FSelDraw.Start == FSelDraw.End)) {
        const int from = std::max(FSelDraw.StartRow - 1, FTopRow),
                  to = std::min(FSelDraw.EndRow, FTopRow + FRowsPerPage);
        if (from <= to)
            FHost->Invalidate({TextLeft(), TextTop() + (from - FTopRow) * RowHeight(), ClientWidth(),
                               TextTop() + (to - FTopRow + 1) * RowHeight()});
        FHost->UpdateWindow();
    }
    InvalidateUnderline();
    FKeepColValid = false;
    DoSelectionChange(false);
}

void TEditor::HitToSelection() {
    if (!IsHitSelected()) return;
    if (FHitStyle == hsCaret) {
        const std::string s = GetRowString(FSelStr.EndRow);
        SetRowCol(
            FSelStr.EndRow,
            DisplayWidth(std::string_view(s).substr(
                0, static_cast<std::size_t>(std::clamp(FSelStr.End + 1, 0, static_cast<int>(s.size()))))));
    }
    FSelState = ssSelected;
}

void TEditor::SetSelectionMode(int Value) {
    if (FMouseState == msDragging || Value == FSelectionMode) return;
    FSelectionMode = Value;
    if (IsSelected()) {
        if (Value == 1 && FHost) FHost->SetCursor(FCaret->Cursors().DefaultCursor());
        UpdateSelection();
        InvalidateAll();
    }
    DoSelectionModeChange();
}

bool TEditor::IsInSelection(int ARow, int ACol) const {
    if (!IsSelected() || ARow < FSelDraw.StartRow || ARow > FSelDraw.EndRow) return false;
    if (FSelectionMode == 1) return ACol >= FSelDraw.Start && ACol < FSelDraw.End;
    if (ARow == FSelDraw.StartRow && ACol < FSelDraw.Start) return false;
    if (ARow == FSelDraw.EndRow && ACol >= FSelDraw.End) return false;
    return true;
}

bool TEditor::CanSelDrag() const {
    return !FReadOnly && IsSelected() && FSelectionMode == 0 && FCaret->SelMove();
}

void TEditor::RowsWithoutSelection(std::vector<TCutRow>& List) const {
    List.clear();
    if (!IsSelected()) return;
    if (FSelectionMode == 1) {
        for (int r = FSelStr.StartRow; r <= FSelStr.EndRow; ++r) {
            int from = 0, to = 0;
            BoxRange(r, from, to);
            std::string t = GetRowString(r);
            t.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
            List.push_back({t, GetRowAttribute(r), from + 1});
        }
        return;
    }
    std::string t = GetRowString(FSelStr.StartRow).substr(0, static_cast<std::size_t>(FSelStr.Start));
    const std::string end = GetRowString(FSelStr.EndRow);
    if (FSelStr.EndRow < RowCount() && FSelStr.End + 1 < static_cast<int>(end.size()))
        t += end.substr(static_cast<std::size_t>(FSelStr.End + 1));
    List.push_back({t, GetRowAttribute(FSelStr.EndRow), FSelStr.Start + 1});
}

void TEditor::DeleteSelection() {
    if (!IsSelected()) return;
    std::vector<TCutRow> rows;
    RowsWithoutSelection(rows);
    const TSelection sel = FSelStr;
    const int ref = ReferenceRow(sel.StartRow);
    const int offset = RowsStep(ref, sel.StartRow) + rows.front().CutPos - 1;
    CancelSelection();
    ReplaceRows(sel.StartRow, sel.EndRow, BuildText(rows), ref, offset);
}

void TEditor::SelectAll() {
    CaretBeginUpdate();
    SetSelStart(0);
    SetSelLength(GetTextLength());
    CaretEndUpdate();
}

void TEditor::CopyToClipboard() {
    if (IsSelected() && FHost) FHost->SetClipboardText(SelText(), FSelectionMode == 1);
}

void TEditor::CutToClipboard() {
    if (!IsSelected()) return;
    CopyToClipboard();
    DeleteSelection();
}

void TEditor::PasteFromClipboard() {
    if (!FHost || !FHost->ClipboardHasText()) return;
    const std::string text = FHost->ClipboardText();
    if (FHost->ClipboardHasBox())
        SetSelTextBox(text);
    else
        SetSelTextBuf(text);
}

void TEditor::SetCursorState(int State) {
    if (State == FCursorState) return;
    FCursorState = State;
    if (!FHost || !FCaret->AutoCursor()) return;
    const TEditorCursors& c = FCaret->Cursors();
    switch (State) {
    case csrDefault:
        FHost->SetCursor(c.DefaultCursor());
        break;
    case csrLeftMargin:
        FHost->SetCursor(c.LeftMarginCursor());
        break;
    case csrTopMargin:
        FHost->SetCursor(c.TopMarginCursor());
        break;
    case csrInSelection:
        FHost->SetCursor(c.InSelCursor());
        break;
    case csrDragMove:
        FHost->ShowCursorNow(c.DragSelCursor());
        break;
    case csrDragCopy:
        FHost->ShowCursorNow(c.DragSelCopyCursor());
        break;
    default:
        break;
    }
}

// ---- Dragging the selection

std::string TEditor::TextBetween(int Row1, int Index1, int Row2, int Index2) const {
    if (Row1 == Row2) {
        const std::string s = GetRowString(Row1);
        Index1 = std::clamp(Index1, 0, static_cast<int>(s.size()));
        return s.substr(
            static_cast<std::size_t>(Index1),
            static_cast<std::size_t>(std::clamp(Index2 - Index1, 0, static_cast<int>(s.size()) - Index1)));
    }
    const std::string first = GetRowString(Row1);
    std::string text =
        first.substr(static_cast<std::size_t>(std::min<int>(Index1, static_cast<int>(first.size()))));
    FStore->AddLineBreak(Row1, text);
    for (int r = Row1 + 1; r < Row2; ++r) text += RowText(r);
    const std::string last = GetRowString(Row2);
    return text +
           last.substr(0, static_cast<std::size_t>(std::clamp(Index2, 0, static_cast<int>(last.size()))));
}

void TEditor::MoveSelection(int ARow, int ACol) {
    if (!CanSelDrag() || IsInSelection(ARow, ACol)) {
        CancelSelection();
        return;
    }
    const TSelection sel = FSelStr;
    const std::string moved = SelText();
    const std::string pointRow = GetRowString(ARow);
    const int pi = CaretStringIndex(ARow, ACol);
    const int len = static_cast<int>(pointRow.size());
    const std::string pad = Blanks(pi - len);
    const int p = std::min(pi, len);
    CancelSelection();
    const bool before = ARow < sel.StartRow || (ARow == sel.StartRow && pi <= sel.Start);
    std::string text;
    int first = 0, last = 0, offset = 0, ref = 0;
    if (before) {
        first = ARow;
        last = sel.EndRow;
        ref = ReferenceRow(first);
        text = pointRow.substr(0, static_cast<std::size_t>(p)) + pad + moved;
        offset = RowsStep(ref, first) + static_cast<int>(text.size());
        text += TextBetween(ARow, p, sel.StartRow, sel.Start);
        const std::string end = GetRowString(last);
        if (sel.End + 1 < static_cast<int>(end.size()))
            text += end.substr(static_cast<std::size_t>(sel.End + 1));
    } else {
        first = sel.StartRow;
        last = ARow;
        ref = ReferenceRow(first);
        text = GetRowString(first).substr(0, static_cast<std::size_t>(sel.Start));
        text += TextBetween(sel.EndRow, sel.End + 1, ARow, p) + pad + moved;
        offset = RowsStep(ref, first) + static_cast<int>(text.size());
        text += pointRow.substr(static_cast<std::size_t>(p));
    }
    FStore->AddLineBreak(last, text);
    ReplaceRows(first, last, text, ref, offset);
}

void TEditor::DropSelection(int ARow, int ACol) {
    if (!CanSelDrag() || IsInSelection(ARow, ACol)) {
        CancelSelection();
        return;
    }
    const std::string text = SelText();
    CancelSelection();
    SetRowCol(ARow, ACol);
    SetSelTextBuf(text);
}

void TEditor::CancelDrag(bool Escape) {
    FMouseState = msIdle;
    if (Escape && FCaret->AutoCursor() && FHost) {
        FCursorState = csrDefault;
        FHost->ShowCursorNow(FCaret->Cursors().DefaultCursor());
    } else {
        SetCursorState(csrDefault);
    }
    CancelSelection();
}

void TEditor::Drop(int X, int Y) {
    FMouseState = msIdle;
    SetCursorState(csrDefault);
    const bool inside = X >= 0 && Y >= 0 && X < ClientWidth() && Y < ClientHeight();
    if (!inside || IsInSelection(FRow, FCol)) {
        CancelSelection();
        return;
    }
    if (CtrlDown())
        DropSelection(FRow, FCol);
    else
        MoveSelection(FRow, FCol);
}

// ---- Mouse

void TEditor::StartRowSelect(int ARow) {
    ARow = std::clamp(ARow, 0, RowCount());
    if (ARow == RowCount() && ARow > 0 && GetRowAttribute(ARow - 1) == raEndOfText) --ARow;
    FRowSelecting = true;
    FRowSelAnchor = ARow;
    ExtendRowSelect(ARow);
}

void TEditor::RowEnd(int ARow, int& EndRow, int& EndCol) const {
    if (GetRowAttribute(ARow) == raEndOfText) {
        EndRow = ARow;
        EndCol = RowDisplayLength(ARow);
    } else {
        EndRow = ARow + 1;
        EndCol = 0;
    }
}

// Whole rows from the anchor row to ARow: below the anchor the anchor stays at its row's start and
// the caret goes to the start of the row after ARow; at or above it the anchor moves to the start of
// the row after the anchor row and the caret to ARow's start.
void TEditor::ExtendRowSelect(int ARow) {
    ARow = std::clamp(ARow, 0, RowCount());
    if (ARow == RowCount() && ARow > 0 && GetRowAttribute(ARow - 1) == raEndOfText) --ARow;
    int anchorRow = FRowSelAnchor, anchorCol = 0, caretRow = ARow, caretCol = 0;
    if (ARow <= FRowSelAnchor)
        RowEnd(FRowSelAnchor, anchorRow, anchorCol);
    else
        RowEnd(ARow, caretRow, caretCol);
    CaretBeginUpdate();
    if (FSelState == ssNoSelection) StartSelection();
    if (FSelState != ssNoSelection) {
        FAnchorRow = anchorRow;
        FAnchorCol = anchorCol;
        FAnchorIndex = StringIndex(anchorRow, anchorCol);
        SetRowCol(caretRow, caretCol);
        ExtendSelection();
    }
    CaretEndUpdate();
}

void TEditor::WMLButtonDown(TWParam Keys, int X, int Y) {
    int col = 0, row = 0;
    if (!(Keys & MK_SHIFT)) {
        FPressX = X;
        FPressY = Y;
        PointToColRow(X, Y, false, col, row);
        if (CanSelDrag() && X > TextLeft() && IsInSelection(row, col)) {
            SetRowCol(row, col);
            if (FCaret->SelDragMode() == dmAutomatic) FMouseState = msDragPending;
            return;
        }
        PointToColRow(X, Y, true, col, row);
        if (X < TextLeft() && FCaret->RowSelect()) {
            CancelSelection();
            StartRowSelect(row);
            return;
        }
        CaretBeginUpdate();
        SetRowCol(row, col);
        StartSelection();
        CaretEndUpdate();
        return;
    }
    if (FSelState == ssNoSelection) StartSelection();
    PointToColRow(X, Y, true, col, row);
    SetRowCol(row, col);
    ExtendSelection();
}

bool TEditor::MovedHalfChar(int X, int Y) const {
    return std::abs(X - FPressX) >= FCharWidth / 2 || std::abs(Y - FPressY) >= FCharWidth / 2;
}

void TEditor::WMMouseMove(TWParam Keys, int X, int Y) {
    int col = 0, row = 0;
    if (FMouseState == msDragPending) {
        if (MovedHalfChar(X, Y)) {
            FMouseState = msDragging;
            SetCursorState(CtrlDown() ? csrDragCopy : csrDragMove);
        }
        return;
    }
    if (FMouseState == msDragging) {
        PointToColRow(X, Y, false, col, row);
        if (Y < TextTop()) row = std::max(0, row - 1);
        SetRowCol(row, col);
        return;
    }
    if (Keys & MK_LBUTTON) {
        PointToColRow(X, Y, true, col, row);
        if (Y < TextTop()) row = std::max(0, row - 1);
        if (FRowSelecting) {
            ExtendRowSelect(row);
            return;
        }
        SetRowCol(row, col);
        if (FSelState == ssAnchored) {
            if (MovedHalfChar(X, Y)) ActivateSelection();
        } else if (IsSelectedOrHit()) {
            UpdateSelection();
        }
        return;
    }
    PointToColRow(X, Y, false, col, row);
    if (X < TextLeft())
        SetCursorState(csrLeftMargin);
    else if (Y < TextTop())
        SetCursorState(csrTopMargin);
    else if (CanSelDrag() && IsInSelection(row, col))
        SetCursorState(csrInSelection);
    else
        SetCursorState(csrDefault);
}

void TEditor::WMLButtonUp(int X, int Y) {
    if (FMouseState == msDragging)
        Drop(X, Y);
    else if (FMouseState == msDragPending)
        CancelDrag(false);
    FRowSelecting = false;
}

// ---- Editing commands

void TEditor::ReplaceRows(int Start, int End, const std::string& Text, int Ref, int Offset) {
    const int count = Start >= RowCount() ? 0 : std::min(End, RowCount() - 1) - Start + 1;
    CaretBeginUpdate();
    FStore->UpdateRows(std::min(Start, RowCount()), std::max(0, count), Text);
    SetCaretToLineOffset(Ref, Offset);
    CaretEndUpdate();
}

// T with the columns From..To-1 replaced by S; a double-byte character cut by To leaves a blank.
std::string TEditor::Overwrite(std::string_view T, int From, std::string_view S) const {
    const TColumnLayout layout = ColumnLayout();
    const int to = From + static_cast<int>(S.size());
    std::size_t i = 0;
    int col = 0;
    std::string out;
    while (i < T.size() && col < From) {
        const std::size_t n = IsLeadByte(T[i]) && i + 1 < T.size() ? 2 : 1;
        col = quillon::DisplayWidth(T.substr(0, i + n), layout);
        out.append(T.substr(i, n));
        i += n;
    }
    out.append(S);
    while (i < T.size()) {
        const std::size_t n = IsLeadByte(T[i]) && i + 1 < T.size() ? 2 : 1;
        const int start = quillon::DisplayWidth(T.substr(0, i), layout);
        const int end = quillon::DisplayWidth(T.substr(0, i + n), layout);
        if (start >= to) break;
        if (end > to && n == 2) {
            out += ' ';
            i += n;
            break;
        }
        i += n;
    }
    out.append(T.substr(i));
    return out;
}

void TEditor::InsertText(std::string_view S, bool OverWriting) {
    if (S.empty()) return;
    int start = 0, end = 0, ref = 0, target = 0;
    std::string text;
    if (IsSelected()) {
        std::vector<TCutRow> rows;
        RowsWithoutSelection(rows);
        start = FSelStr.StartRow;
        end = FSelStr.EndRow;
        ref = ReferenceRow(start);
        const int cut = rows.front().CutPos - 1;
        rows.front().Text.insert(static_cast<std::size_t>(cut), S);
        text = BuildText(rows);
        target = RowsStep(ref, start) + cut + static_cast<int>(S.size());
    } else {
        start = end = FRow;
        ref = ReferenceRow(FRow);
        target = LineOffset(ref, FRow, FCol) + static_cast<int>(S.size());
        const std::string t = GetRowString(FRow);
        const int i = CaretStringIndex(FRow, FCol);
        if (i >= static_cast<int>(t.size())) {
            text = t + Blanks(i - static_cast<int>(t.size())) + std::string(S);
        } else if (OverWriting) {
            // The overwritten columns may run on into the following rows of a wrapped line.
            std::string line = t;
            int width = RowDisplayLength(FRow);
            while (FCol + static_cast<int>(S.size()) > width && GetRowAttribute(end) == raWrapped &&
                   end + 1 < RowCount()) {
                ++end;
                line += GetRowString(end);
                width = DisplayWidth(line);
            }
            text = Overwrite(line, FCol, S);
        } else {
            text = t;
            text.insert(static_cast<std::size_t>(i), S);
        }
        FStore->AddLineBreak(end, text);
    }
    CancelSelection();
    ReplaceRows(start, end, text, ref, target);
}

void TEditor::TypeText(std::string_view S) {
    InsertText(S, FOverWrite);
}

void TEditor::SetSelTextBuf(std::string_view Text) {
    if (FReadOnly) return;
    const std::string_view s = Text.substr(0, Text.find('\0'));
    if (s.empty()) {
        if (IsSelected())
            DeleteSelection();
        else
            CancelSelection();
        return;
    }
    if (!IsSelected() && s.size() > 1 && s.substr(s.size() - 2) == "\r\n" && FCol == 0) {
        CancelSelection();
        const int row = std::min(FRow, RowCount());
        const int ref = ReferenceRow(row);
        ReplaceRows(row, row - 1, std::string(s), ref, RowsStep(ref, row) + static_cast<int>(s.size()));
        return;
    }
    InsertText(s, false);
}

void TEditor::SetSelTextBox(std::string_view Text) {
    if (FReadOnly) return;
    const std::string text(Text.substr(0, Text.find('\0')));
    if (text.empty()) {
        DeleteSelection();
        return;
    }
    const std::vector<std::string> lines = StrToStrings(text.c_str());
    const int n = static_cast<int>(lines.size());
    std::vector<TCutRow> cut;
    int first = FRow, c = FCol, selEnd = FRow;
    const bool selected = IsSelected();
    if (selected) {
        first = FSelStr.StartRow;
        c = FSelDraw.Start;
        selEnd = FSelStr.EndRow;
        RowsWithoutSelection(cut);
    }
    const int last = std::max(first + n - 1, selected ? selEnd : first);
    std::string rows;
    int lastIndex = 0;
    for (int r = first; r <= last; ++r) {
        const int k = r - first;
        const std::string line = k < n ? lines[static_cast<std::size_t>(k)] : std::string();
        std::string row;
        int index = 0;
        if (selected && r <= selEnd) {
            row = cut[static_cast<std::size_t>(k)].Text;
            index = cut[static_cast<std::size_t>(k)].CutPos - 1;
        } else if (r < RowCount()) {
            row = GetRowString(r);
            index = ColToIndexStart(ClassString(r), c + 1) - 1;
            if (index > static_cast<int>(row.size())) row += Blanks(index - static_cast<int>(row.size()));
        } else {
            row = Blanks(c);
            index = c;
        }
        row.insert(static_cast<std::size_t>(index), line);
        rows += row + "\r\n";
        if (k == n - 1) lastIndex = index;
    }
    CancelSelection();
    CaretBeginUpdate();
    const int count = first >= RowCount() ? 0 : std::min(last, RowCount() - 1) - first + 1;
    FStore->UpdateRows(std::min(first, RowCount()), count, rows);
    SetRowCol(first + n - 1, lastIndex + static_cast<int>(lines.back().size()));
    CaretEndUpdate();
}

// ---- Search

bool TEditor::SearchText(std::string_view Pattern, TSearchOptions Options) {
    if (GetTextLength() == 0) return false;
    TSearchInfo info;
    const bool forward = (Options & stDown) != 0;
    int row = 0;
    if (forward) {
        if (IsSelectedOrHit()) {
            row = FSelStr.EndRow;
            info.Start = FSelStr.End + 1;
        } else {
            row = FRow;
            info.Start = StringIndex(FRow, FCol);
        }
        if (FHitStyle == hsCaret && FHitLength >= 1) info.Length = FHitLength;
        while (row < RowCount()) {
            int rows = 0;
            std::string chunk;
            while (row + rows < RowCount() && static_cast<int>(chunk.size()) < 8192)
                chunk += RowText(row + rows++);
            if (quillon::SearchText(chunk, info, Pattern, Options)) return FoundAt(row, info);
            if (row + rows >= RowCount()) break;
            row += rows > 1 ? rows - 1 : rows;
            info = TSearchInfo();
        }
        return false;
    }
    int index = 0;
    if (IsSelectedOrHit()) {
        row = FSelStr.StartRow;
        index = FSelStr.Start;
    } else if (FRow >= RowCount()) {
        row = RowCount() - 1;
        index = RowStep(row);
    } else {
        row = FRow;
        index = StringIndex(FRow, FCol);
    }
    while (row >= 0) {
        int top = row;
        int offset = index;
        std::string chunk = RowText(row);
        while (top > 0 && static_cast<int>(chunk.size()) < 8192) {
            const std::string above = RowText(--top);
            chunk.insert(0, above);
            offset += static_cast<int>(above.size());
        }
        info.Start = offset;
        info.Length = 0;
        if (quillon::SearchText(chunk, info, Pattern, Options)) return FoundAt(top, info);
        if (top == 0) break;
        row = top + 1 < row ? top + 1 : top;
        index = static_cast<int>(RowText(row).size());
    }
    return false;
}

bool TEditor::FoundAt(int FirstRow, const TSearchInfo& Info) {
    CancelSelection();
    SetCaretToLineOffset(FirstRow, Info.Start);
    SetHitSelLength(Info.Length);
    EMScrollCaret();
    return true;
}

// ---- Row marks

void TEditor::SetRowMark(int ARow, int Mark) {
    if (Mark < 0 || Mark > 15) return;
    const auto bit = static_cast<std::uint16_t>(1u << Mark);
    if (Mark <= 9)
        for (int r = 0; r < RowCount(); ++r)
            if (GetRowMarks(r) & bit) {
                SetRowMarks(r, static_cast<std::uint16_t>(GetRowMarks(r) & ~bit));
                break;
            }
    if (ARow >= 0 && ARow < RowCount())
        SetRowMarks(ARow, static_cast<std::uint16_t>(GetRowMarks(ARow) | bit));
}

void TEditor::DeleteRowMark(int ARow, int Mark) {
    if (Mark < 0 || Mark > 15 || ARow < 0 || ARow >= RowCount()) return;
    SetRowMarks(ARow, static_cast<std::uint16_t>(GetRowMarks(ARow) & ~(1u << Mark)));
}

void TEditor::GotoRowMark(int Mark) {
    if (Mark < 0 || Mark > 15) return;
    for (int r = 0; r < RowCount(); ++r)
        if (GetRowMarks(r) & (1u << Mark)) {
            if (r < FTopRow || r >= FTopRow + FRowsPerPage) SetTopRow(r - FRowsPerPage / 2);
            SetRow(r);
            return;
        }
}

void TEditor::ClearModifiedRows() {
    for (int r = 0; r < RowCount(); ++r) FStore->SetRowModified(r, false);
    InvalidateAll();
}

// ---- Token queries

bool TEditor::PosToRowCol(int X, int Y, int& ARow, int& ACol, int& Index) const {
    if (RowCount() == 0 || FCharWidth == 0 || X < TextLeft() || Y < TextTop()) return false;
    PointToColRow(X, Y, true, ACol, ARow);
    return CellAt(ARow, ACol, Index);
}

bool TEditor::CellAt(int ARow, int& ACol, int& Index) const {
    if (ARow < 0 || ARow >= RowCount()) return false;
    const std::string cls = ClassString(ARow);
    if (ClassAt(cls, ACol) == '5') --ACol;
    while (ClassAt(cls, ACol) == '3') --ACol;
    Index = StringIndex(ARow, ACol);
    return ACol < static_cast<int>(cls.size());
}

bool TEditor::TokenAt(int ARow, int Index, TEditor* Source, bool KeepState, std::string& Token, int& Kind,
                      int& Start) {
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

bool TEditor::SelectTokenFromPos(int X, int Y) {
    return DoSelectTokenFromPos(X, Y, this, false);
}

// ---- Word movement

std::vector<int> TEditor::WordStarts(int ARow) {
    std::vector<int> starts;
    const std::string s = ExpandedRowString(ARow);
    std::unique_ptr<TColourerParser> parser = ActiveColourerRef().CreateParser();
    parser->NewData(s.c_str(), InitialRowState());
    while (int kind = parser->NextToken())
        if (kind != tkSymbol) starts.push_back(parser->SourcePos());
    return starts;
}

bool TEditor::WordMove(int& ARow, int& ACol, int Direction) {
    const int count = RowCount();
    if (ARow < 0 || ARow > count ||
        (ARow == count && (count == 0 || GetRowAttribute(count - 1) == raEndOfText)))
        return false;
    int row = ARow, col = ACol;
    auto expandedLength = [this](int r) { return static_cast<int>(ExpandedRowString(r).size()); };
    if (Direction < 0) {
        if (col == 0) {
            if (row == 0) return false;
            --row;
            col = expandedLength(row);
            if (GetRowAttribute(row) != raWrapped) {
                ARow = row;
                ACol = col;
                return true;
            }
        }
        const std::vector<int> starts = WordStarts(row);
        auto it = std::lower_bound(starts.begin(), starts.end(), col);
        if (it != starts.begin()) {
            col = *(it - 1);
        } else if (row == 0) {
            col = 0;
        } else {
            --row;
            col = expandedLength(row);
        }
    } else {
        const bool nextExists = row + 1 < count || (row + 1 == count && GetRowAttribute(row) == raLineBreak);
        if (col >= expandedLength(row) && nextExists) {
            ++row;
            col = -1;
        }
        const std::vector<int> starts = WordStarts(row);
        auto it = std::upper_bound(starts.begin(), starts.end(), col);
        if (it != starts.end()) {
            col = *it;
        } else if (GetRowAttribute(row) == raWrapped) {
            ++row;
            col = 0;
        } else {
            col = expandedLength(row);
        }
    }
    const bool changed = row != ARow || col != ACol;
    ARow = row;
    ACol = col;
    return changed;
}

// ---- Dispatch

bool TEditor::FilterDuringDrag(TMessage Msg, TWParam WParam) {
    if (FMouseState == msIdle && !LeftButtonDown()) return true;
    if (Msg == WM_KEYDOWN || Msg == WM_KEYUP) {
        if (FMouseState != msDragging) return false;
        if (Msg == WM_KEYDOWN && WParam == VK_CONTROL) {
            SetCursorState(csrDragCopy);
        } else if (Msg == WM_KEYDOWN && WParam == VK_ESCAPE) {
            CancelDrag(true);
        } else if (Msg == WM_KEYUP && WParam == VK_CONTROL) {
            SetCursorState(csrDragMove);
        } else if (Msg == WM_KEYUP) {
            return false;
        }
        return true;
    }
    if (Msg >= WM_CHAR && Msg <= WM_KEYLAST) return false;
    if (Msg >= WM_LBUTTONDBLCLK && Msg <= WM_MOUSEWHEEL) return false;
    return true;
}

TLResult TEditor::Perform(TMessage Msg, TWParam WParam, TLParam LParam) {
    if (Msg == WM_CHAR) WParam = WholeCharacter(WParam);
    if (MessageHook) MessageHook(Msg, WParam, LParam);
    if (!FilterDuringDrag(Msg, WParam)) return 0;
    auto text = [LParam] { return reinterpret_cast<const char*>(LParam); };
    switch (Msg) {
    case WM_KEYDOWN:
        WMKeyDown(static_cast<int>(WParam), LParam);
        return 0;
    case WM_KEYUP:
        FKeyRepeat = false;
        if (FImePending) MoveImeWindow();
        return 0;
    case WM_CHAR:
    case WM_IME_CHAR:
        WMChar(static_cast<int>(WParam & 0xFFFF));
        return 0;
    case WM_IME_COMPOSITION:
        WMImeComposition(LParam);
        return 0;
    case WM_IME_NOTIFY:
        if (WParam == IMN_OPENCANDIDATE) CaretBeginUpdate();
        if (WParam == IMN_CLOSECANDIDATE) CaretEndUpdate();
        return 0;
    case WM_SETFOCUS:
        RecreateCaret();
        UpdateCaretPos();
        ShowEditorCaret();
        return 0;
    case WM_KILLFOCUS:
        if (FHost) {
            if (FCaretShown) FHost->HideCaret();
            FCaretShown = false;
            FHost->DestroyCaret();
        }
        return 0;
    case WM_SIZE:
        CalcMetrics();
        UpdateScrollBars();
        InvalidateAll();
        return 0;
    case WM_HSCROLL:
        return WMScroll(sbHorizontal, LowWord(static_cast<TLParam>(WParam)),
                        HighWord(static_cast<TLParam>(WParam)));
    case WM_VSCROLL:
        return WMScroll(sbVertical, LowWord(static_cast<TLParam>(WParam)),
                        HighWord(static_cast<TLParam>(WParam)));
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (FWantTabs ? DLGC_WANTTAB : 0) |
               (FWantReturns ? DLGC_WANTALLKEYS : 0);
    case WM_GETTEXT:
        return WMGetText(WParam, reinterpret_cast<char*>(LParam));
    case WM_GETTEXTLENGTH:
        return GetTextLength();
    case WM_SETTEXT:
        if (!FReadOnly) FLines->SetText(text() ? std::string_view(text()) : std::string_view());
        return 0;
    case WM_CUT:
        if (!FReadOnly && IsSelected())
            CutToClipboard();
        else if (FHost)
            FHost->SetClipboardText("", false);
        return 0;
    case WM_COPY:
        if (IsSelected())
            CopyToClipboard();
        else if (FHost)
            FHost->SetClipboardText("", false);
        return 0;
    case WM_PASTE:
        if (!FReadOnly) PasteFromClipboard();
        return 0;
    case WM_CLEAR:
        if (!FReadOnly) DeleteSelection();
        return 0;
    case WM_LBUTTONDOWN:
        WMLButtonDown(WParam, LowWord(LParam), HighWord(LParam));
        return 0;
    case WM_MOUSEMOVE:
        WMMouseMove(WParam, LowWord(LParam), HighWord(LParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        DblClick();
        return 0;
    case WM_LBUTTONUP:
        WMLButtonUp(LowWord(LParam), HighWord(LParam));
        return 0;
    case EM_CANUNDO:
        return !FReadOnly && CanUndo();
    case EM_UNDO:
        if (FReadOnly || !CanUndo()) return 0;
        Undo();
        return 1;
    case EM_EMPTYUNDOBUFFER:
        if (!FReadOnly) FStore->UndoObj().Clear();
        return 0;
    case EM_GETMODIFY:
        return FModified;
    case EM_SETMODIFY:
        if (!FReadOnly) FModified = WParam != 0;
        return 0;
    case EM_SETREADONLY:
        SetReadOnly(WParam != 0);
        return 0;
    case EM_GETFIRSTVISIBLELINE:
        return FTopRow;
    case EM_GETLINECOUNT:
        return RowCount();
    case EM_GETLINE:
        return EMGetLine(static_cast<int>(WParam), reinterpret_cast<char*>(LParam));
    case EM_LINEINDEX:
        return EMLineIndex(static_cast<int>(static_cast<std::intptr_t>(WParam)));
    case EM_LINELENGTH:
        return EMLineLength(static_cast<int>(static_cast<std::intptr_t>(WParam)));
    case EM_LINEFROMCHAR:
        return EMLineFromChar(static_cast<int>(static_cast<std::intptr_t>(WParam)));
    case EM_CHARFROMPOS:
        return EMCharFromPos(LowWord(LParam), HighWord(LParam));
    case EM_POSFROMCHAR:
        return EMPosFromChar(static_cast<int>(WParam));
    case EM_GETSEL: {
        const int start = SelStart(), end = start + SelLength();
        if (WParam) *reinterpret_cast<std::int32_t*>(WParam) = start;
        if (LParam) *reinterpret_cast<std::int32_t*>(LParam) = end;
        return MakeLParam(start, end);
    }
    case EM_SETSEL: {
        const int start = static_cast<int>(static_cast<std::intptr_t>(WParam)),
                  end = static_cast<int>(LParam);
        if (start == 0 && end == -1)
            SelectAll();
        else if (start == -1)
            CancelSelection();
        else {
            SetSelStart(std::min(start, end));
            SetSelLength(std::max(start, end) - std::min(start, end));
        }
        return 0;
    }
    case EM_REPLACESEL:
        if (!FReadOnly) SetSelTextBuf(text() ? std::string_view(text()) : std::string_view());
        return 0;
    case EM_SCROLLCARET:
        EMScrollCaret();
        return 0;
    default:
        return 0;
    }
}

TLResult TEditor::WMGetText(TWParam Size, char* Buffer) const {
    // A buffer without room for the terminating NUL receives nothing.
    if (Size == 0 || !Buffer) return 0;
    const std::string text = FStore->GetRowsText(0, RowCount());
    const std::size_t n = std::min<std::size_t>(Size - 1, text.size());
    std::memcpy(Buffer, text.data(), n);
    Buffer[n] = '\0';
    return static_cast<TLResult>(n);
}

TLResult TEditor::EMGetLine(int ARow, char* Buffer) const {
    if (ARow < 0 || ARow >= RowCount() || !Buffer) return 0;
    std::uint16_t size = 0;
    std::memcpy(&size, Buffer, sizeof size);
    const std::string s = GetRowString(ARow);
    const std::size_t n = std::min<std::size_t>(size, s.size());
    std::memcpy(Buffer, s.data(), n);
    return static_cast<TLResult>(n);
}

TLResult TEditor::EMLineIndex(int ARow) const {
    if (ARow == -1) ARow = FRow;
    const bool afterBreak = ARow == RowCount() && ARow > 0 && GetRowAttribute(ARow - 1) == raLineBreak;
    if (ARow < 0 || (ARow >= RowCount() && !afterBreak)) return -1;
    return RowOffset(ARow);
}

TLResult TEditor::EMLineLength(int Offset) const {
    if (Offset == -1) {
        if (IsSelectedOrHit())
            return static_cast<int>(GetRowString(FSelStr.EndRow).size()) + FSelStr.Start - FSelStr.End - 1;
        return static_cast<int>(GetRowString(FRow).size());
    }
    int row = 0, rest = 0;
    OffsetToRow(Offset, row, rest);
    return static_cast<int>(GetRowString(row).size());
}

TLResult TEditor::EMLineFromChar(int Offset) const {
    if (Offset == -1) return IsSelectedOrHit() ? FSelStr.StartRow : FRow;
    int row = 0, rest = 0;
    OffsetToRow(Offset, row, rest);
    return row;
}

TLResult TEditor::EMCharFromPos(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight()) return -1;
    int col = 0, row = 0;
    PointToColRow(X, Y, true, col, row);
    row = std::clamp(row, 0, RowCount());
    if (row == RowCount() && row > 0 && GetRowAttribute(row - 1) == raEndOfText) --row;
    if (ClassAt(ClassString(row), col) == '5') --col;
    return MakeLParam(RowOffset(row) + StringIndex(row, col), row);
}

TLResult TEditor::EMPosFromChar(int Offset) const {
    int row = 0, rest = 0;
    OffsetToRow(Offset, row, rest);
    const std::string s = GetRowString(row);
    const int col = DisplayWidth(std::string_view(s).substr(
        0, static_cast<std::size_t>(std::clamp(rest, 0, static_cast<int>(s.size())))));
    return MakeLParam(TextLeft() + (col - FTopCol) * FCharWidth, TextTop() + (row - FTopRow) * RowHeight());
}

void TEditor::EMScrollCaret() {
    if (FRow < FTopRow || FRow > FTopRow + FRowsPerPage - 1) SetTopRow(FRow - FRowsPerPage / 3);
    if (FCol < FTopCol || FCol > FTopCol + FColsPerPage - 1) SetTopCol(FCol - FColsPerPage / 3);
}

// ---- Keys

void TEditor::WMKeyDown(int Key, TLParam KeyData) {
    FKeyRepeat = (KeyData & KF_REPEAT_BIT) != 0;
    if (Key == VK_DELETE) {
        DeleteKey();
        return;
    }
    if (Key < VK_PRIOR || Key > VK_DOWN) return;
    const bool shift = ShiftDown(), ctrl = CtrlDown();
    if (IsHitSelected()) CancelSelection();
    if (!shift && FSelState != ssNoSelection) CancelSelection();
    if (shift && FSelState == ssNoSelection) StartSelection();
    const int page =
        (FRowsPerPage - 1) / 2 * (FKeyRepeat ? FSpeed->PageVerticalRangeAc() : FSpeed->PageVerticalRange());
    switch (Key) {
    case VK_PRIOR:
        PageScroll(-page);
        break;
    case VK_NEXT:
        PageScroll(page);
        break;
    case VK_END:
        if (ctrl) SetRow(RowCount());
        SetCol(FRow < RowCount() ? RowDisplayLength(FRow) : 0);
        break;
    case VK_HOME:
        if (ctrl)
            SetRowCol(0, 0);
        else
            SetCol(0);
        break;
    case VK_LEFT:
        KeyLeft(ctrl);
        break;
    case VK_UP:
        KeyUp(ctrl);
        break;
    case VK_RIGHT:
        KeyRight(ctrl);
        break;
    case VK_DOWN:
        KeyDown(ctrl);
        break;
    default:
        break;
    }
    if (shift) ExtendSelection();
}

void TEditor::PageScroll(int Delta) {
    if (FTopRow == 0 && Delta < 0) {
        SetRow(0);
        return;
    }
    if (GetRowAttribute(FTopRow) == raEndOfText && Delta > 0) return;
    const int distance = FRow - FTopRow;
    CaretBeginUpdate();
    SetTopRow(std::max(0, std::min(FTopRow + Delta, RowCount())));
    SetRow(FTopRow + distance);
    CaretEndUpdate();
}

void TEditor::MoveByWord(int Direction) {
    int row = FRow, col = FCol;
    if (WordMove(row, col, Direction)) SetRowCol(row, col);
}

void TEditor::KeyLeft(bool Ctrl) {
    if (Ctrl) {
        MoveByWord(-1);
    } else if (FCol > 0) {
        SetCol(FCol - 1);
    } else if (FRow > 0 && (FCaret->NextLine() || GetRowAttribute(FRow - 1) == raWrapped)) {
        CaretBeginUpdate();
        SetRowCol(FRow - 1, RowDisplayLength(FRow - 1));
        CaretEndUpdate();
    }
}

void TEditor::KeyRight(bool Ctrl) {
    if (Ctrl) {
        MoveByWord(1);
        return;
    }
    const int col = FCol;
    SetCol(FCol + 1);
    const int attr = GetRowAttribute(FRow);
    if (FCol == col && FRow < RowCount() && attr != raEndOfText &&
        (FCaret->NextLine() || attr == raWrapped)) {
        CaretBeginUpdate();
        SetRowCol(FRow + 1, 0);
        CaretEndUpdate();
    }
}

void TEditor::KeyUp(bool Ctrl) {
    if (FRow <= 0) return;
    const int step = FKeyRepeat && FRow == FTopRow ? FSpeed->CaretVerticalAc() : 1;
    if (!Ctrl) {
        SetRow(FRow - step);
        return;
    }
    SetTopRow(FTopRow - step);
    if (FRow >= FTopRow + FRowsPerPage) SetRow(FRow - step);
}

void TEditor::KeyDown(bool Ctrl) {
    const int step = FKeyRepeat && FRow == FTopRow + FRowsPerPage - 1 ? FSpeed->CaretVerticalAc() : 1;
    if (!Ctrl) {
        if (GetRowAttribute(FRow) != raEndOfText) SetRow(FRow + step);
        return;
    }
    SetTopRow(FTopRow + step);
    if (FRow < FTopRow) SetRow(FRow + step);
}

void TEditor::DeleteKey() {
    if (FReadOnly) return;
    if (IsSelected()) {
        DeleteSelection();
        return;
    }
    if (IsHitSelected()) CancelSelection();
    if (FRow < 0 || FRow >= RowCount()) return;
    const std::string t = GetRowString(FRow);
    const int ref = ReferenceRow(FRow);
    const int i = CaretStringIndex(FRow, FCol);
    if (i >= static_cast<int>(t.size())) {
        if (GetRowAttribute(FRow) == raEndOfText) return;
        std::string text = t + Blanks(i - static_cast<int>(t.size()));
        int end = FRow;
        if (FRow + 1 < RowCount()) {
            end = FRow + 1;
            text += RowText(end);
        }
        ReplaceRows(FRow, end, text, ref, LineOffset(ref, FRow, FCol));
        return;
    }
    const std::string cls = ClassString(FRow);
    int col = FCol;
    while (ClassAt(cls, col) == '3') --col;
    const int index = CaretStringIndex(FRow, col);
    std::string text = t;
    text.erase(static_cast<std::size_t>(index), ClassAt(cls, col) == '4' ? 2 : 1);
    FStore->AddLineBreak(FRow, text);
    ReplaceRows(FRow, FRow, text, ref, LineOffset(ref, FRow, col));
}

void TEditor::BackSpace() {
    if (FReadOnly) return;
    if (IsSelected()) {
        DeleteSelection();
        return;
    }
    if (RowCount() == 0) {
        SetCol(FCol - 1);
        return;
    }
    if (IsHitSelected()) CancelSelection();
    const std::string t = GetRowString(FRow);
    const int i = CaretStringIndex(FRow, FCol);
    if (i < 1) {
        if (FRow == 0) return;
        const int prev = FRow - 1;
        std::string kept = GetRowString(prev);
        if (GetRowAttribute(prev) == raWrapped) {
            std::size_t last = 0; // start of the last character
            for (std::size_t k = 0; k < kept.size(); k += IsLeadByte(kept[k]) && k + 1 < kept.size() ? 2 : 1)
                last = k;
            kept.resize(last);
        }
        const int ref = ReferenceRow(prev);
        const int offset = RowsStep(ref, prev) + static_cast<int>(kept.size());
        std::string text = kept;
        int end = prev;
        if (FRow < RowCount()) {
            text += RowText(FRow);
            end = FRow;
        }
        ReplaceRows(prev, end, text, ref, offset);
        return;
    }
    bool blanksOnly = std::all_of(t.begin(), t.end(), [](char c) { return c == ' ' || c == '\t'; });
    if (FCaret->BackSpaceUnIndent() && (t.empty() || blanksOnly || FCol == IndentOf(t))) {
        UnIndent();
        return;
    }
    if (i > static_cast<int>(t.size())) {
        SetCol(FCol - 1);
        return;
    }
    const std::string cls = ClassString(FRow);
    int col = FCol - 1;
    int bytes = 1;
    if (ClassAt(cls, col) == '5') {
        --col;
        bytes = 2;
    }
    while (ClassAt(cls, col) == '3') --col;
    const int ref = ReferenceRow(FRow);
    std::string text = t;
    const int index = CaretStringIndex(FRow, col);
    text.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(bytes));
    FStore->AddLineBreak(FRow, text);
    ReplaceRows(FRow, FRow, text, ref, LineOffset(ref, FRow, col));
}

void TEditor::UnIndent() {
    const int lineStart = FStore->LogicalLineStart(FRow);
    int r = FRow - 1;
    int indent = -1;
    for (;; --r) {
        indent = IndentOf(GetRowString(r));
        if (r <= 0) break;
        if (r >= lineStart ? indent > 0 && indent < FCol : indent < FCol) break;
    }
    const int target = indent >= 0 && indent < FCol ? indent : 0;
    const std::string t = GetRowString(FRow);
    if (DisplayWidth(t) <= target) {
        SetCol(target);
        return;
    }
    const std::string cls = ClassString(FRow);
    std::string prefix;
    if (ClassAt(cls, target) == '5') {
        prefix = t.substr(0, static_cast<std::size_t>(CaretStringIndex(FRow, target - 1))) + " ";
    } else if (ClassAt(cls, target) == '3') {
        int tab = target;
        while (ClassAt(cls, tab) == '3') --tab;
        prefix = t.substr(0, static_cast<std::size_t>(CaretStringIndex(FRow, tab))) + Blanks(target - tab);
    } else {
        prefix = t.substr(0, static_cast<std::size_t>(
                                 std::min<int>(CaretStringIndex(FRow, target), static_cast<int>(t.size()))));
    }
    int fill = 0;
    std::size_t restFrom =
        static_cast<std::size_t>(std::min<int>(CaretStringIndex(FRow, FCol), static_cast<int>(t.size())));
    if (ClassAt(cls, FCol) == '3') {
        int end = FCol;
        while (ClassAt(cls, end) == '3') ++end;
        fill = end - FCol;
        restFrom = static_cast<std::size_t>(CaretStringIndex(FRow, FCol)) + 1;
    }
    std::string text = prefix + Blanks(fill) + t.substr(std::min(restFrom, t.size()));
    FStore->AddLineBreak(FRow, text);
    const int ref = ReferenceRow(FRow);
    ReplaceRows(FRow, FRow, text, ref, RowsStep(ref, FRow) + static_cast<int>(prefix.size()));
}

void TEditor::TabKey() {
    if (ShiftDown() || CtrlDown() || FReadOnly || !FWantTabs) return;
    const int tabs = FCaret->TabSpaceCount();
    int fill = tabs - FCol % tabs;
    if (FStore->WordWrap()) {
        const int wrap = FStore->WrapOption().WrapByte();
        fill = std::min(fill, wrap - FCol % wrap);
    }
    if (FOverWrite)
        SetCol(FCol + fill);
    else
        TypeText(FCaret->SoftTab() ? Blanks(fill) : std::string("\t"));
}

std::string TEditor::IndentText(int Indent) const {
    if (!FCaret->TabIndent()) return Blanks(Indent);
    const int tabs = FCaret->TabSpaceCount();
    return std::string(static_cast<std::size_t>(Indent / tabs), '\t') + Blanks(Indent % tabs);
}

int TEditor::ReturnIndent() const {
    if (!FCaret->AutoIndent()) return 0;
    const int first = FStore->LogicalLineStart(FRow);
    const int indent = IndentOf(GetRowString(first));
    // An empty line takes the indent of the line above it; the caret column limits only the line's
    // own indent (a caret inside the leading blanks).
    if (indent < 1 && FCaret->PrevSpaceIndent() && FRow == first && GetRowString(FRow).empty())
        return PrevLineIndent(FRow);
    if (FRow == first && FCol < indent) return FCol;
    return std::max(0, indent);
}

void TEditor::ReturnKey(bool Shift) {
    if (FReadOnly) return;
    if (IsSelected()) {
        if (Shift) return;
        DeleteSelection();
    }
    if (IsHitSelected()) CancelSelection();
    if (FRow >= RowCount()) {
        const int row = FRow;
        CaretBeginUpdate();
        FStore->UpdateRows(RowCount(), 0, "\r\n");
        SetRowCol(row + 1, 0);
        CaretEndUpdate();
        return;
    }
    if (FOverWrite) {
        SetRowCol(FRow + 1, 0);
        return;
    }
    const std::string indent = IndentText(ReturnIndent());
    if (Shift) {
        const int first = FStore->LogicalLineStart(FRow);
        const int ref = ReferenceRow(first);
        ReplaceRows(first, first - 1, indent + "\r\n", ref,
                    RowsStep(ref, first) + static_cast<int>(indent.size()));
        return;
    }
    const std::string t = GetRowString(FRow);
    const std::size_t i = static_cast<std::size_t>(StringIndex(FRow, FCol));
    std::string text = t.substr(0, i) + "\r\n" + indent + t.substr(i);
    FStore->AddLineBreak(FRow, text);
    const int ref = ReferenceRow(FRow);
    ReplaceRows(FRow, FRow, text, ref, RowsStep(ref, FRow) + static_cast<int>(i + 2 + indent.size()));
}

void TEditor::WMChar(int Key) {
    switch (Key) {
    case VK_BACK:
        BackSpace();
        return;
    case VK_TAB:
        TabKey();
        return;
    case VK_RETURN:
        ReturnKey(ShiftDown());
        return;
    default:
        break;
    }
    if (Key > 0xFF) {
        const int lead = Key >> 8, trail = Key & 0xFF;
        if (!IsLeadByte(static_cast<char>(lead)) || trail < 0x40) return;
        if (FImeSkip >= 1) {
            FImeSkip = std::max(0, FImeSkip - 2);
        } else if (!FReadOnly) {
            if (FImePending) MoveImeWindow();
            TypeText(std::string{static_cast<char>(lead), static_cast<char>(trail)});
        }
        return;
    }
    if (IsLeadByte(static_cast<char>(Key))) return; // its trail byte did not follow
    if ((Key >= 0x20 && Key <= 0x7E) || Key >= 0xA0) {
        if (FImeSkip >= 1) {
            --FImeSkip;
        } else if (!FReadOnly) {
            if (FImePending) MoveImeWindow();
            TypeText(std::string(1, static_cast<char>(Key)));
        }
    }
}

TWParam TEditor::WholeCharacter(TWParam Key) {
    if (Key > 0xFF || !IsLeadByte(static_cast<char>(Key))) return Key;
    const int trail = FHost ? FHost->TakeTrailByte() : -1;
    return trail < 0x40 || trail > 0xFF ? Key : Key * 256 + static_cast<TWParam>(trail);
}

void TEditor::WMImeComposition(TLParam Flags) {
    if (!(Flags & GCS_RESULTSTR) || FReadOnly || !FHost) return;
    const std::string s = FHost->CompositionResult();
    FImeSkip = static_cast<int>(s.size());
    TypeText(s);
}

} // namespace quillon
