#pragma once
// Small routines that the editor shares: byte tests on Shift-JIS strings, splitting a text into
// lines, and the identifiers of the editor's own cursors and clipboard format.
// Byte indices are 0-based.
#include "Cursors.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The editor's own cursors. Their numbers are fixed so that stored cursor options keep their meaning.
constexpr TCursor crRightArrow = 1;  // the left margin: selects rows
constexpr TCursor crDragSelCopy = 2; // dragging a selection with the copy key held

// Whether Value names a cursor: a standard one, the default, or one of the editor's own.
constexpr bool IsEditorCursor(TCursor Value) { return Value >= crSizeAll && Value <= crDragSelCopy; }

// The clipboard format that marks a box selection.
inline constexpr char CF_BOXTYPE_NAME[] = "TEditor Box Type";

// How many bytes equal to Ch occur in the first min(S.size(), Max) bytes of S.
int CharCount(std::string_view S, char Ch, int Max);

// The start of the character that holds byte Index of S (Index itself, or Index - 1 for a trail
// byte), as walking the characters from Known, a character start at or before Index, finds it (a
// lead byte takes the byte after it). Only the bytes that may lead a character right before Index
// are read: they pair off from the last one that cannot, or from Known.
int CharStartOf(std::string_view S, int Index, int Known = 0);

// The byte length of the character at I of S: 2 for a lead byte with a byte after it, else 1.
std::size_t CharLength(std::string_view S, std::size_t I);

// The double-byte character whose lead byte is at I of S (its trail byte 0 when S ends there).
int DoubleByteCode(std::string_view S, std::size_t I);

// Whether byte Index starts / ends a double-byte character, judged by walking S from its start.
bool IsDBCSLeadAt(std::string_view S, int Index);
bool IsDBCSTrailAt(std::string_view S, int Index);

// The byte at Index, or 0 outside S.
char CharAt(std::string_view S, int Index);

// True when Sub is not empty and occurs in S starting at a character boundary of S.
bool CharInStr(std::string_view Sub, std::string_view S);

// Hands out the lines of a text one by one, split at CR, LF or CR LF (LF CR is two breaks); a final
// line break makes no empty line, and an empty text has no lines.
//
// The next CR and the next LF are each found by memchr and kept until the reader passes them, so
// every byte is looked at no more than twice whatever the mix of line ends. (Searching for the next
// LF anew on every line, and then for a CR before it, reads a text without LFs to its end once per
// line: quadratic time for a list with CR line ends.)
class TLineReader {
public:
    explicit TLineReader(std::string_view Text);
    // The next line, without its line break; false when the text has no more lines.
    bool Next(std::string_view& Line);

private:
    std::string_view FText;
    std::size_t FPos = 0; // where the next line starts; beyond the end when there is none
    std::size_t FCr;      // the first CR at or after FPos, or npos; refreshed once FPos passes it
    std::size_t FLf;      // likewise the first LF
};

// The lines of a NUL-terminated text, as TLineReader gives them. A null text gives no lines, an empty
// one a single empty line.
std::vector<std::string> StrToStrings(const char* Text);

} // namespace quillon
