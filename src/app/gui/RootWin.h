#pragma once
// The program's root: never shown, alive for the whole run. It owns what the edit windows share
// (the window list, the eight list colourers, the recent files, the formatter and maker options and
// the settings store they are read from and written to), opens lists in new or existing edit
// windows, gives each window its list kind, and reports when its last window is gone.
#include "Formatter.h"
#include "HandOver.h"
#include "ItemSearch.h"
#include "KindProperties.h"
#include "ListFiles.h"
#include "MakerOptions.h"
#include "ProgramSettings.h"
#include "QtAbout.h"

#include <QRect>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace quillon {

class TCondDialog;
class TSettingsStore;
class TListCommandDialogs;
struct TListOptions;
class TOrvColourer;
class TfrmEditWindow;
class TEditorExVantor;

// The last find request, shared by every window: the text (Shift-JIS), the option bits of the
// search dialogs and the direction.
struct TSearchRequest {
    std::string FindText, ReplaceText;
    std::uint8_t Options = 0;
    bool Backward = false;
};

// The top row, the caret row and the caret column a reload gives back.
struct TEditorPosition {
    int TopRow = 0, Row = 0, Col = 0;
};

class TQuillonRootWin : public THandOverTarget {
public:
    // Settings are read from Store now and written back at destruction (not owned).
    explicit TQuillonRootWin(TSettingsStore& Store);
    ~TQuillonRootWin() override; // closes the windows still open without asking, then saves the settings
    TQuillonRootWin(const TQuillonRootWin&) = delete;
    TQuillonRootWin& operator=(const TQuillonRootWin&) = delete;

    // Opens the first command-line parameter; without one, or when it cannot be read, an empty
    // window, so that the program never runs without a window.
    void FormCreate(const std::vector<std::string>& Params);
    // The hand-over data of a later start.
    void WMCopyData(std::string_view Data);
    // Asks every window whether it may close (it may ask to save); only when all agree do they all
    // close (the last one then fires OnLastWindowClosed). A shutdown, a hang-up or the session's end
    // ask through here (TCloseRequests).
    bool FormCloseQuery();

    bool ActivateWindowForFile(const std::string& FileName) override;
    // The first window that shows FileName (made absolute and long), or null.
    TfrmEditWindow* WindowForFile(const std::string& FileName) const;
    bool LoadListFile(std::string& FileName, std::vector<std::string>* Lines) override;
    void OpenNewWindow(const std::string& FileName, const std::vector<std::string>* Lines, int KindHint) override;
    // Refills Window: Lines named FileName, the caret at Position (or at the top), or an empty
    // unnamed text without Lines.
    void LoadIntoWindow(TfrmEditWindow& Window, const std::string& FileName, const TEditorPosition* Position,
                        int KindHint, const std::vector<std::string>* Lines);
    // Writes Lines as FileName (made absolute and long in place), then gives Window the kind the
    // written lines and name tell. Failures show their message and give false.
    bool SaveListFile(TfrmEditWindow& Window, std::string& FileName, const std::vector<std::string>& Lines);
    // The editor properties stored for the kind and the kind's colourer into Window.
    void ApplyFileKind(TfrmEditWindow& Window, int Kind);

    void ActivateWindow(int Index);
    // The next (previous) window after (before) Current in the list, cyclically, that is not
    // minimised comes to the front; nothing when there is no other.
    void ActivateNextWindow(TfrmEditWindow& Current);
    void ActivatePrevWindow(TfrmEditWindow& Current);
    // The hint of the action under the mouse (UTF-8) in the hint panel of the active edit window.
    void ApplicationEventsHint(const std::string& Hint);
    // Current and every other window that is not minimised share the screen's work area in
    // columns (side by side) or rows (stacked), Current first; minimised windows keep their place.
    void TileSideBySide(TfrmEditWindow& Current);
    void TileStacked(TfrmEditWindow& Current);
    int WindowCount() const;
    TfrmEditWindow* WindowAt(int Index) const;
    int IndexOf(const TfrmEditWindow* Window) const;
    // A window being destroyed leaves the list; the last one fires OnLastWindowClosed.
    void Notification(TfrmEditWindow* Window);

