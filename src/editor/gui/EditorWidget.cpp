#include "EditorWidget.h"

#include "EditorClipboard.h"
#include "EditorPopupMenu.h"
#include "QtEditorUtils.h"
#include "QtOleDnd.h"
#include "QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace quillon {

namespace {

constexpr int BlinkInterval = 530; // ms per phase of the caret
constexpr int DragRepeatInterval = 100;
constexpr int WheelRows = 3; // rows per wheel notch

TRect ToRect(const QRect& R) { return {R.left(), R.top(), R.right() + 1, R.bottom() + 1}; }
QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

// Our virtual key for a Qt key, or 0.
int VirtualKey(int Key) {
    switch (Key) {
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    default: return 0;
    }
}

// The character code a control key types, or -1. With Alt held a key is a system key and types
// nothing; with Ctrl held Enter types a line feed, Back Space a delete and Tab nothing.
int ControlChar(int Key, Qt::KeyboardModifiers Modifiers) {
    if (Modifiers & Qt::AltModifier) return -1;
    const bool ctrl = Modifiers & Qt::ControlModifier;
    switch (Key) {
    case Qt::Key_Backspace: return ctrl ? 0x7F : 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return ctrl ? -1 : 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return ctrl ? 10 : 13;
    case Qt::Key_Escape: return 27;
    default: return -1;
    }
}

// The control character Ctrl with a letter types (1 to 26, Shift or not), or -1.
int CtrlLetterChar(int Key, Qt::KeyboardModifiers Modifiers) {
    if ((Modifiers & (Qt::ControlModifier | Qt::AltModifier)) != Qt::ControlModifier) return -1;
    return Key >= Qt::Key_A && Key <= Qt::Key_Z ? Key - Qt::Key_A + 1 : -1;
}

TWParam ScrollParam(int Code, int Pos) {
    return static_cast<TWParam>(static_cast<std::uint32_t>(MakeLParam(Code, Pos)));
}

} // namespace

TEditorWidget::TEditorWidget(QWidget* Parent) : TEditorWidget(std::make_unique<TOleDndEditor>(), Parent) {}

TEditorWidget::TEditorWidget(std::unique_ptr<TEditor> Editor, QWidget* Parent)
    : QAbstractScrollArea(Parent), FEditor(std::move(Editor)), FDndEditor(dynamic_cast<TOleDndEditor*>(FEditor.get())),
      FFont(std::make_unique<TCellFont>(EditorFont("FixedSys", 16))) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true); // the cursor follows the region under the mouse
    viewport()->setCursor(EditorCursor(crIBeam));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { ScrollAction(sbVertical, action); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { ScrollAction(sbHorizontal, action); });
    FBlink.setInterval(BlinkInterval);
    connect(&FBlink, &QTimer::timeout, this, [this] {
        FBlinkOn = !FBlinkOn;
        InvalidateCaret();
    });
    FDragRepeat.setInterval(DragRepeatInterval);
    connect(&FDragRepeat, &QTimer::timeout, this, [this] { RepeatDragOver(); });
    // A zero-interval timer fires whenever the event loop has nothing else to do: input always
    // comes first, and each step lasts a couple of milliseconds at most.
    FIdle.setInterval(0);
    connect(&FIdle, &QTimer::timeout, this, [this] {
        if (!FEditor->IdleStep()) FIdle.stop();
    });
    UpdatePictures();
    FEditor->SetHost(this);
    if (FDndEditor) FDndEditor->SetDragDropHost(this);
}

TEditorWidget::~TEditorWidget() {
    if (FDndEditor) FDndEditor->SetDragDropHost(nullptr);
    FEditor->SetHost(nullptr);
}

// ---- Font and colours

void TEditorWidget::SetEditorFont(const std::string& Name, int PixelSize) {
    FFontName = Name;
    FFont = std::make_unique<TCellFont>(EditorFont(Name, PixelSize));
    FontChanged();
}

void TEditorWidget::AssignProp(const TEditorProp& Set) {
    FEditor->Assign(Set);
    FColor = Set.Color();
    FFontColor = Set.Font().Color();
    FFontStyle = Set.Font().Style();
    // A negative height is the characters' own, a positive one the cells'; both are taken as the
    // font's pixel size.
    SetEditorFont(Set.Font().Name(), std::max(1, std::abs(Set.Font().Height())));
    FEditor->FontChanged();
}

