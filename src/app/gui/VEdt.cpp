#include "VEdt.h"

#include "AsciiText.h"
#include "ColorGrid.h"
#include "Cp932.h"
#include "EditorColourer.h"
#include "FormUtils.h"
#include "KindProperties.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "QtDialogs.h"
#include "QtEditorUtils.h"
#include "QtFonts.h"

#include <QPainter>

#include <algorithm>
#include <functional>

namespace quillon {

namespace {

// Points at the screen's 96 pixels per inch; a font height is negative for the characters' own.
int SizeOfHeight(int Height) { return (std::abs(Height) * 72 + 48) / 96; }
int HeightOfSize(int Size) { return -((Size * 96 + 36) / 72); }

// A typed font size: 10 when it does not convert or is not positive, at most 200 (a size the
// samples can still draw without running out of memory).
int TypedFontSize(const std::string& Text) {
    const int size = StrToIntDef(Trim(Text), 10);
    return size <= 0 ? 10 : std::min(size, 200);
}

std::string SampleText(int Kind) {
    std::string text = "選択領域 検索一致";
    for (const char* line : ListKindInfo(Kind).SampleLines) text += std::string("\r\n") + line;
    return Utf8ToCp932(text);
}

TColourerColor* FindColor(TOrvColourer& Colourer, const char* Name) {
    for (int i = 0; i < Colourer.ColorCount(); ++i)
        if (std::string(Colourer.ColorInfoAt(i).Name) == Name) return &Colourer.ColorAt(i);
    return nullptr;
}

TColourerColor* ViewColor(TEditorColors& Colors, const std::string& Name) {
    if (Name == "Ank") return &Colors.Ank();
    if (Name == "DBCS") return &Colors.DBCS();
    return &Colors.Symbol();
}

void BindCheck(QCheckBox* Box, std::function<bool()> Get, std::function<void(bool)> Set,
               std::vector<std::function<void()>>& Shows) {
    Shows.push_back([Box, Get] { Box->setChecked(Get()); });
    QObject::connect(Box, &QCheckBox::toggled, Box, [Set](bool on) { Set(on); });
}

void BindSpin(QSpinBox* Spin, std::function<int()> Get, std::function<void(int)> Set,
              std::vector<std::function<void()>>& Shows) {
    Shows.push_back([Spin, Get] { Spin->setValue(Get()); });
    QObject::connect(Spin, &QSpinBox::valueChanged, Spin, [Set](int v) { Set(v); });
}

// A getter and a setter of one value of a part of the property set.
template <class TPart, class TValue> using TAccessors = std::pair<TValue (TPart::*)() const, void (TPart::*)(TValue)>;

void BindValue(QCheckBox* Box, std::function<bool()> Get, std::function<void(bool)> Set,
               std::vector<std::function<void()>>& Shows) {
    BindCheck(Box, std::move(Get), std::move(Set), Shows);
}

void BindValue(QSpinBox* Spin, std::function<int()> Get, std::function<void(int)> Set,
               std::vector<std::function<void()>>& Shows) {
    BindSpin(Spin, std::move(Get), std::move(Set), Shows);
}

// Binds each control of Table to its accessors on the part that Part answers; Store runs each
// setting (or not, while the form fills its controls).
template <class TControl, class TPart, class TValue, std::size_t N, class TPartOf, class TStore>
void BindParts(const std::pair<TControl*, TAccessors<TPart, TValue>> (&Table)[N], TPartOf Part, TStore Store,
               std::vector<std::function<void()>>& Shows) {
    for (const auto& [control, access] : Table) {
        const auto [get, set] = access;
        BindValue(
            control, [Part, get = get] { return (Part().*get)(); },
            [Part, Store, set = set](TValue v) { Store([&] { (Part().*set)(v); }); }, Shows);
    }
}

void BindRadio(QGroupBox* Group, std::function<int()> Get, std::function<void(int)> Set,
               std::vector<std::function<void()>>& Shows) {
    Shows.push_back([Group, Get] { SetItemIndex(Group, Get()); });
    for (QRadioButton* item : Group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly))
        QObject::connect(item, &QRadioButton::toggled, Group, [Group, Set](bool on) {
            if (on) Set(ItemIndex(Group));
        });
}

// Selects the item reading Text, or none when there is no such item.
void SelectListed(QListWidget* List, const QString& Text) {
    const auto found = List->findItems(Text, Qt::MatchExactly);
    if (found.isEmpty())
        List->setCurrentRow(-1);
    else
        List->setCurrentItem(found.first());
}

// The names of the styles, joined by ", ".
std::string StyleNames(TFontStyles Style) {
    static const char* const names[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
    std::string text;
    for (int i = 0; i < 4; ++i)
        if (HasStyle(Style, static_cast<TFontStyle>(i))) text += (text.empty() ? "" : ", ") + std::string(names[i]);
    return text;
}

} // namespace

std::pair<TColor, TColor> SampleMarkColors(const TEditorExProp& Prop, bool Hit) {
    const TColor editorBk = Prop.Color(), editorFg = Prop.Font().Color();
    if (Hit && Prop.HitStyle() == hsCaret) return {0xFFFFFF - ColorToRGB(editorFg), 0xFFFFFF - ColorToRGB(editorBk)};
    const TColourerColor& color =
        Hit && Prop.HitStyle() == hsDraw ? Prop.View().Colors().Hit() : Prop.View().Colors().Select();
    return {color.Color() == clNone ? editorBk : color.Color(), color.BkColor() == clNone ? editorFg : color.BkColor()};
}

TVEditWin::TVEditWin(QWidget* Parent) : QDialog(Parent) {
    setupUi(this);
    for (TEditorWidget* sample : {Editor_Colors, Editor_Ruler})
        sample->OnDrawLine = [this, sample](QPainter& painter, const TPaintOp& row) {
            PaintMarks(*sample, painter, row);
        };
    for (QComboBox* box : {cboHankakuSpace, cboZenkakuSpace, cboTabChar, cboFindMark})
        for (int i = 0; i < TColorGrid::CellCount; ++i)
            box->addItem(QString::fromStdString(ColorToString(StandardColors()[static_cast<std::size_t>(i)])));
    for (int size = 8; size <= 50; ++size) ListBox_FontSize->addItem(QString::number(size));
    FColorsManager = std::make_unique<TEditorColorManager>(ColorGrid_Colors, CheckBox15, CheckBox14, CheckBox13,
                                                           Label26, Label27, Panel1);
    FRulerManager =
        std::make_unique<TEditorColorManager>(ColorGrid_Ruler, nullptr, nullptr, nullptr, Label30, Label31, Panel3);
    connect(Button_Ok, &QPushButton::clicked, this, [this] {
        Button_OkClick();
        accept();
    });
    connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TVEditWin::~TVEditWin() {
    // The samples must let go of the colourer copy before it goes.
    for (TEditorWidget* sample : {Editor_Colors, Editor_Ruler}) sample->Editor().SetColourer(nullptr);
}

bool TVEditWin::Setup(TEditorExProp& Prop, TColourer* Colourer, const TPersistent* PageHint) {
    if (Colourer) {
        auto* list = dynamic_cast<TOrvColourer*>(Colourer);
        FKind = list ? ColourerKind(*list) : 0;
        if (FKind == 0) return false;
        FColourerCopy = CreateKindColourer(FKind);
        CopyColourerColors(*FColourerCopy, *list);
        for (TEditorWidget* sample : {Editor_Colors, Editor_Ruler}) sample->Editor().SetColourer(FColourerCopy.get());
    }
    FProp = &Prop;
    FColourer = Colourer;
    FEditorProp1.Assign(Prop);
    BindControls();
    BindFont();
    HookChanges();
    FillSamples();
    FillColorList();
    FillFontNames();
    ListBox_Ruler->setCurrentRow(0);
    SelectPage(PageHint);
    return true;
}

// ---- Controls and the properties they edit

void TVEditWin::BindControls() {
    TEditorExProp& p = FEditorProp1;
    std::vector<std::function<void()>> shows;
    // Each setter stores only while the form is not filling its controls.
    const auto guarded = [this](auto set) {
        return [this, set](auto value) {
            if (!FShowing) set(value);
        };
    };
    const auto store = [this](const std::function<void()>& set) {
        if (!FShowing) set();
    };
    const std::pair<QCheckBox*, TAccessors<TEditorCaret, bool>> caretBoxes[] = {
        {CheckBox_FreeCaret, {&TEditorCaret::FreeCaret, &TEditorCaret::SetFreeCaret}},
        {CheckBox_FreeRow, {&TEditorCaret::FreeRow, &TEditorCaret::SetFreeRow}},
        {CheckBox_AutoIndent, {&TEditorCaret::AutoIndent, &TEditorCaret::SetAutoIndent}},
        {CheckBox_BackSpaceUnIndent, {&TEditorCaret::BackSpaceUnIndent, &TEditorCaret::SetBackSpaceUnIndent}},
        {CheckBox_InTab, {&TEditorCaret::InTab, &TEditorCaret::SetInTab}},
        {CheckBox_KeepCaret, {&TEditorCaret::KeepCaret, &TEditorCaret::SetKeepCaret}},
        {CheckBox_LockScroll, {&TEditorCaret::LockScroll, &TEditorCaret::SetLockScroll}},
        {CheckBox_NextLine, {&TEditorCaret::NextLine, &TEditorCaret::SetNextLine}},
        {CheckBox_TabIndent, {&TEditorCaret::TabIndent, &TEditorCaret::SetTabIndent}},
        {CheckBox_PrevSpaceIndent, {&TEditorCaret::PrevSpaceIndent, &TEditorCaret::SetPrevSpaceIndent}},
        {CheckBox_SoftTab, {&TEditorCaret::SoftTab, &TEditorCaret::SetSoftTab}},
        {CheckBox_RowSelect, {&TEditorCaret::RowSelect, &TEditorCaret::SetRowSelect}},
        {CheckBox_SelMove, {&TEditorCaret::SelMove, &TEditorCaret::SetSelMove}},
    };
    // These setters send no change notice: the selection sample takes the caret at once.
    BindParts(
        caretBoxes, [&p]() -> TEditorCaret& { return p.Caret(); },
        [this](const std::function<void()>& set) {
            if (FShowing) return;
            set();
            CaretChanged();
        },
        shows);
    BindSpin(
        SpinEdit_TabSpaceCount, [&p] { return p.Caret().TabSpaceCount(); },
        guarded([&p](int v) { p.Caret().SetTabSpaceCount(v); }), shows);
    BindRadio(
        RadioGroup_TEditorCaretStyle, [&p] { return static_cast<int>(p.Caret().Style()); },
        guarded([&p](int v) { p.Caret().SetStyle(static_cast<TEditorCaretStyle>(v)); }), shows);
    BindRadio(
        RadioGroup_ScrollBars, [&p] { return static_cast<int>(p.ScrollBars()); },
        guarded([&p](int v) { p.SetScrollBars(static_cast<TScrollStyle>(v)); }), shows);
    BindSpin(
        SpinEdit_CaretVerticalAc, [&p] { return p.Speed().CaretVerticalAc(); },
        guarded([&p](int v) { p.Speed().SetCaretVerticalAc(v); }), shows);
    BindSpin(
        SpinEdit_PageVerticalRange, [&p] { return p.Speed().PageVerticalRange(); },
        guarded([&p](int v) { p.Speed().SetPageVerticalRange(v); }), shows);
    BindSpin(
        SpinEdit_PageVerticalRangeAc, [&p] { return p.Speed().PageVerticalRangeAc(); },
        guarded([&p](int v) { p.Speed().SetPageVerticalRangeAc(v); }), shows);
    BindCheck(
        CheckBox_InitBracketsFull, [&p] { return p.Speed().InitBracketsFull(); },
        guarded([&p](bool v) { p.Speed().SetInitBracketsFull(v); }), shows);
    BindCheck(
        CheckBox_RetMark, [&p] { return p.Marks().RetMark().Visible(); },
        guarded([&p](bool v) { p.Marks().RetMark().SetVisible(v); }), shows);
    BindCheck(
        CheckBox_EofMark, [&p] { return p.Marks().EofMark().Visible(); },
        guarded([&p](bool v) { p.Marks().EofMark().SetVisible(v); }), shows);
    BindCheck(
        CheckBox_UnderLine, [&p] { return p.Marks().Underline().Visible(); }, guarded([&p](bool v) {
            p.Marks().Underline().SetVisible(v);
            p.Margin().SetUnderlineSpace(v ? 1 : 0);
        }),
        shows);
    BindRadio(
        RadioGroup_HitStyle, [&p] { return static_cast<int>(p.HitStyle()); },
        guarded([&p](int v) { p.SetHitStyle(static_cast<TEditorHitStyle>(v)); }), shows);
    const std::pair<QCheckBox*, QComboBox*> special[] = {{chkHankakuSpace, cboHankakuSpace},
                                                         {chkZenkakuSpace, cboZenkakuSpace},
                                                         {chkTabChar, cboTabChar},
                                                         {chkFindMark, cboFindMark}};
    TEditorMark* marks[] = {&p.ExMarks().SpaceMark(), &p.ExMarks().DBSpaceMark(), &p.ExMarks().TabMark(),
                            &p.ExMarks().FindMark()};
    for (int i = 0; i < 4; ++i) {
        auto [box, colors] = special[i];
        TEditorMark* mark = marks[i];
        BindCheck(
            box, [mark] { return mark->Visible(); }, guarded([mark, colors = colors](bool v) {
                mark->SetVisible(v);
                colors->setEnabled(v);
            }),
            shows);
        shows.push_back([mark, colors = colors] {
            colors->setCurrentIndex(ColorIndex(mark->Color()) < TColorGrid::CellCount ? ColorIndex(mark->Color()) : -1);
            colors->setEnabled(mark->Visible());
        });
        connect(colors, &QComboBox::activated, this, [this, mark](int index) {
            if (!FShowing && index >= 0) mark->SetColor(StandardColors()[static_cast<std::size_t>(index)]);
        });
    }
    BindCheck(
        CheckBox_RulerVisible, [&p] { return p.Ruler().Visible(); }, guarded([&p](bool v) { p.Ruler().SetVisible(v); }),
        shows);
    BindCheck(
        CheckBox_RulerEdge, [&p] { return p.Ruler().Edge(); }, guarded([&p](bool v) { p.Ruler().SetEdge(v); }), shows);
    BindRadio(
        RadioGroup_GaugeRange, [&p] { return std::min(1, p.Ruler().GaugeRange() % 10); },
        guarded([&p](int v) { p.Ruler().SetGaugeRange(10 - 2 * v); }), shows);
    const std::pair<QSpinBox*, TAccessors<TEditorMargin, int>> margins[] = {
        {SpinEdit_MarginTop, {&TEditorMargin::Top, &TEditorMargin::SetTop}},
        {SpinEdit_MarginLeft, {&TEditorMargin::Left, &TEditorMargin::SetLeft}},
        {SpinEdit_MarginLine, {&TEditorMargin::Line, &TEditorMargin::SetLine}},
        {SpinEdit_MarginCharacter, {&TEditorMargin::Character, &TEditorMargin::SetCharacter}}};
    BindParts(
        margins, [&p]() -> TEditorMargin& { return p.Margin(); }, store, shows);
    using L = TEditorLeftbar;
    const std::pair<QCheckBox*, TAccessors<L, bool>> leftChecks[] = {
        {CheckBox_LeftbarVisible, {&L::Visible, &L::SetVisible}},
        {CheckBox_LeftbarEdge, {&L::Edge, &L::SetEdge}},
        {CheckBox_LeftbarShowNumber, {&L::ShowNumber, &L::SetShowNumber}},
        {CheckBox_LeftbarZeroBase, {&L::ZeroBase, &L::SetZeroBase}},
        {CheckBox_LeftbarZeroLead, {&L::ZeroLead, &L::SetZeroLead}}};
    BindParts(
        leftChecks, [&p]() -> TEditorLeftbar& { return p.Leftbar(); }, store, shows);
    BindRadio(
        RadioGroup_LeftbarShowNumberMode, [&p] { return static_cast<int>(p.Leftbar().ShowNumberMode()); },
        guarded([&p](int v) { p.Leftbar().SetShowNumberMode(static_cast<TEditorShowNumberMode>(v)); }), shows);
    const std::pair<QSpinBox*, TAccessors<L, int>> leftSpins[] = {
        {SpinEdit_LeftbarColumn, {&L::Column, &L::SetColumn}},
        {SpinEdit_LeftbarLeftMargin, {&L::LeftMargin, &L::SetLeftMargin}},
        {SpinEdit_LeftbarRightMargin, {&L::RightMargin, &L::SetRightMargin}}};
    BindParts(
        leftSpins, [&p]() -> TEditorLeftbar& { return p.Leftbar(); }, store, shows);
    using I = TEditorImagebar;
    BindCheck(
        CheckBox_ImagebarVisible, [&p] { return p.Imagebar().Visible(); },
        guarded([&p](bool v) { p.Imagebar().SetVisible(v); }), shows);
    const std::pair<QSpinBox*, TAccessors<I, int>> imageSpins[] = {
        {SpinEdit_ImagebarDigitWidth, {&I::DigitWidth, &I::SetDigitWidth}},
        {SpinEdit_ImagebarMarkWidth, {&I::MarkWidth, &I::SetMarkWidth}},
        {SpinEdit_ImagebarLeftmargin, {&I::LeftMargin, &I::SetLeftMargin}},
        {SpinEdit_ImagebarRightMargin, {&I::RightMargin, &I::SetRightMargin}}};
    BindParts(
        imageSpins, [&p]() -> TEditorImagebar& { return p.Imagebar(); }, store, shows);
    FShowing = true;
    for (const auto& show : shows) show();
    FShowing = false;
}

void TVEditWin::BindFont() {
    connect(ListBox_FontName, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        if (!FShowing && !name.isEmpty()) FEditorProp1.Font().SetName(name.toStdString());
    });
    connect(ListBox_FontSize, &QListWidget::currentTextChanged, this, [this](const QString& size) {
        if (!FShowing) Edit_FontSize->setText(size);
    });
    connect(Edit_FontSize, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!FShowing) FEditorProp1.Font().SetHeight(HeightOfSize(TypedFontSize(text.toStdString())));
    });
    connect(CheckBox_TrueType, &QCheckBox::toggled, this, [this](bool on) {
        FVariablePitch = on;
        FillFontNames();
    });
}

