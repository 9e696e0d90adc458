#include "QtDialogs.h"

#include <QApplication>
#include <QLayout>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>
#include <QWidget>

#include <algorithm>

namespace quillon {

namespace {

QPointer<QWidget>& CommandWindow() {
    static QPointer<QWidget> window;
    return window;
}

} // namespace

TCommandWindowScope::TCommandWindowScope(QWidget* Window) : FOuter(CommandWindow()) { CommandWindow() = Window; }

TCommandWindowScope::~TCommandWindowScope() { CommandWindow() = FOuter; }

QWidget* OwnerWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* command = CommandWindow(); command && command->isVisible()) return command->window();
    if (QWidget* active = QApplication::activeWindow()) return active;
    // No window has the focus (another program has it, or none does after a dialog closed): the
    // program's one main window, when it has exactly one on the screen.
    QWidget* only = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || widget->windowType() != Qt::Window) continue;
        if (only) return nullptr;
        only = widget;
    }
    return only;
}

void CentreOver(QWidget& Dialog, const QWidget* Owner) {
    if (!Owner) return;
    const QWidget* window = Owner->window();
    Dialog.ensurePolished();
    if (QLayout* layout = Dialog.layout()) layout->activate(); // the size the dialog will show in
    Dialog.winId(); // the platform window, so that its frame counts in the size
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

void TCentredDialog::setVisible(bool visible) {
    // Placed before it shows: the window in front is still the one the dialog speaks for.
    if (visible && !isVisible()) CentreOver(*this, parentWidget() ? parentWidget() : OwnerWindow());
    QDialog::setVisible(visible);
}

bool InstallQtTranslation(QTranslator& Translator) {
    if (!Translator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&Translator);
}

} // namespace quillon
