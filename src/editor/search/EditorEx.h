#pragma once
// TEditorEx: the editor that the windows use, with a find string whose matches are highlighted,
// visible marks over blanks and tabs, searching the whole text for the find string, the list of
// dropped files and token selection on a double click.
//
// Matches are collected per logical line (the rows of a wrapped line taken together) into records of
// a 1-based byte position in that line and a length. The matches of the latest line are kept until
// the rows, the find string or the options change, so the painted rows of one line, however long,
// search it once; the finder's cache of compiled patterns keeps other lines from compiling the
// pattern each time. FindNext and FindPrev find what those collections hold; for a plain find string
// they seek it in chunks of lines instead (EditorExFind.cpp). The concerns lie in one file each:
// EditorExFind.cpp (collecting, FindNext and FindPrev), EditorExReplace.cpp (replacing every
// occurrence), EditorExPaint.cpp (the marks).
//
// Marks reach the screen through the paint plan: for each poDrawLine operation the window hands to
// DoDrawLine, the editor appends the marks of that part of the row as further operations.
//
// Invariants:
//   a match never starts on a trail byte and never has length 0;
//   the stored search options are normalised: whole word only without regular expressions, fuzzy
//   characters only with them;
//   nothing is marked past display column 1000.
#include "LineRegExpEx.h"
#include "OleDndEditor.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Option bits of the find string (those of the find dialogs).
constexpr std::uint8_t sfoMatchCase = 0x1;
constexpr std::uint8_t sfoRegExp = 0x2;
constexpr std::uint8_t sfoFuzzy = 0x4;
constexpr std::uint8_t sfoWholeWord = 0x8;

// The four visible marks of the extended editor; a change of any mark is a change of the marks.
class TEditorExMarks : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    TEditorExMarks();
    TEditorMark& DBSpaceMark() const { return *FDBSpaceMark; } // full-width spaces
    void SetDBSpaceMark(const TEditorMark& Value) { FDBSpaceMark->Assign(Value); }
    TEditorMark& SpaceMark() const { return *FSpaceMark; } // spaces
    void SetSpaceMark(const TEditorMark& Value) { FSpaceMark->Assign(Value); }
    TEditorMark& TabMark() const { return *FTabMark; } // tabs
    void SetTabMark(const TEditorMark& Value) { FTabMark->Assign(Value); }
    TEditorMark& FindMark() const { return *FFindMark; } // matches of the find string
    void SetFindMark(const TEditorMark& Value) { FFindMark->Assign(Value); }
    void Assign(const TPersistent& Source) override;

private:
    std::unique_ptr<TEditorMark> NewMark();
    std::unique_ptr<TEditorMark> FDBSpaceMark, FSpaceMark, FTabMark, FFindMark;
};

class TEditorEx : public TOleDndEditor {
public:
    explicit TEditorEx(TComponent* Owner = nullptr);
    ~TEditorEx() override;

    TEditorExMarks& ExMarks() const { return *FExMarks; }
    void SetExMarks(const TEditorExMarks& Value) { FExMarks->Assign(Value); }
    // The names of the files of the last drop.
    const std::vector<std::string>& DroppedFiles() const { return FDroppedFiles; }

    const std::string& FindString() const { return FFindString; }
    void SetFindString(const std::string& Value);
    std::uint8_t SearchOptions() const { return FSearchOptions; }
    // Stores the normalised options (see the sfo bits): whole word is dropped with a regular
    // expression, fuzzy characters without one.
    void SetSearchOptions(std::uint8_t Value);
    const TLineRegExpEx& Finder() const { return *FFinder; }

    // The matches of the find string in the logical line of display row Row, into Matches; answers
    // their number. Raises ERegExpParser for a bad regular expression.
    int CollectFindMatches(int Row);
    const TFindMatchList& Matches() const { return FMatches; }
    // Search from the caret for the next or previous match and mark it as a hit; false when there is
    // none (nothing changes then). Raise ERegExpParser for a bad regular expression.
    bool FindNext();
    bool FindPrev();
    // Replaces the hit (or selection) by Replacement; after a backward search the caret then stands
    // before the inserted text, so that the next backward search never looks inside it.
    void ReplaceHit(const std::string& Replacement, bool Backward);
    // Replaces every occurrence from the caret on (Backward: before it) as repeated FindNext (FindPrev)
    // and ReplaceHit would, each search seeing the replacements made before it, but as one change of
    // the text: one undo step, the caret moved and the window scrolled and painted once. Answers the
    // number of replacements. Raises ERegExpParser for a bad regular expression.
    int ReplaceAll(const std::string& Replacement, bool Backward);
    // The logical line that contains display row Row ("" outside the rows).
    std::string LogicalLineText(int Row) const;

