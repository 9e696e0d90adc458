#include "FramePreview.h"

#include "AsciiText.h"
#include "PictureSet.h"

#include <algorithm>

namespace quillon {

TFramePreview::TFramePreview(TFramePreviewHost& host) : FHost(host) {}

void TFramePreview::Show(const std::filesystem::path& listFileName) {
    FShown = true;
    Rebuild(listFileName);
}

void TFramePreview::Hide() {
    FShown = false;
    FMotionLine.Clear();
    FCharPicture.reset();
}

void TFramePreview::Rebuild(const std::filesystem::path& listFileName) {
    FMotionLine.Clear();
    FPicture.DrawBackground();
    FCharPicture = LoadPictureSet(listFileName);
    // The caret row is parsed with or without pictures: the boxes show either way.
    ParseCaretLine();
    RedrawFramePicture();
}

void TFramePreview::ParseCaretLine() {
    if (FHost.IsMotionList()) ParseMotionLine(FHost.LineText(FHost.CaretRow()), FMotionLine);
}

bool TFramePreview::FollowCaret() {
    if (!Active()) return false;
    if (FHost.SelectionSpansRows()) {
        if (FMotionLine.IsEmpty()) return false;
        FMotionLine.Clear();
        RedrawFramePicture();
        return true;
    }
    TMotionLineObj line;
    ParseMotionLine(FHost.LineText(FHost.CaretRow()), line);
    if (line.Equals(FMotionLine)) return false;
    FMotionLine.Assign(line);
    RedrawFramePicture();
    return true;
}

void TFramePreview::SetZoom(int zoom) {
    if (zoom == FPicture.Zoom()) return;
    FPicture.SetZoom(zoom);
    if (FShown) RedrawFramePicture();
}

void TFramePreview::SelectTab(int index) {
    FTabIndex = std::clamp(index, 0, 2);
    RedrawFramePicture();
}

void TFramePreview::RedrawFramePicture() {
    FPicture.DrawBackground();
    if (FMotionLine.Valid && FCharPicture) FPicture.DrawPictureCells(FMotionLine, *FCharPicture);
    FPicture.DrawCenterLine();
    if (!FMotionLine.Valid) return;
    const TBoxColours colours = BoxColours(FMotionLine.CiValue);
    const std::uint32_t colour[] = {colours.Def1, colours.Def2, colours.Att1};
    for (int tab = btDef1; tab <= btAtt1; ++tab)
        if (!FDragging || tab != FTabIndex) FPicture.DrawRect(BoxOf(FMotionLine, tab), colour[tab]);
    if (FDragging) FPicture.XorRect(FDragRect);
}

TRectLabels TFramePreview::RectLabels() const {
    TRectLabels labels;
    if (!FMotionLine.Valid) return labels;
    for (int tab = btDef1; tab <= btAtt1; ++tab)
        labels.Values[tab] = BoxLabel(FDragging && tab == FTabIndex ? FDragRect : BoxOf(FMotionLine, tab));
    const TMotionBox& box = FDragging ? FDragRect : BoxOf(FMotionLine, FTabIndex);
    labels.Edits = {IntToStr(box.X1), IntToStr(box.Y1), IntToStr(box.X2), IntToStr(box.Y2)};
    labels.EditsEnabled = true;
    return labels;
}

std::optional<TMotionLineObj> TFramePreview::CaretMotionLine() const {
    if (FHost.SelectionSpansRows()) return std::nullopt;
    TMotionLineObj line;
    if (!ParseMotionLine(FHost.LineText(FHost.CaretRow()), line)) return std::nullopt;
    return line;
}

bool TFramePreview::MouseDown(TMouseButton button, bool ctrl, bool shift, int x, int y) {
    if (FDragging || !Active()) return false;
    std::optional<TMotionLineObj> line = CaretMotionLine();
    if (!line) return false;
    FMotionLine.Assign(*line);
    if (button == TMouseButton::Other) return false;
    THitDragMode mode = button == TMouseButton::Right ? dmBottomRight : ctrl ? dmNewBox : dmTopLeft;
    TMotionBox rect = PressRect(mode, BoxOf(FMotionLine, FTabIndex), GameFromMouse(x, y, FPicture.Zoom()), Snap(shift));
    if (!EncodeBox(rect)) return false;
    FDragging = true;
    FDragMode = mode;
    FDragRow = FHost.CaretRow();
    FDragAnchor = {rect.X1, rect.Y1};
    FDragRect = rect;
    RedrawFramePicture();
    return true;
}

TMotionBox TFramePreview::DragTo(bool shift, int x, int y) const {
    return quillon::DragRect(FDragMode, FDragRect, FDragAnchor, GameFromMouse(x, y, FPicture.Zoom()), Snap(shift));
}

bool TFramePreview::MouseMove(bool shift, int x, int y) {
    if (!FDragging) return false;
    TMotionBox rect = DragTo(shift, x, y);
    if (EncodeBox(rect)) {
        FPicture.XorRect(FDragRect);
        FDragRect = rect;
        FPicture.XorRect(FDragRect);
    }
    return true;
}

bool TFramePreview::MouseUp(bool shift, int x, int y) {
    if (!FDragging) return false;
    FDragging = false;
    TMotionBox rect = DragTo(shift, x, y);
    std::optional<std::string> code = EncodeBox(rect);
    if (!code) {
        RedrawFramePicture();
        return false;
    }
    BoxOf(FMotionLine, FTabIndex) = rect;
    WriteBox(FDragRow, FMotionLine, RewriteBoxField(FMotionLine.Items[BoxField(FTabIndex)], *code));
    return true;
}

TApplyResult TFramePreview::Apply(const std::array<std::string, 4>& edits) {
    if (FDragging || !Active()) return {};
    std::optional<TMotionLineObj> line = CaretMotionLine();
    if (!line) return {};
    TBoxInput input = ParseBoxInput(edits);
    if (!input.Box) return {false, input.Message, input.FocusEdit};
    WriteBox(FHost.CaretRow(), *line, TypedBoxField(line->Items[BoxField(FTabIndex)], input.Code));
    return {true, {}, -1};
}

void TFramePreview::WriteBox(int row, const TMotionLineObj& line, const std::string& fieldText) {
    std::string text = JoinWithField(line, BoxField(FTabIndex), fieldText);
    FHost.ReplaceLine(row, text);
    ParseMotionLine(text, FMotionLine);
    RedrawFramePicture();
}

} // namespace quillon
