#include "Repl.h"

#include "FormUtils.h"
#include "QtText.h"

#include <QApplication>

namespace quillon {

namespace {
const std::string ReplaceHistorySection = "ReplaceItems";
} // namespace

TFormReplace::TFormReplace(TSettingsStore& Store, QWidget* parent) : TSearchDialog(Store, parent) {
    setupUi(this);
    WireControls({chkMatchCase, chkWholeWord, chkRegExp, chkAimai}, btnOK, btnCancel);
    connect(btnAll, &QPushButton::clicked, this, [this] {
        btnAllClick();
        done(mrAll);
    });
}

// The replace dialog always opens searching forward, whatever the find dialog stored.
void TFormReplace::FormShow() {
    FFindText.clear();
    FReplaceText.clear();
    FAll = false;
    FBoxes.Load(FStore);
    ComboBox1->clear();
    ComboBox1->addItems(ReadHistory(FStore, FindHistorySection));
    ComboBox2->clear();
    ComboBox2->addItems(ReadHistory(FStore, ReplaceHistorySection));
    chkReplaceConfirm->setChecked(true);
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    ComboBox2->setCurrentIndex(-1);
    ComboBox2->setEditText(QString());
    ComboBox1->setFocus();
}

void TFormReplace::Commit() {
    const QString findText = ComboBox1->currentText();
    if (!findText.isEmpty()) {
        FFindText = findText;
        CommitText(ComboBox1, findText);
    }
    const QString replaceText = ComboBox2->currentText();
    if (!replaceText.isEmpty()) {
        FReplaceText = replaceText;
        CommitText(ComboBox2, replaceText);
    }
    FBoxes.Store(FStore);
    FStore.WriteBool(OptionsSection, "ReplaceConfirm", chkReplaceConfirm->isChecked());
    WriteHistory(FStore, FindHistorySection, ComboItems(ComboBox1));
    WriteHistory(FStore, ReplaceHistorySection, ComboItems(ComboBox2));
}

void TFormReplace::btnOKClick() {
    Commit();
    FAll = false;
}

void TFormReplace::btnAllClick() {
    Commit();
    FAll = true;
}

bool TFormReplace::Result(std::string& FindText, std::string& ReplaceText, bool& Confirm, bool& ReplaceAll,
                          bool& Backward, std::uint8_t& Options) const {
    if ((result() != Accepted && result() != mrAll) || FFindText.isEmpty()) return false;
    FindText = ToCp932(FFindText);
    ReplaceText = ToCp932(FReplaceText);
    Confirm = chkReplaceConfirm->isChecked();
    ReplaceAll = FAll;
    Backward = ItemIndex(rgpDirection) != kForward;
    Options = FBoxes.Options();
    return true;
}

bool ExecuteReplaceDialog(TSettingsStore& Store, std::string& FindText, std::string& ReplaceText, bool& Confirm,
                          bool& ReplaceAll, bool& Backward, std::uint8_t& Options) {
    FindText.clear();
    ReplaceText.clear();
    Options = 0;
    TFormReplace dialog(Store, QApplication::activeWindow());
    dialog.exec();
    return dialog.Result(FindText, ReplaceText, Confirm, ReplaceAll, Backward, Options);
}

} // namespace quillon