void TEditorWidget::AssignToProp(TEditorProp& Set) const {
    Set.Assign(*FEditor);
    Set.SetColor(FColor);
    TFont& font = Set.Font();
    font.BeginUpdate();
    font.SetName(FFontName);
    font.SetHeight(-FFont->Font().pixelSize());
    font.SetColor(FFontColor);
    font.SetStyle(FFontStyle);
    font.EndUpdate();
}

void TEditorWidget::SetFontColor(TColor Value) {
    FFontColor = Value;
    FontChanged();
}

void TEditorWidget::SetFontStyle(TFontStyles Value) {
    FFontStyle = Value; // the cell renderer draws the styles; the font stays plain
    FontChanged();
}

void TEditorWidget::SetColor(TColor Value) {
    FColor = Value;
    FontChanged();
}

void TEditorWidget::FontChanged() {
    FEditor->Refresh();
    UpdatePictures();
    viewport()->update();
}

void TEditorWidget::UpdatePictures() {
    const TEditorRuler& ruler = FEditor->Ruler();
    TRulerLook look;
    look.Color = FColor;
    look.FontColor = FFontColor;
    look.BkColor = ruler.BkColor();
    look.InkColor = ruler.Color();
    look.MarkColor = ruler.MarkColor();
    look.Edge = ruler.Edge();
    look.GaugeRange = ruler.GaugeRange();
    look.Height = RulerHeight(true, ruler.Edge());
    FRuler.Update(look, FEditor->CharWidth(), std::max(1920, width()));
}

// ---- Painting

TPaintGeometry TEditorWidget::Geometry() const {
    const TEditor& e = *FEditor;
    TPaintGeometry g;
    g.CharWidth = e.CharWidth();
    g.FontHeight = e.FontHeight();
    g.RowHeight = e.RowHeight();
    g.UnderlineSpace = e.Margin().UnderlineSpace();
    g.TextLeft = e.TextLeft();
    g.TextTop = e.TextTop();
    g.ClientWidth = ClientWidth();
    g.ClientHeight = ClientHeight();
    g.TopRow = e.TopRow();
    g.TopCol = e.TopCol();
    g.ColsPerPage = e.ColsPerPage();
    return g;
}

TPaintLook TEditorWidget::Look() const {
    TEditor& e = *FEditor;
    TPaintLook look;
    look.Color = FColor;
    look.FontColor = FFontColor;
    look.FontStyle = FFontStyle;
    TColourer& colourer = e.ActiveColourerRef();
    look.ItalicMode = HasStyle(FFontStyle, fsItalic) || colourer.HasItalic(colourer) ||
                      (&colourer == &e.View().Colourer() && colourer.HasItalic(e.View().Colors()));
    look.WordWrap = e.WordWrap();
    const TEditorColors& colors = e.View().Colors();
    look.SelectColor = colors.Select().Color();
    look.SelectBkColor = colors.Select().BkColor();
    look.HitColor = colors.Hit().Color();
    look.HitBkColor = colors.Hit().BkColor();
    return look;
}

TPaintMarks TEditorWidget::Marks() const {
    const TEditorMarks& m = FEditor->Marks();
    auto mark = [](const TEditorMark& source) { return TPaintMark{source.Visible(), source.Color()}; };
    return {mark(m.EofMark()), mark(m.RetMark()), mark(m.WrapMark()), mark(m.HideMark()), mark(m.Underline())};
}

TPaintSelection TEditorWidget::Selection() const {
    const TEditor& e = *FEditor;
    TPaintSelection s;
    s.Drawn = e.IsSelected() || (e.IsHitSelected() && e.HitStyle() == hsDraw);
    s.Hit = e.IsHitSelected();
    s.Box = e.SelectionMode() == 1;
    s.CoverUnderline = e.IsSelectedOrHit();
    s.StartRow = e.SelDraw().StartRow;
    s.EndRow = e.SelDraw().EndRow;
    s.StartCol = e.SelDraw().Start;
    s.EndCol = e.SelDraw().End;
    return s;
}

