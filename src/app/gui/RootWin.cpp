#include "RootWin.h"

#include "CanpeForm.h"
#include "EditorExVantor.h"
#include "EditorWidget.h"
#include "EditorWin.h"
#include "KindProperties.h"
#include "ListCommands.h"
#include "ListKinds.h"
#include "Paths.h"
#include "PropertyWindows.h"
#include "QtDIBImage.h"
#include "QtFileDialog.h"
#include "QtText.h"
#include "Repl.h"
#include "SettingsStore.h"
#include "Srch.h"
#include "SrchItem.h"
#include "WindowTiling.h"

#include <QApplication>
#include <QScreen>
#include <QStandardPaths>

#include <algorithm>
#include <functional>
#include <memory>

namespace quillon {

namespace {

// Restores a minimised window, shows it and gives it the focus above the other windows.
// The smallest outer size a window is tiled to: its own minimum, frame included. (Narrower than its
// menus and toolbars, their last buttons fold away behind ">>".)
QSize TilingMinimumSize(const QMainWindow& window) {
    return window.minimumSizeHint().expandedTo(window.minimumSize()) +
           (window.frameGeometry().size() - window.geometry().size());
}

// The root's two dialogs live as long as it does, so each opens where it was last used.
std::function<std::string()> OpenFileDialog() {
    auto dialog = std::make_shared<TFileDialog>(TFileDialogProperties{
        TFileDialogKind::Open, {}, QString::fromStdString(ListFileFilter()), QStringLiteral("lst")});
    return [dialog] { return dialog->Execute(); };
}

std::function<std::string(const std::string&)> SaveFileDialog() {
    auto dialog = std::make_shared<TFileDialog>(
        TFileDialogProperties{TFileDialogKind::Save, QStringLiteral("保存ファイル名の指定"),
                              QString::fromStdString(ListFileFilter()), QStringLiteral("qes")});
    return [dialog](const std::string& initialDir) { return dialog->Execute(initialDir); };
}

} // namespace

TQuillonRootWin::TQuillonRootWin(TSettingsStore& Store)
    : OpenDialog(OpenFileDialog()), SaveDialog(SaveFileDialog()), PropertyEditor(SettingsWindowEditor()), FStore(Store),
      FAbout(Store),
      FColourers(std::make_unique<TKindColourers>()), FSettings{*FColourers,    FHistory,        FMakerOptions,
                                                                FMotionOptions, FCommandOptions, FZCommandOptions} {
    SearchDialog = [this](std::string& Text, std::uint8_t& Options, bool& Backward) {
        return ExecuteSearchDialog(FStore, Text, Options, Backward);
    };
    ReplaceDialog = [this](TSearchRequest& Request, bool& Confirm, bool& ReplaceAll) {
        return ExecuteReplaceDialog(FStore, Request.FindText, Request.ReplaceText, Confirm, ReplaceAll,
                                    Request.Backward, Request.Options);
    };
    ItemSearchDialog = [this](TItemSearchRequest& Request) { return TfrmSrchItem::Execute(FStore, Request); };
    HintViewer = ShowItemHint;
    HintFolders = HintFoldersOf(QCoreApplication::applicationDirPath().toStdString());
    FAbout.SetTitle("Quillonについて");
    FAbout.SetShowVerHelp(false);
    FAbout.SetShowAboutHelp(false);
    FAbout.SetShowDelReg(true);
    FAbout.SetLogo(ProgramLogo());
    FAbout.CheckVersion(true);
    for (int kind = lkMotion; kind < kListKindCount; ++kind) Colourer(kind)->SetDefaultColors();
    CleanObsoleteSettings(FStore);
    LoadSettings(FStore, FSettings);
}

TQuillonRootWin::~TQuillonRootWin() {
    OnLastWindowClosed = nullptr;
    for (TfrmEditWindow* window : std::vector(FWindows)) delete window;
    FAbout.SaveVersion();
    SaveSettings(FStore, FSettings);
    FAbout.Shutdown(); // with the about box's check box ticked, removes every setting just written
}

void TQuillonRootWin::FormCreate(const std::vector<std::string>& Params) {
    if (!Params.empty()) {
        std::string fileName = Params.front();
        std::vector<std::string> lines;
        if (LoadListFile(fileName, &lines)) {
            OpenNewWindow(fileName, &lines, -1);
            return;
        }
    }
    OpenNewWindow("", nullptr, -1);
}

void TQuillonRootWin::WMCopyData(std::string_view Data) { ReceiveCommandLine(Data, *this); }

bool TQuillonRootWin::FormCloseQuery() {
    for (TfrmEditWindow* window : std::vector(FWindows))
        if (!window->CloseQuery()) return false;
    for (TfrmEditWindow* window : std::vector(FWindows)) window->Release();
    return true;
}

TfrmEditWindow* TQuillonRootWin::WindowForFile(const std::string& FileName) const {
    const std::string name = ShellLongFileName(FileName);
    for (TfrmEditWindow* window : FWindows)
        if (!window->FileName().empty() && SameFile(window->FileName(), name)) return window;
    return nullptr;
}

bool TQuillonRootWin::ActivateWindowForFile(const std::string& FileName) {
    TfrmEditWindow* window = WindowForFile(FileName);
    if (window) window->BringToFront();
    return window != nullptr;
}

bool TQuillonRootWin::LoadListFile(std::string& FileName, std::vector<std::string>* Lines) {
    return quillon::LoadListFile(FileName, Lines, FHistory);
}

void TQuillonRootWin::OpenNewWindow(const std::string& FileName, const std::vector<std::string>* Lines, int KindHint) {
    const bool first = FWindows.empty();
    auto* window = new TfrmEditWindow(*this);
    FWindows.push_back(window);
    window->Editor().Caret().SetSelDragMode(dmManual);
    if (!first) window->move(window->pos() + QPoint(24, 24) * static_cast<int>(FWindows.size() - 1));
    LoadIntoWindow(*window, FileName, nullptr, KindHint, Lines);
    window->BringToFront();
    window->EditorWidget().setFocus();
}

void TQuillonRootWin::LoadIntoWindow(TfrmEditWindow& Window, const std::string& FileName,
                                     const TEditorPosition* Position, int KindHint,
                                     const std::vector<std::string>* Lines) {
    TEditorExVantor& editor = Window.Editor();
    if (Lines) {
        editor.Lines().Assign(*Lines);
        ApplyFileKind(Window, KindWithHint(DetectFileKind(*Lines, FileName), KindHint));
        Window.SetFileName(FileName);
    } else {
        editor.Lines().Clear();
        ApplyFileKind(Window, lkText);
        Window.SetFileName("");
    }
    editor.SetModified(false);
    editor.ClearModifiedRows();
    Window.SetModified(false);
    if (Position && Lines) {
        Window.EditorWidget().setFocus();
        editor.SetTopRow(Position->TopRow);
        editor.SetRowCol(Position->Row, Position->Col);
    } else {
        Window.ShowFramePicture(false);
        editor.SetRowCol(0, 0);
    }
    editor.SetSelLength(0);
}

bool TQuillonRootWin::SaveListFile(TfrmEditWindow& Window, std::string& FileName,
                                   const std::vector<std::string>& Lines) {
    int kind = 0;
    if (!quillon::SaveListFile(FileName, &Lines, FHistory, kind)) return false;
    ApplyFileKind(Window, kind);
    return true;
}

void TQuillonRootWin::ApplyFileKind(TfrmEditWindow& Window, int Kind) {
    TEditorExProp& prop = Window.EditorProp();
    // A set that is missing or cannot be read is stored afresh: the kind's from the common one,
    // the common one from the window's built-in properties.
    if (Kind == lkText || !LoadKindProperties(FStore, Kind, prop)) {
        if (!LoadKindProperties(FStore, lkText, prop))
            prop.WriteToRegistry(FStore, EditorPropertiesSection, std::string(ListKindInfo(lkText).ValueName));
        if (Kind != lkText)
            prop.WriteToRegistry(FStore, EditorPropertiesSection, std::string(ListKindInfo(Kind).ValueName));
    }
    Window.EditorWidget().AssignProp(prop);
    Window.Editor().SetColourer(Colourer(Kind));
    Window.KindApplied(Kind);
}

bool TQuillonRootWin::EditKindSettings(TfrmEditWindow& Window) {
    const int kind = KindOf(Window.Editor());
    auto apply = [this](int Kind, const TEditorExProp& Prop, TOrvColourer* KindColourer) {
        for (TfrmEditWindow* window : FWindows) {
            if (KindOf(window->Editor()) != Kind) continue;
            if (&window->EditorProp() != &Prop) window->EditorProp().Assign(Prop);
            ApplyPropertiesToWindow(window->EditorWidget(), Prop, KindColourer);
        }
    };
    return EditKindProperties(FStore, kind, Window.EditorProp(), Colourer(kind), PropertyEditor, apply);
}

TListOptions TQuillonRootWin::ListOptions() {
    return {FMotionOptions, FCommandOptions, FZCommandOptions, FMakerOptions};
}

int TQuillonRootWin::KindOf(const TEditorExVantor& Editor) const {
    return Editor.Colourer() ? ColourerKind(*Editor.Colourer()) : lkText;
}

void TQuillonRootWin::ActivateWindow(int Index) {
    TfrmEditWindow* window = WindowAt(Index);
    if (window->isMinimized()) window->showNormal();
    window->show();
}

void TQuillonRootWin::ActivateStep(TfrmEditWindow& Current, int Step) {
    const int count = WindowCount();
    const int current = std::max(IndexOf(&Current), 0);
    for (int k = 1; k < count; ++k) {
        TfrmEditWindow* window = WindowAt(((current + Step * k) % count + count) % count);
        if (window->isMinimized()) continue;
        window->BringToFront();
        return;
    }
}

std::vector<std::filesystem::path> TQuillonRootWin::HintFoldersOf(const std::filesystem::path& ProgramDir) {
    const std::filesystem::path userData =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
    return {ProgramDir, userData / "quillon", (ProgramDir / QUILLON_DATA_FROM_BIN).lexically_normal()};
}

void TQuillonRootWin::ActivateNextWindow(TfrmEditWindow& Current) { ActivateStep(Current, 1); }
void TQuillonRootWin::ActivatePrevWindow(TfrmEditWindow& Current) { ActivateStep(Current, -1); }

void TQuillonRootWin::ApplicationEventsHint(const std::string& Hint) {
    if (auto* window = dynamic_cast<TfrmEditWindow*>(QApplication::activeWindow())) window->SetPanelText(3, QStr(Hint));
}

void TQuillonRootWin::Tile(TfrmEditWindow& Current, bool SideBySide) {
    std::vector<TfrmEditWindow*> windows{&Current};
    for (TfrmEditWindow* window : FWindows)
        if (window != &Current && !window->isMinimized()) windows.push_back(window);
    std::vector<TMinimumSize> minimums; // outer sizes, frames included
    for (TfrmEditWindow* window : windows) {
        if (window->isMaximized()) window->showNormal();
        const QSize minimum = TilingMinimumSize(*window);
        minimums.push_back({minimum.width(), minimum.height()});
    }
    const QRect area = WorkArea ? WorkArea(Current) : Current.screen()->availableGeometry();
    const std::vector<TRect> places = TileRects(
        {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()}, minimums, SideBySide);
    for (size_t k = 0; k < windows.size(); ++k) {
        const TRect& place = places[k];
        const QSize frame = windows[k]->frameGeometry().size() - windows[k]->geometry().size();
        windows[k]->move(place.Left, place.Top); // a window's position is its frame's
        windows[k]->resize(QSize(place.Width(), place.Height()) - frame);
    }
}

void TQuillonRootWin::TileSideBySide(TfrmEditWindow& Current) { Tile(Current, true); }
void TQuillonRootWin::TileStacked(TfrmEditWindow& Current) { Tile(Current, false); }

int TQuillonRootWin::WindowCount() const { return static_cast<int>(FWindows.size()); }

TfrmEditWindow* TQuillonRootWin::WindowAt(int Index) const { return FWindows.at(static_cast<size_t>(Index)); }

int TQuillonRootWin::IndexOf(const TfrmEditWindow* Window) const {
    const auto it = std::find(FWindows.begin(), FWindows.end(), Window);
    return it == FWindows.end() ? -1 : static_cast<int>(it - FWindows.begin());
}

void TQuillonRootWin::Notification(TfrmEditWindow* Window) {
    std::erase(FWindows, Window);
    if (FWindows.empty() && OnLastWindowClosed) OnLastWindowClosed();
}

} // namespace quillon
