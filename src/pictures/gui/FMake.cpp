#include "FMake.h"

#include "CharMaker.h"
#include "QtText.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace quillon {

namespace {
QLabel* MakeLabel(QWidget* parent, int x, int y, int w, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, w, 12);
    return label;
}
} // namespace

TfrmFileMake::TfrmFileMake(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStr("Brannic Pattern Maker ファイル作成中"));
    setFixedSize(308, 116);
    QFont f = font();
    f.setPixelSize(12);
    setFont(f);
    Label1 = MakeLabel(this, 8, 16, 297, QStr("\"PATTERN.PAT\"と\"CHARA.BMP\"を作成中です"));
    Label1->setAlignment(Qt::AlignCenter);
    lblInfoTitle = MakeLabel(this, 8, 40, 40, QStr("処理中"));
    lblInfoNum = MakeLabel(this, 48, 40, 49);
    lblInfoName = MakeLabel(this, 104, 40, 201);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setGeometry(8, 64, 297, 16);
    ProgressBar->setTextVisible(false);
    btnCancel = new QPushButton(QStr("キャンセル"), this);
    btnCancel->setGeometry(120, 88, 75, 25);
    btnCancel->setAutoDefault(false);
    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TfrmFileMake::Timer1Timer);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmFileMake::btnCancelClick);
}

void TfrmFileMake::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!FFinished && !FMaker) Timer1->start();
}

void TfrmFileMake::closeEvent(QCloseEvent* event) {
    if (FFinished) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    btnCancelClick();
}

void TfrmFileMake::reject() {
    if (FFinished)
        QDialog::reject();
    else
        btnCancelClick();
}

void TfrmFileMake::btnCancelClick() {
    FCancel = true;
    if (FMaker) FMaker->Cancel();
}

void TfrmFileMake::Timer1Timer() {
    Timer1->stop();
    TCharMaker maker;
    maker.OutputFolder = OutputFolder;
    maker.Suffix = Suffix;
    maker.Entries = Entries;
    maker.UseDecColorDepth = UseDecColorDepth;
    maker.DecColorDepthMethod = DecColorDepthMethod;
    maker.CreateMode = CreateMode;
    maker.Scale = Scale;
    if (FCancel) maker.Cancel();
    maker.OnStart = [this](const std::string& caption, int entries) {
        ProgressBar->setRange(0, entries);
        ProgressBar->setValue(0);
        Label1->setText(QStr(caption));
        Label1->repaint();
    };
    maker.OnPicture = [this](int position, std::int32_t number, const std::filesystem::path& path) {
        ShowProgress(position, number, path);
    };
    maker.OnCollected = [this] {
        ProgressBar->setValue(ProgressBar->maximum());
        ProgressBar->repaint();
    };
    maker.OnReductionStart = [this](const std::string& caption) { ReductionStarted(caption); };
    maker.OnReduction = [this](int percent) { ReductionProgress(percent); };
    maker.OnProcessMessages = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
    FMaker = &maker;
    TMakeResult result = maker.Run();
    FMaker = nullptr;
    FFinished = true;
    done(result);
}

void TfrmFileMake::ShowProgress(int position, std::int32_t number, const std::filesystem::path& path) {
    ProgressBar->setValue(position);
    lblInfoNum->setText(QStr(PictureNumberText(CreateMode, number)));
    const QString relative = QString::fromStdString(path.lexically_relative(OutputFolder).string());
    const QString shown = relative.isEmpty() ? QString::fromStdString(path.string()) : relative;
    lblInfoName->setText(lblInfoName->fontMetrics().elidedText(shown, Qt::ElideMiddle, lblInfoName->width()));
}

void TfrmFileMake::ReductionStarted(const std::string& caption) {
    FReductionCaption = caption;
    Label1->clear();
    lblInfoTitle->hide();
    lblInfoNum->hide();
    lblInfoName->hide();
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
}

void TfrmFileMake::ReductionProgress(int percent) {
    ProgressBar->setValue(percent);
    Label1->setText(QStr(FReductionCaption));
}

} // namespace quillon