// The families of the screen ("@" families never; variable-pitch ones only when asked for) with the
// set's font selected, then the sizes with its size selected. A font or size that is not listed
// stays as it is, unselected: only the user changes the font.
void TVEditWin::FillFontNames() {
    FShowing = true;
    ListBox_FontName->clear();
    ListBox_FontName->addItems(FontFamilies(FVariablePitch));
    const TFont& font = FEditorProp1.Font();
    SelectListed(ListBox_FontName, QString::fromStdString(font.Name()));
    const QString size = QString::number(SizeOfHeight(font.Height()));
    SelectListed(ListBox_FontSize, size);
    Edit_FontSize->setText(size);
    FShowing = false;
}

// Every change of EditorProp1 that the samples show reaches them at once.
void TVEditWin::HookChanges() {
    const TNotifyEvent changed = [this](TPersistent*) { SamplesChanged(); };
    TEditorExProp& p = FEditorProp1;
    p.OnColorChange = changed;
    p.OnHitStyleChange = changed;
    p.OnScrollBarsChange = changed;
    for (TNotifyPersistent* part :
         std::initializer_list<TNotifyPersistent*>{&p.Font(), &p.Caret(), &p.Imagebar(), &p.Leftbar(), &p.Margin(),
                                                   &p.Marks(), &p.Ruler(), &p.View(), &p.ExMarks()})
        part->OnChange = changed;
}

