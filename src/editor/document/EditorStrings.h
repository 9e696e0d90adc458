#pragma once
// The editor's Lines: the text seen as logical lines, whatever the word wrap does to the display
// rows. Every read maps a line onto the rows of the editor's row store; every write goes through the
// store's UpdateRows, so it is re-wrapped, recorded for undo, coloured afresh and shown everywhere.
//
// The text of the document is the rows in order: a row with attribute 0 followed by CR LF, a wrapped
// row (1) directly by the next row, a last row with attribute 2 by nothing.
//
// With word wrap, the first row of every line comes from an index of line starts that is rebuilt
// only after the store changed (against the store's Version), so reading every line is linear.
#include "EditorScreenStrings.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class TEditorStrings {
public:
    explicit TEditorStrings(TAttachedEditor& Editor) : FEditor(Editor) {}

    int Count() const;
    // The line's rows joined, without the line break. An index equal to Count answers "" with word
    // wrap (the list index error without it); a larger one raises EStringListError.
    std::string Get(int Index) const;
    std::string operator[](int Index) const { return Get(Index); }
    void Put(int Index, std::string_view S);
    // Inserts a line before line Index; at Count it appends.
    void Insert(int Index, std::string_view S);
    // Appends a line and answers the line count before the call.
    int Add(std::string_view S);
    void Delete(int Index);
    // Clears the store, the undo history included.
    void Clear();

    std::string Text() const;
    // Lines end at CR, LF or CR LF; the last row gets attribute 2 unless S ends with a line break.
    void SetText(std::string_view S);
    // Reads the file as text up to its first NUL or 0x1A byte. The file is opened before the text is
    // cleared: when it cannot be read (EFOpenError) the text stays as it was.
    void LoadFromFile(const std::filesystem::path& FileName);
    // Takes the lines of Source (each followed by CR LF); the caret goes to the row count.
    void Assign(const TEditorStrings& Source);
    void Assign(const std::vector<std::string>& Source);

    void BeginUpdate();
    void EndUpdate();

    // The first row of line Index (Index = Count gives the row count).
    int LineToRow(int Index) const;

private:
    TEditorScreenStrings& Store() const { return FEditor.ScreenStrings(); }
    bool WordWrap() const { return Store().WordWrap(); }
    // Replaces Count rows from Row by Text inside a caret update; the caret goes to CaretOffset.
    void Replace(int Row, int Count, std::string_view Text, int CaretOffset);
    // The rows of Text, without a row for the end of the text; then wrap and colouring.
    void TakeText(std::string_view Text);
    const std::vector<int>& LineStarts() const;

    TAttachedEditor& FEditor;
    int FUpdateCount = 0;
    mutable std::vector<int> FLineStarts;                         // first row of every line, then the row count
    mutable std::uint64_t FLineStartsVersion = ~std::uint64_t{0}; // the store's Version they match
};

} // namespace quillon
