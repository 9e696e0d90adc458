#include "QtDialogs.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>
#include <QWidget>

#include <algorithm>

namespace quillon {

QWidget* OwnerWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

void CentreOver(QWidget& Dialog, const QWidget* Owner) {
    if (!Owner) return;
    const QWidget* window = Owner->window();
    Dialog.ensurePolished();
    if (!Dialog.testAttribute(Qt::WA_Resized)) Dialog.adjustSize();
    QRect place(QPoint(), Dialog.frameGeometry().size());
    place.moveCenter(window->frameGeometry().center());
    if (const QScreen* screen = window->screen()) {
        const QRect area = screen->availableGeometry();
        place.moveRight(std::min(place.right(), area.right()));
        place.moveBottom(std::min(place.bottom(), area.bottom()));
        place.moveLeft(std::max(place.left(), area.left()));
        place.moveTop(std::max(place.top(), area.top()));
    }
    Dialog.move(place.topLeft());
}

bool InstallQtTranslation(QTranslator& Translator) {
    if (!Translator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&Translator);
}

} // namespace quillon