    // Painting: the marks of the row part described by Row go into Plan.
    void DoDrawLine(const TPaintOp& Row, TPaintPlan& Plan) override;
    // A file drop: Files become DroppedFiles, then OnDropFiles fires.
    void DoDropFiles(const std::vector<std::string>& Files, int KeyState, TPoint Point) override;

protected:
    // The marks, drawn into Plan at x (pixels) on the row whose top is Y.
    virtual void DrawDBSpaceMark(int X, int Y, bool Whole, TPaintPlan& Plan);
    virtual void DrawSpaceMark(int X, int Y, TPaintPlan& Plan);
    virtual void DrawTabMark(int X, int Y, TPaintPlan& Plan);
    virtual void DrawFindMark(int X1, int X2, int Y, TPaintPlan& Plan);
    virtual std::unique_ptr<TEditorExMarks> CreateExMarks();

    // A double click selects the token under the caret.
    void DblClick() override;

private:
    static constexpr int kMaxColumns = 1000; // no match is found or marked past this display column
    int FirstRowOfLine(int Row) const;
    int LastRowOfLine(int Row) const;
    // The find string as the lines are searched for it (lower case unless case matters).
    std::string SearchPattern() const;
    // Readies the regular expression finder for Pattern, before CollectLineMatches (nothing for a plain
    // search). Raises ERegExpParser for a bad regular expression.
    void PrepareFinder(const std::string& Pattern);
    // The matches of Pattern in the logical line Line (EndsText: the text's last line) into Matches.
    void CollectLineMatches(std::string_view Line, bool EndsText, const std::string& Pattern, TFindMatchList& Matches);
    // The matches of the finder in Text, a line of LineLength bytes and maybe its CR LF, into Matches.
    void CollectRegExp(std::string_view Text, std::size_t LineLength, TFindMatchList& Matches) const;
    // A match (not empty) in a line of Length bytes searched with its CR LF, that takes a part of the line
    // break, takes all of it: the break is one character. Next, where the search goes on, then follows it.
    // S with every line break made CR LF, as the rows hold it.
    static std::string WithCrLf(std::string_view S);
    static void TakeWholeLineBreak(std::size_t Length, std::size_t& Start, std::size_t& End, std::size_t& Next);
    void CollectPlain(std::string_view Line, std::string_view Pattern, TFindMatchList& Matches) const;
    // One step of the search of a line as CollectLineMatches makes it in Work (the line folded as
    // the search folds it, and with the line break that a regular expression sees, from its byte
    // offset Base on): the candidate match [Start, End) found from the byte offset From, Next where
    // the following step searches, whether the search takes the match (a whole word when asked for;
    // not empty), and Resume where the step may search again, with the same result, once the line
    // changes from Start on (Reach: see SearchReach). BreakAt is the line's length when Work goes on
    // with its CR LF (a match taking part of it takes all of it), else npos. All offsets are of the
    // whole line. Work starts a character, and unless Base is 0 it starts before the character
    // before From: a whole word looks at that character, and a regular expression takes offset 0 for
    // the line start.
    // ReadEnd: every byte that the step read lies before it (also when it found nothing); ReadBefore:
    // the same for this step and every step before it; Passed: every byte that told the step that no
    // match starts between From and Start lies before it (a change from there on leaves Start the first
    // place to search again). Before: a regular expression step seeks only a match that starts before
    // it (see TLineRegExpEx::FindFrom), and may miss one at or after it.
    struct TScanStep {
        std::size_t Start = 0, End = 0, Next = 0, Resume = 0, ReadEnd = 0, ReadBefore = 0, Passed = 0;
        bool Counted = false;
    };
    static void PushStep(TScanStep& Step, std::vector<TScanStep>& Steps);
    bool ScanStep(std::string_view Work, std::size_t Base, const std::string& Pattern, std::size_t From, int Reach,
                  std::size_t BreakAt, std::size_t Before, TScanStep& Step) const;
    // The steps of the line Work (from its offset Base on, as for ScanStep) from From on (From following
    // them) into Steps, up to the first that finds a match taken at or after Start; the last step
    // before Start that finds one taken.
    std::optional<TScanStep> HitAfter(std::string_view Work, std::size_t Base, const std::string& Pattern,
                                      std::size_t Start, int Reach, std::size_t BreakAt, std::size_t& From,
                                      std::vector<TScanStep>& Steps) const;
    // Backwards Work may end before the line does, at LineEnd: with an unbounded Reach a step that read
    // up to Work's end is not taken, and Short tells that the search must see more of the line.
    std::optional<TScanStep> HitBefore(std::string_view Work, std::size_t Base, const std::string& Pattern,
                                       std::size_t Start, int Reach, std::size_t BreakAt, std::size_t LineEnd,
                                       std::size_t& From, std::vector<TScanStep>& Steps, bool& Short) const;
    // How far past the start of a candidate match the step that found it may have read, so that a
    // change of the line from there on can change the step; -1 when unbounded.
    int SearchReach(const std::string& Pattern) const;
    // Whether FindNext and FindPrev seek Pattern (the find string as SearchPattern gives it) in
    // chunks of lines (see EditorExFind.cpp), and those searches.
    bool UsesChunkFind(const std::string& Pattern) const;
    bool FindNextInChunks(const std::string& Pattern);
    bool FindPrevInChunks(const std::string& Pattern);
    // Where FindNext and FindPrev start in the caret's logical line, whose first row is First.
    int NextSearchStart(int First) const;
    int PrevSearchStart(int First) const;
    // A part of the text that ReplaceAll changed: the OldLength bytes at Pos (an offset of the text
    // before any replacement) became NewLength bytes.
    struct TSpan {
        std::size_t Pos = 0, OldLength = 0, NewLength = 0;
    };
    // Backwards, a replacement of [Start, End) (offsets of the text as it stands) by NewLength bytes,
    // every earlier replacement lying after Start, into Spans (from the last in the text to the
    // first), merged with the spans it reaches into.
    static void AddSpanBefore(std::vector<TSpan>& Spans, std::size_t Start, std::size_t End, std::size_t NewLength);
    // What ReplaceAll changes: the whole text after the replacements, the parts of the text before
    // them that changed (in order, apart), and where the caret ends (an offset of Text).
    struct TReplacePlan {
        std::string Text;
        std::vector<TSpan> Spans;
        std::size_t Caret = 0;
        int Replacements = 0;
    };
    // The replacements ReplaceAll makes, as the replacements one by one make them.
    void PlanReplaceAll(const std::string& Replacement, bool Backward, TReplacePlan& Plan);
    // Makes the planned changes as one change of the text, the caret where the plan puts it.
    void ApplyReplacePlan(const TReplacePlan& Plan);
    // The text offset of the start of Row (the text's length past the last row).
    std::size_t RowsStart(int Row) const;
    // The logical line of Row into Line.
    void LogicalLineText(int Row, std::string& Line) const;
    // The first match after Start of the logical line of Row, the last one at or before Start
    // (copies: painting during the caret move collects again).
    std::optional<TFindMatch> MatchAfter(int Row, int Start);
    std::optional<TFindMatch> MatchUpTo(int Row, int Start);
    void MarkMatch(int FirstRow, const TFindMatch& Match, bool CaretToStart);
    void RepaintFindMarks();
    // The x of every byte of S and of its end, for column 0 at Origin.
    std::vector<int> ByteXs(std::string_view S, int Origin) const;
    void DrawBlankMarks(const TPaintOp& Row, const std::string& S, const std::vector<int>& Xs, int Right,
                        TPaintPlan& Plan);
    void DrawFindMarks(const TPaintOp& Row, const std::string& S, const std::vector<int>& Xs, int Right,
                       TPaintPlan& Plan);
    // The matches of the find string that may reach Row, in order, and in First the 1-based position
    // of Row's first byte among them (see DrawFindMarks). Raises ERegExpParser for a bad regular
    // expression.
    const TFindMatchList& RowFindMatches(int Row, int& First);
    // The offset of Row's first byte in its logical line, a row of the line that FMatches belong to;
    // stepped from the row asked before, so the painted rows of a long line each cost their own length.
    int MatchesRowStart(int Row);

    std::unique_ptr<TEditorExMarks> FExMarks;
    std::vector<std::string> FDroppedFiles;
    std::string FFindString;
    std::uint8_t FSearchOptions = 0;
    TFindMatchList FMatches; // of the last CollectFindMatches
    // The logical line FMatches belong to (rows FMatchesFirst..FMatchesLast) and what they were
    // collected with: the rows' Version, the pattern and the options; FMatchesLast -1 for none.
    int FMatchesFirst = 0, FMatchesLast = -1;
    int FMatchesRow = 0, FMatchesRowStart = 0; // a row of that line, and the offset of its start in it
    std::uint64_t FMatchesVersion = 0;
    std::string FMatchesPattern;
    std::uint8_t FMatchesOptions = 0;
    std::unique_ptr<TLineRegExpEx> FFinder;
    std::string FLineAndBreak;  // a searched line with its line break, memory reused
    std::string FRowsText;      // the rows around a painted row that RowFindMatches searched
    TFindMatchList FRowMatches; // of the last RowFindMatches that searched FRowsText
};

} // namespace quillon
