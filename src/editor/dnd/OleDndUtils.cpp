#include "OleDndUtils.h"

namespace quillon {

bool TTextDataObject::RenderData(int, TStgMedium& Medium) const {
    Medium.Text = FText.substr(0, FText.find('\0'));
    return true;
}

void TEventsDropTarget::DoDragEnter(TDataObject& Data, int KeyState, int& Effect, TPoint Point) {
    if (Events)
        Events->DragEnter(Data, KeyState, Effect, Point);
    else
        TDropTarget::DoDragEnter(Data, KeyState, Effect, Point);
}

void TEventsDropTarget::DoDragOver(TDataObject& Data, int KeyState, int& Effect, TPoint Point) {
    if (Events)
        Events->DragOver(Data, KeyState, Effect, Point);
    else
        TDropTarget::DoDragOver(Data, KeyState, Effect, Point);
}

void TEventsDropTarget::DoDragLeave(TDataObject& Data) {
    if (Events)
        Events->DragLeave(Data);
    else
        TDropTarget::DoDragLeave(Data);
}

void TEventsDropTarget::DoDrop(TDataObject& Data, int KeyState, int& Effect, TPoint Point) {
    if (Events)
        Events->Drop(Data, KeyState, Effect, Point);
    else
        TDropTarget::DoDrop(Data, KeyState, Effect, Point);
}

} // namespace quillon