TGutterLook TEditorWidget::GutterLook() const {
    const TEditor& e = *FEditor;
    const TEditorLeftbar& bar = e.Leftbar();
    TGutterLook g;
    g.Color = FColor;
    g.FontColor = FFontColor;
    g.FontStyle = FFontStyle;
    g.RowHeight = e.RowHeight();
    g.TextTop = e.TextTop();
    g.TopRow = e.TopRow();
    g.ClientHeight = ClientHeight();
    g.ImagebarWidth = e.ImagebarWidth();
    g.ImagebarLeftMargin = e.Imagebar().LeftMargin();
    g.ImagebarDigitWidth = e.Imagebar().DigitWidth();
    g.LeftbarVisible = bar.Visible();
    g.LeftbarEdge = bar.Edge();
    g.ShowNumber = bar.ShowNumber();
    g.LeftbarWidth = e.LeftbarWidth();
    g.LeftbarLeftMargin = bar.LeftMargin();
    g.Numbering = {bar.ShowNumberMode() == nmLine, bar.ZeroBase(), bar.ZeroLead(), bar.Column()};
    // The editor sized the bar for its digits: LeftMargin + digits x CharWidth + RightMargin + 2.
    g.LeftbarDigits = (e.LeftbarWidth() - bar.LeftMargin() - bar.RightMargin() - 2) / std::max(1, e.CharWidth());
    g.LeftbarBkColor = bar.BkColor();
    g.LeftbarColor = bar.Color();
    g.ModifiedBkColor = bar.ModifiedBkColor();
    g.ModifiedColor = bar.ModifiedColor();
    return g;
}

void TEditorWidget::paintEvent(QPaintEvent* Event) {
    QPainter painter(viewport());
    for (const QRect& rect : Event->region()) Paint(painter, rect);
}

QImage TEditorWidget::Render() {
    QImage image(viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Paint(painter, image.rect());
    return image;
}

void TEditorWidget::Paint(QPainter& Painter, const QRect& Area) {
    TEditor& e = *FEditor;
    e.CutShownRows();
    Painter.save();
    Painter.setClipRect(Area);
    const TRect area = ToRect(Area);
    const TPaintGeometry g = Geometry();
    TPaintPlan plan;
    TEditorPainter painter(e.ScreenStrings(), e.ActiveColourerRef(), Marks(), g, Look(), Selection(),
                           [&e](std::string_view s) { return e.ExpandTabs(s); });
    painter.PaintText(area, plan);
    TPlanRenderer renderer(*FFont, g.CharWidth);
    TPaintPlan rowPlan;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const TPaintOp& op = plan[i];
        renderer.RenderOp(Painter, plan, i);
        if (op.Kind != poDrawLine) continue;
        rowPlan.clear();
        e.DoDrawLine(op, rowPlan);
        renderer.Render(Painter, rowPlan);
        if (OnDrawLine) OnDrawLine(Painter, op);
    }
    const int first = g.TopRow + std::max(0, area.Top - g.TextTop) / g.RowHeight;
    const int last = g.TopRow + std::max(0, area.Bottom - g.TextTop + g.RowHeight - 1) / g.RowHeight;
    PaintGutters(Painter, area, first, last);
    if (e.Marks().Underline().Visible() && !e.IsSelectedOrHit()) {
        plan.clear();
        painter.DrawUnderline(e.Row(), false, plan);
        renderer.Render(Painter, plan);
    }
    PaintPreedit(Painter);
    PaintCaret(Painter);
    Painter.restore();
}

