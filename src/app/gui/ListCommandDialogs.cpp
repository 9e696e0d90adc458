#include "ListCommandDialogs.h"

#include "AsciiText.h"
#include "EnvDlg.h"
#include "FMake.h"
#include "FormUtils.h"
#include "MakePattern.h"
#include "QtText.h"
#include "ReNumDlg.h"

#include <QProgressBar>
#include <algorithm>

namespace quillon {
namespace {

// The checked item of a group as a number from 0 to Last; no choice reads as 0.
int ChoiceOf(const QGroupBox* Group, int Last) { return std::clamp(ItemIndex(Group), 0, Last); }

struct TFormatterControls {
    QCheckBox* HeaderAlign;
    QCheckBox* FlagAlign;
    QGroupBox* FlagMethod;
    QCheckBox* AddSemiColon;
};

void FillFormatter(const TFormatterControls& C, const TFormatterOptions& O) {
    C.HeaderAlign->setChecked(O.HeaderAlign());
    C.FlagAlign->setChecked(O.FlagAlign());
    SetItemIndex(C.FlagMethod, O.FlagMethod());
    C.AddSemiColon->setChecked(O.AddSemiColon());
}

void ReadFormatter(const TFormatterControls& C, TFormatterOptions& O) {
    O.SetHeaderAlign(C.HeaderAlign->isChecked());
    O.SetFlagAlign(C.FlagAlign->isChecked());
    O.SetFlagMethod(ChoiceOf(C.FlagMethod, fmPadZeros));
    O.SetAddSemiColon(C.AddSemiColon->isChecked());
}

TFormatterControls MotionControls(const TfrmSetEnv& F) {
    return {F.chkMotionHeaderAlign, F.chkMotionFlagAlign, F.rgpMotionFlagMethod, F.chkMotionAddSemicolon};
}
TFormatterControls CommandControls(const TfrmSetEnv& F) {
    return {F.chkCommandHeaderAlign, F.chkCommandFlagAlign, F.rgpCommandFlagMethod, F.chkCommandAddSemicolon};
}
TFormatterControls ZCommandControls(const TfrmSetEnv& F) {
    return {F.chkZCommandHeaderAlign, F.chkZCommandFlagAlign, F.rgpZCommandFlagMethod, F.chkZCommandAddSemicolon};
}

} // namespace

void FillRenumDialog(TfrmRenum& Form, std::int32_t FirstNum) { Form.SetStartNum(QStr(IntToStr(FirstNum))); }

TRenumberRequest ReadRenumDialog(const TfrmRenum& Form) {
    TRenumberRequest r;
    r.StartNum = StdStr(Form.edtStartNum->text());
    r.JumpMode = ChoiceOf(Form.rgpJump, rjInRange);
    r.Duplicates = Form.chkMulti->isChecked();
    r.OffsetMode = ItemIndex(Form.rgpRenumMode) == 1;
    return r;
}

void FillEnvDialog(TfrmSetEnv& Form, const TListOptions& Options, int Page) {
    FillFormatter(MotionControls(Form), Options.MotionOptions);
    Form.chkMotionCanDockMinus->setChecked(Options.MotionOptions.CanDockMinus());
    FillFormatter(CommandControls(Form), Options.CommandOptions);
    FillFormatter(ZCommandControls(Form), Options.ZCommandOptions);
    Form.chkUseDecColorDepth->setChecked(Options.MakerOptions.UseDecColorDepth);
    SetItemIndex(Form.rdgDecColorDepth, Options.MakerOptions.DecColorDepthMethod);
    SetItemIndex(Form.rgpCreateMode, Options.MakerOptions.CreateMode);
    Form.pctlTypes->setCurrentIndex(Page);
}

void ReadEnvDialog(const TfrmSetEnv& Form, const TListOptions& Options) {
    ReadFormatter(MotionControls(Form), Options.MotionOptions);
    Options.MotionOptions.SetCanDockMinus(Form.chkMotionCanDockMinus->isChecked());
    ReadFormatter(CommandControls(Form), Options.CommandOptions);
    ReadFormatter(ZCommandControls(Form), Options.ZCommandOptions);
    Options.MakerOptions.UseDecColorDepth = Form.chkUseDecColorDepth->isChecked();
    Options.MakerOptions.DecColorDepthMethod = ChoiceOf(Form.rdgDecColorDepth, 3);
    Options.MakerOptions.CreateMode = ChoiceOf(Form.rgpCreateMode, 2);
}

bool TQtListCommandDialogs::AskRenumber(std::int32_t FirstNum, TRenumberRequest& Request) {
    FillRenumDialog(FRenum, FirstNum);
    if (FRenum.exec() != QDialog::Accepted) return false;
    Request = ReadRenumDialog(FRenum);
    return true;
}

bool TQtListCommandDialogs::EditEnvironment(const TListOptions& Options, int Page) {
    TfrmSetEnv form(FOwner);
    FillEnvDialog(form, Options, Page);
    if (form.exec() != QDialog::Accepted) return false;
    ReadEnvDialog(form, Options);
    return true;
}

int TQtListCommandDialogs::RunMaker(const TMakerJob& Job) {
    TfrmFileMake form(FOwner);
    form.ProgressBar->setMaximum(static_cast<int>(Job.Entries.size()));
    form.OutputFolder = Job.OutputFolder;
    form.Suffix = Job.Suffix;
    form.Entries = Job.Entries;
    form.UseDecColorDepth = Job.UseDecColorDepth;
    form.DecColorDepthMethod = Job.DecColorDepthMethod;
    form.CreateMode = Job.CreateMode;
    return form.exec();
}

} // namespace quillon
