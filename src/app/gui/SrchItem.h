#pragma once
// The item-search dialog: the text with its history, the field of a motion line that is searched,
// the direction and the options. The choices and the history are kept in the settings store.
#include "ItemSearch.h"
#include "SettingsStore.h"
#include "Srch.h"
#include "forms/ui_SrchItem.h"

namespace quillon {

class TfrmSrchItem : public TSearchDialog, public Ui::frmSrchItem {
public:
    TfrmSrchItem(TSettingsStore& Store, QWidget* parent = nullptr);

    // Asks for an item-search request. The text is emptied, the kind set to 50 and the options to 0
    // first; true when the dialog ended with OK and a text, which then fills the whole request.
    static bool Execute(TSettingsStore& Store, TItemSearchRequest& Request);

    // After OK with a text: the request the controls give; false otherwise.
    bool Result(TItemSearchRequest& Request) const;

    // The controls as the choices stand, and back.
    TItemSearchOptions Choices() const;
    void ShowChoices(const TItemSearchOptions& Options);

    void FormShow() override;
    void btnOKClick() override;

private:
    QString FText; // the confirmed text; empty until OK with a text
};

} // namespace quillon
