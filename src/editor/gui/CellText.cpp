#include "CellText.h"

#include "Cp932.h"

#include <QFontMetrics>
#include <QGlyphRun>

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

constexpr quint32 NotLookedUp = 0xFFFFFFFF;
constexpr std::int8_t kSpareUnknown = -128;

// One decoded UTF-8 code point when Text holds exactly one, else U+FFFD.
char32_t SingleCodePoint(const std::string& Text) {
    const QString s = QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
    const QList<uint> points = s.toUcs4();
    return points.size() == 1 ? static_cast<char32_t>(points[0]) : U'\uFFFD';
}

} // namespace

QFont EditorFont(const std::string& Name, int PixelSize) {
    const QString name = QString::fromUtf8(Name.data(), static_cast<qsizetype>(Name.size()));
    QFont font(name.compare("FixedSys", Qt::CaseInsensitive) == 0 || name.isEmpty() ? QString(DefaultMonospaceFamily)
                                                                                    : name);
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(PixelSize);
    font.setKerning(false);
    return font;
}

char32_t Cp932CharToUnicode(unsigned Code) {
    static std::vector<char32_t> table(0x10000, U'\0');
    static std::vector<bool> known(0x10000, false);
    Code &= 0xFFFF;
    if (!known[Code]) {
        std::string bytes;
        if (Code > 0xFF) bytes.push_back(static_cast<char>(Code >> 8));
        bytes.push_back(static_cast<char>(Code & 0xFF));
        table[Code] = SingleCodePoint(Cp932ToUtf8(bytes));
        known[Code] = true;
    }
    return table[Code];
}

TCellFont::TCellFont(const QFont& Font)
    : FFont(Font), FRawFont(QRawFont::fromFont(Font)), FGlyphs(0x10000, NotLookedUp) {
    const QFontMetrics metrics(Font);
    FAscent = metrics.ascent();
    FHeight = metrics.ascent() + metrics.descent() + std::max(0, metrics.leading());
    FAveCharWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('0')));
}

bool TCellFont::InkInsideCells(unsigned Code, quint32 Glyph, int Cells, int CellWidth, TFontStyles Style) {
    // Italic slants the ink by a fraction of a pixel per row: never counted as inside.
    if (HasStyle(Style, fsItalic)) return false;
    if (CellWidth != FSpareCellWidth) {
        FSpare.assign(0x10000, kSpareUnknown);
        FSpareCellWidth = CellWidth;
    }
    std::int8_t& spare = FSpare[Code & 0xFFFF];
    if (spare == kSpareUnknown) {
        // The ink's box from the glyph's origin on the baseline, in whole pixels.
        const QRectF ink = FRawFont.boundingRect(Glyph);
        const int left = static_cast<int>(std::floor(ink.left())), right = static_cast<int>(std::ceil(ink.right()));
        const int top = static_cast<int>(std::floor(ink.top())), bottom = static_cast<int>(std::ceil(ink.bottom()));
        const bool inside = left >= 0 && top >= -FAscent && bottom <= FHeight - FAscent;
        spare = static_cast<std::int8_t>(inside ? std::clamp(Cells * CellWidth - right, -1, 127) : -1);
    }
    // Bold draws the glyph a second time one pixel to the right.
    return spare >= (HasStyle(Style, fsBold) ? 1 : 0);
}

quint32 TCellFont::GlyphOf(unsigned Code) {
    quint32& glyph = FGlyphs[Code & 0xFFFF];
    if (glyph == NotLookedUp) {
        const char32_t ch = Cp932CharToUnicode(Code);
        const QString text = QString::fromUcs4(&ch, 1);
        const QList<quint32> indexes = FRawFont.isValid() ? FRawFont.glyphIndexesForString(text) : QList<quint32>();
        glyph = indexes.size() == 1 ? indexes[0] : 0;
    }
    return glyph;
}

void TCellFont::DrawText(QPainter& Painter, int X, int Top, std::string_view S, int CellWidth, TFontStyles Style,
                         const std::vector<bool>* PaintedOver) {
    FRunGlyphs.clear();
    FRunPositions.clear();
    FMissing.clear();
    FMissingPositions.clear();
    const auto* bytes = reinterpret_cast<const unsigned char*>(S.data());
    const std::size_t size = S.size();
    for (std::size_t i = 0; i < size;) {
        unsigned code = bytes[i];
        std::size_t length = 1;
        if (IsLeadByte(bytes[i]) && i + 1 < size) {
            code = code << 8 | bytes[i + 1];
            length = 2;
        }
        const QPointF position(static_cast<qreal>(static_cast<int>(i) * CellWidth), 0);
        if (code != ' ' && code != '\t') {
            const quint32 glyph = GlyphOf(code);
            const bool hidden = glyph && PaintedOver && (*PaintedOver)[i] && (*PaintedOver)[i + length - 1] &&
                                InkInsideCells(code, glyph, static_cast<int>(length), CellWidth, Style);
            if (!glyph) {
                const char32_t ch = Cp932CharToUnicode(code);
                FMissing.append(QString::fromUcs4(&ch, 1));
                FMissingPositions.push_back(position);
            } else if (!hidden) {
                FRunGlyphs.push_back(glyph);
                FRunPositions.push_back(position);
            }
        }
        i += length;
    }
    DrawRun(Painter, QPointF(X, Top + FAscent), Style);
    if (HasStyle(Style, fsUnderline))
        Painter.fillRect(X, Top + FAscent + 1, static_cast<int>(size) * CellWidth, 1, Painter.pen().color());
    if (HasStyle(Style, fsStrikeOut))
        Painter.fillRect(X, Top + FAscent * 2 / 3, static_cast<int>(size) * CellWidth, 1, Painter.pen().color());
}

void TCellFont::DrawRun(QPainter& Painter, QPointF Origin, TFontStyles Style) {
    if (FRunGlyphs.isEmpty() && FMissing.isEmpty()) return;
    Painter.save();
    Painter.translate(Origin);
    if (HasStyle(Style, fsItalic)) Painter.shear(-0.2, 0);
    const int passes = HasStyle(Style, fsBold) ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        if (!FRunGlyphs.isEmpty()) {
            QGlyphRun run;
            run.setRawFont(FRawFont);
            run.setGlyphIndexes(FRunGlyphs);
            run.setPositions(FRunPositions);
            Painter.drawGlyphRun(QPointF(pass, 0), run);
        }
        // Characters outside the font: drawn one by one with the font's fallback.
        Painter.setFont(FFont);
        for (qsizetype k = 0, c = 0; k < FMissing.size(); ++c) {
            const qsizetype n = FMissing.at(k).isHighSurrogate() ? 2 : 1;
            Painter.drawText(FMissingPositions[c] + QPointF(pass, 0), FMissing.mid(k, n));
            k += n;
        }
    }
    Painter.restore();
}

} // namespace quillon
