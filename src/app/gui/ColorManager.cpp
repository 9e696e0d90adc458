#include "ColorManager.h"

#include "ColorGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>

namespace quillon {

const TColorList& StandardColors() {
    static const TColorList colors{clBlack, clMaroon, clGreen,  clOlive, clNavy,    clPurple, clTeal,  clSilver, clGray,
                                   clRed,   clLime,   clYellow, clBlue,  clFuchsia, clAqua,   clWhite, clNone};
    return colors;
}

int ColorIndex(TColor Color) {
    const TColorList& colors = StandardColors();
    for (std::size_t i = 0; i < colors.size(); ++i)
        if (colors[i] == Color) return static_cast<int>(i);
    return -1;
}

namespace {
bool InGrid(int Index) { return Index >= 0 && Index < TColorGrid::CellCount; }
} // namespace

TCustomColorManager::TCustomColorManager(TColorGrid* Grid, QCheckBox* Italic, QCheckBox* Underline, QCheckBox* Bold,
                                         QLabel* FGLabel, QLabel* BGLabel, QWidget* NonePanel)
    : FColors(StandardColors()), FGrid(Grid), FNonePanel(NonePanel), FBGLabel(BGLabel), FFGLabel(FGLabel), FBold(Bold),
      FUnderline(Underline), FItalic(Italic) {}

void TCustomColorManager::SetMode(int Value) {
    FMode = Value;
    FGrid->SetForegroundEnabled(true);
    FGrid->SetBackgroundEnabled(Value == 0);
    if (Value != 0) FBGLabel->setVisible(false);
}

void TCustomColorManager::SetBoxes(TFontStyles Style, bool Enabled) {
    const std::pair<QCheckBox*, TFontStyle> boxes[] = {{FBold, fsBold}, {FUnderline, fsUnderline}, {FItalic, fsItalic}};
    for (auto [box, style] : boxes) {
        if (!box) continue;
        const QSignalBlocker quiet(box);
        box->setChecked(Enabled && HasStyle(Style, style));
        box->setEnabled(Enabled);
    }
}

void TCustomColorManager::SetColorItem(TColourerColor* Item) {
    FColorItem = Item;
    FMarkItem = nullptr;
    SetMode(0);
    const int bk = Item ? ColorIndex(Item->BkColor()) : 16;
    const int fg = Item ? ColorIndex(Item->Color()) : 16;
    FGrid->setEnabled(Item != nullptr);
    FNonePanel->setEnabled(Item != nullptr);
    FGrid->SetBackgroundIndex(bk);
    FGrid->SetForegroundIndex(fg);
    FBGLabel->setVisible(Item && !InGrid(bk));
    FFGLabel->setVisible(Item && !InGrid(fg));
    SetBoxes(Item ? Item->Style() : 0, Item != nullptr);
}

void TCustomColorManager::SetMarkItem(TEditorMark* Item) {
    FMarkItem = Item;
    FColorItem = nullptr;
    SetMode(1);
    SetBoxes(0, false);
    const int fg = Item ? ColorIndex(Item->Color()) : 16;
    FGrid->setEnabled(Item != nullptr);
    FNonePanel->setEnabled(Item != nullptr);
    FGrid->SetForegroundIndex(fg);
    FFGLabel->setVisible(Item && !InGrid(fg));
}

TEditorColorManager::TEditorColorManager(TColorGrid* Grid, QCheckBox* Italic, QCheckBox* Underline, QCheckBox* Bold,
                                         QLabel* FGLabel, QLabel* BGLabel, QWidget* NonePanel)
    : TCustomColorManager(Grid, Italic, Underline, Bold, FGLabel, BGLabel, NonePanel) {
    Grid->OnMouseUp = [this](Qt::MouseButton button) { GridMouseUp(button); };
    for (QObject* target :
         {static_cast<QObject*>(NonePanel), static_cast<QObject*>(FGLabel), static_cast<QObject*>(BGLabel)})
        target->installEventFilter(this);
    for (QCheckBox* box : {Italic, Underline, Bold})
        if (box) QObject::connect(box, &QCheckBox::clicked, this, [this, box] { StyleClick(box); });
}

bool TEditorColorManager::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::MouseButtonRelease && FNonePanel->isEnabled())
        NoneMouseUp(static_cast<QMouseEvent*>(Event)->button());
    return QObject::eventFilter(Watched, Event);
}

void TEditorColorManager::GridMouseUp(Qt::MouseButton Button) {
    if (!HasItem()) return;
    const auto at = [this](int index) { return InGrid(index) ? FColors[static_cast<std::size_t>(index)] : clNone; };
    if (Button == Qt::LeftButton && InGrid(FGrid->ForegroundIndex())) {
        FFGLabel->setVisible(false);
        if (FMode == 0)
            FColorItem->SetColor(at(FGrid->ForegroundIndex()));
        else
            FMarkItem->SetColor(at(FGrid->ForegroundIndex()));
    } else if (Button == Qt::RightButton && FMode == 0 && InGrid(FGrid->BackgroundIndex())) {
        FBGLabel->setVisible(false);
        FColorItem->SetBkColor(at(FGrid->BackgroundIndex()));
    }
}

void TEditorColorManager::NoneMouseUp(Qt::MouseButton Button) {
    if (!HasItem()) return;
    if (Button == Qt::LeftButton) {
        FFGLabel->setVisible(true);
        FGrid->SetForegroundIndex(16);
        if (FMode == 0)
            FColorItem->SetColor(clNone);
        else
            FMarkItem->SetColor(clNone);
    } else if (Button == Qt::RightButton && FMode == 0) {
        FBGLabel->setVisible(true);
        FGrid->SetBackgroundIndex(16);
        FColorItem->SetBkColor(clNone);
    }
}

void TEditorColorManager::StyleClick(QCheckBox* Box) {
    if (FMode != 0 || !FColorItem) return;
    const TFontStyle style = Box == FBold        ? fsBold
                             : Box == FUnderline ? fsUnderline
                             : Box == FItalic    ? fsItalic
                                                 : fsStrikeOut;
    TFontStyles styles = FColorItem->Style();
    if (Box->isChecked())
        styles |= StyleBit(style);
    else
        styles &= static_cast<TFontStyles>(~StyleBit(style));
    FColorItem->SetStyle(styles);
}

} // namespace quillon
