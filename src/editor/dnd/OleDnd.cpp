#include "OleDnd.h"

namespace quillon {

bool TDataObject::GetData(int Format, TStgMedium& Medium) const {
    Medium = {};
    return QueryGetData(Format) && RenderData(Format, Medium);
}

void TDropTarget::DragEnter(TDataObject& Data, int KeyState, TPoint Point, int& Effect) {
    FDataObject = nullptr;
    for (const int format : FFormats)
        if (Data.QueryGetData(format)) {
            FDataObject = &Data;
            break;
        }
    Effect = DROPEFFECT_NONE;
    if (!FDataObject) return;
    Effect = DROPEFFECT_COPY;
    DoDragEnter(*FDataObject, KeyState, Effect, Point);
}

void TDropTarget::DragOver(int KeyState, TPoint Point, int& Effect) {
    Effect = DROPEFFECT_NONE;
    if (!FDataObject) return;
    Effect = DROPEFFECT_COPY;
    DoDragOver(*FDataObject, KeyState, Effect, Point);
}

void TDropTarget::DragLeave() {
    TDataObject* data = FDataObject;
    FDataObject = nullptr;
    if (data) DoDragLeave(*data);
}

void TDropTarget::Drop(int KeyState, TPoint Point, int& Effect) {
    TDataObject* data = FDataObject;
    FDataObject = nullptr;
    Effect = DROPEFFECT_NONE;
    if (!data) return;
    Effect = DROPEFFECT_COPY;
    DoDrop(*data, KeyState, Effect, Point);
}

void TDropTarget::DoDragEnter(TDataObject& Data, int KeyState, int& Effect, TPoint Point) {
    if (OnDragEnter) OnDragEnter(Data, KeyState, Effect, Point);
}

void TDropTarget::DoDragOver(TDataObject& Data, int KeyState, int& Effect, TPoint Point) {
    if (OnDragOver) OnDragOver(Data, KeyState, Effect, Point);
}

void TDropTarget::DoDragLeave(TDataObject& Data) {
    if (OnDragLeave) OnDragLeave(Data);
}

void TDropTarget::DoDrop(TDataObject& Data, int KeyState, int& Effect, TPoint Point) {
    if (OnDrop) OnDrop(Data, KeyState, Effect, Point);
}

} // namespace quillon
