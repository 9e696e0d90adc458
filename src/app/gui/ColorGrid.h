#pragma once
// A grid of the 16 standard colours in two rows of eight. It marks one cell as the foreground ("FG")
// and one as the background ("BG"); an index outside 0..15 marks no cell. Releasing the left button
// over a cell makes it the foreground, the right button the background (each only while that part
// is enabled); OnMouseUp then fires with the button.
#include <QWidget>

#include <functional>

namespace quillon {

class TColorGrid : public QWidget {
public:
    static constexpr int CellCount = 16;
    explicit TColorGrid(QWidget* Parent = nullptr);

    int ForegroundIndex() const { return FForegroundIndex; }
    void SetForegroundIndex(int Value);
    int BackgroundIndex() const { return FBackgroundIndex; }
    void SetBackgroundIndex(int Value);
    bool ForegroundEnabled() const { return FForegroundEnabled; }
    void SetForegroundEnabled(bool Value);
    bool BackgroundEnabled() const { return FBackgroundEnabled; }
    void SetBackgroundEnabled(bool Value);
    // The cell at a point of the widget, or -1.
    int CellAt(const QPoint& Point) const;
    QRect CellRect(int Index) const;

    std::function<void(Qt::MouseButton Button)> OnMouseUp;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

private:
    int FForegroundIndex = -1;
    int FBackgroundIndex = -1;
    bool FForegroundEnabled = true;
    bool FBackgroundEnabled = true;
};

} // namespace quillon
