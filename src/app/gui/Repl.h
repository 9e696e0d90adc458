#pragma once
// The replace dialog: the find text and its replacement with their histories, the search options
// (shared with the find dialog), whether each replacement is confirmed, and "replace all".
#include "SettingsStore.h"
#include "Srch.h"
#include "forms/ui_Repl.h"

#include <cstdint>
#include <string>

namespace quillon {

class TFormReplace : public TSearchDialog, public Ui::FormReplace {
    Q_OBJECT
public:
    // The dialog's result after "すべて置換(&A)".
    static constexpr int mrAll = 2;

    TFormReplace(TSettingsStore& Store, QWidget* parent = nullptr);

    // After OK or "replace all": the confirmed texts (CP932), the options and the choices. False
    // when the dialog was cancelled or no find text was confirmed; the replacement may be empty.
    bool Result(std::string& FindText, std::string& ReplaceText, bool& Confirm, bool& ReplaceAll, bool& Backward,
                std::uint8_t& Options) const;

    void FormShow() override;
    void btnOKClick() override;
    void btnAllClick();

private:
    // Takes the entered texts into the histories and stores them with the options.
    void Commit();

    QString FFindText;    // empty until confirmed
    QString FReplaceText; // empty until confirmed
    bool FAll = false;    // closed by "replace all"
};

// Asks for a replace request. FindText, ReplaceText and Options are cleared first; true when a
// find text was confirmed with OK or "replace all".
bool ExecuteReplaceDialog(TSettingsStore& Store, std::string& FindText, std::string& ReplaceText, bool& Confirm,
                          bool& ReplaceAll, bool& Backward, std::uint8_t& Options);

} // namespace quillon
