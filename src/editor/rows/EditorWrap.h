#pragma once
// Word wrap with Japanese line-break rules: the wrap options, the column cursor and the cutting of
// one logical line into display rows.
//
// A line is cut at the wrap margin W (in columns). A double-byte character that the margin would
// split moves whole to the next row. With WordBreak the cut moves back to the last delimiter, tab or
// double-byte character, but not before column W div 3. With FollowPunctuation the characters of
// PunctuationStr may hang past the margin (each one starting at most two columns past it). With
// Leading the cut moves back (not before column W div 5 * 4) so that no row ends with a character of
// LeadStr and no row begins with one of FollowStr (a single character after the margin included, and a
// row that an empty row follows counts as ending). A line that fills its last row exactly gets an
// empty row after it unless FollowRetMark is set.
//
// The cutting works on offsets into the line: after each cut only the next W + 3 columns are laid
// out again, so a line of any length is cut in time proportional to its length.
#include "ColumnLayout.h"
#include "EditorClasses.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class TEditorWrapOption : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO

    bool FollowRetMark() const { return FFollowRetMark; }
    void SetFollowRetMark(bool Value);
    bool FollowPunctuation() const { return FFollowPunctuation; }
    void SetFollowPunctuation(bool Value);
    // Characters that must not begin a row (Shift-JIS).
    const std::string& FollowStr() const { return FFollowStr; }
    void SetFollowStr(const std::string& Value);
    bool Leading() const { return FLeading; }
    void SetLeading(bool Value);
    // Characters that must not end a row (Shift-JIS).
    const std::string& LeadStr() const { return FLeadStr; }
    void SetLeadStr(const std::string& Value);
    // Characters that may hang past the margin (Shift-JIS).
    const std::string& PunctuationStr() const { return FPunctuationStr; }
    void SetPunctuationStr(const std::string& Value);
    bool WordBreak() const { return FWordBreak; }
    void SetWordBreak(bool Value);
    // The wrap margin in columns, 20..250.
    int WrapByte() const { return FWrapByte; }
    void SetWrapByte(int Value);

    // From another TEditorWrapOption: copies all eight and reports one change.
    void Assign(const TPersistent& Source) override;

private:
    template <class T> void Store(T& Field, const T& Value);

    bool FFollowRetMark = false;
    bool FFollowPunctuation = false;
    // 、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ
    std::string FFollowStr = "\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x48\x81\x49\x81\x4A\x81\x4B\x81\x52\x81\x53"
                             "\x81\x54\x81\x55\x81\x58\x81\x5B\x81\x6A\x81\x6E\x81\x70\x81\x76\x81\x78\x21\x29\x2C"
                             "\x2E\x3A\x3B\x3F\x5D\x7D\xA1\xA3\xA4\xA5\xB0\xDE\xDF";
    bool FLeading = false;
    std::string FLeadStr = "\x81\x69\x81\x6D\x81\x6F\x81\x75\x81\x77\x28\x5B\x7B\xA2"; // （［｛「『([{｢
    std::string FPunctuationStr = "\x81\x41\x81\x42\x81\x43\x81\x44\x2C\x2E\xA1\xA4";  // 、。，．,.｡､
    bool FWordBreak = false;
    int FWrapByte = 80;
};

// A cursor over the columns of a text, as its class string lays them out (see ColumnLayout.h).
class TEditorAttributeArray {
public:
    TEditorAttributeArray(std::string_view Text, std::string Attrs) { Reset(Text, std::move(Attrs)); }
    // Re-initialises onto the first column of Text.
    void Reset(std::string_view Text, std::string Attrs);
    // The same, laying Text out under Layout in the cursor's own memory.
    void Reset(std::string_view Text, const TColumnLayout& Layout);

    // The class of the current column; ccNone past the end.
    char Attr() const { return FAttr; }
    // The class string with ccNone appended.
    const std::string& Attrs() const { return FAttrs; }
    // The current column, 1-based.
    int Index() const { return FIndex; }
    // The 1-based byte position of the character at the current column (the tab for its fill).
    int Pos() const { return FPos; }
    std::string_view Text() const { return FText; }
    int Count() const { return static_cast<int>(FAttrs.size()) - 1; }

    void Next();
    void Prev(); // the exact inverse of Next
    void MoveTo(int N);

    // The character at the current column; empty past the end.
    std::string_view CurChar() const { return CharOf(FAttr, FPos); }
    // The character at the following column.
    std::string_view NextChar() const;

private:
    // Onto the first column of FText, whose class string FAttrs holds.
    void Start();
    std::string_view CharOf(char Cls, int Pos) const;
    char ClassAt(int Index) const { return FAttrs[static_cast<std::size_t>(Index - 1)]; }

    char FAttr = ccNone;
    std::string FAttrs;
    int FIndex = 0;
    std::string_view FText;
    int FPos = 0;
};

struct TWrappedRow {
    std::string_view Text; // a piece of the line
    int Attribute;         // 1 a wrapped row, 0 the last row of the line
};

// Cuts the rows of one line one at a time, for callers that stop early or read the line in pieces.
class TRowCutter {
public:
    // How many bytes past a row start a cut reads at most: the margin, the columns that punctuation
    // may hang past it and the character after them.
    static constexpr int LookAhead(int WrapByte) { return WrapByte + 8; }

    TRowCutter(const TEditorWrapOption& Option, TColumnLayout Layout);
    // The row that starts Rest, the rest of a line from a row start: a wrapped row (attribute 1) or
    // all of Rest (attribute 0). Rest may stop short of the line's end when it holds at least
    // LookAhead(WrapByte) bytes. An empty rest after a wrapped row is an empty last row, except that
    // with FollowRetMark the wrapped row ends the line.
    TWrappedRow Cut(std::string_view Rest);

private:
    bool CutByBytes(std::string_view Rest, int W, TWrappedRow& Row) const;

    const TEditorWrapOption& FOption;
    TColumnLayout FLayout;
    TEditorAttributeArray FCursor;
};

// Appends the rows of one line (no line break inside) to Rows. Layout gives the delimiters and the
// tab stops; its wrap fields are taken from Option.
void WrapLine(std::string_view S, const TEditorWrapOption& Option, TColumnLayout Layout,
              std::vector<TWrappedRow>& Rows);

} // namespace quillon
