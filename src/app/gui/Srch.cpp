#include "Srch.h"

#include "FormUtils.h"
#include "QtText.h"

#include <QApplication>
#include <QComboBox>
#include <QShowEvent>

namespace quillon {

const std::string OptionsSection = "SearchOptions";
const std::string FindHistorySection = "SearchItems";

std::uint8_t TSearchOptionBoxes::Options() const {
    std::uint8_t options = WholeWord->isChecked() ? soWholeWord : 0;
    if (RegExp->isChecked()) options = Aimai->isChecked() ? soRegExp | soFuzzy : soRegExp;
    if (MatchCase->isChecked()) options |= soMatchCase;
    return options;
}

void TSearchOptionBoxes::chkRegExpClick() const {
    WholeWord->setEnabled(!RegExp->isChecked());
    Aimai->setEnabled(RegExp->isChecked());
}

void TSearchOptionBoxes::chkWholeWordClick() const {
    if (WholeWord->isChecked()) {
        RegExp->setEnabled(false);
        Aimai->setEnabled(false);
    } else {
        RegExp->setEnabled(true);
        Aimai->setEnabled(RegExp->isChecked());
    }
}

void TSearchOptionBoxes::Connect(QObject* Context) const {
    const TSearchOptionBoxes boxes = *this;
    QObject::connect(RegExp, &QCheckBox::toggled, Context, [boxes] { boxes.chkRegExpClick(); });
    QObject::connect(WholeWord, &QCheckBox::toggled, Context, [boxes] { boxes.chkWholeWordClick(); });
}

void TSearchOptionBoxes::Load(TSettingsStore& Settings) const {
    WholeWord->setChecked(Settings.ReadBool(OptionsSection, "WholeWord", false));
    MatchCase->setChecked(Settings.ReadBool(OptionsSection, "MatchCase", false));
    RegExp->setChecked(Settings.ReadBool(OptionsSection, "RegExp", false));
    Aimai->setChecked(Settings.ReadBool(OptionsSection, "Fuzzy", false));
    WholeWord->setEnabled(!RegExp->isChecked());
    Aimai->setEnabled(RegExp->isChecked());
    // A store holding both whole word and regular expression would otherwise leave both boxes
    // ticked and disabled, so that neither could be unticked.
    if (RegExp->isChecked()) RegExp->setEnabled(true);
}

void TSearchOptionBoxes::Store(TSettingsStore& Settings) const {
    Settings.WriteBool(OptionsSection, "MatchCase", MatchCase->isChecked());
    Settings.WriteBool(OptionsSection, "WholeWord", WholeWord->isChecked());
    Settings.WriteBool(OptionsSection, "RegExp", RegExp->isChecked());
    Settings.WriteBool(OptionsSection, "Fuzzy", Aimai->isChecked());
}

QStringList ReadHistory(TSettingsStore& Store, const std::string& Section) {
    QStringList history;
    for (const QString& line : QStr(Store.ReadString(Section, "Text", "")).split(QStringLiteral("\r\n"))) {
        if (history.size() == kMaxHistory) break;
        if (!line.isEmpty()) history << line;
    }
    return history;
}

void WriteHistory(TSettingsStore& Store, const std::string& Section, const QStringList& History) {
    Store.WriteString(Section, "Text", StdStr(History.join(QStringLiteral("\r\n"))));
}

void AddToHistory(QStringList& History, const QString& Text) {
    History.removeOne(Text);
    History.prepend(Text);
    while (History.size() > kMaxHistory) History.removeLast();
}

QStringList ComboItems(const QComboBox* Box) {
    QStringList items;
    for (int i = 0; i < Box->count(); ++i) items << Box->itemText(i);
    return items;
}

void CommitText(QComboBox* Box, const QString& Text) {
    QStringList items = ComboItems(Box);
    AddToHistory(items, Text);
    Box->clear();
    Box->addItems(items);
    Box->setCurrentIndex(0);
}

TSearchDialog::TSearchDialog(TSettingsStore& Store, QWidget* parent) : QDialog(parent), FStore(Store) {}

void TSearchDialog::WireControls(const TSearchOptionBoxes& Boxes, QPushButton* OK, QPushButton* Cancel) {
    RemoveSystemButtons(this);
    // A text box keeps exactly what is typed: no inline completion from its history, and no
    // case-blind match that Enter would turn into a history entry.
    for (QComboBox* box : findChildren<QComboBox*>())
        if (box->isEditable()) box->setCompleter(nullptr);
    FBoxes = Boxes;
    FBoxes.Connect(this);
    connect(OK, &QPushButton::clicked, this, [this] {
        btnOKClick();
        accept();
    });
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TSearchDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

TFormSearch::TFormSearch(TSettingsStore& Store, QWidget* parent) : TSearchDialog(Store, parent) {
    setupUi(this);
    WireControls({chkMatchCase, chkWholeWord, chkRegExp, chkAimai}, btnOK, btnCancel);
}

void TFormSearch::FormShow() {
    FText.clear();
    FBoxes.Load(FStore);
    const int direction = FStore.ReadInteger(OptionsSection, "Direction", kForward);
    SetItemIndex(rgpDirection, direction == 0 ? 0 : kForward);
    ComboBox1->clear();
    ComboBox1->addItems(ReadHistory(FStore, FindHistorySection));
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    ComboBox1->setFocus();
}

void TFormSearch::btnOKClick() {
    const QString text = ComboBox1->currentText();
    if (!text.isEmpty()) {
        FText = text;
        CommitText(ComboBox1, text);
    }
    FBoxes.Store(FStore);
    FStore.WriteInteger(OptionsSection, "Direction", ItemIndex(rgpDirection));
    if (!text.isEmpty()) WriteHistory(FStore, FindHistorySection, ComboItems(ComboBox1));
}

bool TFormSearch::Result(std::string& Text, std::uint8_t& Options, bool& Backward) const {
    if (result() != Accepted || FText.isEmpty()) return false;
    Text = ToCp932(FText);
    Options = FBoxes.Options();
    Backward = ItemIndex(rgpDirection) != kForward;
    return true;
}

bool ExecuteSearchDialog(TSettingsStore& Store, std::string& Text, std::uint8_t& Options, bool& Backward) {
    Text.clear();
    Options = 0;
    TFormSearch dialog(Store, QApplication::activeWindow());
    dialog.exec();
    return dialog.Result(Text, Options, Backward);
}

} // namespace quillon
