#pragma once
// A control that owns a bitmap and paints it into its area: unscaled, stretched to the area,
// shrunk to fit keeping its shape, or at a given view size; at the top left or centred.
#include "DIB.h"

#include <QWidget>

namespace quillon {

class TDIBPaintBox : public QWidget {
public:
    explicit TDIBPaintBox(QWidget* parent = nullptr);

    const TDIB& DIB() const { return FDIB; }
    // Shares the given picture's pixels (the box never owns the argument) and repaints.
    void SetDIB(const TDIB& value);
    // After the pixels of DIB() were changed in place.
    void Changed() { update(); }

    bool AutoStretch() const { return FAutoStretch; }
    void SetAutoStretch(bool value) { Store(FAutoStretch, value); }
    bool Center() const { return FCenter; }
    void SetCenter(bool value) { Store(FCenter, value); }
    bool KeepAspect() const { return FKeepAspect; }
    void SetKeepAspect(bool value) { Store(FKeepAspect, value); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value) { Store(FStretch, value); }
    int ViewWidth() const { return FViewWidth; }
    void SetViewWidth(int value) { Store(FViewWidth, std::max(value, 0)); }
    int ViewHeight() const { return FViewHeight; }
    void SetViewHeight(int value) { Store(FViewHeight, std::max(value, 0)); }

    // Where the picture goes in the client area (empty for an empty picture).
    QRect PictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <class T> void Store(T& field, T value) {
        if (field == value) return;
        field = value;
        update();
    }

    TDIB FDIB;
    bool FAutoStretch = false, FCenter = false, FKeepAspect = false, FStretch = false;
    int FViewWidth = 0, FViewHeight = 0; // 0: the picture's own size
};

} // namespace quillon