// A sample takes the look of EditorProp1 (colours, font, view, marks, margin and the gutters); the
// caret options reach only Editor_SelMove and the scroll bars only Editor_FontSample, and every sample
// keeps the rest of its own settings.
void TVEditWin::SamplesChanged() {
    const TEditorExProp& p = FEditorProp1;
    for (TEditorWidget* sample : {Editor_FontSample, Editor_SelMove, Editor_Colors, Editor_Ruler}) {
        TEditorExProp look;
        sample->AssignToProp(look);
        look.SetColor(p.Color());
        look.SetFont(p.Font());
        look.SetHitStyle(p.HitStyle());
        look.SetView(p.View());
        look.SetMarks(p.Marks());
        look.SetMargin(p.Margin());
        look.SetImagebar(p.Imagebar());
        look.SetLeftbar(p.Leftbar());
        look.SetRuler(p.Ruler());
        look.SetExMarks(p.ExMarks());
        if (sample == Editor_SelMove) look.SetCaret(p.Caret());
        if (sample == Editor_FontSample) look.SetScrollBars(p.ScrollBars());
        sample->AssignProp(look);
        sample->viewport()->update();
    }
}

void TVEditWin::CaretChanged() { Editor_SelMove->Editor().Caret().Assign(FEditorProp1.Caret()); }

