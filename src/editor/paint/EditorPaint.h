#pragma once
// The paint plan of the editor: what a repaint of a rectangle draws, as a list of drawing operations
// that a window system renders without deciding anything itself.
//
// Text sits on fixed cells: column c of a row is drawn at x = X + c x CharWidth, where X is the x of
// column 0 (text left - TopCol x CharWidth). A row is painted in two passes: a background pass that
// fills the row and writes its whole text in the default colours, then a token pass that writes
// again only the tokens whose colours or style differ (normal mode). In italic mode the background
// pass only fills and every token is written transparently, so that a slanted glyph is not cut off
// by the opaque cells of its neighbour. Nothing is drawn beyond column 1000 (1001 when a double-byte
// character starts at 999); a longer row ends with the hidden-text mark.
//
// A selection splits a row into plain and selected parts at column edges; each part is painted as a
// whole row clipped to the part, so tokens and marks come out right at the edges.
#include "Colourer.h"
#include "EditorScreenStrings.h"
#include "FontStyles.h"
#include "LineWindow.h"
#include "Rect.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon {

enum TPaintOpKind {
    poFill,     // Rect filled with BkColor
    poText,     // Text from cell (X, Y) in Color and Style, clipped to Rect; BkColor behind its cells
                // unless clNone; FillRect: Rect filled with BkColor first
    poLines,    // a polyline through Points in Color, one pixel wide
    poImage,    // image Index of the image bar's digit (Row 0) or mark (Row 1) pictures at (X, Y)
    poDrawLine, // the row hook: Row's painted Text at (X, Y) within Rect, Selected; on a wrapped row
                // (word wrap on) the next row's stored text follows
};

struct TPaintOp {
    TPaintOpKind Kind = poFill;
    TRect Rect;
    int X = 0, Y = 0;
    std::string Text;
    TColor Color = clBlack;
    TColor BkColor = clNone;
    TFontStyles Style = 0;
    bool FillRect = false;
    bool Selected = false;
    int Row = 0;
    int Index = 0;
    std::vector<std::pair<int, int>> Points;
};

using TPaintPlan = std::vector<TPaintOp>;

// The operation that fills Rect with Color.
TPaintOp FillOp(const TRect& Rect, TColor Color);

// The editor's geometry for one paint.
struct TPaintGeometry {
    int CharWidth = 8, FontHeight = 16;
    int RowHeight = 16; // font height + line margin + underline space
    int UnderlineSpace = 0;
    int TextLeft = 0, TextTop = 0;
    int ClientWidth = 0, ClientHeight = 0;
    int TopRow = 0, TopCol = 0;
    int ColsPerPage = 1;
};

// The look of the text. A colour clNone stands for the control's or the font's colour.
struct TPaintLook {
    TColor Color = clWhite; // the control's background
    TColor FontColor = clBlack;
    TFontStyles FontStyle = 0;
    bool ItalicMode = false;
    bool WordWrap = false;
    TColor SelectColor = clNone, SelectBkColor = clNone; // selected text
    TColor HitColor = clNone, HitBkColor = clNone;       // a search hit drawn as a selection
};

// The visible marks.
struct TPaintMark {
    bool Visible = false;
    TColor Color = clGray;
};
struct TPaintMarks {
    TPaintMark Eof, Ret, Wrap, Hide, Underline;
};

// The selection as painted: its display form (columns: start inclusive, end exclusive).
struct TPaintSelection {
    bool Drawn = false; // a selection, or a hit drawn as one
    bool Hit = false;   // drawn in the hit colours
    bool Box = false;
    bool CoverUnderline = false; // row rectangles cover the underline space (a selection or hit exists)
    int StartRow = 0, EndRow = 0, StartCol = 0, EndCol = 0;
};

// The most columns a row shows: 1000, or 1001 when a double-byte character starts at column 999.
int PaintedLength(std::string_view S);

