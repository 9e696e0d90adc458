#pragma once
// The frame preview pane of an edit window: the frame of the motion line under the caret in a
// scrolled paint box, and beside it the zoom, the three box labels, the corner edit boxes with
// their Apply action and the tabs that choose the box to edit.
//
// The window hosts the pane: it says when the pane is shown or hidden and when the caret, the
// selection or the text changed, hands it the keys it previews, and gets rewritten lines back
// through the host.
#include "FramePreview.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <filesystem>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QTabBar;
class QToolButton;

namespace quillon {

class TDIBPaintBox;

class TFramePicturePaneHost : public TFramePreviewHost {
public:
    // The editor is disabled while a box is dragged.
    virtual void SetEditorEnabled(bool enabled) = 0;
};

constexpr int kFramePanelHeight = 244;
constexpr int kFrameSettingMinWidth = 292; // the settings beside the picture are never narrower

class TFramePicturePane : public QWidget {
public:
    TFramePicturePane(TFramePicturePaneHost& host, QWidget* parent = nullptr);

    const TFramePreview& Preview() const { return FPreview; }
    bool Dragging() const { return FPreview.Dragging(); }

    // Shows the frame of the caret row of the list, or hides the pane and frees its pictures.
    // Nothing happens when the pane is already so, or when a list of another kind is to be shown.
    void ShowFramePicture(bool show, const std::filesystem::path& listFileName);
    // After the list was saved under another name or reloaded, while shown.
    void RebuildPreview(const std::filesystem::path& listFileName);
    // After a caret move, a selection change or a change of the text.
    void FollowCaret();
    // A key the window previews; true when it is used up (every key during a drag, F6 to F8 for
    // the tabs while shown for a motion list).
    bool FormKeyDown(int key);

    QScrollArea* ScrFramePic;
    TDIBPaintBox* dpbFramePic;
    QWidget* pnlFrameSetting;
    QComboBox* cboZoom;
    std::array<QLabel*, 3> Titles; // lblDef1Title, lblDef2Title, lblAtt1Title
    QLabel *lblDef1, *lblDef2, *lblAtt1;
    QLineEdit *edtLeft, *edtTop, *edtRight, *edtBottom;
    QAction* ActionInputApply;
    QToolButton* btnInputApply;
    QTabBar* TabSet;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildSettings();
    void cboZoomClick(int index);
    void TabSetClick(int index);
    void edtRectChange();
    void edtRectKeyPress();
    void ActionInputApplyExecute();
    void dpbFramePicMouseDown(QMouseEvent* event);
    void dpbFramePicMouseMove(QMouseEvent* event);
    void dpbFramePicMouseUp(QMouseEvent* event);
    // Gives the editor and the settings back after a drag.
    void EndDrag();
    void SetZoom();
    void Repaint();
    void UpdateRectLabels();
    std::array<QLineEdit*, 4> Edits() const { return {edtLeft, edtTop, edtRight, edtBottom}; }

    TFramePicturePaneHost& FHost;
    TFramePreview FPreview;
    bool FLabelsUpdating = false;    // the edit boxes are being filled: their changes are not the user's
    bool FMouseAttached = false;     // the paint box's moves and release belong to a drag
    QPointer<QWidget> FSavedControl; // the focus at the press, given back after the drag
};

} // namespace quillon
