#pragma once
// Colour managers bind a colour grid, a "clNone" panel with its FG and BG labels and up to three
// style check boxes to one colour item at a time.
//
// Mode 0 edits a TColourerColor (foreground, background and style); mode 1 a TEditorMark (its colour
// only: the grid's background part, the BG label and the style boxes are disabled). A colour that is
// not one of the grid's 16 shows as "no cell" in the grid and as the FG or BG label on the panel.
#include "Colourer.h"
#include "EditorOptions.h"

#include <QObject>

#include <array>

class QCheckBox;
class QLabel;

namespace quillon {

class TColorGrid;

// The grid's 16 colours in cell order (silver before gray), then clNone as index 16.
using TColorList = std::array<TColor, 17>;
const TColorList& StandardColors();
// The position of Color in the list, or -1.
int ColorIndex(TColor Color);

class TCustomColorManager {
public:
    // Bold, Underline and Italic may be null.
    TCustomColorManager(TColorGrid* Grid, QCheckBox* Italic, QCheckBox* Underline, QCheckBox* Bold, QLabel* FGLabel,
                        QLabel* BGLabel, QWidget* NonePanel);
    virtual ~TCustomColorManager() = default;

    virtual void SetMarkItem(TEditorMark* Item);
    virtual void SetColorItem(TColourerColor* Item);
    int Mode() const { return FMode; }

protected:
    virtual void SetMode(int Value);
    bool HasItem() const { return FMode == 0 ? FColorItem != nullptr : FMarkItem != nullptr; }
    void SetBoxes(TFontStyles Style, bool Enabled);

    int FMode = 0;
    TColourerColor* FColorItem = nullptr; // not owned
    TEditorMark* FMarkItem = nullptr;     // not owned
    const TColorList& FColors;
    TColorGrid* FGrid;
    QWidget* FNonePanel;
    QLabel* FBGLabel;
    QLabel* FFGLabel;
    QCheckBox* FBold;
    QCheckBox* FUnderline;
    QCheckBox* FItalic;
};

// Writes what the user picks into the current item: a grid cell (left button the foreground, right
// the background), "clNone" on the panel or its labels, a style box.
class TEditorColorManager : public QObject, public TCustomColorManager {
public:
    TEditorColorManager(TColorGrid* Grid, QCheckBox* Italic, QCheckBox* Underline, QCheckBox* Bold, QLabel* FGLabel,
                        QLabel* BGLabel, QWidget* NonePanel);

    void GridMouseUp(Qt::MouseButton Button);
    void NoneMouseUp(Qt::MouseButton Button);
    void StyleClick(QCheckBox* Box);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
};

} // namespace quillon
