#include "EditorWin.h"

#include "AsciiText.h"
#include "Cp932.h"
#include "EditorExVantor.h"
#include "EditorWidget.h"
#include "KeyMacro.h"
#include "ListCommands.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "QtDialogs.h"
#include "QtHintWindow.h"
#include "QtText.h"
#include "REScanner.h"
#include "RootWin.h"
#include "SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QSplitter>

#include <filesystem>

namespace quillon {

namespace {

const char kOptions[] = "Options";

// The size a stored value gives: -1 keeps Own, a negative value too; above Screen it is Screen.
int StoredExtent(int stored, int own, int screen) {
    if (stored < 0) return own;
    return std::min(stored, screen);
}

} // namespace

TfrmEditWindow::TfrmEditWindow(TQuillonRootWin& Root)
    : FRoot(Root), FEditorWidget(new TEditorWidget(std::make_unique<TEditorExVantor>())),
      FFramePane(new TFramePicturePane(*this)), FKeyMacro(std::make_unique<TKeyMacro>()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    resize(648, 480);
    setMinimumWidth(320);
    Splitter1 = new QSplitter(Qt::Vertical);
    Splitter1->setObjectName("Splitter1");
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(FFramePane);
    Splitter1->addWidget(FEditorWidget);
    Splitter1->setStretchFactor(1, 1);
    setCentralWidget(Splitter1);
    FFramePane->hide();

    TEditorExVantor& editor = Editor();
    FEditorWidget->SetEditorFont("FixedSys", 14);
    editor.SetUndoListMax(1000);
    FEditorWidget->AssignToProp(FEditorProp);
    FHintScreen = std::make_unique<TQtHintWindow>(*FEditorWidget->viewport());
    editor.HintWindow().SetScreen(FHintScreen.get());
    editor.OnChange = [this](TEditor&) { EditorChange(); };
    editor.OnCaretMoved = [this](TEditor&) { FFramePane->FollowCaret(); };
    editor.OnSelectionChange = [this](TEditor&, bool) { FFramePane->FollowCaret(); };
    editor.OnSelectionModeChange = [this](TEditor&) { UpdateSelectionModePanel(); };
    editor.OnDblClick = [this](TEditor&) { EditorDblClick(); };
    editor.OnDropFiles = [this](TEditor&, const std::vector<std::string>& Files, int, TPoint) {
        OpenDroppedFiles(Files);
    };
    FKeyMacro->SetControl(&editor);
    FKeyMacro->SetShowDialog(false);
    FKeyMacro->OnChange = [this](TPersistent*) { KeyMacroChange(); };
    // The window sees every key of its widgets first, and the editor's mouse moves.
    qApp->installEventFilter(this);
    FEditorWidget->viewport()->setMouseTracking(true);

    BuildActions();
    UpdateCaption();
    UpdateInsertModePanel();
    UpdateSelectionModePanel();
    KeyMacroChange();
    // Wider than 648 when the menus and the toolbar beside them need it (a narrower row folds their
    // last buttons away behind ">>"), within the screen.
    const int row = std::min(sizeHint().width(), screen()->availableSize().width());
    if (row > width()) resize(row, height());
    LoadWindowSize();
    FormConstrainedResize();
}

TfrmEditWindow::~TfrmEditWindow() {
    qApp->removeEventFilter(this);
    if (FRoot.WindowCount() == 1 && FRoot.IndexOf(this) == 0) SaveWindowSize();
    FKeyMacro->SetControl(nullptr);
    Editor().HintWindow().SetScreen(nullptr);
    FFramePane->ShowFramePicture(false, {});
    FRoot.Notification(this);
}

TEditorExVantor& TfrmEditWindow::Editor() const { return static_cast<TEditorExVantor&>(FEditorWidget->Editor()); }

void TfrmEditWindow::SetModified(bool Value) {
    if (Value != FModified) {
        FModified = Value;
        UpdateCaption();
    }
    ActionSave->setEnabled(FModified && !FFileName.empty());
    UpdateFormat();
}

void TfrmEditWindow::SetFileName(const std::string& Value) {
    if (Value == FFileName) return;
    FFileName = Value;
    UpdateCaption();
    ActionGo->setEnabled(!FFileName.empty() && KindOffers(FRoot.KindOf(Editor()), kcConvert));
    ActionReLoad->setEnabled(!FFileName.empty());
    ActionCloseAndOpen->setEnabled(!FFileName.empty());
    UpdateFormat();
}

std::vector<std::string> TfrmEditWindow::Lines() const {
    const TEditorStrings& lines = Editor().Lines();
    std::vector<std::string> result;
    result.reserve(static_cast<size_t>(lines.Count()));
    for (int i = 0; i < lines.Count(); ++i) result.push_back(lines.Get(i));
    return result;
}

void TfrmEditWindow::ShowFramePicture(bool Show) {
    Show = Show && IsMotionList();
    if (Show && !FFramePane->isVisible()) {
        // Room for the pane above at least 236 pixels of the rest of the window.
        const int height = std::max(Splitter1->sizes().value(0), kFramePanelHeight);
        const int screenHeight = screen() ? screen()->availableGeometry().height() : this->height();
        if (this->height() - height < 236) resize(width(), std::min(height + 236, screenHeight));
        FFramePane->setVisible(true);
        Splitter1->setSizes({height, std::max(Splitter1->height() - height, 1)});
    }
    FFramePane->ShowFramePicture(Show, FFileName);
    FFramePane->setVisible(Show);
    ActionShowFramePicture->setChecked(Show);
    FormConstrainedResize();
    UpdatePictureList();
}

void TfrmEditWindow::FormConstrainedResize() {
    setMinimumHeight(FFramePane->isVisible() && IsMotionList() ? FFramePane->height() + 236 : 236);
}

void TfrmEditWindow::ActionShowFramePictureExecute() { ShowFramePicture(!FFramePane->isVisible()); }

void TfrmEditWindow::ActionPictureListExecute() {} // the picture list is not offered

void TfrmEditWindow::ActionNew(int Kind) {
    std::vector<std::string> lines;
    if (ListKindInfo(Kind).NewList) ListKindInfo(Kind).NewList(lines);
    FRoot.OpenNewWindow("", &lines, Kind == lkText ? -1 : Kind);
}

void TfrmEditWindow::OpenLongName(const std::string& Name) {
    if (FRoot.ActivateWindowForFile(Name)) return;
    std::string name = Name;
    std::vector<std::string> lines;
    if (!FRoot.LoadListFile(name, &lines)) return;
    if (!FFileName.empty() || FModified)
        FRoot.OpenNewWindow(name, &lines, -1);
    else
        FRoot.LoadIntoWindow(*this, name, nullptr, -1, &lines);
}

void TfrmEditWindow::OpenFileByName(const std::string& FileName) { OpenLongName(ShellLongFileName(FileName)); }

void TfrmEditWindow::ActionOpenExecute() {
    const std::string name = FRoot.OpenDialog();
    if (!name.empty()) OpenFileByName(name);
}

void TfrmEditWindow::ActionCloseAndOpenExecute() {
    if (!FormCloseQuery()) return;
    const std::string chosen = FRoot.OpenDialog();
    if (chosen.empty()) return;
    std::string name = ShellLongFileName(chosen);
    if (FRoot.ActivateWindowForFile(name)) return;
    std::vector<std::string> lines;
    if (FRoot.LoadListFile(name, &lines)) FRoot.LoadIntoWindow(*this, name, nullptr, -1, &lines);
}

void TfrmEditWindow::ActionReLoadExecute() {
    if (FFileName.empty()) return;
    if (Messages().Show("編集中のファイルを読み込みなおします。\r\nよろしいですか？", "確認", TMsgIcon::Question,
                        TMsgButtons::YesNo) != TMsgResult::Yes)
        return;
    const TEditorPosition position{Editor().TopRow(), Editor().Row(), Editor().Col()};
    std::string name = FFileName;
    std::vector<std::string> lines;
    if (!FRoot.LoadListFile(name, &lines)) return;
    FRoot.LoadIntoWindow(*this, name, &position, -1, &lines);
    if (FFramePane->isVisible()) FFramePane->RebuildPreview(FFileName);
}

void TfrmEditWindow::Saved(const std::string& Name) {
    Editor().SetModified(false);
    SetModified(false);
    Editor().ClearModifiedRows();
    SetFileName(Name);
    FEditorWidget->viewport()->update();
}

bool TfrmEditWindow::SaveAs(bool KeepName) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(FFileName).parent_path();
    const std::string chosen = FRoot.SaveDialog(
        !FFileName.empty() && std::filesystem::is_directory(folder, error) ? folder.string() : std::string());
    if (chosen.empty()) return false;
    std::string name = chosen;
    if (!FRoot.SaveListFile(*this, name, Lines())) {
        if (KeepName) SetFileName(name);
        return false;
    }
    Saved(name);
    return true;
}

