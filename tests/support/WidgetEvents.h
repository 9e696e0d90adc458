#pragma once
// Mouse input as Qt delivers it to a widget, for tests.
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace quillon {

// A left double click at P: press, release, press, double click, release.
inline void DoubleClick(QWidget* Target, QPoint P) {
    const QEvent::Type types[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease};
    for (QEvent::Type type : types) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, P, Target->mapToGlobal(P), Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(Target, &event);
    }
}

} // namespace quillon
