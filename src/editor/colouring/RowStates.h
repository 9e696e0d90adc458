#pragma once
// Lazy colouring: the colouring state at the start of every row, computed only where it is needed.
//
// A row cannot be coloured from its own text alone: it may start inside a bracket opened rows above,
// inside a comment or a quoted text cut by the word wrap, or in the middle of a token whose first
// bytes end the row above. What a token parser needs to know about everything above a row is its
// state (TRowAttributeData, RowAttrStrings.h), and the state of a row follows from the state of the
// row above and that row's text alone:
//
//     state(0)     = InitialRowState()
//     state(r + 1) = ScanRow(r, state(r)), with PrevRowAttribute := the attribute of row r
//
// ScanRow (defined here, a member of TColourerParser) decides what crosses a row boundary: brackets
// cross any boundary, wrapped or not; comments, quotes and every other token cross only a wrap (a
// row with attribute raWrapped), since a real line break ends them. A wrapped row is scanned joined
// with the rest of its logical line (and painted so), so that a token cut by the wrap is seen whole
// and a rule that looks ahead (a word count, a bracket's partner) sees the line as it stands
// unwrapped: a row then colours alike at every wrap width. Remain tells the next row how many of
// its first bytes finish the cut token, however many rows that token covers, while a quoted or
// comment kind is re-scanned by its own method from ContinuedToken. A bracket (kind tkBracket)
// closes where a positive Remain ends; a negative Remain counts the bytes that finish its cut left
// bracket, after which the row is inside the bracket: read from the row's start as the inside of
// the bracket, the "*" that ends "/*" and a "/" after it would close it.
//
// A row is joined only with as much of the rest of its line as its scan reads (TLineWindow,
// LineWindow.h), and consecutive rows of one line share one join that moves down the line, so
// scanning the rows of a long line costs its length once, and a scan that starts at any row of it
// costs what it reads, not the rest of the line; the rows must not change between two ScanRow calls
// on one parser. Painting shares a window likewise across the rows of a screen
// (TEditorPainter::ParsedText).
//
// Storage. The row store keeps every row's state beside its text (TRowAttributeStringList): the
// row attribute, the attribute of the row above and the bracket index + 2 packed in RowState, the
// continued token kind and parse flag in TokenState, FieldIndex, Remain, ParseValue and DataStr in
// fields of their own. Bracket index -2 (biNotComputed, a packed 0) marks a row whose state is not
// computed yet; a row the store creates starts that way.
//
// Invariant: the computed rows are a prefix of the store. Rows 0..k hold states that agree with the
// text above them; rows k+1.. are marked not computed. Every operation below keeps it.
//
// When states are computed. No edit and no paint waits for more than a few screens of scanning, and
// the idle work itself never holds up input.
// - After a change of the text (an edit, undo or redo), the row store calls UpdateRowStates from the
//   first changed row with Invalidate set: every row whose state changes is repainted by every
//   attached editor, and the number of them goes into the store's update record, so that the editor
//   also repaints rows whose text stayed but whose colours changed. Since a row's state depends on
//   the rest of its logical line (the Remain of a token that runs on, a token that a look-ahead
//   recognises), the walk starts above the change, at a row of its line that starts at a token
//   boundary far enough up for any look-ahead (RescanStart in RowStates.cpp), or at the line's
//   first row; the rows of that line above the change are stored and repainted when they change
//   (with the row above each, which shows the changed token's start). An edit looks no further up for a computed row
//   than its look-ahead (Reach): an edit far below the computed rows computes nothing and leaves its rows, and the
//   computed rows of its line below the line's first, not computed, which keeps the invariant.
// - When a row is painted and its state is not computed, and it lies at most two screens below the
//   computed rows, the painter calls UpdateRowStates for it (without Invalidate: the row is being
//   painted anyway, and without a Reach: it must have its state). Farther below, the paint takes
//   provisional states instead (next paragraph), so no paint scans more than a few screens of rows.
// - When the whole text, the wrapping, the colourer or its settings change, ResetRowStates marks
//   every row as not computed and computes the first two screens, down to two screens below the
//   top row when that lies within them (the whole text when the editor's Speed.InitBracketsFull is
//   set). A top row deeper down is painted from provisional states: computing every row above it
//   would make switching the wrap or the colourer wait in proportion to the scroll position.
// - In idle time: whenever a propagation leaves rows not computed (the last row tells, by the
//   invariant), the store asks its editors for idle work, and the editor's window runs a
//   zero-interval timer whose every tick computes, through ComputeRowStates, the rows after the
//   computed prefix for at most 2 ms. After a load of 10 MB the whole text is coloured within about
//   a tenth of a second of idle time, so a jump anywhere, or an edit anywhere, finds its states ready.
//
// How propagation stops. UpdateRowStates starts at the nearest computed row above Index, after a
// change no lower than that token boundary of Index's line (that row's stored state scanned gives the
// next state; with none, row 0 with the initial state) and walks down:
// - at the first row from Index on whose stored state agrees with the computed one (SameRowState:
//   everything but the row attribute, which belongs to the wrapping): since a state depends only on
//   the state above and the text, every later row is already right. A row not computed never agrees (its bracket
//   index is -2, a computed one never is), so the walk always passes through new rows;
// - after Index + LookAhead (two screen heights for an editor): the rows after that are marked not
//   computed (one pass over the row records, MarkNotComputed) and wait for the idle work or a paint,
//   so a change that alters every state below it (opening a bracket near the top of a long text)
//   costs two screens of scanning, not the whole text;
// - at the end of the text.
//
// Cost: one ScanRow per row walked, each linear in the length of the row and of the tokens that
// cross its end; a row inside one long token costs nothing. An ordinary edit that does not open or
// close a bracket walks a few rows of its line above it and stops after the changed rows.
//
// Provisional states. Right after a load, or after a change of the wrapping or the colourer, only
// the first screens are computed, and the idle work needs about a tenth of a second for 10 MB; a
// jump to the end of the text in that time must not wait for every row in between. So a paint of a
// row more than two screens below the computed rows scans a window of its own (TProvisionalStates):
// from the start of a logical line about a screen above the row, in the initial state, down to a
// screen below it. A logical line starts in the initial state but for the bracket it lies in and
// for the values a parser carries over a line break; the default colourer carries none and every
// list parser starts a line afresh, so a provisional state is exact unless a bracket opened above
// the window is still open (or the window had to start inside a logical line longer than two
// screens). The window is kept beside the store, never in its rows: the computed rows stay a
// prefix, and every reader but the painter (token queries, item hints, the propagation itself)
// sees exact states or none, as before.
// A provisional state is wrong at most until the computed rows reach it. Whenever they grow (an
// idle step, a paint near them), the window's rows that are computed now are compared with their
// exact states, every row whose state differs is repainted, and those rows leave the window. A
// change of the text, the wrapping or the colourer, and a new window for a paint elsewhere, drop
// the provisional rows that they make void and repaint them. So a provisional state leaves only
// confirmed by the exact one or with its row repainted, and what is painted ends up exact.
// The window belongs to the row store, beside its rows, because everything that voids or confirms
// it passes through the store (changes of the text, resets, idle steps); the editors of a document
// share it. A document is normally shown by one editor, whose screen always lies inside the window
// of its latest far paint (a screen above and below the first row that paint missed).
// Cost: a far paint scans at most three screens of rows (from two screens above its first row to one
// below it); a repaint inside the window scans nothing.
#include "RowAttrStrings.h"