bool TfrmEditWindow::ActionSaveAsExecute() {
    const bool shown = FFramePane->isVisible();
    if (!SaveAs(false)) return false;
    if (shown && IsMotionList()) FFramePane->RebuildPreview(FFileName);
    return true;
}

bool TfrmEditWindow::ActionSaveExecute() {
    if (FFileName.empty()) return ActionSaveAsExecute();
    std::string name = FFileName;
    if (!FRoot.SaveListFile(*this, name, Lines())) return false;
    Saved(name);
    return true;
}

void TfrmEditWindow::BringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

bool TfrmEditWindow::FormCloseQuery() {
    if (!FModified) return true;
    // The question is about this list, whichever window was in front: its window is active (the
    // window system has been told, and its answer handled) and the box stands over it.
    BringToFront();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const TCommandWindowScope scope(this);
    switch (Messages().Show("データが変更されています。\r\n保存しますか？", "確認", TMsgIcon::Question,
                            TMsgButtons::YesNoCancel)) {
    case TMsgResult::No: return true;
    case TMsgResult::Yes: return FFileName.empty() ? SaveAs(true) : ActionSaveExecute();
    default: return false;
    }
}

bool TfrmEditWindow::CloseQuery() { return !FFramePane->Dragging() && FormCloseQuery(); }

