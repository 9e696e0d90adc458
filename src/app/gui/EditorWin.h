#pragma once
// The edit window: one list in the program's editor control, with the file commands (new lists of
// every kind, open, close and open, reload, save, save as, close with the save question), the
// caption that shows the name and the modified state, the stored window size and the frame preview
// pane of motion lists.
#include "EditorExProp.h"
#include "FramePicturePane.h"

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace quillon {

class TEditorExVantor;
class TEditorWidget;
class TQuillonRootWin;

class TfrmEditWindow : public QMainWindow, public TFramePicturePaneHost {
public:
    explicit TfrmEditWindow(TQuillonRootWin& Root);
    ~TfrmEditWindow() override;

    TEditorExVantor& Editor() const;
    TEditorWidget& EditorWidget() const { return *FEditorWidget; }
    TEditorExProp& EditorProp() { return FEditorProp; }
    TFramePicturePane& FramePane() const { return *FFramePane; }

    const std::string& FileName() const { return FFileName; }
    bool Modified() const { return FModified; }
    void SetModified(bool Value);
    void SetFileName(const std::string& Value);
    // The lines of the editor.
    std::vector<std::string> Lines() const;
    // After the root has applied a kind: the kind-dependent actions.
    void KindApplied(int Kind);
    // Shows or hides the frame preview pane.
    void ShowFramePicture(bool Show);
    // Opens one file as a dropped file is opened.
    void OpenFileByName(const std::string& FileName);

    // The file commands.
    void ActionNew(int Kind);
    void ActionOpenExecute();
    void ActionCloseAndOpenExecute();
    void ActionReLoadExecute();
    bool ActionSaveAsExecute();
    bool ActionSaveExecute();
    void ActionFindExecute();
    void ActionFindNextExecute();
    void ActionFindPrevExecute();
    void ActionReplaseExecute();
    // The editing commands; each does nothing where it does not apply, so its shortcut is safe at any time.
    void ActionUndoExecute();
    void ActionRedoExecute();
    void ActionCutExecute();
    void ActionCopyExecute();
    void ActionPasteExecute();
    void ActionBoxPasteExecute();
    void ActionBoxSelExecute();
    void ActionDeleteExecute();
    void ActionSelAllExecute();
    void ActionHelpExecute();
    void ActionAboutExecute();
    // The list commands.
    void ActionReNumExecute();
    void ActionFormatExecute();
    void ActionSetEnvExecute();
    void ActionGoExecute();
    void ActionConvert(int Conversion);

    QAction *ActionOpen, *ActionCloseAndOpen, *ActionReLoad, *ActionSaveAs, *ActionSave, *ActionGo,
        *ActionExit, *ActionShowFramePicture, *ActionFormat, *ActionFind, *ActionFindNext, *ActionFindPrev, *ActionReplase,
        *ActionReNum, *ActionSetEnv, *ActionEditProp, *ActionWinArangeHorz, *ActionWinArangeVert, *ActionUndo,
        *ActionRedo, *ActionCut, *ActionCopy, *ActionPaste, *ActionBoxPaste, *ActionBoxSel, *ActionDelete, *ActionSelAll, *ActionHelp,
        *ActionAbout;
    std::vector<QAction*> ConvertActions;  // ActionToUpper .. ActionToZenkaku
    QMenu *popFile, *popNew, *popEditMenu, *popFind, *popWindow;

    // TFramePicturePaneHost.
    bool IsMotionList() const override;
    bool SelectionSpansRows() const override;
    int CaretRow() const override;
    std::string LineText(int row) const override;
    void ReplaceLine(int row, const std::string& text) override;
    void SetEditorEnabled(bool enabled) override;

protected:
    void closeEvent(QCloseEvent* Event) override;

private:
    void BuildActions();
    QAction* AddAction(QMenu* Menu, const char* Caption, const char* Hint, void (TfrmEditWindow::*Slot)());
    void UpdateCaption();
    void UpdateFormat();
    // Brings a window showing Name to the front, or reads it into this window (fresh) or a new one.
    void OpenLongName(const std::string& Name);
    // Asks to save a modified list; false when the window is to stay as it is.
    bool FormCloseQuery();
    // The list was written as Name: no longer modified, no row marks.
    void Saved(const std::string& Name);
    // Asks for a name and writes the list; KeepName: a failed write still gives the window the name.
    bool SaveAs(bool KeepName);
    void LoadWindowSize();
    void SaveWindowSize();
    void popFileClick();
    void popWindowClick();
    void popFindClick();
    void popEditMenuClick();
    // The kind's list commands enabled as the list and its selection are now.
    void UpdateListCommands();
    // The editing commands enabled as the editor and the clipboard are now (while the menu shows).
    void UpdateEditCommands();
    void EnableEditCommands();
    bool HasClipboardText() const;
    // Searches with the editor's find string; a miss or a bad pattern is reported.
    // True when found; false after the message of a miss or a bad pattern (titled Title).
    bool Search(bool Backward, const char* Title = "検索", const char* Subject = "検索文字列 ");
    // The hit replaced by the request's replace text.
    void ReplaceHit(bool Backward);
    void EditorChange();

    TQuillonRootWin& FRoot;
    TEditorWidget* FEditorWidget;
    TFramePicturePane* FFramePane;
    TEditorExProp FEditorProp;
    std::string FFileName;
    bool FModified = false;
};

} // namespace quillon
