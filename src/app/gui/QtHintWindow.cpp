#include "QtHintWindow.h"

#include "QtText.h"

#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QToolTip>

#include <algorithm>
#include <climits>

namespace quillon {

namespace {

constexpr int CursorSize = 32; // the height of a standard mouse cursor
constexpr int Border = 1;      // the window's frame
constexpr int Margin = 2;      // between the frame and the text

// The text as the window shows it: lines end at LF.
QString HintText(const std::string& Text) {
    return FromCp932(Text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

TQtHintWindow::TQtHintWindow(QWidget& Client) : FClient(Client), FWindow(new QLabel(&Client, Qt::ToolTip)) {
    FWindow->setFont(QToolTip::font());
    FWindow->setPalette(QToolTip::palette());
    FWindow->setAutoFillBackground(true);
    FWindow->setFrameStyle(QFrame::Box | QFrame::Plain);
    FWindow->setLineWidth(Border);
    FWindow->setMargin(Margin);
    FWindow->setIndent(0); // the text fills the width CalcHintRect measured
    FWindow->setWordWrap(true);
    FWindow->setTextFormat(Qt::PlainText);
    FWindow->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

TQtHintWindow::~TQtHintWindow() { delete FWindow.data(); }

void TQtHintWindow::CursorPos(int& X, int& Y) const {
    const QPoint p = QCursor::pos();
    X = p.x(), Y = p.y();
}

int TQtHintWindow::CursorHeight() const { return CursorSize; }

void TQtHintWindow::ClientToScreen(int& X, int& Y) const {
    const QPoint p = FClient.mapToGlobal(QPoint(X, Y));
    X = p.x(), Y = p.y();
}

TRect TQtHintWindow::ScreenRect() const {
    const QScreen* screen = FClient.screen();
    if (!screen) return {};
    const QRect r = screen->geometry();
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

TRect TQtHintWindow::CalcHintRect(int MaxWidth, const std::string& Text) const {
    const int frame = 2 * (Border + Margin);
    const QFontMetrics metrics(QToolTip::font());
    const QRect text = metrics.boundingRect(QRect(0, 0, std::max(1, MaxWidth - frame), INT_MAX / 2),
                                            Qt::AlignLeft | Qt::TextWordWrap, HintText(Text));
    return {0, 0, std::min(MaxWidth, text.width() + frame), text.height() + frame};
}

void TQtHintWindow::ShowHint(const TRect& Rect, const std::string& Text) {
    if (!FWindow) return;
    FWindow->setText(HintText(Text));
    FWindow->setGeometry(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    FWindow->show();
    FWindow->raise();
}

void TQtHintWindow::HideHint() {
    if (FWindow) FWindow->hide();
}

} // namespace quillon