void TfrmEditWindow::Release() {
    FReleased = true;
    close();
}

void TfrmEditWindow::closeEvent(QCloseEvent* Event) {
    if (FReleased || CloseQuery())
        Event->accept();
    else
        Event->ignore();
}

void TfrmEditWindow::LoadWindowSize() {
    TSettingsStore& store = FRoot.Store();
    const int w = store.ReadInteger(kOptions, "LastWinW", -1);
    const int h = store.ReadInteger(kOptions, "LastWinH", -1);
    if (w == -1 && h == -1) return;
    const QSize screenSize = QGuiApplication::primaryScreen()->availableSize();
    resize(StoredExtent(w, width(), screenSize.width()), StoredExtent(h, height(), screenSize.height()));
}

void TfrmEditWindow::SaveWindowSize() {
    FRoot.Store().WriteInteger(kOptions, "LastWinW", width());
    FRoot.Store().WriteInteger(kOptions, "LastWinH", height());
}

bool TfrmEditWindow::Search(bool Backward, const char* Title, const char* Subject) {
    TEditorExVantor& editor = Editor();
    // A window that has not searched yet takes the shared request instead of searching for nothing.
    if (editor.FindString().empty()) {
        editor.SetFindString(FRoot.SearchRequest().FindText);
        editor.SetSearchOptions(FRoot.SearchRequest().Options);
    }
    bool found = false;
    try {
        found = Backward ? editor.FindPrev() : editor.FindNext();
    } catch (const ERegExpParser& e) {
        ShowSearchError(e, Title);
        return false;
    }
    if (!found) ShowNotFound(Subject);
    return found;
}

void TfrmEditWindow::ShowSearchError(const ERegExpParser& Error, const char* Title) {
    Messages().Show("検索中にエラーが発生しました。\r\n" + Error.Message(), Title, TMsgIcon::Error, TMsgButtons::OK);
}

