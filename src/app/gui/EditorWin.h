#pragma once
// The edit window: one list in the program's editor control, with every command the user meets as
// an action of the window (the file commands, editing, find and replace, item search, item hints,
// relation jumps, enemy conditions, list commands, key macros, bookmarks, window arrangement), the
// menu toolbar and the button toolbar over the editor, the four status panels below it, the caption
// that shows the name and the modified state, the stored window size and the frame preview pane of
// motion lists above a splitter.
//
// The source is split by concern: EditorWin.cpp (creation, file commands, caption, size, preview),
// EditorWinActions.cpp (the action table, menus, toolbars, status panels and enabling),
// EditorWinKeys.cpp (the window's keys, mouse, bookmarks, key macros, dropped files) and
// EditorWinItems.cpp (item search, item hints, relation jumps, enemy conditions).
//
// No action or menu handler runs while a hit box is being dragged in the preview. Outside the
// menus the actions whose enabling the menus refresh stay enabled, so that their shortcuts work
// from the window's first moment; each handler checks for itself whether it applies.
#include "EditorExProp.h"
#include "FramePicturePane.h"
#include "ListKinds.h"
#include "MotionColourer.h"

#include <QMainWindow>

#include <QPoint>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QToolBar;

namespace quillon {

class TEditorExVantor;
class TEditorWidget;
class TKeyMacro;
class TQtHintWindow;
class TQuillonRootWin;
class TXPToolBarMenu;
struct TItemHit;
struct TItemSearchRequest;
struct TSearchRequest;

class TfrmEditWindow : public QMainWindow, public TFramePicturePaneHost {
public:
    explicit TfrmEditWindow(TQuillonRootWin& Root);
    ~TfrmEditWindow() override;

    TEditorExVantor& Editor() const;
    TEditorWidget& EditorWidget() const { return *FEditorWidget; }
    TEditorExProp& EditorProp() { return FEditorProp; }
    TFramePicturePane& FramePane() const { return *FFramePane; }
    TKeyMacro& KeyMacro() const { return *FKeyMacro; }

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
    // Restored when minimised, shown, raised and made the active window.
    void BringToFront();
    // Whether the window may close (not during a hit-box drag; a modified list asks to save, over
    // this window brought to the front).
    bool CloseQuery();
    // Closes the window without asking (after its CloseQuery agreed).
    void Release();
    // Opens each file as OpenFileByName does.
    void OpenDroppedFiles(const std::vector<std::string>& Files);
    // The text of a status panel (0 insert mode, 1 box selection, 2 key macro, 3 hint).
    QString PanelText(int Index) const;
    void SetPanelText(int Index, const QString& Text);

    // The file commands.
    // The new-list action of a list kind.
    void ActionNew(int Kind);
    void ActionOpenExecute();
    void ActionCloseAndOpenExecute();
    void ActionReLoadExecute();
    bool ActionSaveAsExecute();
    bool ActionSaveExecute();
    void ActionExitExecute();
    void ActionHelpExecute();
    void ActionAboutExecute();
    // Find and replace.
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
    void ActionMacroOnOffExecute();
    void ActionMacroRunExecute();
    void ActionWinArangeHorzExecute();
    void ActionWinArangeVertExecute();
    // The list commands.
    void ActionReNumExecute();
    void ActionFormatExecute();
    void ActionSetEnvExecute();
    void ActionEditPropExecute();
    void ActionGoExecute();
    void ActionToUpperExecute();
    void ActionToUpperFileExecute();
    void ActionToLowerExecute();
    void ActionToLowerFileExecute();
    void ActionToHankakuExecute();
    void ActionToZenkakuExecute();
    void ActionShowFramePictureExecute();
    void ActionPictureListExecute();
    // Item search, item hints, relation jumps and enemy conditions (motion, command and enemy lists).
    void ActionFindItemExecute();
    void ActionFindItemNextExecute();
    void ActionFindItemPrevExecute();
    void ActionCheatExecute();
    void ActionGoRelationExecute();
    void ActionInsertConditionExecute();
    void ActionEditConditionExecute();

    // The new-list actions by list kind, each named in the kind's record.
    std::array<QAction*, kListKindCount> ActionsNew{};
    // The other actions, each named as its object name.
    QAction *ActionOpen, *ActionCloseAndOpen, *ActionReLoad, *ActionSaveAs, *ActionSave, *ActionGo, *ActionExit,
        *ActionHelp, *ActionAbout, *ActionUndo, *ActionRedo, *ActionCut, *ActionCopy, *ActionPaste, *ActionBoxPaste,
        *ActionBoxSel, *ActionDelete, *ActionSelAll, *ActionFind, *ActionFindPrev, *ActionFindNext, *ActionReplase,
        *ActionFindItem, *ActionFindItemPrev, *ActionFindItemNext, *ActionReNum, *ActionMacroOnOff, *ActionMacroRun,
        *ActionCheat, *ActionEditProp, *ActionSetEnv, *ActionInsertCondition, *ActionEditCondition,
        *ActionWinArangeHorz, *ActionWinArangeVert, *ActionFormat, *ActionGoRelation, *ActionShowFramePicture,
        *ActionInputApply, *ActionPictureList, *ActionToUpper, *ActionToUpperFile, *ActionToLower, *ActionToLowerFile,
        *ActionToHankaku, *ActionToZenkaku;
    std::vector<QAction*> ConvertActions; // ActionToUpper .. ActionToZenkaku, in TStrConvert order
    // The main menus (buttons of ToolBar1), the new-list submenu and the editor's context menu.
    QMenu *popFile, *popNew, *popEditMenu, *popFind, *popView, *popOption, *popWindow, *popMacro, *popHelp, *popEdit;
    TXPToolBarMenu* ToolBar1;
    QToolBar* ToolBar2;
    QStatusBar* StatusBar1;
    QSplitter* Splitter1; // the preview pane above, the editor below

