#include "HitBoxes.h"

#include "AsciiText.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int kSnapLeft = -18, kSnapRight = 18;

// The moving x edge of a new Def1 box: the side opposite the anchor's.
int SnapNewEdge(int anchorX, int gx) {
    if (anchorX == kSnapLeft) return kSnapRight;
    if (anchorX == kSnapRight) return kSnapLeft;
    return anchorX > gx ? kSnapLeft : kSnapRight;
}

TMotionBox TopLeftTo(const TMotionBox& rect, TGamePoint at, bool snap) {
    TMotionBox r = rect;
    r.X1 = std::min(snap ? kSnapLeft : at.X, rect.X2);
    r.Y1 = std::max(at.Y, rect.Y2);
    return r;
}

TMotionBox BottomRightTo(const TMotionBox& rect, TGamePoint at, bool snap) {
    TMotionBox r = rect;
    r.X2 = std::max(snap ? kSnapRight : at.X, rect.X1);
    r.Y2 = std::min(at.Y, rect.Y1);
    return r;
}

std::string PadLeft(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

} // namespace

TMotionField BoxField(int tab) {
    static constexpr TMotionField fields[] = {mfDef1, mfDef2, mfAtt1};
    return fields[std::clamp(tab, 0, 2)];
}

TMotionBox& BoxOf(TMotionLineObj& line, int tab) {
    TMotionBox* boxes[] = {&line.Def1, &line.Def2, &line.Att1};
    return *boxes[std::clamp(tab, 0, 2)];
}

const TMotionBox& BoxOf(const TMotionLineObj& line, int tab) { return BoxOf(const_cast<TMotionLineObj&>(line), tab); }

TGamePoint GameFromMouse(int x, int y, int zoom) { return {x / zoom - 160, 239 - y / zoom}; }

TMotionBox PressRect(THitDragMode mode, const TMotionBox& box, TGamePoint at, bool snap) {
    switch (mode) {
    case dmTopLeft: return TopLeftTo(box, at, snap);
    case dmBottomRight: return BottomRightTo(box, at, snap);
    case dmNewBox: break;
    }
    int x = snap ? (at.X < 1 ? kSnapLeft : kSnapRight) : at.X;
    return {x, at.Y, x, at.Y};
}

TMotionBox DragRect(THitDragMode mode, const TMotionBox& rect, TGamePoint anchor, TGamePoint at, bool snap) {
    switch (mode) {
    case dmTopLeft: return TopLeftTo(rect, at, snap);
    case dmBottomRight: return BottomRightTo(rect, at, snap);
    case dmNewBox: break;
    }
    int x = snap ? SnapNewEdge(anchor.X, at.X) : at.X;
    return {std::min(x, anchor.X), std::max(at.Y, anchor.Y), std::max(x, anchor.X), std::min(at.Y, anchor.Y)};
}

std::optional<std::string> EncodeBox(const TMotionBox& box) {
    std::string x1, y1, x2, y2;
    if (!EncodeBoxCoord(box.X1, x1) || !EncodeBoxSize(box.Y1, y1) || !EncodeBoxCoord(box.X2, x2) ||
        !EncodeBoxSize(box.Y2, y2))
        return std::nullopt;
    return x1 + y1 + x2 + y2;
}

std::string RewriteBoxField(std::string_view oldField, std::string_view code) {
    std::string_view t = Trim(oldField);
    std::string_view rest = t.size() > 12 ? t.substr(12) : std::string_view();
    std::size_t width = std::max<std::size_t>(oldField.size() - rest.size(), 13);
    return std::string(width - code.size(), ' ') + std::string(code) + std::string(rest);
}

std::string TypedBoxField(std::string_view oldField, std::string_view code) {
    return std::string(std::max<std::size_t>(oldField.size(), 13) - code.size(), ' ') + std::string(code);
}

std::string JoinWithField(const TMotionLineObj& line, TMotionField field, std::string_view text) {
    std::string joined;
    for (int i = 0; i < kMotionFieldCount; ++i) joined += i == field ? std::string(text) : line.Items[i];
    return joined;
}

std::string BoxLabel(const TMotionBox& box) {
    auto n = [](int v) { return PadLeft(IntToStr(v), 5); };
    return "(" + n(box.X1) + "," + n(box.Y1) + ")-(" + n(box.X2) + "," + n(box.Y2) + ")";
}

TBoxInput ParseBoxInput(const std::array<std::string, 4>& edits) {
    static const char* const notNumber[] = {"左上Ｘの値を数値に変換出ません", "左上Ｙの値を数値に変換出ません",
                                            "右下Ｘの値を数値に変換出ません", "右下Ｙの値を数値に変換出ません"};
    std::array<std::int32_t, 4> v{};
    for (int i = 0; i < 4; ++i) {
        auto value = StrToIntOrHex(Trim(edits[i]));
        if (!value) return {std::nullopt, {}, notNumber[i], i};
        v[i] = *value;
    }
    TMotionBox box{v[0], v[1], std::max(v[0], v[2]), std::min(v[1], v[3])};
    struct TCheck {
        std::int32_t Value;
        bool (*Encode)(std::int32_t, std::string&);
        const char* Message;
        int Edit;
    };
    const TCheck checks[] = {
        {box.X1, EncodeBoxCoord, "左上Ｘで指定された値は座標の文字に変換出ません", 0},
        {box.X2, EncodeBoxCoord, "右下Ｘで指定された値は座標の文字に変換出ません", 2},
        {box.Y1, EncodeBoxSize, "左上Ｙで指定された値は座標の文字に変換出ません", 1},
        {box.Y2, EncodeBoxSize, "右下Ｙで指定された値は座標の文字に変換出ません", 3},
    };
    std::string unused;
    for (const TCheck& c : checks)
        if (!c.Encode(c.Value, unused)) return {std::nullopt, {}, c.Message, c.Edit};
    return {box, *EncodeBox(box), {}, -1};
}

} // namespace quillon