void TEditorWidget::PaintGutters(QPainter& Painter, const TRect& Area, int FirstRow, int LastRow) {
    TEditor& e = *FEditor;
    const TGutterLook look = GutterLook();
    TPaintPlan plan;
    // Both bars for any area left of the text: a mark's picture may reach past the image bar.
    if (Area.Left < e.TextLeft()) {
        if (e.ImagebarWidth() > 0) PaintImagebar(e.ScreenStrings(), FirstRow, LastRow, look, plan);
        if (e.LeftbarWidth() > 0) PaintLeftbar(e.ScreenStrings(), FirstRow, LastRow, look, plan);
    }
    // The text rows' background must not run into the gutters below the last row.
    TPlanRenderer renderer(*FFont, e.CharWidth());
    Painter.save();
    Painter.setClipRect(0, e.TextTop(), e.TextLeft(), ClientHeight(), Qt::IntersectClip);
    Painter.fillRect(e.ImagebarWidth() + e.LeftbarWidth(), e.TextTop(),
                     e.TextLeft() - e.ImagebarWidth() - e.LeftbarWidth(), ClientHeight(), QColorOf(FColor));
    renderer.Render(Painter, plan);
    Painter.restore();
    if (Area.Top < e.TextTop()) {
        // The top margin, under the ruler when it is visible.
        Painter.fillRect(e.TextLeft(), 0, ClientWidth() - e.TextLeft(), e.TextTop(), QColorOf(FColor));
        if (e.Ruler().Visible())
            FRuler.Paint(Painter, e.TextLeft(), ClientWidth(), e.TopCol(), e.Col(), e.ColsPerPage());
        TCornerLook corner;
        corner.Color = FColor;
        corner.TextLeft = e.TextLeft();
        corner.TextTop = e.TextTop();
        corner.LeftGutters = e.ImagebarWidth() + e.LeftbarWidth();
        corner.LeftbarEdge = e.Leftbar().Visible() && e.Leftbar().Edge();
        corner.LeftbarBkColor = e.Leftbar().BkColor() == clNone ? FColor : e.Leftbar().BkColor();
        corner.RulerEdge = e.Ruler().Visible() && e.Ruler().Edge();
        corner.RulerBkColor = e.Ruler().BkColor() == clNone ? FColor : e.Ruler().BkColor();
        corner.RulerHeight = e.RulerHeight();
        Painter.drawImage(0, 0, MakeCorner(corner));
    }
}

void TEditorWidget::PaintCaret(QPainter& Painter) {
    if (!CaretVisible() || !FBlinkOn || FCaretRect.isEmpty()) return;
    Painter.save();
    Painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    Painter.fillRect(FCaretRect, Qt::white);
    Painter.restore();
}

void TEditorWidget::PaintPreedit(QPainter& Painter) {
    if (FPreedit.isEmpty()) return;
    int replaced = 0;
    const std::string bytes = OutsideTextToCp932(FPreedit, replaced);
    const int cw = FEditor->CharWidth();
    const QRect box(FImePos.x(), FImePos.y(), static_cast<int>(bytes.size()) * cw, FEditor->FontHeight());
    Painter.fillRect(box, QColorOf(FColor));
    Painter.setPen(QColorOf(FFontColor));
    FFont->DrawText(Painter, box.left(), box.top(), bytes, cw, StyleBit(fsUnderline));
}

// ---- TEditorHost

bool TEditorWidget::Focused() const { return hasFocus(); }
int TEditorWidget::ClientWidth() const { return viewport()->width(); }
int TEditorWidget::ClientHeight() const { return viewport()->height(); }

void TEditorWidget::FontMetrics(int& Height, int& AveCharWidth) const {
    Height = FFont->Height();
    AveCharWidth = FFont->AveCharWidth();
}

int TEditorWidget::ScrollBarExtent() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

void TEditorWidget::Invalidate(const TRect& Rect) {
    if (Rect.IsEmpty()) return;
    viewport()->update(ToQRect(Rect));
}

void TEditorWidget::StartIdleWork() {
    if (!FIdle.isActive()) FIdle.start();
}

// Qt paints what was invalidated once per frame; nothing the editor does needs the pixels sooner
// (grabbing the widget paints it anyway).
void TEditorWidget::UpdateWindow() {}

void TEditorWidget::ScrollWindow(int DX, int DY, const TRect& Rect) { viewport()->scroll(DX, DY, ToQRect(Rect)); }

void TEditorWidget::InvalidateCaret() {
    if (!FCaretRect.isEmpty()) viewport()->update(FCaretRect);
}

void TEditorWidget::CreateCaret(int Width, int Height) {
    InvalidateCaret();
    FCaretRect.setSize(QSize(Width, Height));
    FCaretCreated = true;
    FCaretShown = false;
}

void TEditorWidget::DestroyCaret() {
    InvalidateCaret();
    FCaretCreated = FCaretShown = false;
    FBlink.stop();
}