    TRecentFiles& History() { return FHistory; }
    TSettingsStore& Store() { return FStore; }
    const TProgramSettings& Settings() const { return FSettings; }
    // The colourer of a list kind; null for plain text.
    TOrvColourer* Colourer(int Kind) const { return FSettings.Colourer(Kind); }
    // The kind whose colourer the editor uses; 0 for none.
    int KindOf(const TEditorExVantor& Editor) const;

    // The file dialogs; an empty name means cancelled. Tests replace them.
    std::function<std::string()> OpenDialog;
    std::function<std::string(const std::string& InitialDir)> SaveDialog;
    TSearchRequest& SearchRequest() { return FSearchRequest; }
    // The find dialog over the shared request; false when cancelled. Tests replace it.
    std::function<bool(std::string& Text, std::uint8_t& Options, bool& Backward)> SearchDialog;
    // The last item-search request, shared by every window.
    TItemSearchRequest& ItemSearchRequest() { return FItemSearchRequest; }
    // The item-search dialog over the shared request; false when cancelled. Tests replace it.
    std::function<bool(TItemSearchRequest& Request)> ItemSearchDialog;
    // The hint viewer (title and body in CP932). Tests replace it.
    std::function<void(const std::string& Title, const std::string& Body)> HintViewer;
    // The folders searched for a hint file, in order: the program's own, the user's data folder
    // (~/.local/share/quillon) and the data folder of the installation (share/quillon beside the
    // program's bin folder; in a build, the copy the build puts there).
    std::vector<std::filesystem::path> HintFolders;
    // Those folders for the program in ProgramDir.
    static std::vector<std::filesystem::path> HintFoldersOf(const std::filesystem::path& ProgramDir);
    // The condition dialog of the enemy lists, alive for the whole run (not owned); the program sets it.
    TCondDialog* ConditionDialog = nullptr;
    // The options the list commands read and the environment dialog edits.
    TListOptions ListOptions();
    // The dialogs of the list commands for a window (Owner); the program sets them.
    std::function<std::unique_ptr<TListCommandDialogs>(QWidget* Owner)> CommandDialogs;
    // The replace dialog over the shared request; false when cancelled. Tests replace it.
    std::function<bool(TSearchRequest& Request, bool& Confirm, bool& ReplaceAll)> ReplaceDialog;
    // The settings of the kind of Window's list edited in the settings window; confirmed, every
    // window of the kind takes them. True when confirmed.
    bool EditKindSettings(TfrmEditWindow& Window);
    // The settings window as the editor of a kind's settings. Tests replace it.
    TPropertyEditor PropertyEditor;
    // The about component: the version check at creation, the about box, and the settings' removal at exit.
    TAbout& About() { return FAbout; }
    // The work area windows are tiled in from Window; unset, Window's screen's. Tests set it.
    std::function<QRect(const QWidget& Window)> WorkArea;
    // Fires when the last window has gone (the program then ends).
    std::function<void()> OnLastWindowClosed;

private:
    void Tile(TfrmEditWindow& Current, bool SideBySide);
    void ActivateStep(TfrmEditWindow& Current, int Step);

    TSettingsStore& FStore;
    TAbout FAbout;
    std::unique_ptr<TKindColourers> FColourers;
    TRecentFiles FHistory;
    TMakerOptions FMakerOptions;
    TMotionFormatterOptions FMotionOptions;
    TCommandFormatterOptions FCommandOptions;
    TZCommandFormatterOptions FZCommandOptions;
    TProgramSettings FSettings;
    TSearchRequest FSearchRequest;
    TItemSearchRequest FItemSearchRequest;
    std::vector<TfrmEditWindow*> FWindows; // in the order of opening; each leaves as it is destroyed
};

} // namespace quillon
