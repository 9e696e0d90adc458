#pragma once
// The hint window of an editor on the screen: a tooltip-like window showing a Shift-JIS text in the
// system's tooltip colours and font, placed where the editor's hint window says.
#include "EditorExVantor.h"

#include <QPointer>

class QLabel;
class QWidget;

namespace quillon {

class TQtHintWindow : public THintScreen {
public:
    // Client: the widget whose coordinates are the editor's client coordinates (the editor widget's
    // viewport). The window is a child window of Client and goes with it.
    explicit TQtHintWindow(QWidget& Client);
    ~TQtHintWindow() override;

    // The window (null once Client is gone).
    QLabel* Window() const { return FWindow; }

    void CursorPos(int& X, int& Y) const override;
    int CursorHeight() const override;
    void ClientToScreen(int& X, int& Y) const override;
    TRect ScreenRect() const override;
    TRect CalcHintRect(int MaxWidth, const std::string& Text) const override;
    void ShowHint(const TRect& Rect, const std::string& Text) override;
    void HideHint() override;

private:
    QWidget& FClient;
    QPointer<QLabel> FWindow;
};

} // namespace quillon