void TEditorWidget::SetCaretPos(int X, int Y) {
    InvalidateCaret();
    FCaretRect.moveTo(X, Y);
    FBlinkOn = true;
    InvalidateCaret();
}

void TEditorWidget::ShowCaret() {
    FCaretShown = true;
    FBlinkOn = true;
    FBlink.start();
    InvalidateCaret();
}

void TEditorWidget::HideCaret() {
    FCaretShown = false;
    FBlink.stop();
    InvalidateCaret();
}

void TEditorWidget::SetScrollInfo(TScrollBarKind Bar, int Min, int Max, int Page, int Pos) {
    QScrollBar* bar = Bar == sbVertical ? verticalScrollBar() : horizontalScrollBar();
    const QSignalBlocker block(bar);
    // A bar's largest position is Max - Page + 1.
    bar->setRange(Min, std::max(Min, Max - Page + 1));
    bar->setPageStep(std::max(1, Page));
    bar->setSingleStep(1);
    bar->setValue(Pos);
}

void TEditorWidget::SetScrollPos(TScrollBarKind Bar, int Pos) {
    QScrollBar* bar = Bar == sbVertical ? verticalScrollBar() : horizontalScrollBar();
    const QSignalBlocker block(bar);
    bar->setValue(Pos);
    bar->setSliderPosition(Pos);
}

void TEditorWidget::ShowScrollBar(TScrollBarKind Bar, bool Show) {
    const Qt::ScrollBarPolicy policy = Show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (Bar == sbVertical)
        setVerticalScrollBarPolicy(policy);
    else
        setHorizontalScrollBarPolicy(policy);
}

int TEditorWidget::TrackPos(TScrollBarKind Bar) const {
    return (Bar == sbVertical ? verticalScrollBar() : horizontalScrollBar())->sliderPosition();
}

void TEditorWidget::SetCursor(TCursor Cursor) { viewport()->setCursor(EditorCursor(Cursor)); }

void TEditorWidget::ShowCursorNow(TCursor Cursor) { viewport()->setCursor(EditorCursor(Cursor)); }

bool TEditorWidget::ClipboardHasText() const { return quillon::ClipboardHasText(*QApplication::clipboard()); }

bool TEditorWidget::ClipboardHasBox() const { return quillon::ClipboardHasBox(*QApplication::clipboard()); }

std::string TEditorWidget::ClipboardText() const {
    int replaced = 0;
    std::string text = quillon::ClipboardText(*QApplication::clipboard(), replaced);
    ReportReplaced(replaced);
    return text;
}

void TEditorWidget::SetClipboardText(const std::string& Text, bool Box) {
    quillon::SetClipboardText(*QApplication::clipboard(), Text, Box);
}

bool TEditorWidget::KeyDown(int VirtualKey) const {
    switch (VirtualKey) {
    case VK_SHIFT: return FModifiers & Qt::ShiftModifier;
    case VK_CONTROL: return FModifiers & Qt::ControlModifier;
    case VK_MENU: return FModifiers & Qt::AltModifier;
    case VK_LBUTTON: return FButtons & Qt::LeftButton;
    default: return false;
    }
}

void TEditorWidget::SetKeyState(int VirtualKey, int State) {
    const Qt::KeyboardModifier modifier = VirtualKey == VK_SHIFT     ? Qt::ShiftModifier
                                          : VirtualKey == VK_CONTROL ? Qt::ControlModifier
                                          : VirtualKey == VK_MENU    ? Qt::AltModifier
                                                                     : Qt::NoModifier;
    FModifiers.setFlag(modifier, (State & 0x80) != 0);
}

int TEditorWidget::TakeTrailByte() {
    if (FChars.empty() || FChars.front() < 0x40) return -1;
    const int byte = FChars.front();
    FChars.pop_front();
    return byte;
}

std::string TEditorWidget::CompositionResult() { return FComposition; }

