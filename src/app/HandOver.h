#pragma once
// The hand-over text: what a second start tells the running instance.
//
// The text travels in a fixed buffer of kHandOverSize bytes and ends at its first NUL, so it holds
// at most kHandOverSize - 1 bytes. It is the first command-line parameter (the program's entry makes
// it absolute first, so that the running instance does not resolve it in its own folder), then, for each
// further parameter, "|" and that parameter's name without its folder; it is empty without
// parameters. Names are the file system's bytes, UTF-8 or CP932: the cuts at "|" below skip the
// second byte of a CP932 character, which may be "|". A text that does not fit is cut at a UTF-8
// character boundary.
//
// A message whose buffer would not read back as the names (a text too long for it, or a name with a
// "|" byte that the cuts below take for a separator, as in "a|b.lst") carries the names exactly
// behind the buffer. The buffer then holds the text cut to end before its last kHandOverTrailerSize bytes,
// which hold the marker "QLX2" and the length of what follows (32 bits, little-endian): every name,
// each ended by a NUL (no name of a file holds one). A buffer of the short form has only zeros
// after its NUL, so it never carries the marker, and a receiver that knows only the short form
// reads the cut text from the buffer as before.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

constexpr size_t kHandOverSize = 256;
constexpr size_t kHandOverTrailerSize = 8;
// The most a message may carry behind its buffer.
constexpr size_t kMaxHandOverText = 65536;
using THandOverBuffer = std::array<char, kHandOverSize>;

// Fills Buffer with the hand-over text of Params (the command-line parameters without the program),
// NUL-terminated, the rest of the buffer zero.
void JoinParams(const std::vector<std::string>& Params, THandOverBuffer& Buffer);

// The whole message for Params: the buffer alone when its text reads back as the names, otherwise
// the buffer with the marker and the names behind it (as many as kMaxHandOverText holds, the first
// always, cut to that when it is longer).
std::string HandOverMessage(const std::vector<std::string>& Params);

// The size of the whole message whose first kHandOverSize bytes are Head: kHandOverSize, or that
// and the length its marker gives.
size_t HandOverMessageSize(std::string_view Head);

// Cuts Text at its first Ch that is a character of its own (not the second byte of a CP932
// character beyond the text's leading run of UTF-8): Piece receives the part before it and Text
// keeps the part after it. Without Ch, Piece receives all of Text and Text becomes empty.
void SplitAt(std::string& Text, char Ch, std::string& Piece);

// Adds to List the pieces of Text cut at "|" until nothing is left: "a|" gives one piece, "a||b"
// three, an empty text none.
void SplitToStrings(std::string_view Text, std::vector<std::string>& List);

// The names of received hand-over data: those behind the buffer when the marker announces them and
// Data holds all of them; otherwise the buffer's text cut at "|" (SplitToStrings), the text up to
// its first NUL, never more than Data holds and never more than kHandOverSize - 1 bytes (data
// without a NUL within those bounds is cut there).
std::vector<std::string> HandOverNames(std::string_view Data);

// What the running instance's root window does for a hand-over.
class THandOverTarget {
public:
    virtual ~THandOverTarget() = default;
    // Brings a window that shows FileName to the front; false when none does.
    virtual bool ActivateWindowForFile(const std::string& FileName) = 0;
    // Reads a list file; failures have shown their message and give false.
    virtual bool LoadListFile(std::string& FileName, std::vector<std::string>* Lines) = 0;
    // Opens a new window on Lines named FileName, or an empty window when Lines is null.
    virtual void OpenNewWindow(const std::string& FileName, const std::vector<std::string>* Lines, int KindHint) = 0;
};

// Acts on received hand-over data: no name or an empty first one opens an empty window; otherwise
// only the first name counts: made absolute and long, its window comes to the front, or it is read and opened.
void ReceiveCommandLine(std::string_view Data, THandOverTarget& Root);

} // namespace quillon