class TEditorPainter {
public:
    // ExpandTabs turns a row's text into its painted text (tabs as blanks), so that bytes equal columns.
    TEditorPainter(TEditorScreenStrings& Rows, TColourer& Colourer, const TPaintMarks& Marks,
                   const TPaintGeometry& Geometry, const TPaintLook& Look, const TPaintSelection& Selection,
                   std::function<std::string(std::string_view)> ExpandTabs);

    // The text area's part of a repaint of Rect (client pixels).
    void PaintText(const TRect& Rect, TPaintPlan& Plan);
    // The caret row's underline (Erase: in the control's colour); nothing when its y is not valid.
    int UnderlineY(int Row) const;
    void DrawUnderline(int Row, bool Erase, TPaintPlan& Plan) const;

    // One row, as the selection repaint uses them too. X is the x of column 0, Y the row's top, S the
    // row as painted (tabs expanded), NUL-terminated.
    void DrawRow(const TRect& Rect, int X, TColourerParser& Parser, int Row, std::string_view S, int Y,
                 TPaintPlan& Plan);
    void DrawRowSelected(const TRect& Rect, int X, TColourerParser& Parser, int Row, std::string_view S, int Y,
                         TPaintPlan& Plan);
    void DrawRowWithSelection(const TRect& Rect, int X, TColourerParser& Parser, int Row, std::string_view S, int Y,
                              TPaintPlan& Plan);

private:
    void PaintRow(const TRect& Rect, int X, TColourerParser& Parser, int Row, std::string_view S, int Y, bool Selected,
                  TPaintPlan& Plan);
    // State: the colouring state the row starts in.
    void TokenPass(const TRect& Rect, int X, TColourerParser& Parser, int Row, const TRowAttributeData& State,
                   std::string_view S, int Y, bool Selected, TPaintPlan& Plan);
    // The operations of the tokens Parser (primed with Text) gives from column 0 up to Painted,
    // starting left of x Limit.
    void TokensOut(const TRect& Rect, int X, TColourerParser& Parser, const char* Text, int Painted, int Limit, int Y,
                   bool Selected, TPaintPlan& Plan) const;
    void EndOfRowMark(const TRect& Rect, int X, int Row, std::string_view S, int Y, bool Selected,
                      TPaintPlan& Plan) const;
    // The text the parser gets for Row with at least Ahead bytes after it: S, the row as painted,
    // followed on a wrapped row (with word wrap on) by the stored text of the rows after it in its
    // logical line (TLineWindow); valid until the next call. The rows of one line painted in order
    // share one window; without word wrap every row is a line and is parsed where it lies.
    const char* ParsedText(int Row, std::string_view S, std::size_t Ahead);
    void TextOut(const TRect& Clip, int X, bool FillRect, std::string_view S, int Y, TColor Color, TColor BkColor,
                 TFontStyles Style, TPaintPlan& Plan) const;
    void DrawEof(int X, int Y, TPaintPlan& Plan) const;
    void DrawRetMark(int X, int Y, TColor Color, TPaintPlan& Plan) const;
    void DrawWrapMark(int X, int Y, TColor Color, TPaintPlan& Plan) const;
    void DrawHideMark(int X, int Y, TColor Color, TPaintPlan& Plan) const;
    void Lines(std::vector<std::pair<int, int>> Points, TColor Color, TPaintPlan& Plan) const;
    TColor SelectBkColor() const;
    TColor SelectTextColor() const;
    TColor MarkColor(const TPaintMark& Mark, bool Selected) const;
    int ColumnX(int Col) const;

    TEditorScreenStrings& FRows;
    TColourer& FColourer;
    TPaintMarks FMarks;
    TPaintGeometry FGeometry;
    TPaintLook FLook;
    TPaintSelection FSelection;
    std::function<std::string(std::string_view)> FExpandTabs;
    TLineWindow FLine; // ParsedText's window
};

} // namespace quillon