void TEditorWidget::SetImePosition(int X, int Y) {
    FImePos = QPoint(X, Y);
    if (!FPreedit.isEmpty()) viewport()->update();
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void TEditorWidget::ReportReplaced(int Count) const {
    if (Count > 0 && OnCharactersReplaced) OnCharactersReplaced(Count);
}

// ---- Events

void TEditorWidget::resizeEvent(QResizeEvent* Event) {
    QAbstractScrollArea::resizeEvent(Event);
    if (FRuler.Ruler().width() < width()) UpdatePictures();
    FEditor->Perform(WM_SIZE);
}

void TEditorWidget::TypeBytes(const std::string& Bytes) {
    FChars.insert(FChars.end(), Bytes.begin(), Bytes.end());
    while (!FChars.empty()) {
        const unsigned char byte = FChars.front();
        FChars.pop_front();
        FEditor->Perform(WM_CHAR, byte);
    }
}

void TEditorWidget::keyPressEvent(QKeyEvent* Event) {
    FModifiers = Event->modifiers();
    FKeyRepeat = Event->isAutoRepeat();
    const int key = Event->key();
    if (const int vk = VirtualKey(key)) {
        FEditor->Perform(WM_KEYDOWN, static_cast<TWParam>(vk), FKeyRepeat ? KF_REPEAT_BIT : 0);
        if (const int ch = ControlChar(key, FModifiers); ch >= 0) TypeBytes(std::string(1, static_cast<char>(ch)));
        Event->accept();
        return;
    }
    if (const int ch = CtrlLetterChar(key, FModifiers); ch >= 0) {
        TypeBytes(std::string(1, static_cast<char>(ch)));
        Event->accept();
        return;
    }
    const QString text = Event->text();
    if (text.isEmpty() || (Event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) || !text.at(0).isPrint()) {
        QAbstractScrollArea::keyPressEvent(Event);
        return;
    }
    int replaced = 0;
    TypeBytes(OutsideTextToCp932(text, replaced));
    ReportReplaced(replaced);
    Event->accept();
}

void TEditorWidget::keyReleaseEvent(QKeyEvent* Event) {
    FModifiers = Event->modifiers();
    if (Event->isAutoRepeat()) return;
    FKeyRepeat = false;
    FEditor->Perform(WM_KEYUP, static_cast<TWParam>(VirtualKey(Event->key())), 0);
}

void TEditorWidget::inputMethodEvent(QInputMethodEvent* Event) {
    if (FPreedit != Event->preeditString()) {
        FPreedit = Event->preeditString();
        viewport()->update();
    }
    if (Event->commitString().isEmpty()) return;
    int replaced = 0;
    FComposition = OutsideTextToCp932(Event->commitString(), replaced);
    ReportReplaced(replaced);
    FEditor->Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    // The characters of the result follow as typed bytes; the editor's skip count swallows them
    // when it typed the result itself.
    const std::string bytes = std::move(FComposition);
    FComposition.clear();
    TypeBytes(bytes);
    Event->accept();
}

QVariant TEditorWidget::inputMethodQuery(Qt::InputMethodQuery Query) const {
    switch (Query) {
    case Qt::ImCursorRectangle:
    case Qt::ImAnchorRectangle: {
        const QRect caret(FImePos, QSize(std::max(2, FCaretRect.width()), FEditor->FontHeight()));
        return caret.translated(viewport()->pos());
    }
    case Qt::ImFont: return FFont->Font();
    case Qt::ImEnabled: return !FEditor->ReadOnly();
    default: return QAbstractScrollArea::inputMethodQuery(Query);
    }
}

TWParam TEditorWidget::MouseKeys(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers) const {
    TWParam keys = 0;
    if (Buttons & Qt::LeftButton) keys |= MK_LBUTTON;
    if (Modifiers & Qt::ShiftModifier) keys |= MK_SHIFT;
    if (Modifiers & Qt::ControlModifier) keys |= MK_CONTROL;
    return keys;
}

void TEditorWidget::Mouse(TMessage Msg, QMouseEvent* Event) {
    FModifiers = Event->modifiers();
    FButtons = Event->buttons();
    const QPoint p = Event->position().toPoint();
    FEditor->Perform(Msg, MouseKeys(FButtons, FModifiers), MakeLParam(p.x(), p.y()));
}

void TEditorWidget::mousePressEvent(QMouseEvent* Event) {
    setFocus(Qt::MouseFocusReason);
    if (Event->button() == Qt::LeftButton)
        Mouse(WM_LBUTTONDOWN, Event);
    else
        QAbstractScrollArea::mousePressEvent(Event);
}

void TEditorWidget::mouseDoubleClickEvent(QMouseEvent* Event) {
    // Qt follows the second press of a double click with this event. The editor drops mouse messages
    // that arrive while the button counts as held, so for the double click the button counts as up,
    // as between the two clicks.
    if (Event->button() != Qt::LeftButton) return QAbstractScrollArea::mouseDoubleClickEvent(Event);
    FModifiers = Event->modifiers();
    FButtons = Event->buttons() & ~Qt::MouseButtons(Qt::LeftButton);
    const QPoint p = Event->position().toPoint();
    FEditor->Perform(WM_LBUTTONDBLCLK, MouseKeys(Event->buttons(), FModifiers), MakeLParam(p.x(), p.y()));
    FButtons = Event->buttons();
}

void TEditorWidget::mouseMoveEvent(QMouseEvent* Event) { Mouse(WM_MOUSEMOVE, Event); }

void TEditorWidget::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton)
        Mouse(WM_LBUTTONUP, Event);
    else
        QAbstractScrollArea::mouseReleaseEvent(Event);
}

