#pragma once
// Small pieces the dialog forms share.
#include <QGroupBox>

class QDialog;

namespace quillon {

// A radio group is a group box whose direct children include its radio buttons, in item order.
// The index of the checked item, or -1 when none is checked.
int ItemIndex(const QGroupBox* Group);
// Checks item Index; an index outside the items leaves none checked.
void SetItemIndex(QGroupBox* Group, int Index);

// A dialog with a caption but neither a system menu nor a close button.
void RemoveSystemButtons(QDialog* Dialog);

} // namespace quillon
