#include "EditorWrap.h"

#include "Cp932.h"
#include "EditorUtils.h"

#include <algorithm>

namespace quillon {

// TEditorWrapOption

const TClassInfo& TEditorWrapOption::StaticClassInfo() {
    using T = TEditorWrapOption;
    static const TClassInfo info{
        "TEditorWrapOption",
        &TNotifyPersistent::StaticClassInfo(),
        {BoolProp("FollowRetMark", &T::FollowRetMark, &T::SetFollowRetMark),
         BoolProp("FollowPunctuation", &T::FollowPunctuation, &T::SetFollowPunctuation),
         StrProp("FollowStr", &T::FollowStr, &T::SetFollowStr), BoolProp("Leading", &T::Leading, &T::SetLeading),
         StrProp("LeadStr", &T::LeadStr, &T::SetLeadStr),
         StrProp("PunctuationStr", &T::PunctuationStr, &T::SetPunctuationStr),
         BoolProp("WordBreak", &T::WordBreak, &T::SetWordBreak), IntProp("WrapByte", &T::WrapByte, &T::SetWrapByte)}};
    return info;
}

template <class T> void TEditorWrapOption::Store(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
}

void TEditorWrapOption::SetFollowRetMark(bool Value) { Store(FFollowRetMark, Value); }
void TEditorWrapOption::SetFollowPunctuation(bool Value) { Store(FFollowPunctuation, Value); }
void TEditorWrapOption::SetFollowStr(const std::string& Value) { Store(FFollowStr, Value); }
void TEditorWrapOption::SetLeading(bool Value) { Store(FLeading, Value); }
void TEditorWrapOption::SetLeadStr(const std::string& Value) { Store(FLeadStr, Value); }
void TEditorWrapOption::SetPunctuationStr(const std::string& Value) { Store(FPunctuationStr, Value); }
void TEditorWrapOption::SetWordBreak(bool Value) { Store(FWordBreak, Value); }
void TEditorWrapOption::SetWrapByte(int Value) { Store(FWrapByte, std::clamp(Value, 20, 250)); }

void TEditorWrapOption::Assign(const TPersistent& Source) {
    auto* src = dynamic_cast<const TEditorWrapOption*>(&Source);
    if (!src) {
        TNotifyPersistent::Assign(Source);
        return;
    }
    FFollowRetMark = src->FFollowRetMark;
    FFollowPunctuation = src->FFollowPunctuation;
    FFollowStr = src->FFollowStr;
    FLeading = src->FLeading;
    FLeadStr = src->FLeadStr;
    FPunctuationStr = src->FPunctuationStr;
    FWordBreak = src->FWordBreak;
    FWrapByte = src->FWrapByte;
    Changed();
}

// TEditorAttributeArray

void TEditorAttributeArray::Reset(std::string_view Text, std::string Attrs) {
    FText = Text;
    FAttrs = std::move(Attrs);
    Start();
}

void TEditorAttributeArray::Reset(std::string_view Text, const TColumnLayout& Layout) {
    FText = Text;
    ClassString(Text, Layout, FAttrs);
    Start();
}

void TEditorAttributeArray::Start() {
    FAttrs += ccNone;
    FIndex = 0;
    FPos = 0;
    FAttr = '\0';
    Next();
}

void TEditorAttributeArray::Next() {
    if (FAttr == ccNone) return;
    FAttr = ClassAt(++FIndex);
    if (FAttr != ccTabFill) ++FPos;
}

void TEditorAttributeArray::Prev() {
    if (FIndex <= 1) return;
    if (FAttr != ccTabFill) --FPos;
    FAttr = ClassAt(--FIndex);
}

void TEditorAttributeArray::MoveTo(int N) {
    if (FAttr != ccNone && FIndex < N) {
        // Forward in one step, as Next would go: Pos counts every column that is not a tab's fill.
        const int to = std::min(N, Count() + 1);
        const int fills = static_cast<int>(std::count(FAttrs.begin() + FIndex, FAttrs.begin() + to, ccTabFill));
        FPos += to - FIndex - fills;
        FIndex = to;
        FAttr = ClassAt(to);
    }
    while (FIndex >= 2 && FIndex > N) Prev();
}

std::string_view TEditorAttributeArray::CharOf(char Cls, int Pos) const {
    switch (Cls) {
    case ccNone: return {};
    case ccDoubleFirst: return FText.substr(static_cast<std::size_t>(Pos - 1), 2);
    case ccDoubleSecond: return FText.substr(static_cast<std::size_t>(Pos - 2), 2);
    default: return FText.substr(static_cast<std::size_t>(Pos - 1), 1);
    }
}

std::string_view TEditorAttributeArray::NextChar() const {
    if (FAttr == ccNone) return {};
    char cls = ClassAt(FIndex + 1);
    return CharOf(cls, cls == ccTabFill ? FPos : FPos + 1);
}

// Line cutting

namespace {

bool InSet(std::string_view Ch, const std::string& Set) { return CharInStr(Ch, Set); }

// The bytes of the line after the cursor's character. The layout covers only W + 3 columns of a
// longer line, so the line may go on past its last column.
std::string_view TextAfter(const TEditorAttributeArray& a) {
    return a.Text().substr(std::min(static_cast<std::size_t>(a.Pos()), a.Text().size()));
}

// The character after the cursor's, also past the laid-out columns.
std::string_view CharAfter(const TEditorAttributeArray& a) {
    if (a.Index() < a.Count()) return a.NextChar();
    const std::string_view rest = TextAfter(a);
    return rest.substr(0, !rest.empty() && IsLeadByte(rest[0]) ? 2 : 1);
}

// Moves the cursor from the margin W to the column after which the row is cut.
void FindCut(TEditorAttributeArray& a, const TEditorWrapOption& o, int W) {
    // One whole character back: over a double-byte character, and over a tab's fill columns, which
    // all name the tab's byte (stepping over one of them alone would not move the cut).
    auto prevWhole = [&a] {
        const int pos = a.Pos();
        do a.Prev();
        while (a.Pos() == pos && a.Index() > 1);
        if (a.Attr() == ccDoubleFirst) a.Prev();
    };
    auto nextWhole = [&a] {
        a.Next();
        if (a.Attr() == ccDoubleFirst) a.Next();
    };
    if (a.Attr() == ccDoubleFirst) {
        a.Prev();
    } else if (o.WordBreak() && a.Count() > W) {
        while ((a.Attr() == ccSingle || a.Attr() == ccDoubleFirst) && a.Index() > W / 3) prevWhole();
    }
    if (o.FollowPunctuation())
        while (a.Index() < W + 2 && InSet(a.NextChar(), o.PunctuationStr())) nextWhole();
    // A row that takes the rest of the line still ends before a row break when an empty row follows it.
    const bool rowBreakFollows = !TextAfter(a).empty() || !o.FollowRetMark();
    if (o.Leading() && rowBreakFollows) {
        const int floor = W / 5 * 4;
        while (a.Index() > floor && InSet(a.CurChar(), o.LeadStr())) prevWhole();
        if (!TextAfter(a).empty()) {
            std::string_view n = CharAfter(a), k = a.CurChar();
            if (InSet(n, o.FollowStr())) {
                while (a.Index() > floor && (InSet(k, o.LeadStr()) || InSet(n, o.FollowStr()))) {
                    prevWhole();
                    n = k;
                    k = a.CurChar();
                }
            }
        }
    }
}

} // namespace

TRowCutter::TRowCutter(const TEditorWrapOption& Option, TColumnLayout Layout)
    : FOption(Option), FLayout(Layout), FCursor({}, std::string()) {
    FLayout.WordWrap = true;
    FLayout.WrapByte = Option.WrapByte();
}

// The cut of Rest when no rule moves it from the margin W and its first W bytes hold no tab: every
// byte makes one column, so the row ends after W bytes, or before a double-byte character that the
// margin would split. Answers false (and leaves Row) when a rule or a tab needs the column cursor.
bool TRowCutter::CutByBytes(std::string_view Rest, int W, TWrappedRow& Row) const {
    if (FOption.WordBreak() || FOption.FollowPunctuation() || FOption.Leading()) return false;
    const auto margin = static_cast<std::size_t>(W);
    if (Rest.substr(0, margin).find('\t') != std::string_view::npos) return false;
    if (Rest.size() < margin) {
        Row = {Rest, 0};
        return true;
    }
    std::size_t end = 0;
    while (end < margin) end += IsLeadByte(Rest[end]) && end + 1 < Rest.size() ? 2 : 1;
    Row = {Rest.substr(0, end > margin ? margin - 1 : margin), 1};
    return true;
}

TWrappedRow TRowCutter::Cut(std::string_view Rest) {
    const int W = FOption.WrapByte();
    if (TWrappedRow row; CutByBytes(Rest, W, row)) return row;
    FCursor.Reset(Rest, FLayout);
    FCursor.MoveTo(W);
    if (FCursor.Attr() == ccNone) return {Rest, 0};
    FindCut(FCursor, FOption, W);
    return {Rest.substr(0, static_cast<std::size_t>(FCursor.Pos())), 1};
}

void WrapLine(std::string_view S, const TEditorWrapOption& Option, TColumnLayout Layout,
              std::vector<TWrappedRow>& Rows) {
    TRowCutter cutter(Option, Layout);
    for (std::string_view rest = S;;) {
        Rows.push_back(cutter.Cut(rest));
        if (Rows.back().Attribute == 0) return;
        rest.remove_prefix(Rows.back().Text.size());
        if (rest.empty() && Option.FollowRetMark()) {
            Rows.back().Attribute = 0;
            return;
        }
    }
}

} // namespace quillon
