#pragma once
// The edit window's menu-bar toolbar: one grouped button per top-level menu, with captions. On a
// flat toolbar with captions, a menu button that is hot (under the mouse) or pressed (its menu open)
// is painted in the highlight colours, its caption centred on one line two pixels below the middle
// of the button; every other button keeps the style's drawing.
#include <QToolBar>
#include <QToolButton>

class QKeyEvent;
class QMenu;

namespace quillon {

// The plain toolbar of the program's windows.
class TXPToolBar : public QToolBar {
public:
    using QToolBar::QToolBar;
};

class TXPToolBarMenu;

// A grouped button of the menu-bar toolbar; it pops up its menu when clicked.
class TXPToolBarMenuButton : public QToolButton {
public:
    TXPToolBarMenuButton(TXPToolBarMenu& Bar, const QString& Caption, QMenu* Menu);
    // Under the mouse.
    bool Hot() const { return FHot; }

protected:
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    TXPToolBarMenu& FBar;
    bool FHot = false;
};

class TXPToolBarMenu : public TXPToolBar {
public:
    explicit TXPToolBarMenu(QWidget* Parent = nullptr);

    // Flat: the buttons show their frames only while hot.
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    // The buttons show their captions (else their icons).
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool Value);

    // Adds the button of a top-level menu (Menu may be null: a button without a menu).
    TXPToolBarMenuButton* AddMenuButton(const QString& Caption, QMenu* Menu);
    // The button with a menu whose caption's letter is Key's with Alt alone (Alt+W for
    // "ウィンドウ(&W)"); null for any other key.
    TXPToolBarMenuButton* MenuButtonFor(const QKeyEvent& Key) const;
    // Opens Button's menu under it, pressed until the menu closes; a button folded away behind
    // ">>" (the toolbar too narrow for it) opens its menu under ">>". The menu takes the keys
    // that follow.
    void OpenMenu(TXPToolBarMenuButton& Button);
    // Whether Button paints itself in the highlight colours now.
    bool CustomDrawn(const TXPToolBarMenuButton& Button) const;

private:
    bool FFlat = true;
    bool FShowCaptions = true;
};

} // namespace quillon