void TEditorWidget::wheelEvent(QWheelEvent* Event) {
    if (FEditor->MouseState() != msIdle || (FButtons & Qt::LeftButton)) return;
    const int notches = Event->angleDelta().y() / 120;
    for (int i = 0; i < std::abs(notches) * WheelRows; ++i)
        FEditor->Perform(WM_VSCROLL, ScrollParam(notches > 0 ? SB_LINEUP : SB_LINEDOWN, 0));
    Event->accept();
}

namespace {

void AddMenuItems(QMenu& Menu, std::vector<TEditorMenuItem>& Items) {
    for (TEditorMenuItem& item : Items) {
        if (item.Caption == "-") {
            Menu.addSeparator();
            continue;
        }
        if (!item.Items.empty()) {
            QMenu* sub = Menu.addMenu(QStr(item.Caption));
            AddMenuItems(*sub, item.Items);
            continue;
        }
        QAction* action = Menu.addAction(QStr(item.Caption));
        action->setShortcut(QKeySequence(QStr(item.ShortCut)));
        action->setEnabled(item.Enabled);
        action->setCheckable(item.Checked);
        action->setChecked(item.Checked);
        if (item.OnClick && item.Enabled)
            QObject::connect(action, &QAction::triggered, [click = item.OnClick] { click(); });
    }
}

} // namespace

void FillPopupMenu(QMenu& Menu, TEditorPopupMenu& Model) {
    Model.Popup();
    AddMenuItems(Menu, Model.Items());
}

void TEditorWidget::contextMenuEvent(QContextMenuEvent* Event) {
    QMenu menu(this);
    FillPopupMenu(menu, FEditor->PopupMenu());
    menu.exec(Event->globalPos());
}

void TEditorWidget::focusInEvent(QFocusEvent* Event) {
    QAbstractScrollArea::focusInEvent(Event);
    FEditor->Perform(WM_SETFOCUS);
}

void TEditorWidget::focusOutEvent(QFocusEvent* Event) {
    QAbstractScrollArea::focusOutEvent(Event);
    FEditor->Perform(WM_KILLFOCUS);
}

bool TEditorWidget::focusNextPrevChild(bool Next) {
    return FEditor->WantTabs() ? false : QAbstractScrollArea::focusNextPrevChild(Next);
}

void TEditorWidget::scrollContentsBy(int, int) {
    // The editor scrolls the window itself (ScrollWindow).
}

