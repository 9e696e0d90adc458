#pragma once
// TFont: a window's font as the settings objects hold it: character set, colour, height, name,
// pitch and style. It describes a font and draws nothing; the window that shows it makes the real
// font from it. Every setter reports a change through OnChange.
#include "Colors.h"
#include "EditorClasses.h"
#include "FontStyles.h"

#include <string>

namespace quillon {

enum TFontPitch { fpDefault, fpVariable, fpFixed };

constexpr int DEFAULT_CHARSET = 1;
// The largest height either way: a 200-point font at 96 pixels an inch, the largest size that the
// editor settings window offers.
constexpr int MaxFontHeight = 267;
constexpr int DefaultFontHeight = -11;

class TFont : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    int Charset() const { return FCharset; }
    // A character set is a byte; any other number gives DEFAULT_CHARSET.
    void SetCharset(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Store(FColor, Value); }
    // Negative: the height of the characters in pixels; positive: of the cells (with the leading).
    int Height() const { return FHeight; }
    // Clamped to MaxFontHeight either way; 0 (no height) gives the default height.
    void SetHeight(int Value);
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { Store(FName, Value); }
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value) { Store(FPitch, Value); }
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value) { Store(FStyle, Value); }
    // From another TFont: copies all six and reports one change.
    void Assign(const TPersistent& Source) override;

private:
    int FCharset = DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    int FHeight = DefaultFontHeight;
    std::string FName = "MS Sans Serif";
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle = 0;
};

} // namespace quillon
