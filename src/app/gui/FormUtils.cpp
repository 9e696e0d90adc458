#include "FormUtils.h"

#include <QDialog>
#include <QRadioButton>

namespace quillon {

namespace {
QList<QRadioButton*> Items(const QGroupBox* Group) {
    return Group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}
} // namespace

int ItemIndex(const QGroupBox* Group) {
    const QList<QRadioButton*> items = Items(Group);
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i]->isChecked()) return static_cast<int>(i);
    return -1;
}

void SetItemIndex(QGroupBox* Group, int Index) {
    const QList<QRadioButton*> items = Items(Group);
    for (qsizetype i = 0; i < items.size(); ++i) {
        // Auto-exclusive buttons refuse to be unchecked one by one; lift it while clearing.
        QRadioButton* item = items[i];
        item->setAutoExclusive(false);
        item->setChecked(i == Index);
        item->setAutoExclusive(true);
    }
}

void RemoveSystemButtons(QDialog* Dialog) {
    Dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

} // namespace quillon
