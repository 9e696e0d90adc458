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

// The clipboard format that marks a box selection.
inline constexpr char CF_BOXTYPE_NAME[] = "TEditor Box Type";

// How many bytes equal to Ch occur in the first min(S.size(), Max) bytes of S.
int CharCount(std::string_view S, char Ch, int Max);

// Whether byte Index starts / ends a double-byte character, judged by walking S from its start.
bool IsDBCSLeadAt(std::string_view S, int Index);
bool IsDBCSTrailAt(std::string_view S, int Index);

// The byte at Index, or 0 outside S.
char CharAt(std::string_view S, int Index);

// True when Sub is not empty and occurs in S starting at a character boundary of S.
bool CharInStr(std::string_view Sub, std::string_view S);

// The lines of a NUL-terminated text, split at CR, LF or CR LF; a final line break makes no empty
// line. A null text gives no lines, an empty one a single empty line.
std::vector<std::string> StrToStrings(const char* Text);

} // namespace quillon