void TVEditWin::PaintMarks(TEditorWidget& Sample, QPainter& Painter, const TPaintOp& Row) {
    if (Row.Row != 0) return;
    int height = 0, width = 0;
    Sample.FontMetrics(height, width);
    QFont font = Sample.EditorQFont();
    const TFontStyles style = FEditorProp1.View().Colors().DBCS().Style();
    font.setBold(HasStyle(style, fsBold));
    font.setItalic(HasStyle(style, fsItalic));
    font.setUnderline(HasStyle(style, fsUnderline));
    Painter.save();
    Painter.setFont(font);
    const std::pair<int, const char*> marks[] = {{0, "選択領域"}, {9, "検索一致"}};
    for (auto [column, text] : marks) {
        const auto [fg, bk] = SampleMarkColors(FEditorProp1, column != 0);
        const QRect cell(Row.X + column * width, Row.Rect.Top, 8 * width, Row.Rect.Bottom - Row.Rect.Top);
        Painter.fillRect(cell, QColorOf(bk));
        Painter.setPen(QColorOf(fg));
        Painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(text));
    }
    Painter.restore();
}

void TVEditWin::FillSamples() {
    FShowing = true;
    Editor_FontSample->Editor().Lines().SetText(Utf8ToCp932(
        "abcdefghijklmnopqrstuvwxyz\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ\r\nあいうえおかきくけこ\r\nアイウエオカキクケコ"));
    Editor_SelMove->Editor().Lines().SetText(Utf8ToCp932("  選択領域のマウス\r\nドラッグ\r\nDrag&Drop"));
    Editor_Colors->Editor().Lines().SetText(SampleText(FKind));
    Editor_Ruler->Editor().Lines().SetText(SampleText(FKind));
    FShowing = false;
    SamplesChanged();
    Editor_SelMove->Editor().SetSelStart(12);
    Editor_SelMove->Editor().SetSelLength(22);
    // A blank put in front of the second line and taken away again leaves it a modified row.
    TEditor& ruler = Editor_Ruler->Editor();
    ruler.SetRowCol(1, 0);
    ruler.SetSelText(" ");
    ruler.SetRowCol(1, 0);
    ruler.SetSelLength(1);
    ruler.DeleteSelection();
    ruler.SetRowCol(0, 0);
    const std::pair<int, int> marks[] = {{1, 0}, {3, 3}, {4, 4}, {4, 15}, {6, 12}};
    for (auto [row, mark] : marks) Editor_Ruler->Editor().SetRowMark(row, mark);
}

