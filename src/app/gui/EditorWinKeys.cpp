// The edit window's keys and mouse: the keys it takes before the editor, the quick descriptions
// under Ctrl and F4, double-click field selection, bookmarks, key macros, the status panels that
// follow them, and files dropped on the window or the editor.
#include "EditorWin.h"

#include "ComCtrlsXP.h"
#include "EditorExVantor.h"
#include "EditorWidget.h"
#include "KeyMacro.h"
#include "ListKinds.h"
#include "OrvColourer.h"
#include "QtOleDnd.h"
#include "QtText.h"
#include "RootWin.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QStatusTipEvent>

namespace quillon {

namespace {

// The local files of a drag's data, as the editor reads them: names keep their bytes.
std::vector<std::string> DroppedFiles(const QMimeData* Data) {
    std::vector<std::string> files;
    if (Data) DropFilesToStrings(*Data, files);
    return files;
}

constexpr Qt::KeyboardModifiers kShiftCtrlAlt = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

} // namespace

bool TfrmEditWindow::eventFilter(QObject* Watched, QEvent* Event) {
    const QEvent::Type type = Event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::MouseMove &&
        type != QEvent::FocusOut && type != QEvent::ContextMenu)
        return false;
    auto* widget = qobject_cast<QWidget*>(Watched);
    if (!widget || widget->window() != this) return false;
    if (type == QEvent::ContextMenu) {
        // The window's context menu stands in for the editor's own.
        if (widget != FEditorWidget && widget != FEditorWidget->viewport()) return false;
        if (!FFramePane->Dragging()) popEdit->popup(static_cast<QContextMenuEvent*>(Event)->globalPos());
        return true;
    }
    if (type == QEvent::MouseMove) {
        if (widget == FEditorWidget->viewport()) {
            auto* mouse = static_cast<QMouseEvent*>(Event);
            FMousePos = mouse->position().toPoint();
            EditorMouseMove(mouse->modifiers().testFlag(Qt::ControlModifier));
        }
        return false;
    }
    if (type == QEvent::FocusOut) {
        if (widget == FEditorWidget) EditorExit();
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(Event);
    if (type == QEvent::KeyRelease) {
        if (widget == FEditorWidget) EditorKeyUp(key);
        return false;
    }
    // Alt with a menu's letter opens the menu, its button shown or folded away; the menu then takes
    // the keys that follow.
    if (TXPToolBarMenuButton* button = ToolBar1->MenuButtonFor(*key)) {
        ToolBar1->OpenMenu(*button);
        return true;
    }
    // The window previews every key: the preview's keys, and every key during a drag.
    if (FFramePane->FormKeyDown(key->key())) return true;
    return widget == FEditorWidget && EditorKeyDown(key);
}

bool TfrmEditWindow::EditorKeyDown(QKeyEvent* Event) {
    const int key = Event->key();
    const Qt::KeyboardModifiers mods = Event->modifiers() & kShiftCtrlAlt;
    TEditorExVantor& editor = Editor();
    if (key == Qt::Key_F4 && mods == Qt::NoModifier && !FCaretHint) {
        FCaretHint = true;
        ShowItemHintAt(true);
        return true;
    }
    if (key == Qt::Key_Control && !FHoverHint && !FCaretHint) {
        FHoverHint = true;
        EditorMouseMove(true);
        return false;
    }
    const bool enabled = FEditorWidget->isEnabled(), ro = editor.ReadOnly();
    if (key == Qt::Key_Insert && mods == Qt::ControlModifier) {
        if (!editor.IsSelected() || !enabled) return false;
        editor.CopyToClipboard();
        return true;
    }
    if (key == Qt::Key_Insert && mods == Qt::ShiftModifier) {
        if (!HasClipboardText() || !enabled || ro) return false;
        editor.PasteFromClipboard();
        return true;
    }
    if (key == Qt::Key_Insert && mods == Qt::NoModifier) {
        editor.SetOverWrite(!editor.OverWrite());
        UpdateInsertModePanel();
        return true;
    }
    if (key == Qt::Key_Delete && mods == Qt::ShiftModifier) {
        if (!editor.IsSelected() || !enabled || ro) return false;
        editor.CutToClipboard();
        return true;
    }
    if (key == Qt::Key_Backspace && mods == Qt::AltModifier) {
        if (!editor.CanUndo() || ro) return false;
        editor.Undo();
        return true;
    }
    if (key == Qt::Key_Tab && mods == Qt::ControlModifier) {
        FRoot.ActivateNextWindow(*this);
        return true;
    }
    if ((key == Qt::Key_Backtab || key == Qt::Key_Tab) && mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
        FRoot.ActivatePrevWindow(*this);
        return true;
    }
    return false;
}

void TfrmEditWindow::EditorKeyUp(QKeyEvent* Event) {
    if (FCaretHint) {
        FCaretHint = false;
        HideItemHint();
    }
    const bool ctrlHeld = Event->modifiers().testFlag(Qt::ControlModifier) && Event->key() != Qt::Key_Control;
    if (FHoverHint && !ctrlHeld) {
        FHoverHint = false;
        HideItemHint();
    }
}

void TfrmEditWindow::EditorMouseMove(bool CtrlHeld) {
    if (!FHoverHint) return;
    if (CtrlHeld)
        ShowItemHintAt(false);
    else
        HideItemHint();
}

void TfrmEditWindow::EditorExit() {
    FHoverHint = FCaretHint = false;
    HideItemHint();
}

void TfrmEditWindow::changeEvent(QEvent* Event) {
    QMainWindow::changeEvent(Event);
    if (Event->type() == QEvent::ActivationChange && !isActiveWindow()) EditorExit();
}

void TfrmEditWindow::showEvent(QShowEvent* Event) {
    QMainWindow::showEvent(Event);
    UpdateInsertModePanel();
    UpdateSelectionModePanel();
    Editor().Caret().SetSelDragMode(dmManual);
    EditorExit();
}

bool TfrmEditWindow::event(QEvent* Event) {
    // The hint of the action under the mouse goes to the hint panel, through the root.
    if (Event->type() == QEvent::StatusTip) {
        FRoot.ApplicationEventsHint(StdStr(static_cast<QStatusTipEvent*>(Event)->tip()));
        return true;
    }
    // A shortcut comes here first, unless the widget with the focus claims the key. A menu's letter
    // is claimed too: the key press then opens the menu (eventFilter), whether its button's own
    // shortcut is there or folded away with the button.
    if (Event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(Event);
        if (ShortcutDisabledNow(*key) || ToolBar1->MenuButtonFor(*key)) {
            Event->accept();
            return true;
        }
    }
    return QMainWindow::event(Event);
}

// A double click selects the whole field of a list line, not a coloured piece of it.
void TfrmEditWindow::EditorDblClick() {
    WithFieldTokens([this] { return Editor().SelectTokenFromCaret(); });
    if (dynamic_cast<TOrvColourer*>(Editor().Colourer())) Editor().SetDblClickFlag(true);
}

void TfrmEditWindow::popSetMarkClick(int Mark) {
    if (FFramePane->Dragging()) return;
    TEditorExVantor& editor = Editor();
    const int row = editor.Row();
    if (editor.GetRowMarks(row) & (1u << Mark))
        editor.DeleteRowMark(row, Mark);
    else
        editor.SetRowMark(row, Mark);
}

void TfrmEditWindow::popJumpMarkClick(int Mark) {
    if (FFramePane->Dragging()) return;
    Editor().GotoRowMark(Mark);
}

void TfrmEditWindow::ActionMacroOnOffExecute() {
    const TKeyMacroState state = FKeyMacro->State();
    if (state == kmRecording || state == kmRunning)
        FKeyMacro->EndRecord();
    else
        FKeyMacro->StartRecord();
    KeyMacroChange();
}

void TfrmEditWindow::ActionMacroRunExecute() {
    if (FKeyMacro->State() == kmReady && FEditorWidget->isEnabled()) FKeyMacro->Execute();
}

void TfrmEditWindow::OpenDroppedFiles(const std::vector<std::string>& Files) {
    for (const std::string& file : Files) OpenFileByName(file);
}

void TfrmEditWindow::dragEnterEvent(QDragEnterEvent* Event) {
    if (!DroppedFiles(Event->mimeData()).empty()) Event->acceptProposedAction();
}

void TfrmEditWindow::dropEvent(QDropEvent* Event) {
    const std::vector<std::string> files = DroppedFiles(Event->mimeData());
    if (files.empty()) return;
    Event->acceptProposedAction();
    OpenDroppedFiles(files);
}

} // namespace quillon
