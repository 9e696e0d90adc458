#include "EditorFont.h"

#include <algorithm>

namespace quillon {

const TClassInfo& TFont::StaticClassInfo() {
    using F = TFont;
    static const TClassInfo info{
        "TFont",
        &TNotifyPersistent::StaticClassInfo(),
        {IntProp("Charset", &F::Charset, &F::SetCharset), ColorProp("Color", &F::Color, &F::SetColor),
         IntProp("Height", &F::Height, &F::SetHeight), StrProp("Name", &F::Name, &F::SetName),
         EnumProp("Pitch", &F::Pitch, &F::SetPitch, {"fpDefault", "fpVariable", "fpFixed"}),
         SetProp("Style", &F::Style, &F::SetStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})}};
    return info;
}

void TFont::SetCharset(int Value) { Store(FCharset, Value >= 0 && Value <= 255 ? Value : DEFAULT_CHARSET); }

void TFont::SetHeight(int Value) {
    Store(FHeight, Value == 0 ? DefaultFontHeight : std::clamp(Value, -MaxFontHeight, MaxFontHeight));
}

void TFont::Assign(const TPersistent& Source) {
    const auto* font = dynamic_cast<const TFont*>(&Source);
    if (!font) {
        TNotifyPersistent::Assign(Source);
        return;
    }
    BeginUpdate();
    CopyProperties(*this, *font, StaticClassInfo());
    EndUpdate();
}

} // namespace quillon
