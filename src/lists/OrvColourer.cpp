#include "OrvColourer.h"

namespace quillon {

using namespace orvscan;

const TClassInfo& TOrvColourer::StaticClassInfo() {
    static const TClassInfo info{"TOrvColourer", &TColourer::StaticClassInfo(), {}};
    return info;
}

TOrvColourer::TOrvColourer(TComponent* Owner, std::span<const TKindColorInfo> Colors)
    : TColourer(Owner), FColorInfos(Colors) {
    for (const TKindColorInfo& info : Colors) {
        FColors.push_back(CreateColourerColor());
        FKindColors[static_cast<std::size_t>(info.Kind)] = FColors.back().get();
    }
}

std::vector<TPropInfo> TOrvColourer::ColorProps(std::span<const TKindColorInfo> Colors) {
    std::vector<TPropInfo> props;
    for (std::size_t i = 0; i < Colors.size(); ++i) {
        TPropInfo info{};
        info.Name = Colors[i].Name;
        info.Kind = TPropKind::Object;
        info.GetObject = [i](const TPersistent& p) -> TPersistent& {
            return static_cast<const TOrvColourer&>(p).ColorAt(static_cast<int>(i));
        };
        info.ObjectClass = &TColourerColor::StaticClassInfo;
        props.push_back(std::move(info));
    }
    return props;
}

std::unique_ptr<TColourerParser> TOrvColourer::CreateParserWithMode(int Mode) {
    std::unique_ptr<TColourerParser> parser = CreateParser();
    static_cast<TOrvColourerParser&>(*parser).SetParseMode(Mode);
    return parser;
}

TColourerColor* TOrvColourer::KindColor(int Kind) const {
    return Kind >= 0 && Kind < 256 ? FKindColors[static_cast<std::size_t>(Kind)] : nullptr;
}

void TOrvColourer::SetKindColor(int Kind, const TColourerColor& Value) {
    if (TColourerColor* color = KindColor(Kind)) color->Assign(Value);
}

void TOrvColourer::SetDefaultColors() {
    NotifyEventList().BeginUpdate();
    for (std::size_t i = 0; i < FColorInfos.size(); ++i) {
        TColourerColor& color = *FColors[i];
        color.BeginUpdate();
        color.SetColor(FColorInfos[i].Color);
        color.SetBkColor(FColorInfos[i].BkColor);
        color.SetStyle(FColorInfos[i].Style);
        color.EndUpdate();
    }
    NotifyEventList().EndUpdate();
}

TOrvColourerParser::TOrvColourerParser(TColourer* Colourer, const TListColourerTraits& Traits)
    : TColourerParser(Colourer), FTraits(Traits), FOrvColourer(dynamic_cast<TOrvColourer*>(Colourer)),
      FParseMode(FOrvColourer ? FOrvColourer->ParseMode() : pmFull) {
    for (int b = 1; b <= 32; ++b) SetMethod(static_cast<unsigned char>(b), &TOrvColourerParser::SymbolProc);
    SetMethod(0, &TOrvColourerParser::NullProc);
    SetMethod(9, &TOrvColourerParser::TabProc);
    SetMethod(10, &TOrvColourerParser::LFProc);
    SetMethod(13, &TOrvColourerParser::CRProc);
    for (int b = 33; b <= 255; ++b) SetMethod(static_cast<unsigned char>(b), &TOrvColourerParser::ScanField);
    for (int kind = Traits.FirstKind; kind <= Traits.LastKind; ++kind)
        SetTokenMethod(kind, &TOrvColourerParser::ScanField);
    SetTokenMethod(Traits.AnyItemKind, &TOrvColourerParser::ScanField);
    SetTokenMethod(Traits.ErrorKind, &TOrvColourerParser::ScanField);
    FParseValue = Traits.LineStartValue;
}

void TOrvColourerParser::NewData(const char* Text, const TRowAttributeData& Data) {
    TColourerParser::NewData(Text, Data);
    if (Data.PrevRowAttribute == raWrapped) return;
    FFieldIndex = 0;
    FParseValue = FTraits.LineStartValue;
}

TColourerColor* TOrvColourerParser::TokenColor() {
    if (IsReserveWord()) return &FColourer->Reserve();
    return FOrvColourer ? FOrvColourer->KindColor(FTokenKind) : nullptr;
}

void TOrvColourerParser::ScanField() { FTokenKind = FTraits.Scan(FRunPtr, FFieldIndex, FParseValue, FParseMode); }

void TOrvColourerParser::SkipSpaces() {
    if (FContinuedToken == 0) TColourerParser::SkipSpaces();
}

} // namespace quillon