    // TFramePicturePaneHost.
    bool IsMotionList() const override;
    bool SelectionSpansRows() const override;
    int CaretRow() const override; // the caret's line
    std::string LineText(int row) const override;
    void ReplaceLine(int row, const std::string& text) override;
    void SetEditorEnabled(bool enabled) override;

protected:
    void closeEvent(QCloseEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    // ---- Actions, menus, toolbars and panels (EditorWinActions.cpp).
    void BuildActions();
    // A new action of the window that runs Execute unless a hit box is being dragged; Hint is
    // "short|long" (UTF-8).
    QAction* AddAction(const char* Name, const QString& Caption, const char* Shortcut, const std::string& Hint,
                       std::function<void()> Execute);
    void BuildMenus();
    void BuildEditMenu(QMenu* Menu, const char* Suffix);
    void BuildToolBars();
    void BuildStatusBar();
    // A menu's opening handler that does nothing during a drag; on closing the shortcuts come back.
    void OnMenuShow(QMenu* Menu, void (TfrmEditWindow::*Handler)());
    void popFileClick();
    void popWindowClick();
    void popFindClick();
    void popViewClick();
    void UpdatePictureList();
    void popEditPopup();
    // The actions whose enabling the menus refresh are enabled again, so that their shortcuts act.
    void EnableShortcuts();
    // Whether Key is the shortcut of an action that the menus would show disabled now; the key then
    // goes to the editor, as it would past a disabled action.
    bool ShortcutDisabledNow(const QKeyEvent& Key);
    void UpdateInsertModePanel();
    void UpdateSelectionModePanel();
    void KeyMacroChange();
    void UpdateCaption();
    void UpdateFormat();

    // ---- Keys, mouse, bookmarks and dropped files (EditorWinKeys.cpp).
    // A key for the editor; true when the window used it up.
    bool EditorKeyDown(QKeyEvent* Event);
    void EditorKeyUp(QKeyEvent* Event);
    // The description of the field under the mouse follows the mouse while Ctrl is held.
    void EditorMouseMove(bool CtrlHeld);
    void EditorDblClick();
    void EditorExit();
    void popSetMarkClick(int Mark);
    void popJumpMarkClick(int Mark);

    // ---- Item search, hints, jumps and conditions (EditorWinItems.cpp).
    using TItemScan = bool (*)(const std::vector<std::string>& Lines, int CaretRow, TMotionColourer& Colourer,
                               const TItemSearchRequest& Request, TItemHit& Hit);
    // Runs Query with the list colourer cutting one token per field (motion and command lists).
    void WithFieldTokens(const std::function<void()>& Query);
    int CaretTokenKind();
    std::string CaretToken(); // without the blanks around it
    bool HasCaretItemHint();
    bool CanGoRelationHere();
    bool CanEditCondition();
    // The quick description at the caret (F4) or under the mouse; hidden where there is none.
    void ShowItemHintAt(bool AtCaret);
    void HideItemHint();
    void FindItem(TItemScan Scan);
    // A scan's hit: the caret at the field (Col bytes into Line), the field marked as a hit.
    void ShowItemHit(int Line, int Col, int Length);
    // The caret to the first row of Line keeping its column, with no hit.
    void GoToLine(int Line, bool CenterAlways);
    bool LineVisible(int Line) const;
    // A caret moved to a line that was out of view (not WasVisible), or CenterAlways: the caret row
    // goes to the middle of the view by CenterCaretRow (RelationJumps.h).
    void CenterCaret(bool CenterAlways, bool WasVisible);
    void GoRelationInMotion();
    void GoRelationFromCommand(bool Vantor);

    // ---- The rest (EditorWin.cpp).
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
    // The form's minimum height: the pane's height + 236 while it is shown, else 236.
    void FormConstrainedResize();
    // The kind's list commands enabled as the list and its selection are now.
    void UpdateListCommands();
    // The editing commands enabled as the editor and the clipboard are now (while the menu shows).
    void UpdateEditCommands();
    bool HasClipboardText() const;
    // True when found; false after the message of a miss or a bad pattern (titled Title).
    bool Search(bool Backward, const char* Title = "検索", const char* Subject = "検索文字列 ");
    // The messages of a search: a pattern that does not compile, a miss (Subject names the text).
    void ShowSearchError(const ERegExpParser& Error, const char* Title);
    void ShowNotFound(const char* Subject);
    // Every occurrence from the caret on replaced in one change, then the message of the miss that
    // ends a replace-all.
    void ReplaceAll(const TSearchRequest& Request);
    void ActionConvert(int Conversion);
    void EditorChange();

    TQuillonRootWin& FRoot;
    TEditorWidget* FEditorWidget;
    TFramePicturePane* FFramePane;
    TEditorExProp FEditorProp;
    std::unique_ptr<TKeyMacro> FKeyMacro;       // bound to the editor
    std::unique_ptr<TQtHintWindow> FHintScreen; // shows the editor's hint window
    std::array<QLabel*, 4> FPanels{};           // the panels of StatusBar1
    std::vector<QAction*> FShortcutActions;     // enabled outside the menus (see above)
    std::string FFileName;
    bool FModified = false;
    bool FReleased = false;   // closing without asking
    bool FHoverHint = false;  // Ctrl is held over the editor: the field under the mouse is described
    bool FCaretHint = false;  // F4 shows the description at the caret
    bool FHandCursor = false; // the hand-point cursor is over the editor while a description shows
    QPoint FMousePos;         // the mouse's last point over the editor, in client coordinates
};

} // namespace quillon
