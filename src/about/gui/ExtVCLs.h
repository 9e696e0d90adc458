#pragma once
// A caption label whose text is outlined: drawn several times one pixel apart in a frame colour (or
// the button shadow and highlight colours), then once in the font colour on top.
#include "Colors.h"

#include <QLabel>

namespace quillon {

enum class TFrameType { ftNone, ftFrame, ftShadow, ftLowered, ftRaised, ftFlash };

class TVisualLabel : public QLabel {
public:
    explicit TVisualLabel(QWidget* parent = nullptr);

    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor value);
    TFrameType FrameType() const { return FFrameType; }
    void SetFrameType(TFrameType value);
    // A transparent label lets its parent show through; otherwise Color fills it.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Draws the text with its outline passes inside rect; flags are Qt alignment and text flags.
    virtual void DrawFramedText(QPainter& painter, const QRect& rect, int flags);

private:
    TColor FFrameColor = clBlack;
    TFrameType FFrameType = TFrameType::ftFrame;
    bool FTransparent = false;
    TColor FColor = clBtnFace;
    TColor FFontColor = clWindowText;
};

// A colour of ours, system colours resolved, as Qt's.
QColor ToQColor(TColor color);

} // namespace quillon