void TEditorWidget::ScrollAction(TScrollBarKind Bar, int Action) {
    QScrollBar* bar = Bar == sbVertical ? verticalScrollBar() : horizontalScrollBar();
    int code = -1;
    switch (Action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    FEditor->Perform(Bar == sbVertical ? WM_VSCROLL : WM_HSCROLL, ScrollParam(code, bar->sliderPosition()));
    // The editor decided the position; the bar follows it.
    bar->setSliderPosition(Bar == sbVertical ? FEditor->TopRow() : FEditor->TopCol());
}

// ---- Drag and drop

void TEditorWidget::RegisterDragDrop(TDropTarget& Target) {
    FDropTarget = &Target;
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

void TEditorWidget::RevokeDragDrop() {
    FDragRepeat.stop();
    FDropTarget = nullptr;
    FDropData.reset();
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
}

void TEditorWidget::SetFocus() { setFocus(Qt::OtherFocusReason); }

int TEditorWidget::DoDragDrop(TDataObject& Data, int OkEffects) {
    TStgMedium text;
    Data.GetData(CF_TEXT, text);
    auto mime = std::make_unique<QMimeData>();
    SetMimeText(*mime, text.Text);
    FDragData = &Data;
    FDragMime = mime.get();
    auto drag = std::make_unique<QDrag>(this);
    drag->setMimeData(mime.release());
    const Qt::DropAction action = ExecDrag(*drag, DropEffectsToActions(OkEffects));
    FDragData = nullptr;
    FDragMime = nullptr;
    // The drag loop took the button's release: the button state is the system's again.
    FButtons = QGuiApplication::mouseButtons();
    return DropActionToEffect(action);
}

Qt::DropAction TEditorWidget::ExecDrag(QDrag& Drag, Qt::DropActions Actions) {
    return Drag.exec(Actions, Qt::CopyAction);
}

TDataObject& TEditorWidget::DragData(const QDropEvent& Event) {
    if (FDragMime && Event.mimeData() == FDragMime) return *FDragData;
    if (!FDropData) FDropData = std::make_unique<TMimeDataObject>(Event.mimeData());
    FDropData->SetMimeData(Event.mimeData());
    return *FDropData;
}

// Where the effect is none, no drop is offered.
void TEditorWidget::AnswerDrag(QDropEvent& Event, int Effect) {
    if (Effect == DROPEFFECT_NONE) {
        Event.ignore();
        return;
    }
    Event.setDropAction(DropEffectToAction(Effect));
    Event.accept();
}

// Remembers them for RepeatDragOver too.
void TEditorWidget::DragArgs(const QDropEvent& Event, int& Keys, TPoint& Point) {
    Keys = static_cast<int>(MouseKeys(Event.buttons(), Event.modifiers()));
    const QPoint p = Event.position().toPoint();
    Point = {p.x(), p.y()};
    FDragKeys = Keys;
    FDragPoint = Point;
}

void TEditorWidget::RepeatDragOver() {
    if (!FDropTarget || !FDropTarget->DataObject()) {
        FDragRepeat.stop();
        return;
    }
    int effect = DROPEFFECT_NONE;
    FDropTarget->DragOver(FDragKeys, FDragPoint, effect);
}

void TEditorWidget::dragEnterEvent(QDragEnterEvent* Event) {
    if (!FDropTarget) return Event->ignore();
    int keys = 0, effect = DROPEFFECT_NONE;
    TPoint point;
    DragArgs(*Event, keys, point);
    FDropTarget->DragEnter(DragData(*Event), keys, point, effect);
    if (!FDropTarget->DataObject()) {
        FDropData.reset();
        return Event->ignore();
    }
    // A drag that the target took is accepted whatever its effect, so that its moves and its leave
    // arrive.
    if (effect != DROPEFFECT_NONE) Event->setDropAction(DropEffectToAction(effect));
    Event->accept();
    FDragRepeat.start();
}

void TEditorWidget::dragMoveEvent(QDragMoveEvent* Event) {
    if (!FDropTarget) return Event->ignore();
    int keys = 0, effect = DROPEFFECT_NONE;
    TPoint point;
    DragArgs(*Event, keys, point);
    DragData(*Event);
    FDropTarget->DragOver(keys, point, effect);
    AnswerDrag(*Event, effect);
}

void TEditorWidget::dragLeaveEvent(QDragLeaveEvent*) {
    FDragRepeat.stop();
    if (FDropTarget) FDropTarget->DragLeave();
    FDropData.reset();
}

void TEditorWidget::dropEvent(QDropEvent* Event) {
    if (!FDropTarget) return Event->ignore();
    int keys = 0, effect = DROPEFFECT_NONE;
    TPoint point;
    DragArgs(*Event, keys, point);
    DragData(*Event);
    FDragRepeat.stop();
    FDropTarget->Drop(keys, point, effect);
    if (FDropData) ReportReplaced(FDropData->Replaced());
    FDropData.reset();
    AnswerDrag(*Event, effect);
}

} // namespace quillon