#include <limits>
#include <string_view>
#include <vector>

namespace quillon {

class TColourer;
class TColourerParser;

// The state the first row of a text starts in.
TRowAttributeData InitialRowState();

// Recomputes row states from the nearest computed row above Index down to at most Index + LookAhead,
// stopping at the first row from Index on whose stored state agrees with the computed one; rows past
// that range are marked as not computed. With Invalidate the text changed from row Index on: the
// walk starts no lower than a token boundary of Index's logical line above it, as the rows of the
// line above Index may change too, and every row whose state changes is repainted, with the row above
// it inside its line. Answers the number of rows whose state changed (only with Invalidate). When no
// computed row lies within Reach rows above Index, nothing is computed: the rows from Index on, and
// the computed rows of its line below that boundary, are left not computed (an edit far below the
// computed rows leaves them to the idle work or the next paint).
int UpdateRowStates(TRowStateStore& Strings, TColourer& Colourer, int Index, int LookAhead, bool Invalidate,
                    int Reach = std::numeric_limits<int>::max());

// Marks every row as not computed, then computes the states of rows 0..Last.
void ResetRowStates(TRowStateStore& Strings, TColourer& Colourer, int Last);

// Extends the computed rows: from the first row not computed at or after From (by the invariant, the
// end of the computed prefix when From lies inside it), computes the states of at most MaxRows rows.
// Answers the first row not computed afterwards (RowCount when every row is computed). This is the
// idle work: called in small steps it colours a whole text without ever holding up input.
int ComputeRowStates(TRowStateStore& Strings, TColourer& Colourer, int From, int MaxRows);

// Long rows (a long line with word wrap off) are scanned in stretches: the scan keeps a mark, the
// state before a token, every few kilobytes of the row. After a change inside the row the scan starts
// again at the last mark well before the change (as far as a parser may look past a token's end, and
// before the run of address characters that ends at the change, so the state there cannot depend on
// it) and stops at the first old mark after it that the new scan reaches in the same state: from
// there the row scans as before, so the state after the row is the one from before. A keystroke in a
// line of megabytes then reads some kilobytes. Resuming at a mark is the resumption at a wrap that
// every wrapped row makes, so the states are those of a scan of the whole row (RowStatesTest checks
// them against a full scan). The row store keeps the marks of a few rows; a change inside a row moves
// its marks (Changed), any other change of the rows or of the colouring drops them all (Clear).
class TLongRowScans {
public:
    // The rows scanned in stretches: at least this long, and a line of their own.
    static constexpr int MinLength = 32 * 1024;
    // Turns Data from the state at the start of row Index (of text Text) into the state after it.
    void Scan(TColourerParser& Parser, int Index, std::string_view Text, TRowAttributeData& Data);
    // Length bytes at Index of row Row were replaced by NewLength bytes.
    void Changed(int Row, int Index, int Length, int NewLength);
    void Clear() { FRows.clear(); }

private:
    struct TMark {
        int Pos; // a byte of the row where a token is looked for next
        TRowAttributeData State;
    };
    struct TRowScan {
        int Row;
        const TColourer* Colourer;
        TRowAttributeData Entry, Exit; // the state the row was scanned from, and the one after it
        std::vector<TMark> Marks;      // by Pos
        bool Dirty = false;            // bytes From..To-1 changed since the scan (and the state after)
        int From = 0, To = 0;
    };
    void Rescan(TColourerParser& Parser, std::string_view Text, TRowScan& Scan);

