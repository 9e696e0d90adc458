#include "ComCtrlsXP.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace quillon {

// ---- TXPToolBarMenuButton

TXPToolBarMenuButton::TXPToolBarMenuButton(TXPToolBarMenu& Bar, const QString& Caption, QMenu* Menu)
    : QToolButton(&Bar), FBar(Bar) {
    setText(Caption);
    setAutoRaise(Bar.Flat());
    setToolButtonStyle(Bar.ShowCaptions() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    if (Menu) {
        setMenu(Menu);
        setPopupMode(QToolButton::InstantPopup);
    }
}

void TXPToolBarMenuButton::enterEvent(QEnterEvent* Event) {
    FHot = true;
    QToolButton::enterEvent(Event);
    update();
}

void TXPToolBarMenuButton::leaveEvent(QEvent* Event) {
    FHot = false;
    QToolButton::leaveEvent(Event);
    update();
}

void TXPToolBarMenuButton::paintEvent(QPaintEvent*) {
    if (!FBar.CustomDrawn(*this)) {
        // A menu button of a menu bar: no drop-down arrow beside its caption.
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.features &= ~QStyleOptionToolButton::HasMenu;
        painter.drawComplexControl(QStyle::CC_ToolButton, option);
        return;
    }
    QPainter painter(this);
    QRect r = rect();
    painter.fillRect(r, palette().brush(QPalette::Highlight));
    r.setTop(r.top() + 2);
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.setFont(font());
    painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
}

// ---- TXPToolBarMenu

TXPToolBarMenu::TXPToolBarMenu(QWidget* Parent) : TXPToolBar(Parent) {
    setMovable(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void TXPToolBarMenu::SetFlat(bool Value) {
    FFlat = Value;
    for (TXPToolBarMenuButton* button : findChildren<TXPToolBarMenuButton*>()) {
        button->setAutoRaise(Value);
        button->update();
    }
}

void TXPToolBarMenu::SetShowCaptions(bool Value) {
    FShowCaptions = Value;
    setToolButtonStyle(Value ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    for (TXPToolBarMenuButton* button : findChildren<TXPToolBarMenuButton*>())
        button->setToolButtonStyle(toolButtonStyle());
}

TXPToolBarMenuButton* TXPToolBarMenu::AddMenuButton(const QString& Caption, QMenu* Menu) {
    auto* button = new TXPToolBarMenuButton(*this, Caption, Menu);
    addWidget(button);
    return button;
}

TXPToolBarMenuButton* TXPToolBarMenu::MenuButtonFor(const QKeyEvent& Key) const {
    const Qt::KeyboardModifiers mods =
        Key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods != Qt::AltModifier) return nullptr;
    const QKeySequence pressed(QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(Key.key())));
    for (TXPToolBarMenuButton* button : findChildren<TXPToolBarMenuButton*>())
        if (button->menu() && QKeySequence::mnemonic(button->text()) == pressed) return button;
    return nullptr;
}

void TXPToolBarMenu::OpenMenu(TXPToolBarMenuButton& Button) {
    QMenu* menu = Button.menu();
    if (!menu) return;
    QWidget* under = &Button;
    if (!Button.isVisible()) {
        auto* folded = findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
        under = folded && folded->isVisible() ? static_cast<QWidget*>(folded) : this;
    } else {
        Button.setDown(true);
        connect(
            menu, &QMenu::aboutToHide, &Button, [&Button] { Button.setDown(false); }, Qt::SingleShotConnection);
    }
    menu->popup(under->mapToGlobal(QPoint(0, under->height())));
}

bool TXPToolBarMenu::CustomDrawn(const TXPToolBarMenuButton& Button) const {
    return FFlat && FShowCaptions && Button.menu() && (Button.Hot() || Button.isDown());
}

} // namespace quillon
