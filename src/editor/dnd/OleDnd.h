#pragma once
// Drag and drop between windows, as the editor sees it.
//
// A drag carries a data object that offers its data in one or more formats: text (CF_TEXT,
// Shift-JIS bytes ending at the first NUL) and a list of files (CF_HDROP, native file names). A drop
// target accepts a list of formats in order of preference. It takes a drag only when the drag's data
// object offers one of them; for such a drag it answers the window system's enter / over / leave /
// drop calls with a drop effect and passes each call on to its handlers, for any other drag it
// answers DROPEFFECT_NONE and calls nothing. Points are client coordinates of the target's window,
// key states MK_ bits (Messages.h).
//
// The window system's side (which drag is over which window, the drag loop, the cursor) belongs to
// the window that registers the target; see TDragDropHost (OleDndEditor.h).
#include "Messages.h"

#include <functional>
#include <string>
#include <vector>

namespace quillon {

// Formats of a drag.
constexpr int CF_TEXT = 1;
constexpr int CF_HDROP = 15;

// Drop effects; a drag source allows a combination of them.
constexpr int DROPEFFECT_NONE = 0;
constexpr int DROPEFFECT_COPY = 1;
constexpr int DROPEFFECT_MOVE = 2;

struct TPoint {
    int X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};

// The data of one format: Text for CF_TEXT, Files for CF_HDROP.
struct TStgMedium {
    std::string Text;
    std::vector<std::string> Files;
};

// What a drag carries.
class TDataObject {
public:
    virtual ~TDataObject() = default;
    // Whether the data is offered in Format.
    virtual bool QueryGetData(int Format) const = 0;
    // The data in Format into Medium (emptied first); false when Format is not offered or the data
    // cannot be had.
    bool GetData(int Format, TStgMedium& Medium) const;

protected:
    // Fills the emptied Medium with the data in an offered Format.
    virtual bool RenderData(int Format, TStgMedium& Medium) const = 0;
};

using TDragEvent = std::function<void(TDataObject& Data, int KeyState, int& Effect, TPoint Point)>;
using TDragLeaveEvent = std::function<void(TDataObject& Data)>;

// A window's acceptance of drags. Data is the drag's data object, kept from DragEnter (the current
// data object) until DragLeave or Drop.
class TDropTarget {
public:
    virtual ~TDropTarget() = default;

    // The accepted formats, in order of preference.
    std::vector<int>& Formats() { return FFormats; }
    const std::vector<int>& Formats() const { return FFormats; }
    // The data object of the drag over the window when it was accepted, else nullptr.
    TDataObject* DataObject() const { return FDataObject; }

    // The window system's calls. Each sets Effect: DROPEFFECT_COPY, possibly changed by the handler,
    // for an accepted drag, DROPEFFECT_NONE for any other.
    void DragEnter(TDataObject& Data, int KeyState, TPoint Point, int& Effect);
    void DragOver(int KeyState, TPoint Point, int& Effect);
    void DragLeave();
    void Drop(int KeyState, TPoint Point, int& Effect);

    // Handlers, called for an accepted drag only.
    TDragEvent OnDragEnter;
    TDragEvent OnDragOver;
    TDragEvent OnDrop;
    TDragLeaveEvent OnDragLeave;

protected:
    // Each calls its handler when one is assigned.
    virtual void DoDragEnter(TDataObject& Data, int KeyState, int& Effect, TPoint Point);
    virtual void DoDragOver(TDataObject& Data, int KeyState, int& Effect, TPoint Point);
    virtual void DoDragLeave(TDataObject& Data);
    virtual void DoDrop(TDataObject& Data, int KeyState, int& Effect, TPoint Point);

private:
    std::vector<int> FFormats;
    TDataObject* FDataObject = nullptr; // the accepted drag's; not owned
};

} // namespace quillon
