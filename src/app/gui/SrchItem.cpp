#include "SrchItem.h"

#include "FormUtils.h"
#include "MotionColourer.h"
#include "QtText.h"

#include <QApplication>

namespace quillon {

TfrmSrchItem::TfrmSrchItem(TSettingsStore& Store, QWidget* parent) : TSearchDialog(Store, parent) {
    setupUi(this);
    WireControls({chkMatchCase, chkWholeWord, chkRegExp, chkAimai}, btnOK, btnCancel);
}

bool TfrmSrchItem::Execute(TSettingsStore& Store, TItemSearchRequest& Request) {
    Request.ItemText.clear();
    Request.ItemKind = mtMotionNum;
    Request.ItemOptions = 0;
    TfrmSrchItem dialog(Store, QApplication::activeWindow());
    dialog.exec();
    return dialog.Result(Request);
}

bool TfrmSrchItem::Result(TItemSearchRequest& Request) const {
    if (result() != Accepted || FText.isEmpty()) return false;
    const TItemSearchOptions choices = Choices();
    Request.ItemText = ToCp932(FText);
    Request.ItemKind = static_cast<std::uint8_t>(ItemKindOfChoice(choices.SearchToken));
    Request.ItemOptions = ItemOptionsOf(choices);
    Request.ItemDirection = ItemDirectionOf(choices.Direction);
    return true;
}

TItemSearchOptions TfrmSrchItem::Choices() const {
    return {chkWholeWord->isChecked(), chkMatchCase->isChecked(), chkRegExp->isChecked(), chkAimai->isChecked(),
            chkSubString->isChecked(), ItemIndex(rgpTokens),      ItemIndex(rgpDirection)};
}

void TfrmSrchItem::ShowChoices(const TItemSearchOptions& Options) {
    chkWholeWord->setChecked(Options.WholeWord);
    chkMatchCase->setChecked(Options.MatchCase);
    chkRegExp->setChecked(Options.RegExp);
    chkAimai->setChecked(Options.Fuzzy);
    chkSubString->setChecked(Options.SubString);
    SetItemIndex(rgpTokens, Options.SearchToken);
    SetItemIndex(rgpDirection, Options.Direction);
    chkWholeWord->setEnabled(!Options.RegExp);
    chkAimai->setEnabled(Options.RegExp);
    // Whole word stored beside the regular expression would leave both boxes ticked and disabled.
    if (Options.RegExp) chkRegExp->setEnabled(true);
}

void TfrmSrchItem::FormShow() {
    FText.clear();
    ShowChoices(ReadItemSearchOptions(FStore));
    ComboBox1->clear();
    for (const std::string& text : ReadItemHistory(FStore)) ComboBox1->addItem(QStr(text));
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    ComboBox1->setFocus();
}

void TfrmSrchItem::btnOKClick() {
    const QString text = ComboBox1->currentText();
    if (text.isEmpty()) {
        WriteItemSearchOptions(FStore, Choices());
        return;
    }
    FText = text;
    std::vector<std::string> history;
    for (const QString& item : ComboItems(ComboBox1)) history.push_back(StdStr(item));
    AddItemHistory(history, StdStr(text));
    ComboBox1->clear();
    for (const std::string& item : history) ComboBox1->addItem(QStr(item));
    ComboBox1->setCurrentIndex(0);
    WriteItemSearchOptions(FStore, Choices());
    WriteItemHistory(FStore, history);
}

} // namespace quillon
