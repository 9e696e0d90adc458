#include "EditorPopupMenu.h"

#include "EditorControl.h"

namespace quillon {
namespace {

TEditorMenuItem Separator() { return {"", "-", "", 0, true, false, {}, {}}; }

TEditorMenuItem* FindIn(std::vector<TEditorMenuItem>& Items, const std::string& Name) {
    for (TEditorMenuItem& item : Items) {
        if (item.Name == Name) return &item;
        if (TEditorMenuItem* found = FindIn(item.Items, Name)) return found;
    }
    return nullptr;
}

} // namespace

TEditorPopupMenu::TEditorPopupMenu(TEditor* Editor) : FEditor(Editor) { CreateItems(); }

void TEditorPopupMenu::CreateItems() {
    TEditor* e = FEditor;
    TEditorMenuItem markSet{"MarkSet", "マーク設定", "", 0, true, false, {}, {}};
    TEditorMenuItem markJump{"MarkJump", "マークジャンプ", "", 0, true, false, {}, {}};
    for (int n = 0; n <= 9; ++n) {
        const std::string digit(1, static_cast<char>('0' + n));
        markSet.Items.push_back({"MarkSet" + digit, digit, "Shift+Ctrl+" + digit, n, true, false, {}, [e, n] {
                                     if (e->GetRowMarks(e->Row()) & (1u << n))
                                         e->DeleteRowMark(e->Row(), n);
                                     else
                                         e->SetRowMark(e->Row(), n);
                                 }});
        markJump.Items.push_back(
            {"MarkJump" + digit, digit, "Ctrl+" + digit, n, true, false, {}, [e, n] { e->GotoRowMark(n); }});
    }
    auto command = [](std::string Name, std::string Caption, std::string ShortCut, std::function<void()> Run) {
        return TEditorMenuItem{std::move(Name), std::move(Caption), std::move(ShortCut), 0, false, false, {},
                               std::move(Run)};
    };
    FItems = {std::move(markSet),
              std::move(markJump),
              Separator(),
              command("Undo", "元に戻す(&U)", "Ctrl+Z", [e] { e->Undo(); }),
              command("Redo", "やり直し(&R)", "Ctrl+A", [e] { e->Redo(); }),
              Separator(),
              command("Cut", "切り取り(&T)", "Ctrl+X", [e] { e->CutToClipboard(); }),
              command("Copy", "コピー(&C)", "Ctrl+C", [e] { e->CopyToClipboard(); }),
              command("Paste", "貼り付け(&P)", "Ctrl+V", [e] { e->PasteFromClipboard(); }),
              command("BoxPaste", "Box貼り付け(&B)", "Ctrl+B",
                      [e] {
                          if (e->Host() && e->Host()->ClipboardHasText()) e->SetSelTextBox(e->Host()->ClipboardText());
                      }),
              command("Delete", "削除(&D)", "", [e] { e->DeleteSelection(); }),
              Separator(),
              command("SelectAll", "すべて選択(&A)", "", [e] { e->SelectAll(); }),
              Separator(),
              command("BoxSelectionMode", "Box選択モード(&K)", "Ctrl+K", [this, e] {
                  TEditorMenuItem* item = Find("BoxSelectionMode");
                  item->Checked = !item->Checked;
                  e->SetSelectionMode(item->Checked ? 1 : 0);
              })};
    Find("BoxSelectionMode")->Enabled = true;
}

TEditorMenuItem* TEditorPopupMenu::Find(const std::string& Name) { return FindIn(FItems, Name); }

void TEditorPopupMenu::Popup() {
    TEditor* e = FEditor;
    if (!e) return;
    const bool writable = !e->ReadOnly();
    const bool selected = e->SelLength() > 0;
    const bool clipboard = e->Host() && e->Host()->ClipboardHasText();
    Find("Undo")->Enabled = e->CanUndo() && writable;
    Find("Redo")->Enabled = e->CanRedo() && writable;
    Find("Cut")->Enabled = selected && writable;
    Find("Delete")->Enabled = selected && writable;
    Find("Copy")->Enabled = selected;
    Find("Paste")->Enabled = clipboard && writable;
    Find("BoxPaste")->Enabled = clipboard && writable;
    Find("SelectAll")->Enabled = e->GetTextLength() > 0;
    TEditorMenuItem* box = Find("BoxSelectionMode");
    box->Enabled = true;
    box->Checked = e->SelectionMode() == 1;
    const std::uint16_t used = e->ScreenStrings().GetUsedMarks();
    for (const char* menu : {"MarkSet", "MarkJump"})
        for (TEditorMenuItem& item : Find(menu)->Items) item.Checked = (used & (1u << item.Tag)) != 0;
}

void TEditorPopupMenu::Click(const std::string& Name) {
    TEditorMenuItem* item = Find(Name);
    if (FEditor && item && item->Enabled && item->OnClick) item->OnClick();
}

} // namespace quillon
