#include "EditorOptions.h"

#include <algorithm>

namespace quillon {
namespace {

const std::vector<std::string> kDragModes = {"dmManual", "dmAutomatic"};
const std::vector<std::string> kCaretStyles = {"csDefault", "csBrief"};
const std::vector<std::string> kShowNumberModes = {"nmRow", "nmLine"};

int Percent(int Value) { return std::clamp(Value, 0, 100); }
// Clamped to lo..hi and lowered to an even number.
int EvenIn(int Value, int lo, int hi) { return std::clamp(Value, lo, hi) & ~1; }

} // namespace

// ---- TEditorCursors

const TClassInfo& TEditorCursors::StaticClassInfo() {
    using C = TEditorCursors;
    static const TClassInfo info{"TEditorCursors",
                                 &TNotifyPersistent::StaticClassInfo(),
                                 {IntProp("DefaultCursor", &C::DefaultCursor, &C::SetDefaultCursor),
                                  IntProp("DragSelCursor", &C::DragSelCursor, &C::SetDragSelCursor),
                                  IntProp("DragSelCopyCursor", &C::DragSelCopyCursor, &C::SetDragSelCopyCursor),
                                  IntProp("InSelCursor", &C::InSelCursor, &C::SetInSelCursor),
                                  IntProp("LeftMarginCursor", &C::LeftMarginCursor, &C::SetLeftMarginCursor),
                                  IntProp("TopMarginCursor", &C::TopMarginCursor, &C::SetTopMarginCursor)}};
    return info;
}

void TEditorCursors::Assign(const TPersistent& Source) {
    if (!AssignAll(*this, Source)) TNotifyPersistent::Assign(Source);
}

// ---- TEditorCaret

const TClassInfo& TEditorCaret::StaticClassInfo() {
    using C = TEditorCaret;
    static const TClassInfo info{
        "TEditorCaret",
        &TNotifyPersistent::StaticClassInfo(),
        {BoolProp("AutoCursor", &C::AutoCursor, &C::SetAutoCursor),
         BoolProp("AutoIndent", &C::AutoIndent, &C::SetAutoIndent),
         BoolProp("BackSpaceUnIndent", &C::BackSpaceUnIndent, &C::SetBackSpaceUnIndent),
         ObjProp("Cursors", &C::Cursors), BoolProp("FreeCaret", &C::FreeCaret, &C::SetFreeCaret),
         BoolProp("FreeRow", &C::FreeRow, &C::SetFreeRow), BoolProp("InTab", &C::InTab, &C::SetInTab),
         BoolProp("KeepCaret", &C::KeepCaret, &C::SetKeepCaret),
         BoolProp("LockScroll", &C::LockScroll, &C::SetLockScroll), BoolProp("NextLine", &C::NextLine, &C::SetNextLine),
         BoolProp("PrevSpaceIndent", &C::PrevSpaceIndent, &C::SetPrevSpaceIndent),
         BoolProp("RowSelect", &C::RowSelect, &C::SetRowSelect),
         EnumProp("SelDragMode", &C::SelDragMode, &C::SetSelDragMode, kDragModes),
         BoolProp("SelMove", &C::SelMove, &C::SetSelMove), BoolProp("SoftTab", &C::SoftTab, &C::SetSoftTab),
         EnumProp("Style", &C::Style, &C::SetStyle, kCaretStyles),
         BoolProp("TabIndent", &C::TabIndent, &C::SetTabIndent),
         IntProp("TabSpaceCount", &C::TabSpaceCount, &C::SetTabSpaceCount)}};
    return info;
}

TEditorCaret::TEditorCaret() : FCursors(std::make_unique<TEditorCursors>()) {}

void TEditorCaret::SetTabSpaceCount(int Value) { Store(FTabSpaceCount, EvenIn(Value, 2, 8)); }

void TEditorCaret::Assign(const TPersistent& Source) {
    if (!AssignAll(*this, Source)) TNotifyPersistent::Assign(Source);
}

// ---- TEditorMargin

const TClassInfo& TEditorMargin::StaticClassInfo() {
    using C = TEditorMargin;
    static const TClassInfo info{"TEditorMargin",
                                 &TNotifyPersistent::StaticClassInfo(),
                                 {IntProp("Character", &C::Character, &C::SetCharacter),
                                  IntProp("Left", &C::Left, &C::SetLeft), IntProp("Line", &C::Line, &C::SetLine),
                                  IntProp("Top", &C::Top, &C::SetTop)}};
    return info;
}

void TEditorMargin::SetCharacter(int Value) { Store(FCharacter, Percent(Value)); }
void TEditorMargin::SetLeft(int Value) { Store(FLeft, Percent(Value)); }
void TEditorMargin::SetLine(int Value) { Store(FLine, Percent(Value)); }
void TEditorMargin::SetTop(int Value) { Store(FTop, Percent(Value)); }
void TEditorMargin::SetUnderlineSpace(int Value) { Store(FUnderlineSpace, Percent(Value)); }

void TEditorMargin::Assign(const TPersistent& Source) {
    auto* source = dynamic_cast<const TEditorMargin*>(&Source);
    if (!source) return TNotifyPersistent::Assign(Source);
    BeginUpdate();
    CopyProperties(*this, *source, StaticClassInfo());
    SetUnderlineSpace(source->UnderlineSpace());
    EndUpdate();
}

// ---- TEditorMark, TEditorMarks

const TClassInfo& TEditorMark::StaticClassInfo() {
    using C = TEditorMark;
    static const TClassInfo info{
        "TEditorMark",
        &TNotifyPersistent::StaticClassInfo(),
        {ColorProp("Color", &C::Color, &C::SetColor), BoolProp("Visible", &C::Visible, &C::SetVisible)}};
    return info;
}

void TEditorMark::Assign(const TPersistent& Source) {
    if (!AssignAll(*this, Source)) TNotifyPersistent::Assign(Source);
}

const TClassInfo& TEditorMarks::StaticClassInfo() {
    using C = TEditorMarks;
    static const TClassInfo info{"TEditorMarks",
                                 &TNotifyPersistent::StaticClassInfo(),
                                 {ObjProp("EofMark", &C::EofMark), ObjProp("RetMark", &C::RetMark),
                                  ObjProp("WrapMark", &C::WrapMark), ObjProp("HideMark", &C::HideMark),
                                  ObjProp("Underline", &C::Underline)}};
    return info;
}

TEditorMarks::TEditorMarks()
    : FEofMark(NewMark()), FRetMark(NewMark()), FWrapMark(NewMark()), FHideMark(NewMark()), FUnderline(NewMark()) {}

std::unique_ptr<TEditorMark> TEditorMarks::NewMark() {
    auto mark = std::make_unique<TEditorMark>();
    mark->OnChange = ChangedHandler();
    return mark;
}

void TEditorMarks::Assign(const TPersistent& Source) {
    if (!AssignAll(*this, Source)) TNotifyPersistent::Assign(Source);
}

// ---- TEditorViewInfo

const TClassInfo& TEditorViewInfo::StaticClassInfo() {
    using C = TEditorViewInfo;
    static const TClassInfo info{
        "TEditorViewInfo",
        &TNotifyPersistent::StaticClassInfo(),
        {ObjProp("Brackets", &C::Brackets), ObjProp("Colors", &C::Colors),
         StrProp("Commenter", &C::Commenter, &C::SetCommenter),
         BoolProp("ControlCode", &C::ControlCode, &C::SetControlCode),
         StrProp("HexPrefix", &C::HexPrefix, &C::SetHexPrefix), BoolProp("Mail", &C::Mail, &C::SetMail),
         StrProp("Quotation", &C::Quotation, &C::SetQuotation), BoolProp("Url", &C::Url, &C::SetUrl)}};
    return info;
}

TEditorViewInfo::TEditorViewInfo(TPersistent* Owner)
    : FOwner(Owner), FColourer(std::make_unique<TEditorColourer>(nullptr)) {
    FColourer->NotifyEventList().Add(
        MakeMethod<&TNotifyPersistent::ChangedProc>(static_cast<TNotifyPersistent*>(this)));
}

TEditorViewInfo::~TEditorViewInfo() = default;

template <class T, class S> void TEditorViewInfo::StoreInColourer(const T& Current, const T& Value, S Set) {
    if (Current == Value) return;
    ((*FColourer).*Set)(Value);
    Changed();
}

void TEditorViewInfo::SetCommenter(const std::string& Value) {
    StoreInColourer(Commenter(), Value, &TEditorColourer::SetCommenter);
}
void TEditorViewInfo::SetControlCode(bool Value) {
    StoreInColourer(ControlCode(), Value, &TEditorColourer::SetControlCode);
}
void TEditorViewInfo::SetHexPrefix(const std::string& Value) {
    StoreInColourer(HexPrefix(), Value, &TEditorColourer::SetHexPrefix);
}
void TEditorViewInfo::SetMail(bool Value) { StoreInColourer(Mail(), Value, &TEditorColourer::SetMail); }
void TEditorViewInfo::SetUrl(bool Value) { StoreInColourer(Url(), Value, &TEditorColourer::SetUrl); }

void TEditorViewInfo::SetQuotation(const std::string& Value) {
    if (std::optional<std::string> quotation = QuotationOf(Value))
        StoreInColourer(Quotation(), *quotation, &TEditorColourer::SetQuotation);
}

void TEditorViewInfo::Assign(const TPersistent& Source) {
    if (!AssignAll(*this, Source)) TNotifyPersistent::Assign(Source);
}

// ---- TEditorRuler

const TClassInfo& TEditorRuler::StaticClassInfo() {
    using C = TEditorRuler;
    static const TClassInfo info{
        "TEditorRuler",
        &TNotifyPersistent::StaticClassInfo(),
        {ColorProp("BkColor", &C::BkColor, &C::SetBkColor), ColorProp("Color", &C::Color, &C::SetColor),
         BoolProp("Edge", &C::Edge, &C::SetEdge), IntProp("GaugeRange", &C::GaugeRange, &C::SetGaugeRange),
         ColorProp("MarkColor", &C::MarkColor, &C::SetMarkColor), BoolProp("Visible", &C::Visible, &C::SetVisible)}};
    return info;
}

void TEditorRuler::SetGaugeRange(int Value) { Store(FGaugeRange, EvenIn(Value, 8, 10)); }

void TEditorRuler::Assign(const TPersistent& Source) {
    if (!AssignAll(*this, Source)) TNotifyPersistent::Assign(Source);
}

// ---- TEditorLeftbar

const TClassInfo& TEditorLeftbar::StaticClassInfo() {
    using C = TEditorLeftbar;
    static const TClassInfo info{
        "TEditorLeftbar",
        &TNotifyPersistent::StaticClassInfo(),
        {ColorProp("BkColor", &C::BkColor, &C::SetBkColor), ColorProp("Color", &C::Color, &C::SetColor),
         IntProp("Column", &C::Column, &C::SetColumn), BoolProp("Edge", &C::Edge, &C::SetEdge),
         IntProp("LeftMargin", &C::LeftMargin, &C::SetLeftMargin),
         ColorProp("ModifiedBkColor", &C::ModifiedBkColor, &C::SetModifiedBkColor),
         ColorProp("ModifiedColor", &C::ModifiedColor, &C::SetModifiedColor),
         IntProp("RightMargin", &C::RightMargin, &C::SetRightMargin),
         BoolProp("ShowNumber", &C::ShowNumber, &C::SetShowNumber),
         EnumProp("ShowNumberMode", &C::ShowNumberMode, &C::SetShowNumberMode, kShowNumberModes),
         BoolProp("Visible", &C::Visible, &C::SetVisible), BoolProp("ZeroBase", &C::ZeroBase, &C::SetZeroBase),
         BoolProp("ZeroLead", &C::ZeroLead, &C::SetZeroLead)}};
    return info;
}

void TEditorLeftbar::SetColumn(int Value) { Store(FColumn, std::clamp(Value, 1, 8)); }
void TEditorLeftbar::SetLeftMargin(int Value) { Store(FLeftMargin, Percent(Value)); }
void TEditorLeftbar::SetRightMargin(int Value) { Store(FRightMargin, Percent(Value)); }

void TEditorLeftbar::Assign(const TPersistent& Source) {
    if (!AssignAll(*this, Source)) TNotifyPersistent::Assign(Source);
}

// ---- TEditorImagebar

const TClassInfo& TEditorImagebar::StaticClassInfo() {
    using C = TEditorImagebar;
    static const TClassInfo info{"TEditorImagebar",
                                 &TNotifyPersistent::StaticClassInfo(),
                                 {IntProp("DigitWidth", &C::DigitWidth, &C::SetDigitWidth),
                                  IntProp("LeftMargin", &C::LeftMargin, &C::SetLeftMargin),
                                  IntProp("MarkWidth", &C::MarkWidth, &C::SetMarkWidth),
                                  IntProp("RightMargin", &C::RightMargin, &C::SetRightMargin),
                                  BoolProp("Visible", &C::Visible, &C::SetVisible)}};
    return info;
}

void TEditorImagebar::SetDigitWidth(int Value) { Store(FDigitWidth, Percent(Value)); }
void TEditorImagebar::SetLeftMargin(int Value) { Store(FLeftMargin, Percent(Value)); }
void TEditorImagebar::SetMarkWidth(int Value) { Store(FMarkWidth, Percent(Value)); }
void TEditorImagebar::SetRightMargin(int Value) { Store(FRightMargin, Percent(Value)); }

void TEditorImagebar::Assign(const TPersistent& Source) {
    if (!AssignAll(*this, Source)) TNotifyPersistent::Assign(Source);
}

// ---- TEditorSpeed

const TClassInfo& TEditorSpeed::StaticClassInfo() {
    using C = TEditorSpeed;
    static const TClassInfo info{"TEditorSpeed",
                                 &TPersistent::StaticClassInfo(),
                                 {IntProp("CaretVerticalAc", &C::CaretVerticalAc, &C::SetCaretVerticalAc),
                                  BoolProp("InitBracketsFull", &C::InitBracketsFull, &C::SetInitBracketsFull),
                                  IntProp("PageVerticalRange", &C::PageVerticalRange, &C::SetPageVerticalRange),
                                  IntProp("PageVerticalRangeAc", &C::PageVerticalRangeAc, &C::SetPageVerticalRangeAc)}};
    return info;
}

void TEditorSpeed::SetCaretVerticalAc(int Value) { FCaretVerticalAc = std::clamp(Value, 1, 4); }
void TEditorSpeed::SetPageVerticalRange(int Value) { FPageVerticalRange = std::clamp(Value, 1, 4); }
void TEditorSpeed::SetPageVerticalRangeAc(int Value) { FPageVerticalRangeAc = std::clamp(Value, 1, 4); }

void TEditorSpeed::Assign(const TPersistent& Source) {
    auto* source = dynamic_cast<const TEditorSpeed*>(&Source);
    if (!source) return TPersistent::Assign(Source);
    CopyProperties(*this, *source, StaticClassInfo());
}

} // namespace quillon