    std::vector<TRowScan> FRows; // the latest scanned last
};

// A row store that keeps the marks of its long rows beside it (the document does). A store that is
// not one has its long rows scanned whole.
class TLongRowStore {
public:
    virtual ~TLongRowStore() = default;
    virtual TLongRowScans& LongRowScans() const = 0;
};

// The provisional states of a window of rows far below the computed ones (see above). Every row the
// window loses unconfirmed, or whose provisional state changes, is reported by RowStateChanged.
class TProvisionalStates {
public:
    // The provisional state of Row, or null when Row is outside the window.
    const TRowAttributeData* Find(int Row) const;
    // Replaces the window by the rows from the start of a logical line about Screen rows above Row
    // (at most 2 x Screen rows above it) down to Screen rows below Row; their stored states are not
    // read.
    void Compute(TRowStateStore& Strings, TColourer& Colourer, int Row, int Screen);
    // The rows at the top of the window that are computed now leave it; those whose exact state
    // differs from the provisional one are reported.
    void Confirm(TRowStateStore& Strings);
    // Every row leaves the window and is reported.
    void Drop(TRowStateStore& Strings);
    // Whether the window holds Row or a row below it.
    bool Reaches(int Row) const { return FFirst + static_cast<int>(FStates.size()) > Row && !FStates.empty(); }

private:
    int FFirst = 0;                         // the window's first row
    std::vector<TRowAttributeData> FStates; // FStates[i]: the provisional state of row FFirst + i
};

} // namespace quillon
