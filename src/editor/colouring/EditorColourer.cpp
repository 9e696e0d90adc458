#include "EditorColourer.h"

#include "Cp932.h"

#include <cstring>

namespace quillon {

// ---- TEditorColor, TEditorColors

const TClassInfo& TEditorColor::StaticClassInfo() {
    static const TClassInfo info{"TEditorColor", &TColourerColor::StaticClassInfo(), {}};
    return info;
}

const TClassInfo& TEditorColors::StaticClassInfo() {
    using C = TEditorColors;
    static const TClassInfo info{"TEditorColors",
                                 &TNotifyPersistent::StaticClassInfo(),
                                 {ObjProp("Ank", &C::Ank), ObjProp("Comment", &C::Comment), ObjProp("DBCS", &C::DBCS),
                                  ObjProp("Hit", &C::Hit), ObjProp("Int", &C::Int), ObjProp("Mail", &C::Mail),
                                  ObjProp("Reserve", &C::Reserve), ObjProp("Select", &C::Select),
                                  ObjProp("Str", &C::Str), ObjProp("Symbol", &C::Symbol), ObjProp("Url", &C::Url)}};
    return info;
}

TEditorColors::TEditorColors(TEditorColourer* Colourer) : FColourer(Colourer) {
    for (auto& color : FColors) {
        color = std::make_unique<TEditorColor>();
        color->OnChange = ChangedHandler();
    }
    Select().SetBkColor(clNavy);
    Select().SetColor(clWhite);
}

TColourerColor& TEditorColors::Reserve() const { return FColourer->Reserve(); }

void TEditorColors::Assign(const TPersistent& Source) {
    auto* source = dynamic_cast<const TEditorColors*>(&Source);
    if (!source) return TNotifyPersistent::Assign(Source);
    BeginUpdate();
    for (int i = 0; i < cCount; ++i) FColors[i]->Assign(*source->FColors[i]);
    Reserve().Assign(source->Reserve());
    EndUpdate();
}

// ---- TEditorBracketCollection

const TClassInfo& TEditorBracketCollection::StaticClassInfo() {
    static const TClassInfo info{"TEditorBracketCollection", &TColourerBracketCollection::StaticClassInfo(), {}};
    return info;
}

template <class F> void TEditorBracketCollection::ForAll(F f) {
    BeginUpdate();
    for (int i = 0; i < Count(); ++i) f(Item(i).ItemColor());
    EndUpdate();
}

void TEditorBracketCollection::SetAllBkColor(TColor Color) {
    ForAll([Color](TColourerColor& c) { c.SetBkColor(Color); });
}

void TEditorBracketCollection::SetAllColor(TColor Color) {
    ForAll([Color](TColourerColor& c) { c.SetColor(Color); });
}

void TEditorBracketCollection::SetAllStyle(TFontStyles Style) {
    ForAll([Style](TColourerColor& c) { c.SetStyle(Style); });
}

// ---- TEditorColourer

const TClassInfo& TEditorColourer::StaticClassInfo() {
    using C = TEditorColourer;
    static const TClassInfo info{
        "TEditorColourer",
        &TColourer::StaticClassInfo(),
        {ObjProp("Colors", &C::Colors), StrProp("Commenter", &C::Commenter, &C::SetCommenter),
         BoolProp("ControlCode", &C::ControlCode, &C::SetControlCode),
         StrProp("HexPrefix", &C::HexPrefix, &C::SetHexPrefix), BoolProp("Mail", &C::Mail, &C::SetMail),
         StrProp("Quotation", &C::Quotation, &C::SetQuotation), BoolProp("Url", &C::Url, &C::SetUrl)}};
    return info;
}

TEditorColourer::TEditorColourer(TComponent* Owner)
    : TColourer(Owner, std::make_unique<TEditorBracketCollection>(this)),
      FColors(std::make_unique<TEditorColors>(this)) {
    FColors->OnChange = NotifyEventList().ChangedHandler();
}

TEditorColourer::~TEditorColourer() = default;

std::optional<std::string> QuotationOf(const std::string& Value) {
    if (!Value.empty() && IsLeadByte(Value[0])) return std::nullopt;
    return Value.substr(0, 1);
}

void TEditorColourer::SetQuotation(const std::string& Value) {
    if (std::optional<std::string> quotation = QuotationOf(Value)) FQuotation = *quotation;
}

std::unique_ptr<TColourerParser> TEditorColourer::CreateParser() { return std::make_unique<TEditorParser>(this); }

void TEditorColourer::SetAll(const TColourerColor& Source, int Mask) {
    NotifyEventList().BeginUpdate();
    SetColourerColors(*FColors, Source, Mask);
    NotifyEventList().EndUpdate();
}

void TEditorColourer::SetAllBkColor(TColor Color) {
    TColourerColor source;
    source.SetBkColor(Color);
    SetAll(source, 1);
}

void TEditorColourer::SetAllColor(TColor Color) {
    TColourerColor source;
    source.SetColor(Color);
    SetAll(source, 2);
}

void TEditorColourer::SetAllStyle(TFontStyles Style) {
    TColourerColor source;
    source.SetStyle(Style);
    SetAll(source, 4);
}

void TEditorColourer::SetColourerColorProc(TPersistent& Instance, const TPropInfo& Prop) {
    // The selection and the found text keep their own colours.
    if (CompareText(Prop.Name, "Select") == 0 || CompareText(Prop.Name, "Hit") == 0) return;
    TColourer::SetColourerColorProc(Instance, Prop);
}

// ---- TEditorParser

namespace {
bool StartsWithNoCase(const char* p, const std::string& prefix) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (p[i] == '\0' || upper(p[i]) != upper(prefix[i])) return false;
    return true;
}
bool IsDecimal(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDecimal(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
} // namespace

TEditorParser::TEditorParser(TColourer* Colourer)
    : TColourerParser(Colourer), FEditorColourer(dynamic_cast<TEditorColourer*>(Colourer)) {
    SetTokenMethod(tkQuotation, &TEditorParser::QuotationProc);
    SetTokenMethod(tkControlCode, &TEditorParser::ControlCodeProc);
    SetTokenMethod(tkHexControlCode, &TEditorParser::HexControlCodeProc);
}

TTokenKinds TEditorParser::GetQuotedTokenKinds() const {
    return TColourerParser::GetQuotedTokenKinds().set(tkQuotation);
}

void TEditorParser::DispatchProc() {
    const TEditorColourer* c = FEditorColourer;
    if (FBracketIndex >= biNone && IsLeftBracket())
        BracketProc();
    else if (c && c->Mail() && IsMail())
        MailProc();
    else if (c && c->Url() && IsUrl())
        UrlProc();
    else if (IsCommenter())
        CommentProc();
    else if (IsQuotation())
        QuotationProc();
    else if (IsHexControlCode())
        HexControlCodeProc();
    else if (IsControlCode())
        ControlCodeProc();
    else if (IsHexPrefix())
        HexProc();
    else
        CallMethodTable();
}

bool TEditorParser::IsCommenter() {
    if (!FEditorColourer) return false;
    const std::string& commenter = FEditorColourer->Commenter();
    if (commenter.empty() || std::strncmp(FRunPtr, commenter.c_str(), commenter.size()) != 0) return false;
    FRunPtr += commenter.size();
    return true;
}

bool TEditorParser::IsQuotation() {
    if (!FEditorColourer || FEditorColourer->Quotation().empty() || *FRunPtr != FEditorColourer->Quotation()[0])
        return false;
    ++FRunPtr;
    return true;
}

void TEditorParser::QuotationProc() {
    if (!FEditorColourer || FEditorColourer->Quotation().empty()) {
        FTokenKind = tkEnd;
        return;
    }
    FTokenKind = tkQuotation;
    ScanQuoted(FEditorColourer->Quotation()[0]);
}

bool TEditorParser::IsHexControlCode() {
    if (!FEditorColourer || !FEditorColourer->ControlCode() || std::strncmp(FRunPtr, "#$", 2) != 0) return false;
    FRunPtr += 2;
    return true;
}

void TEditorParser::HexControlCodeProc() {
    FTokenKind = tkHexControlCode;
    while (IsHex(*FRunPtr)) ++FRunPtr;
}

bool TEditorParser::IsControlCode() {
    if (!FEditorColourer || !FEditorColourer->ControlCode() || *FRunPtr != '#') return false;
    ++FRunPtr;
    return true;
}

void TEditorParser::ControlCodeProc() {
    FTokenKind = tkControlCode;
    while (IsDecimal(*FRunPtr)) ++FRunPtr;
}

bool TEditorParser::IsHexPrefix() {
    if (!FEditorColourer) return false;
    const std::string& prefix = FEditorColourer->HexPrefix();
    if (prefix.empty() || !StartsWithNoCase(FRunPtr, prefix)) return false;
    FRunPtr += prefix.size();
    return true;
}

TColourerColor* TEditorParser::TokenColor() {
    const TEditorColourer* c = FEditorColourer;
    if (!c) return nullptr;
    if (IsReserveWord()) return &c->Reserve();
    const TEditorColors& colors = c->Colors();
    switch (FTokenKind) {
    case tkSymbol: return &colors.Symbol();
    case tkInteger:
    case tkFloat:
    case tkHex: return &colors.Int();
    case tkBracket: {
        // A bracket index beyond a shortened collection has no colour.
        TColourerBracketItem* bracket = BracketAt(FLastBracketIndex);
        return bracket ? &bracket->ItemColor() : nullptr;
    }
    case tkComment: return &colors.Comment();
    case tkReserveWord: return &c->Reserve();
    case tkAnk: return &colors.Ank();
    case tkDBSymbol:
    case tkDBDigit:
    case tkDBLetter:
    case tkHiragana:
    case tkKatakana:
    case tkKanji:
    case tkKanaSymbol:
    case tkKana: return &colors.DBCS();
    case tkUrl: return &colors.Url();
    case tkMail: return &colors.Mail();
    case tkQuotation:
    case tkControlCode:
    case tkHexControlCode: return &colors.Str();
    default: return nullptr;
    }
}

} // namespace quillon
