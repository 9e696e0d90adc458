#pragma once
// The list commands' dialogs on Qt: the renumber dialog that lives for the whole run, the
// environment dialog created for each use, and the maker's progress dialog. Filling a dialog and
// reading it back are separate steps, so that they can be checked without a modal loop.
#include "ListCommands.h"

class QWidget;

namespace quillon {

class TfrmRenum;
class TfrmSetEnv;

// The start number shown is FirstNum; the rest of the dialog keeps the user's last choices.
void FillRenumDialog(TfrmRenum& Form, std::int32_t FirstNum);
TRenumberRequest ReadRenumDialog(const TfrmRenum& Form);

// Every option into its control, and the page Page shown first.
void FillEnvDialog(TfrmSetEnv& Form, const TListOptions& Options, int Page);
// Every control back into its option; a radio group without a choice gives its first item.
void ReadEnvDialog(const TfrmSetEnv& Form, const TListOptions& Options);

class TQtListCommandDialogs : public TListCommandDialogs {
public:
    // Owner: the edit window, owner of the environment and progress dialogs. Renum: the run's renumber dialog.
    TQtListCommandDialogs(QWidget* Owner, TfrmRenum& Renum) : FOwner(Owner), FRenum(Renum) {}

    bool AskRenumber(std::int32_t FirstNum, TRenumberRequest& Request) override;
    bool EditEnvironment(const TListOptions& Options, int Page) override;
    int RunMaker(const TMakerJob& Job) override;

private:
    QWidget* FOwner;
    TfrmRenum& FRenum;
};

} // namespace quillon