// ---- Colours

void TVEditWin::FillColorList() {
    TEditorExProp& p = FEditorProp1;
    FBasicItem.SetBkColor(p.Color());
    FBasicItem.SetColor(p.Font().Color());
    FBasicItem.SetStyle(p.Font().Style());
    FRulerItem.SetBkColor(p.Ruler().BkColor());
    FRulerItem.SetColor(p.Ruler().Color());
    FRulerMarkItem.SetColor(p.Ruler().MarkColor());
    FLeftbarItem.SetBkColor(p.Leftbar().BkColor());
    FLeftbarItem.SetColor(p.Leftbar().Color());
    FModifiedItem.SetBkColor(p.Leftbar().ModifiedBkColor());
    FModifiedItem.SetColor(p.Leftbar().ModifiedColor());
    // Hooked only once loaded: a hook while loading would copy the fields not yet loaded into the set.
    for (TNotifyPersistent* item : std::initializer_list<TNotifyPersistent*>{&FBasicItem, &FRulerItem, &FLeftbarItem,
                                                                             &FModifiedItem, &FRulerMarkItem})
        item->OnChange = [this](TPersistent* sender) { ItemChanged(sender); };

    ListBox_Colors->clear();
    FColorEntries.clear();
    const auto add = [this](const char* text, TColorEntry entry) {
        ListBox_Colors->addItem(QString::fromUtf8(text));
        FColorEntries.push_back(entry);
    };
    add("基本", {&FBasicItem, nullptr});
    for (const TColorItemLabel& item : ListKindInfo(FKind).ColorItems)
        add(item.Label,
            {FColourerCopy ? FindColor(*FColourerCopy, item.Prop) : ViewColor(p.View().Colors(), item.Prop), nullptr});
    add("選択文字列", {&p.View().Colors().Select(), nullptr});
    add("検索一致文字列", {&p.View().Colors().Hit(), nullptr});
    add("[EOF]マーク", {nullptr, &p.Marks().EofMark()});
    add("改行マーク", {nullptr, &p.Marks().RetMark()});
    add("カーソル行下線", {nullptr, &p.Marks().Underline()});
    connect(ListBox_Colors, &QListWidget::currentRowChanged, this, &TVEditWin::ColorsRowChanged);
    connect(ListBox_Ruler, &QListWidget::currentRowChanged, this, &TVEditWin::RulerRowChanged);
    ListBox_Colors->setCurrentRow(0);
    connect(Button_ColorsSameBkColor, &QPushButton::clicked, this, [this] { UnifyColors(1); });
    connect(Button_ColorsSameColor, &QPushButton::clicked, this, [this] { UnifyColors(2); });
    connect(Button_ColorsSameStyle, &QPushButton::clicked, this, [this] { UnifyColors(4); });
}

