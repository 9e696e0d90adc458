#pragma once
// The find dialog, and what it shares with the replace and item-search dialogs: the search option
// bits, the interlock of the option boxes, the histories of entered texts kept in the settings store,
// and the dialog base that wires the buttons and fills the form each time it is shown.
//
// Option bits: 1 match case, 2 regular expression, 4 fuzzy characters (only with 2), 8 whole word
// (never with 2). The direction travels apart, as a backward flag.
#include "SettingsStore.h"
#include "forms/ui_Srch.h"

#include <QDialog>
#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace quillon {

enum : std::uint8_t { soMatchCase = 1, soRegExp = 2, soFuzzy = 4, soWholeWord = 8 };

// A history holds at most this many texts, newest first.
constexpr int kMaxHistory = 32;
// The direction group's items: 0 backward, 1 forward.
constexpr int kForward = 1;

// The options both dialogs share, and the find history.
extern const std::string OptionsSection;
extern const std::string FindHistorySection;

// The option boxes of either dialog.
struct TSearchOptionBoxes {
    QCheckBox* MatchCase = nullptr;
    QCheckBox* WholeWord = nullptr;
    QCheckBox* RegExp = nullptr;
    QCheckBox* Aimai = nullptr;

    // The option bits of the ticked boxes, enabled or not.
    std::uint8_t Options() const;
    // Whole word and regular expression exclude each other; fuzzy needs the regular expression.
    void chkRegExpClick() const;
    void chkWholeWordClick() const;
    // Runs the handlers above whenever a box changes, by the user or by the program.
    void Connect(QObject* Context) const;
    // Ticks the boxes as stored; the enabling then follows the regular-expression box alone.
    void Load(TSettingsStore& Settings) const;
    void Store(TSettingsStore& Settings) const;
};

// A history as stored: its texts joined by CR LF, newest first. Empty lines are passed over and
// no more than kMaxHistory texts are read.
QStringList ReadHistory(TSettingsStore& Store, const std::string& Section);
void WriteHistory(TSettingsStore& Store, const std::string& Section, const QStringList& History);
// Moves Text to the top (dropping an equal entry further down) and keeps at most kMaxHistory.
void AddToHistory(QStringList& History, const QString& Text);
QStringList ComboItems(const QComboBox* Box);
// Puts a confirmed text at the top of a combo box's history and shows it.
void CommitText(QComboBox* Box, const QString& Text);

// A search dialog: its settings store and option boxes, OK and Cancel, and FormShow run each time
// the program shows it.
class TSearchDialog : public QDialog {
public:
    TSearchDialog(TSettingsStore& Store, QWidget* parent);

    // Fills the controls from the settings store.
    virtual void FormShow() = 0;
    // Takes the entered choices and stores them; OK then accepts the dialog.
    virtual void btnOKClick() = 0;

protected:
    // After setupUi: removes the system buttons, turns off the text boxes' completion, ties the
    // option boxes together and wires OK and Cancel.
    void WireControls(const TSearchOptionBoxes& Boxes, QPushButton* OK, QPushButton* Cancel);
    void showEvent(QShowEvent* event) override;

    TSettingsStore& FStore;
    TSearchOptionBoxes FBoxes;
};

class TFormSearch : public TSearchDialog, public Ui::FormSearch {
    Q_OBJECT
public:
    TFormSearch(TSettingsStore& Store, QWidget* parent = nullptr);

    // After OK: the confirmed text (CP932), the option bits and the direction. False when the
    // dialog was cancelled or no text was confirmed.
    bool Result(std::string& Text, std::uint8_t& Options, bool& Backward) const;

    void FormShow() override;
    void btnOKClick() override;

private:
    QString FText; // the confirmed text; empty until OK with a text
};

// Asks for a find request. Text and Options are cleared first; true when a text was confirmed.
bool ExecuteSearchDialog(TSettingsStore& Store, std::string& Text, std::uint8_t& Options, bool& Backward);

} // namespace quillon
