#pragma once
// The editor's own context menu as a model: items with captions, shortcuts, enabled and checked
// states and the command each runs. A window shows it; the model decides what it offers.
#include <functional>
#include <string>
#include <vector>

namespace quillon {

class TEditor;

struct TEditorMenuItem {
    std::string Name;     // role name, e.g. "Undo", "MarkSet3"
    std::string Caption;  // "-" for a separator
    std::string ShortCut; // e.g. "Ctrl+Z"; empty for none
    int Tag = 0;
    bool Enabled = true;
    bool Checked = false;
    std::vector<TEditorMenuItem> Items; // a submenu
    std::function<void()> OnClick;
};

class TEditorPopupMenu {
public:
    explicit TEditorPopupMenu(TEditor* Editor);
    virtual ~TEditorPopupMenu() = default;

    TEditor* Editor() const { return FEditor; }
    std::vector<TEditorMenuItem>& Items() { return FItems; }
    // The item of that name, searched through the submenus too; null when there is none.
    TEditorMenuItem* Find(const std::string& Name);
    // Sets the enabled and checked states as the menu pops up.
    virtual void Popup();
    // Runs an item's command (nothing for a disabled item).
    void Click(const std::string& Name);

protected:
    virtual void CreateItems();

private:
    TEditor* FEditor; // not owned; null: the menu does nothing
    std::vector<TEditorMenuItem> FItems;
};

} // namespace quillon