void TVEditWin::ColorsRowChanged(int Row) {
    if (Row < 0 || Row >= static_cast<int>(FColorEntries.size())) return;
    const TColorEntry& entry = FColorEntries[static_cast<std::size_t>(Row)];
    if (entry.Mark)
        FColorsManager->SetMarkItem(entry.Mark);
    else
        FColorsManager->SetColorItem(entry.Color);
}

void TVEditWin::RulerRowChanged(int Row) {
    switch (Row) {
    case 0: FRulerManager->SetColorItem(&FRulerItem); break;
    case 1: FRulerManager->SetMarkItem(&FRulerMarkItem); break;
    case 2: FRulerManager->SetColorItem(&FLeftbarItem); break;
    case 3: FRulerManager->SetColorItem(&FModifiedItem); break;
    default: break;
    }
}

// A change of one of the five items goes into EditorProp1 at once.
void TVEditWin::ItemChanged(TPersistent* Sender) {
    TEditorExProp& p = FEditorProp1;
    if (Sender == &FBasicItem) {
        p.SetColor(FBasicItem.BkColor());
        p.Font().BeginUpdate();
        p.Font().SetColor(FBasicItem.Color());
        p.Font().SetStyle(FBasicItem.Style());
        p.Font().EndUpdate();
    } else if (Sender == &FRulerItem || Sender == &FRulerMarkItem) {
        p.Ruler().BeginUpdate();
        p.Ruler().SetBkColor(FRulerItem.BkColor());
        p.Ruler().SetColor(FRulerItem.Color());
        p.Ruler().SetMarkColor(FRulerMarkItem.Color());
        p.Ruler().EndUpdate();
    } else if (Sender == &FLeftbarItem || Sender == &FModifiedItem) {
        p.Leftbar().BeginUpdate();
        p.Leftbar().SetBkColor(FLeftbarItem.BkColor());
        p.Leftbar().SetColor(FLeftbarItem.Color());
        p.Leftbar().SetModifiedBkColor(FModifiedItem.BkColor());
        p.Leftbar().SetModifiedColor(FModifiedItem.Color());
        p.Leftbar().EndUpdate();
    }
}