void TfrmEditWindow::ShowNotFound(const char* Subject) {
    Messages().Show(Subject + ("\"" + Cp932ToUtf8(FRoot.SearchRequest().FindText) + "\"\r\nは見つかりませんでした。"),
                    "検索", TMsgIcon::Information, TMsgButtons::OK);
}

void TfrmEditWindow::ReplaceAll(const TSearchRequest& Request) {
    try {
        Editor().ReplaceAll(Request.ReplaceText, Request.Backward);
    } catch (const ERegExpParser& e) {
        ShowSearchError(e, "置換");
        return;
    }
    ShowNotFound("置換文字列 ");
}

void TfrmEditWindow::ActionReplaseExecute() {
    TSearchRequest& request = FRoot.SearchRequest();
    bool confirm = false, replaceAll = false;
    if (!FRoot.ReplaceDialog(request, confirm, replaceAll)) return;
    TEditorExVantor& editor = Editor();
    const TEditorHitStyle hitStyle = editor.HitStyle();
    if (hitStyle == hsCaret) editor.SetHitStyle(hsDraw);
    editor.SetFindString(request.FindText);
    editor.SetSearchOptions(request.Options);
    const std::string question = "\"" + Cp932ToUtf8(request.FindText) + "\"  を\r\n\"" +
                                 Cp932ToUtf8(request.ReplaceText) + "\"  に 置き換えますか？";
    do {
        if (replaceAll && !confirm) {
            ReplaceAll(request);
            break;
        }
        if (!Search(request.Backward, "置換", "置換文字列 ")) break;
        if (confirm) {
            const TMsgResult answer =
                Messages().Show(question, "確認", TMsgIcon::Question, TMsgButtons::YesNoCancelAll);
            if (answer == TMsgResult::Cancel) break;
            if (answer == TMsgResult::No) continue;
            if (answer == TMsgResult::All) confirm = false, replaceAll = true;
        }
        editor.ReplaceHit(request.ReplaceText, request.Backward);
    } while (replaceAll);
    editor.SetHitStyle(hitStyle);
}

void TfrmEditWindow::ActionFindExecute() {
    TSearchRequest& request = FRoot.SearchRequest();
    if (!FEditorWidget->isEnabled() || Editor().Lines().Text().empty()) return;
    if (FRoot.SearchDialog(request.FindText, request.Options, request.Backward)) {
        Editor().SetFindString(request.FindText);
        Editor().SetSearchOptions(request.Options);
        Search(request.Backward);
    }
    ActionFindNext->setEnabled(!request.FindText.empty());
    ActionFindPrev->setEnabled(!request.FindText.empty());
}

void TfrmEditWindow::ActionFindNextExecute() {
    if (!FRoot.SearchRequest().FindText.empty()) Search(false);
}

void TfrmEditWindow::ActionFindPrevExecute() {
    if (!FRoot.SearchRequest().FindText.empty()) Search(true);
}

bool TfrmEditWindow::HasClipboardText() const {
    const TEditorHost* host = Editor().Host();
    return host && host->ClipboardHasText();
}

void TfrmEditWindow::ActionUndoExecute() {
    if (!Editor().ReadOnly() && Editor().CanUndo()) Editor().Undo();
}
void TfrmEditWindow::ActionRedoExecute() {
    if (!Editor().ReadOnly() && Editor().CanRedo()) Editor().Redo();
}
void TfrmEditWindow::ActionCutExecute() {
    if (!Editor().ReadOnly() && Editor().IsSelected()) Editor().CutToClipboard();
}
void TfrmEditWindow::ActionCopyExecute() {
    if (Editor().IsSelected()) Editor().CopyToClipboard();
}
void TfrmEditWindow::ActionPasteExecute() {
    if (!Editor().ReadOnly() && HasClipboardText()) Editor().PasteFromClipboard();
}
void TfrmEditWindow::ActionBoxPasteExecute() {
    if (!Editor().ReadOnly() && HasClipboardText()) Editor().SetSelTextBox(Editor().Host()->ClipboardText());
}
void TfrmEditWindow::ActionBoxSelExecute() { Editor().SetSelectionMode(Editor().SelectionMode() == 1 ? 0 : 1); }
void TfrmEditWindow::ActionDeleteExecute() {
    if (!Editor().ReadOnly() && Editor().IsSelected()) Editor().DeleteSelection();
}
void TfrmEditWindow::ActionSelAllExecute() { Editor().SelectAll(); }

