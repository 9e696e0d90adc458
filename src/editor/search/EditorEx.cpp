#include "EditorEx.h"

#include "AnsiCase.h"

namespace quillon {

// ---- TEditorExMarks

const TClassInfo& TEditorExMarks::StaticClassInfo() {
    using C = TEditorExMarks;
    static const TClassInfo info{"TEditorExMarks",
                                 &TNotifyPersistent::StaticClassInfo(),
                                 {ObjProp("DBSpaceMark", &C::DBSpaceMark), ObjProp("SpaceMark", &C::SpaceMark),
                                  ObjProp("TabMark", &C::TabMark), ObjProp("FindMark", &C::FindMark)}};
    return info;
}

TEditorExMarks::TEditorExMarks()
    : FDBSpaceMark(NewMark()), FSpaceMark(NewMark()), FTabMark(NewMark()), FFindMark(NewMark()) {}

std::unique_ptr<TEditorMark> TEditorExMarks::NewMark() {
    auto mark = std::make_unique<TEditorMark>();
    mark->OnChange = ChangedHandler();
    return mark;
}

void TEditorExMarks::Assign(const TPersistent& Source) {
    if (!AssignAll(*this, Source)) TNotifyPersistent::Assign(Source);
}

// ---- TEditorEx

TEditorEx::TEditorEx(TComponent* Owner) : TOleDndEditor(Owner), FFinder(std::make_unique<TLineRegExpEx>()) {
    FExMarks = CreateExMarks();
    FExMarks->OnChange = [this](TPersistent* Sender) { OptionsChanged(Sender); };
    Caret().SetSelDragMode(dmManual);
}

TEditorEx::~TEditorEx() = default;

std::unique_ptr<TEditorExMarks> TEditorEx::CreateExMarks() { return std::make_unique<TEditorExMarks>(); }

void TEditorEx::RepaintFindMarks() {
    if (FExMarks->FindMark().Visible()) Refresh();
}

void TEditorEx::SetFindString(const std::string& Value) {
    if (Value == FFindString) return;
    FFindString = Value;
    RepaintFindMarks();
}

void TEditorEx::SetSearchOptions(std::uint8_t Value) {
    if (Value == FSearchOptions) return;
    std::uint8_t options = Value & sfoWholeWord;
    if (Value & sfoRegExp) {
        options = Value & sfoFuzzy ? sfoRegExp | sfoFuzzy : sfoRegExp;
        FFinder->SetUseFuzzyCharDic((Value & sfoFuzzy) != 0);
    }
    FSearchOptions = static_cast<std::uint8_t>(options | (Value & sfoMatchCase));
    RepaintFindMarks();
}

int TEditorEx::FirstRowOfLine(int Row) const {
    if (Row >= RowCount()) return Row;
    while (Row > 0 && GetRowAttribute(Row - 1) == raWrapped) --Row;
    return Row;
}

int TEditorEx::LastRowOfLine(int Row) const {
    while (Row < RowCount() - 1 && GetRowAttribute(Row) == raWrapped) ++Row;
    return Row;
}

std::string TEditorEx::LogicalLineText(int Row) const {
    std::string line;
    LogicalLineText(Row, line);
    return line;
}

void TEditorEx::LogicalLineText(int Row, std::string& Line) const {
    Line.clear();
    if (Row < 0 || Row >= RowCount()) return;
    for (int r = FirstRowOfLine(Row), last = LastRowOfLine(Row); r <= last; ++r) Line += RowView(r);
}

// ---- Mouse and drops

void TEditorEx::DblClick() {
    TEditor::DblClick();
    SelectTokenFromCaret();
}

void TEditorEx::DoDropFiles(const std::vector<std::string>& Files, int KeyState, TPoint Point) {
    FDroppedFiles = Files;
    TOleDndEditor::DoDropFiles(Files, KeyState, Point);
}

} // namespace quillon