// Mask 1 the backgrounds, 2 the text colours, 4 the styles of the editor's own colour set (Select
// and Hit excepted), after the user confirms. "基本" gives clNone for colours; another item gives its
// own colour (a mark its colour).
void TVEditWin::UnifyColors(int Mask) {
    TEditorColourer& colourer = FEditorProp1.View().Colourer();
    const int row = ListBox_Colors->currentRow();
    if (Mask == 4) {
        const TFontStyles style = FEditorProp1.Font().Style();
        if (Messages().Show("Change all Style to [ " + StyleNames(style) + " ]", "確認", TMsgIcon::Question,
                            TMsgButtons::OKCancel) == TMsgResult::Ok)
            colourer.SetAllStyle(style);
        return;
    }
    TColor color = clNone;
    if (row > 0 && row < static_cast<int>(FColorEntries.size())) {
        const TColorEntry& entry = FColorEntries[static_cast<std::size_t>(row)];
        color = entry.Mark ? entry.Mark->Color() : Mask == 1 ? entry.Color->BkColor() : entry.Color->Color();
    }
    const std::string what = Mask == 1 ? "BkColor" : "Color";
    if (Messages().Show("Change all " + what + " to " + ColorToString(color), "確認", TMsgIcon::Question,
                        TMsgButtons::OKCancel) != TMsgResult::Ok)
        return;
    if (Mask == 1)
        colourer.SetAllBkColor(color);
    else
        colourer.SetAllColor(color);
}