void TfrmEditWindow::ActionHelpExecute() {} // the program has no help file

void TfrmEditWindow::ActionAboutExecute() { FRoot.About().ShowAboutBox(); }

void TfrmEditWindow::ActionReNumExecute() {
    if (!IsMotionList() || !Editor().IsSelected() || Editor().ReadOnly() || !FRoot.CommandDialogs) return;
    ReNumSelection(Editor(), *FRoot.CommandDialogs(this));
}

void TfrmEditWindow::ActionFormatExecute() { FormatList(Editor(), FRoot.KindOf(Editor()), FRoot.ListOptions()); }

void TfrmEditWindow::ActionSetEnvExecute() {
    if (FRoot.CommandDialogs) SetEnvironment(FRoot.KindOf(Editor()), FRoot.ListOptions(), *FRoot.CommandDialogs(this));
}

void TfrmEditWindow::ActionGoExecute() {
    if (FRoot.CommandDialogs)
        ConvertList(Editor(), FRoot.KindOf(Editor()), FFileName, FRoot.ListOptions(), *FRoot.CommandDialogs(this));
}

void TfrmEditWindow::ActionConvert(int Conversion) { ConvertSelection(Editor(), static_cast<TStrConvert>(Conversion)); }
void TfrmEditWindow::ActionToUpperExecute() { ActionConvert(scToUpper); }
void TfrmEditWindow::ActionToUpperFileExecute() { ActionConvert(scToUpperFile); }
void TfrmEditWindow::ActionToLowerExecute() { ActionConvert(scToLower); }
void TfrmEditWindow::ActionToLowerFileExecute() { ActionConvert(scToLowerFile); }
void TfrmEditWindow::ActionToHankakuExecute() { ActionConvert(scToHankaku); }
void TfrmEditWindow::ActionToZenkakuExecute() { ActionConvert(scToZenkaku); }

void TfrmEditWindow::ActionEditPropExecute() { FRoot.EditKindSettings(*this); }

void TfrmEditWindow::ActionExitExecute() { close(); }

void TfrmEditWindow::ActionWinArangeHorzExecute() { FRoot.TileSideBySide(*this); }
void TfrmEditWindow::ActionWinArangeVertExecute() { FRoot.TileStacked(*this); }

void TfrmEditWindow::EditorChange() {
    SetModified(Editor().Modified());
    FFramePane->FollowCaret();
}

bool TfrmEditWindow::IsMotionList() const { return FRoot.KindOf(Editor()) == lkMotion; }

bool TfrmEditWindow::SelectionSpansRows() const {
    const TSelection& sel = Editor().SelStr();
    return Editor().IsSelected() && sel.StartRow != sel.EndRow;
}

int TfrmEditWindow::CaretRow() const { return Editor().RowToLine(Editor().Row()); }

// The caret may stand on the empty row after the last line break, which is no line.
std::string TfrmEditWindow::LineText(int row) const {
    return row >= 0 && row < Editor().Lines().Count() ? Editor().Lines().Get(row) : std::string();
}

void TfrmEditWindow::ReplaceLine(int row, const std::string& text) {
    TEditorExVantor& editor = Editor();
    const int caretRow = editor.Row(), caretCol = editor.Col();
    editor.Lines().Put(row, text);
    editor.SetRowCol(caretRow, caretCol);
    editor.SetModified(true);
    SetModified(true);
}

void TfrmEditWindow::SetEditorEnabled(bool enabled) { FEditorWidget->setEnabled(enabled); }

} // namespace quillon
