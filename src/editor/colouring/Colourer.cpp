#include "Colourer.h"

#include "Cp932.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace quillon {
namespace {

using Byte = unsigned char;

bool IsRowEnd(char c) { return c == '\0' || c == '\n' || c == '\r'; }
bool IsDigitByte(char c) { return c >= '0' && c <= '9'; }
bool IsAnk(char c) { return IsDigitByte(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsHexDigit(char c) { return IsDigitByte(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool InRange(Byte b, Byte lo, Byte hi) { return b >= lo && b <= hi; }

bool IsUrlChar(char c) { return IsAnk(c) || (c != '\0' && std::strchr("#%&+-./:=?~", c) != nullptr); }

// Text at p begins with s (p is NUL-terminated).
bool StartsWith(const char* p, const std::string& s) { return std::strncmp(p, s.c_str(), s.size()) == 0; }

// A symbol among the characters of lead 0x82 and 0x83.
bool IsDBSymbolTrail(Byte lead, Byte trail) {
    if (lead == 0x82)
        return InRange(trail, 0x40, 0x4E) || InRange(trail, 0x59, 0x5F) || InRange(trail, 0x7A, 0x80) ||
               InRange(trail, 0x9B, 0x9E) || InRange(trail, 0xF2, 0xFF);
    return lead == 0x83 && InRange(trail, 0x97, 0xF0);
}

bool IsKanjiLead(Byte b) { return InRange(b, 0x88, 0x9F) || InRange(b, 0xE0, 0xFC); }

// The double-byte character at p is lead + one of the trails in [lo, hi].
bool IsPair(const char* p, Byte lead, Byte lo, Byte hi) {
    return static_cast<Byte>(p[0]) == lead && InRange(static_cast<Byte>(p[1]), lo, hi);
}
bool IsFullDigit(const char* p) { return IsPair(p, 0x82, 0x4F, 0x58); }
bool IsFullLetter(const char* p) { return IsPair(p, 0x82, 0x60, 0x79) || IsPair(p, 0x82, 0x81, 0x9A); }
bool IsHiragana(const char* p) { return IsPair(p, 0x82, 0x9F, 0xF1); }
bool IsKatakana(const char* p) { return IsPair(p, 0x83, 0x40, 0x96); }
// The prolonged sound mark ー and the full-width hyphen-minus －.
bool IsProlong(const char* p) { return IsPair(p, 0x81, 0x5B, 0x5B) || IsPair(p, 0x81, 0x7C, 0x7C); }
// The full-width comma and full stop, which continue a run of full-width digits.
bool IsDigitPunct(const char* p) { return IsPair(p, 0x81, 0x43, 0x44); }

} // namespace

bool IsMailChar(char c) { return IsAnk(c) || (c != '\0' && std::strchr("!$%&*,-./;=?@^~", c) != nullptr); }

// ---- TColourerColor

const TClassInfo& TColourerColor::StaticClassInfo() {
    static const TClassInfo info{"TColourerColor",
                                 &TNotifyPersistent::StaticClassInfo(),
                                 {ColorProp("BkColor", &TColourerColor::BkColor, &TColourerColor::SetBkColor),
                                  ColorProp("Color", &TColourerColor::Color, &TColourerColor::SetColor),
                                  SetProp("Style", &TColourerColor::Style, &TColourerColor::SetStyle,
                                          {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})}};
    return info;
}

void TColourerColor::SetBkColor(TColor Value) {
    if (FBkColor == Value) return;
    FBkColor = Value;
    Changed();
}

void TColourerColor::SetColor(TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    Changed();
}

void TColourerColor::SetStyle(TFontStyles Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    Changed();
}

void TColourerColor::Assign(const TPersistent& Source) {
    auto* source = dynamic_cast<const TColourerColor*>(&Source);
    if (!source) return TNotifyPersistent::Assign(Source);
    FBkColor = source->FBkColor;
    FColor = source->FColor;
    FStyle = source->FStyle;
    Changed();
}

// ---- bracket items and collection

const TClassInfo& TColourerColorItem::StaticClassInfo() {
    static const TClassInfo info{"TColourerColorItem",
                                 &TCollectionItem::StaticClassInfo(),
                                 {ObjProp("ItemColor", &TColourerColorItem::ItemColor)}};
    return info;
}

TColourerColorItem::TColourerColorItem(TCollection* Collection)
    : TCollectionItem(Collection), FItemColor(std::make_unique<TColourerColor>()) {
    if (auto* notify = dynamic_cast<TNotifyCollection*>(Collection)) FItemColor->OnChange = notify->ChangedHandler();
}

void TColourerColorItem::Assign(const TPersistent& Source) {
    auto* source = dynamic_cast<const TColourerColorItem*>(&Source);
    if (!source) return TCollectionItem::Assign(Source);
    FItemColor->Assign(source->ItemColor());
}

const TClassInfo& TColourerBracketItem::StaticClassInfo() {
    static const TClassInfo info{
        "TColourerBracketItem",
        &TColourerColorItem::StaticClassInfo(),
        {StrProp("LeftBracket", &TColourerBracketItem::LeftBracket, &TColourerBracketItem::SetLeftBracket),
         StrProp("RightBracket", &TColourerBracketItem::RightBracket, &TColourerBracketItem::SetRightBracket)}};
    return info;
}

void TColourerBracketItem::Assign(const TPersistent& Source) {
    if (auto* source = dynamic_cast<const TColourerBracketItem*>(&Source)) {
        FLeftBracket = source->FLeftBracket;
        FRightBracket = source->FRightBracket;
    }
    TColourerColorItem::Assign(Source);
}

const TClassInfo& TColourerBracketCollection::StaticClassInfo() {
    static const TClassInfo info{"TColourerBracketCollection", &TNotifyCollection::StaticClassInfo(), {}};
    return info;
}

TCollectionItem& TColourerBracketCollection::Add() {
    if (Count() >= MaxBrackets)
        throw Exception("TColourerBracketCollection\r\nYou can not add item over " + std::to_string(MaxBrackets));
    return TNotifyCollection::Add();
}

TColourerBracketItem& TColourerBracketCollection::AddBracket(const std::string& Left, const std::string& Right) {
    auto& item = static_cast<TColourerBracketItem&>(Add());
    item.SetLeftBracket(Left);
    item.SetRightBracket(Right);
    return item;
}

void TColourerBracketCollection::Assign(const TPersistent& Source) {
    auto* source = dynamic_cast<const TColourerBracketCollection*>(&Source);
    if (!source) return TNotifyCollection::Assign(Source);
    if (source == this) return; // clearing first would lose every bracket
    struct TUpdate {
        TCollection& c;
        ~TUpdate() { c.EndUpdate(); }
    } update{*this};
    BeginUpdate();
    Clear();
    for (int i = 0; i < source->Count(); ++i) Add().Assign(source->Items(i));
}

std::unique_ptr<TCollectionItem> TColourerBracketCollection::CreateItem() {
    return std::make_unique<TColourerBracketItem>(this);
}

// ---- TColourer

const TClassInfo& TColourer::StaticClassInfo() {
    static const TClassInfo info{
        "TColourer",
        &TFileExtComponent::StaticClassInfo(),
        {ObjProp("Brackets", &TColourer::Brackets), ObjProp("Reserve", &TColourer::Reserve),
         ListProp<TStringList>("ReserveWordList", &TColourer::ReserveWordList, &TColourer::SetReserveWordList)}};
    return info;
}

TColourer::TColourer(TComponent* Owner) : TColourer(Owner, std::make_unique<TColourerBracketCollection>(this)) {}

TColourer::TColourer(TComponent* Owner, std::unique_ptr<TColourerBracketCollection> Brackets)
    : TFileExtComponent(Owner), FNotifyEventList(std::make_unique<TNotifyEventList>(this)),
      FBrackets(std::move(Brackets)) {
    FBrackets->OnChange = FNotifyEventList->ChangedHandler();
    FReserve = CreateColourerColor();
}

TColourer::~TColourer() = default;

std::unique_ptr<TColourerColor> TColourer::CreateColourerColor() {
    auto color = std::make_unique<TColourerColor>();
    color->OnChange = FNotifyEventList->ChangedHandler();
    return color;
}

void TColourer::SetReserveWordList(const TStringList& Value) {
    FReserveWordList.Assign(Value);
    FNotifyEventList->ChangedProc(this);
}

bool TColourer::HasItalic(TPersistent& Instance) {
    FItalic = false;
    EnumProperties(Instance, [this](TPersistent& instance, const TPropInfo& prop) { HasItalicProc(instance, prop); });
    return FItalic;
}

void TColourer::SetColourerColors(TPersistent& Instance, const TColourerColor& Color, int Mask) {
    FColorSource = &Color;
    FColorMask = Mask;
    EnumProperties(Instance,
                   [this](TPersistent& instance, const TPropInfo& prop) { SetColourerColorProc(instance, prop); });
    FColorSource = nullptr;
}

namespace {
TColourerColor* ColourerColorOf(TPersistent& Instance, const TPropInfo& Prop) {
    if (Prop.Kind != TPropKind::Object) return nullptr;
    return dynamic_cast<TColourerColor*>(&Prop.GetObject(Instance));
}
} // namespace

void TColourer::HasItalicProc(TPersistent& Instance, const TPropInfo& Prop) {
    if (TColourerColor* color = ColourerColorOf(Instance, Prop))
        if (HasStyle(color->Style(), fsItalic)) FItalic = true;
}

void TColourer::SetColourerColorProc(TPersistent& Instance, const TPropInfo& Prop) {
    TColourerColor* color = ColourerColorOf(Instance, Prop);
    if (!color || !FColorSource) return;
    if (FColorMask & 1) color->SetBkColor(FColorSource->BkColor());
    if (FColorMask & 2) color->SetColor(FColorSource->Color());
    if (FColorMask & 4) color->SetStyle(FColorSource->Style());
}

// ---- TColourerParser

const TColourerParser::TMethodTables& TColourerParser::BaseMethodTables() {
    static const TMethodTables tables = [] {
        TMethodTables t;
        for (int b = 0; b < 256; ++b) {
            TProc proc = &TColourerParser::SymbolProc;
            if (b == 0x00)
                proc = &TColourerParser::NullProc;
            else if (b == 0x09)
                proc = &TColourerParser::TabProc;
            else if (b == 0x0A)
                proc = &TColourerParser::LFProc;
            else if (b == 0x0D)
                proc = &TColourerParser::CRProc;
            else if (IsDigitByte(static_cast<char>(b)))
                proc = &TColourerParser::NumberProc;
            else if (IsAnk(static_cast<char>(b)))
                proc = &TColourerParser::AnkProc;
            else if (b == 0x81 || InRange(static_cast<Byte>(b), 0x84, 0x87))
                proc = &TColourerParser::DBSymbolProc;
            else if (b == 0x82 || b == 0x83)
                proc = &TColourerParser::DBProc;
            else if (IsKanjiLead(static_cast<Byte>(b)))
                proc = &TColourerParser::KanjiProc;
            else if (InRange(static_cast<Byte>(b), 0xA1, 0xA5))
                proc = &TColourerParser::KanaSymbolProc;
            else if (InRange(static_cast<Byte>(b), 0xA6, 0xDF))
                proc = &TColourerParser::KanaProc;
            t.Method[b] = proc;
            t.Token[b] = &TColourerParser::SymbolProc;
        }
        auto kinds = [&t](std::initializer_list<int> list, TProc proc) {
            for (int k : list) t.Token[k] = proc;
        };
        kinds({tkInteger, tkFloat}, &TColourerParser::NumberProc);
        kinds({tkBracket}, &TColourerParser::BracketProc);
        kinds({tkComment}, &TColourerParser::CommentProc);
        kinds({tkReserveWord}, &TColourerParser::ReserveWordProc);
        kinds({tkAnk}, &TColourerParser::AnkProc);
        kinds({tkDBSymbol}, &TColourerParser::DBSymbolProc);
        kinds({tkDBDigit, tkDBLetter, tkHiragana, tkKatakana}, &TColourerParser::DBProc);
        kinds({tkKanji}, &TColourerParser::KanjiProc);
        kinds({tkKanaSymbol}, &TColourerParser::KanaSymbolProc);
        kinds({tkKana}, &TColourerParser::KanaProc);
        kinds({tkUrl}, &TColourerParser::UrlProc);
        kinds({tkMail}, &TColourerParser::MailProc);
        kinds({tkHex}, &TColourerParser::HexProc);
        kinds({tkSingleQuoted}, &TColourerParser::SingleQuotationProc);
        kinds({tkDoubleQuoted}, &TColourerParser::DoubleQuotationProc);
        return t;
    }();
    return tables;
}

TColourerParser::TColourerParser(TColourer* Colourer) : FColourer(Colourer) {
    if (!Colourer) throw Exception("TColourerParser.Create need instance of TColourer");
    const TMethodTables& base = BaseMethodTables();
    std::copy(std::begin(base.Method), std::end(base.Method), std::begin(FMethodTable));
    std::copy(std::begin(base.Token), std::end(base.Token), std::begin(FTokenMethodTable));
}

void TColourerParser::NewData(const char* Text, const TRowAttributeData& Data) {
    FBuffer = FNextPtr = FTokenPtr = Text;
    FRunPtr = Text;
    FNoMailBefore = nullptr;
    FLastBracketIndex = biNotComputed;
    FRowAttribute = Data.RowAttribute;
    FPrevRowAttribute = Data.PrevRowAttribute;
    FBracketIndex = Data.BracketIndex;
    FFieldIndex = Data.FieldIndex;
    FRemain = Data.Remain;
    FParseValue = Data.ParseValue;
    FContinuedToken = Data.ContinuedToken;
    FParseFlag = Data.ParseFlag;
    FDataStr = Data.DataStr;
}

int TColourerParser::NextToken() {
    SkipSpaces();
    FRunPtr = FTokenPtr = FNextPtr;
    FContinued = FContinuedToken != 0;
    if (IsRowEnd(*FRunPtr))
        FTokenKind = tkEnd;
    else if (FContinuedToken != 0)
        ContinuedTokenProc();
    else if (FBracketIndex >= 0)
        BracketProc();
    else
        DispatchProc();
    FNextPtr = FRunPtr;
    return FTokenKind;
}

void TColourerParser::SkipSpaces() {
    while (*FNextPtr != '\0' && static_cast<Byte>(*FNextPtr) <= 32 && *FNextPtr != '\t') ++FNextPtr;
}

void TColourerParser::ContinuedTokenProc() {
    if (FRemain < 0) {
        // The rest of a left bracket that the wrap cut, then the text inside the bracket.
        for (int i = FRemain; i < 0 && !IsRowEnd(*FRunPtr); ++i) ++FRunPtr;
        BracketProc();
    } else if (FRemain > 0) {
        FTokenKind = FContinuedToken;
        // The rest of the token lies in this row: never past its end.
        for (int i = 0; i < FRemain && !IsRowEnd(*FRunPtr); ++i) ++FRunPtr;
        if (FContinuedToken == tkBracket) {
            FLastBracketIndex = FBracketIndex;
            FBracketIndex = biNone;
        }
    } else {
        const TProc proc = FTokenMethodTable[FContinuedToken];
        (this->*proc)();
    }
    FContinuedToken = 0;
    FRemain = 0;
}

void TColourerParser::DispatchProc() {
    if (FBracketIndex == biNone && IsLeftBracket())
        BracketProc();
    else
        CallMethodTable();
}

TColourerBracketItem* TColourerParser::BracketAt(int Index) const {
    const TColourerBracketCollection& brackets = FColourer->Brackets();
    return Index >= 0 && Index < brackets.Count() ? &brackets.Item(Index) : nullptr;
}

bool TColourerParser::IsLeftBracket() {
    const TColourerBracketCollection& brackets = FColourer->Brackets();
    for (int i = 0; i < brackets.Count(); ++i) {
        const std::string& left = brackets.Item(i).LeftBracket();
        if (!left.empty() && StartsWith(FRunPtr, left)) {
            FBracketIndex = i;
            FRunPtr += left.size();
            return true;
        }
    }
    return false;
}

void TColourerParser::BracketProc() {
    TColourerBracketItem* bracket = BracketAt(FBracketIndex);
    if (!bracket || bracket->RightBracket().empty()) {
        FTokenKind = tkEnd;
        return;
    }
    FTokenKind = tkBracket;
    FLastBracketIndex = FBracketIndex;
    const std::string& right = bracket->RightBracket();
    while (!IsRowEnd(*FRunPtr)) {
        if (StartsWith(FRunPtr, right)) {
            FRunPtr += right.size();
            FBracketIndex = biNone;
            return;
        }
        StepChar();
    }
}

void TColourerParser::StepChar() { FRunPtr += IsLeadByte(*FRunPtr) && !IsRowEnd(FRunPtr[1]) ? 2 : 1; }

bool TColourerParser::IsMail() {
    if (!IsMailChar(*FRunPtr) || *FRunPtr == '@' || FRunPtr < FNoMailBefore) return false;
    bool at = false;
    const char* p = FRunPtr + 1;
    for (; IsMailChar(*p); ++p) {
        if (*p == '@')
            at = true;
        else if (*p == '.' && at) {
            FRunPtr = p + 1;
            return true;
        }
    }
    // An address from a later start in this run would be one from this start too.
    FNoMailBefore = p;
    return false;
}

void TColourerParser::MailProc() {
    FTokenKind = tkMail;
    while (IsMailChar(*FRunPtr)) ++FRunPtr;
}

bool TColourerParser::IsUrl() {
    static const char* const prefixes[] = {"http:", "https:", "ftp:", "www."};
    for (const char* prefix : prefixes)
        if (std::strncmp(FRunPtr, prefix, std::strlen(prefix)) == 0) {
            FRunPtr += std::strlen(prefix);
            return true;
        }
    return false;
}

void TColourerParser::UrlProc() {
    FTokenKind = tkUrl;
    while (IsUrlChar(*FRunPtr)) ++FRunPtr;
}

void TColourerParser::ReserveWordProc() {
    CallMethodTable();
    FTokenKind = tkReserveWord;
}

void TColourerParser::NullProc() { FTokenKind = tkEnd; }

void TColourerParser::TabProc() {
    FTokenKind = tkTab;
    ++FRunPtr;
}

void TColourerParser::LFProc() {
    FTokenKind = tkEnd;
    ++FRunPtr;
}

void TColourerParser::CRProc() {
    FTokenKind = tkEnd;
    ++FRunPtr;
    if (*FRunPtr == '\n') ++FRunPtr;
}

void TColourerParser::CommentProc() {
    FTokenKind = tkComment;
    while (!IsRowEnd(*FRunPtr)) ++FRunPtr;
}

void TColourerParser::HexProc() {
    FTokenKind = tkHex;
    while (IsHexDigit(*FRunPtr)) ++FRunPtr;
}

void TColourerParser::NumberProc() {
    auto digits = [this] {
        while (IsDigitByte(*FRunPtr)) ++FRunPtr;
    };
    auto exponent = [&] {
        ++FRunPtr; // E or e
        if (*FRunPtr == '+' || *FRunPtr == '-') ++FRunPtr;
        digits();
    };
    FTokenKind = tkInteger;
    digits();
    if (*FRunPtr == '.') {
        FTokenKind = tkFloat;
        ++FRunPtr;
        if (!IsDigitByte(*FRunPtr) && *FRunPtr != 'E' && *FRunPtr != 'e') {
            --FRunPtr; // the point is not part of the number
            return;
        }
        digits();
        if (*FRunPtr == 'E' || *FRunPtr == 'e') exponent();
    } else if (*FRunPtr == 'E' || *FRunPtr == 'e') {
        FTokenKind = tkFloat;
        exponent();
    }
}

void TColourerParser::AnkProc() {
    FTokenKind = tkAnk;
    while (IsAnk(*FRunPtr)) ++FRunPtr;
}

void TColourerParser::DBSymbolProc() {
    FTokenKind = tkDBSymbol;
    Byte lead = static_cast<Byte>(FRunPtr[0]);
    if (IsRowEnd(FRunPtr[1])) { // a lead byte at the end of the row goes alone
        if (!IsRowEnd(*FRunPtr)) ++FRunPtr;
        return;
    }
    if (lead == 0x81 || InRange(lead, 0x84, 0x87) || IsDBSymbolTrail(lead, static_cast<Byte>(FRunPtr[1]))) FRunPtr += 2;
}

void TColourerParser::DBProc() {
    auto run = [this](int kind, bool (*same)(const char*), bool (*joiner)(const char*)) {
        FTokenKind = kind;
        FRunPtr += 2;
        while (same(FRunPtr) || joiner(FRunPtr)) FRunPtr += 2;
    };
    Byte lead = static_cast<Byte>(FRunPtr[0]);
    if (IsFullDigit(FRunPtr))
        run(tkDBDigit, IsFullDigit, IsDigitPunct);
    else if (IsFullLetter(FRunPtr))
        run(tkDBLetter, IsFullLetter, [](const char*) { return false; });
    else if (IsHiragana(FRunPtr))
        run(tkHiragana, IsHiragana, IsProlong);
    else if (IsKatakana(FRunPtr))
        run(tkKatakana, IsKatakana, IsProlong);
    else if ((lead == 0x82 || lead == 0x83) && IsDBSymbolTrail(lead, static_cast<Byte>(FRunPtr[1]))) {
        FTokenKind = tkDBSymbol;
        FRunPtr += 2;
    } else if (lead == 0x82 || lead == 0x83) {
        // A trail byte outside the recognised ranges: the lead byte alone, as a symbol.
        FTokenKind = tkSymbol;
        ++FRunPtr;
    } else {
        // A continuation that does not start with one of these characters: scan it afresh.
        CallMethodTable();
    }
}

void TColourerParser::KanjiProc() {
    FTokenKind = tkKanji;
    while (IsKanjiLead(static_cast<Byte>(*FRunPtr))) {
        ++FRunPtr;
        if (static_cast<Byte>(*FRunPtr) >= 0x40) ++FRunPtr;
    }
}

void TColourerParser::KanaSymbolProc() {
    FTokenKind = tkKanaSymbol;
    if (InRange(static_cast<Byte>(*FRunPtr), 0xA1, 0xA5)) ++FRunPtr;
}

void TColourerParser::KanaProc() {
    FTokenKind = tkKana;
    while (InRange(static_cast<Byte>(*FRunPtr), 0xA6, 0xDF)) ++FRunPtr;
}

void TColourerParser::SymbolProc() {
    FTokenKind = tkSymbol;
    if (!IsRowEnd(*FRunPtr)) ++FRunPtr;
}

void TColourerParser::ScanQuoted(char Quote) {
    while (!IsRowEnd(*FRunPtr)) {
        if (*FRunPtr == Quote) {
            ++FRunPtr;
            if (*FRunPtr != Quote) return;
            ++FRunPtr;
        } else {
            StepChar();
        }
    }
}

void TColourerParser::SingleQuotationProc() {
    FTokenKind = tkSingleQuoted;
    if (!FContinued) ++FRunPtr;
    ScanQuoted('\'');
}

void TColourerParser::DoubleQuotationProc() {
    FTokenKind = tkDoubleQuoted;
    if (!FContinued) ++FRunPtr;
    ScanQuoted('"');
}

bool TColourerParser::IsReserveWord() {
    if (FContinued || FTokenKind == tkEnd || FTokenKind == tkBracket || FTokenKind == tkComment) return false;
    const TStringList& words = FColourer->ReserveWordList();
    return words.Count() > 0 && words.IndexOf(std::string_view(FTokenPtr, FNextPtr - FTokenPtr)) >= 0;
}

void TColourerParser::CheckReserveWord(int& Kind) {
    if (IsReserveWord()) Kind = tkReserveWord;
}

TTokenKinds TColourerParser::GetQuotedTokenKinds() const {
    TTokenKinds kinds;
    kinds.set(tkComment).set(tkSingleQuoted).set(tkDoubleQuoted);
    return kinds;
}

TTokenKinds TColourerParser::GetLineEndTokenKinds() const { return TTokenKinds().set(tkComment); }

} // namespace quillon
