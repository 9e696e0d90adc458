#pragma once
// The editor settings window. It edits copies: the caller's property set is copied into the form's
// own EditorProp1 and the caller's list colourer into the form's own colourer of the same class;
// every change shows at once in the sample editors; OK copies everything back into the caller's
// objects, Cancel drops it. The window stores nothing itself.
#include "ColorManager.h"
#include "EditorExProp.h"
#include "OrvColourer.h"
#include "forms/ui_VEdt.h"

#include <QDialog>

#include <memory>
#include <utility>
#include <vector>

namespace quillon {

// The colours, text then background, in which the colours samples show "選択領域" (Hit false) and
// "検索一致" (Hit true) for Prop: the selection colours, the hit colours by HitStyle, or the editor's
// colours inverted for a caret hit; clNone falls back to the editor's colours.
std::pair<TColor, TColor> SampleMarkColors(const TEditorExProp& Prop, bool Hit);

class TVEditWin : public QDialog, public Ui::VEditWin {
public:
    explicit TVEditWin(QWidget* Parent = nullptr);
    ~TVEditWin() override;

    // Takes Prop and, when given, Colourer (a list colourer of one of the eight list classes) and
    // shows their values; PageHint (an option object of a property set, a font, or null) chooses the
    // page shown first. False, with nothing set up, for a colourer of any other class.
    bool Setup(TEditorExProp& Prop, TColourer* Colourer, const TPersistent* PageHint);

    // 0 editor properties only, else the list kind of the colourer.
    int Kind() const { return FKind; }
    TEditorExProp& EditorProp1() { return FEditorProp1; }
    // The form's copy of the colourer, or null for kind 0.
    TOrvColourer* ColourerCopy() const { return FColourerCopy.get(); }

private:
    struct TColorEntry {
        TColourerColor* Color = nullptr; // not owned
        TEditorMark* Mark = nullptr;     // not owned
    };

    // Each control shows the value of the property it edits and writes it when the user changes it.
    void BindControls();
    void BindFont();
    void HookChanges();
    void FillFontNames();
    void FillColorList();
    void FillSamples();
    void SelectPage(const TPersistent* PageHint);
    void SamplesChanged();
    // Over the first text row of a colours sample: the selection and hit texts in their colours.
    void PaintMarks(TEditorWidget& Sample, QPainter& Painter, const TPaintOp& Row);
    // Editor_SelMove takes the caret options of EditorProp1.
    void CaretChanged();
    void ColorsRowChanged(int Row);
    void RulerRowChanged(int Row);
    void ItemChanged(TPersistent* Sender);
    void UnifyColors(int Mask);
    void Button_OkClick();

    int FKind = 0;
    TEditorExProp* FProp = nullptr; // the caller's, not owned
    TColourer* FColourer = nullptr; // the caller's, not owned
    bool FVariablePitch = false;
    TEditorExProp FEditorProp1;
    std::unique_ptr<TOrvColourer> FColourerCopy;
    std::unique_ptr<TEditorColorManager> FColorsManager;
    std::unique_ptr<TEditorColorManager> FRulerManager;
    // The five items that stand for colours of EditorProp1 and write them back when changed.
    TColourerColor FBasicItem, FRulerItem, FLeftbarItem, FModifiedItem;
    TEditorMark FRulerMarkItem;
    std::vector<TColorEntry> FColorEntries; // by row of ListBox_Colors
    bool FShowing = false;                  // controls are being filled: their handlers write nothing
};

// Edit Prop, or Prop and Colourer, in the modal settings window; true when the user pressed OK.
// Nothing happens (false) without Prop or Colourer, or for a colourer of no list class.
bool EditEditorProperties(TEditorExProp* Prop, const TPersistent* PageHint);
bool EditEditorAndColourer(TEditorExProp* Prop, TColourer* Colourer, const TPersistent* PageHint);

} // namespace quillon
