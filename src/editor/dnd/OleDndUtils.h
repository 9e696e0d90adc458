#pragma once
// The drag-and-drop objects that the editor builds on: a data object offering one text, and a drop
// target that reports to an events interface instead of handlers.
#include "OleDnd.h"

#include <string>

namespace quillon {

// Offers Text as CF_TEXT and nothing else.
class TTextDataObject : public TDataObject {
public:
    explicit TTextDataObject(std::string Text) : FText(std::move(Text)) {}
    const std::string& Text() const { return FText; }
    bool QueryGetData(int Format) const override { return Format == CF_TEXT; }

protected:
    // The text up to its first NUL: a receiver reads it as a NUL-terminated string.
    bool RenderData(int Format, TStgMedium& Medium) const override;

private:
    std::string FText;
};

// The receiver of a TEventsDropTarget's calls (an accepted drag only).
class IDropTargetEvents {
public:
    virtual void DragEnter(TDataObject& Data, int KeyState, int& Effect, TPoint Point) = 0;
    virtual void DragOver(TDataObject& Data, int KeyState, int& Effect, TPoint Point) = 0;
    virtual void Drop(TDataObject& Data, int KeyState, int& Effect, TPoint Point) = 0;
    virtual void DragLeave(TDataObject& Data) = 0;

protected:
    ~IDropTargetEvents() = default;
};

// A drop target whose calls go to Events when it is set, else to the handlers.
class TEventsDropTarget : public TDropTarget {
public:
    IDropTargetEvents* Events = nullptr; // not owned

protected:
    void DoDragEnter(TDataObject& Data, int KeyState, int& Effect, TPoint Point) override;
    void DoDragOver(TDataObject& Data, int KeyState, int& Effect, TPoint Point) override;
    void DoDragLeave(TDataObject& Data) override;
    void DoDrop(TDataObject& Data, int KeyState, int& Effect, TPoint Point) override;
};

} // namespace quillon