void TVEditWin::SelectPage(const TPersistent* PageHint) {
    QWidget* page = TabSheet_Colors;
    if (dynamic_cast<const TEditorCaret*>(PageHint))
        page = TabSheet_Caret;
    else if (dynamic_cast<const TEditorLeftbar*>(PageHint) || dynamic_cast<const TEditorRuler*>(PageHint) ||
             dynamic_cast<const TEditorMargin*>(PageHint))
        page = TabSheet_Ruler;
    else if (dynamic_cast<const TFont*>(PageHint))
        page = TabSheet_Font;
    PageControl1->setCurrentWidget(page);
}

void TVEditWin::Button_OkClick() {
    FProp->Assign(FEditorProp1);
    if (FColourerCopy) CopyColourerColors(*static_cast<TOrvColourer*>(FColourer), *FColourerCopy);
}

// ---- Entry points

namespace {

bool RunWindow(TEditorExProp* Prop, TColourer* Colourer, const TPersistent* PageHint) {
    TVEditWin form(OwnerWindow());
    if (!form.Setup(*Prop, Colourer, PageHint)) return false;
    return form.exec() == QDialog::Accepted;
}

} // namespace

bool EditEditorProperties(TEditorExProp* Prop, const TPersistent* PageHint) {
    return Prop && RunWindow(Prop, nullptr, PageHint);
}

bool EditEditorAndColourer(TEditorExProp* Prop, TColourer* Colourer, const TPersistent* PageHint) {
    return Prop && Colourer && RunWindow(Prop, Colourer, PageHint);
}

} // namespace quillon
