#pragma once
// The frame preview of an edit window without its widgets: the motion line under the caret drawn
// as a frame (background, pictures, centre line, hit boxes), the labels of its boxes, and the
// editing of the box of the selected tab by mouse drags and typed corners.
//
// The preview reads and writes the list through its host. It follows the caret only while shown
// for a motion list, and redraws only when the parsed caret line differs from the one drawn.
//
// Dragging: a press on the picture starts a drag in one of three modes when the rectangle it
// gives can be written; moves replace the rectangle while the new one can be written; the release
// writes the last rectangle into the line at the row of the press. The rectangle is shown
// inverted over the frame in place of the box it edits.
#include "FramePicture.h"
#include "HitBoxes.h"

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace quillon {

class TFramePreviewHost {
public:
    virtual ~TFramePreviewHost() = default;
    virtual bool IsMotionList() const = 0;
    // A selection whose first and last rows differ.
    virtual bool SelectionSpansRows() const = 0;
    virtual int CaretRow() const = 0;
    // The line's CP932 bytes without its line break.
    virtual std::string LineText(int row) const = 0;
    // Puts text in place of the line at row, puts the caret back at its row and column and marks
    // the window modified.
    virtual void ReplaceLine(int row, const std::string& text) = 0;
};

// What the labels and edit boxes show.
struct TRectLabels {
    std::array<std::string, 3> Values; // Def1, Def2, Att1
    std::array<std::string, 4> Edits;  // left, top, right, bottom of the selected box
    bool EditsEnabled = false;
};

enum class TMouseButton { Left, Right, Other };

// The outcome of applying typed corners: Applied, or a fault to report (Message, the edit box
// index FocusEdit), or neither when the command does not apply to the caret row.
struct TApplyResult {
    bool Applied = false;
    std::string Message;
    int FocusEdit = -1;
};

class TFramePreview {
public:
    explicit TFramePreview(TFramePreviewHost& host);

    const TFramePicture& Picture() const { return FPicture; }
    const TMotionLineObj& MotionLine() const { return FMotionLine; }
    const TCharSoftRender* CharPicture() const { return FCharPicture.get(); }
    bool Shown() const { return FShown; }
    int TabIndex() const { return FTabIndex; }
    bool Dragging() const { return FDragging; }
    THitDragMode DragMode() const { return FDragMode; }
    const TMotionBox& DragRect() const { return FDragRect; }

    // Shows the frame of the caret row with the picture set of the list (a motion list).
    void Show(const std::filesystem::path& listFileName);
    // Forgets the line and frees the picture set.
    void Hide();
    // Loads the picture set again (saved under another name, reloaded) and redraws the caret row.
    void Rebuild(const std::filesystem::path& listFileName);

    // After a caret move, a selection change or a change of the text; true when redrawn.
    bool FollowCaret();
    void SetZoom(int zoom);
    void SelectTab(int index);
    void RedrawFramePicture();
    TRectLabels RectLabels() const;

    // A press at the paint-box point (x, y); true when a drag starts.
    bool MouseDown(TMouseButton button, bool ctrl, bool shift, int x, int y);
    // False when no drag is in progress.
    bool MouseMove(bool shift, int x, int y);
    // Ends the drag; true when the line was rewritten.
    bool MouseUp(bool shift, int x, int y);

    // Writes the box typed as left, top, right, bottom into the caret row.
    TApplyResult Apply(const std::array<std::string, 4>& edits);

private:
    bool Active() const { return FShown && FHost.IsMotionList(); }
    void ParseCaretLine();
    bool Snap(bool shift) const { return FTabIndex == btDef1 && !shift; }
    // The caret row as a motion line; nothing under a selection of several rows or for a row that
    // is not a motion line.
    std::optional<TMotionLineObj> CaretMotionLine() const;
    // Puts fieldText in place of the selected tab's field of line and the line into row.
    void WriteBox(int row, const TMotionLineObj& line, const std::string& fieldText);
    TMotionBox DragTo(bool shift, int x, int y) const;

    TFramePreviewHost& FHost;
    TFramePicture FPicture;
    TMotionLineObj FMotionLine;                    // the line last drawn; empty when none
    std::unique_ptr<TCharSoftRender> FCharPicture; // only while shown with a loaded set
    bool FShown = false;
    int FTabIndex = btDef1;

    bool FDragging = false;
    THitDragMode FDragMode = dmTopLeft;
    TGamePoint FDragAnchor; // upper-left corner of the rectangle at the press
    TMotionBox FDragRect;   // always writable
    int FDragRow = -1;      // caret row at the press; the rewritten line goes there
};

} // namespace quillon
