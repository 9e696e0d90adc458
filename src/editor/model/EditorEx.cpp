#include "EditorEx.h"

#include "AnsiCase.h"
#include "Cp932.h"
#include "EditorUtils.h"
#include "REScanner.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace quillon {

namespace {

constexpr int MaxColumns = 1000;

// The double-byte character whose lead byte is at 0-based I (its trail byte 0 when S ends there).
int DoubleByteCode(std::string_view S, std::size_t I) {
    const int trail = I + 1 < S.size() ? static_cast<unsigned char>(S[I + 1]) : 0;
    return static_cast<unsigned char>(S[I]) * 256 + trail;
}

bool IsSingleByteDelimiter(unsigned char B) {
    static constexpr std::string_view delimiters = "\t\n\r \"`!#$%&'()=~^\\|{}[]@;+:*,<.>/?_\xA4\xA1\xA5";
    return delimiters.find(static_cast<char>(B)) != std::string_view::npos;
}

char SingleByteClass(unsigned char B) {
    if (B == 0 || IsSingleByteDelimiter(B)) return '0';
    if (B < 0x80) return '1';
    if (B >= 0xA1 && B <= 0xDF) return '2';
    return '0';
}

// The delimiters 0x8140-0x81A4 fall into class 0 with every other unlisted code.
char DoubleByteClass(int Code) {
    if (Code >= 0x824F && Code <= 0x829A) return '3';
    if (Code >= 0x8340 && Code <= 0x8396) return '4';
    if (Code >= 0x829F && Code <= 0x82F1) return '5';
    if (Code >= 0x889F) return '6';
    return '0';
}

// The byte length of the character at I.
std::size_t CharLength(std::string_view S, std::size_t I) { return IsLeadByte(S[I]) && I + 1 < S.size() ? 2 : 1; }

// A text rewritten by replacements made from one end to the other. Its bytes have a gap where a
// replacement is made, so that the rest of the text does not move when the replacement's length
// differs from the replaced bytes'; searched forwards, the text is read from the gap on, backwards
// up to it.
class TGapText {
public:
    explicit TGapText(bool Backward) : FBackward(Backward) {}
    // Text becomes the text (swapped: Text gets the bytes held before), with an empty gap where the
    // reading starts: at the start forwards, at the end backwards.
    void Take(std::string& Text) {
        FBytes.swap(Text);
        FGap = FGapEnd = FBackward ? FBytes.size() : 0;
    }
    std::size_t Size() const { return FBytes.size() - (FGapEnd - FGap); }
    // The part of the text that is read, and the offset of its first byte in the text.
    std::string_view Read() const {
        const std::string_view bytes = FBytes;
        return FBackward ? bytes.substr(0, FGap) : bytes.substr(FGapEnd);
    }
    std::size_t Base() const { return FBackward ? 0 : FGap; }
    // Moves the gap to the offset Pos (at most the end), moving only the bytes in between.
    void MoveGap(std::size_t Pos) {
        Pos = std::min(Pos, Size());
        if (Pos < FGap) {
            std::memmove(&FBytes[FGapEnd - (FGap - Pos)], &FBytes[Pos], FGap - Pos);
            FGapEnd -= FGap - Pos;
        } else if (Pos > FGap) {
            std::memmove(&FBytes[FGap], &FBytes[FGapEnd], Pos - FGap);
            FGapEnd += Pos - FGap;
        }
        FGap = Pos;
    }
    // The Length bytes at Pos become With, the gap staying on its side of them: only the bytes between
    // them move. A gap too small for With grows by at least the whole text, so the text moves only as
    // often as its length doubles.
    void Replace(std::size_t Pos, std::size_t Length, std::string_view With) {
        if (FGap > Pos && FGap < Pos + Length) MoveGap(Pos);
        if (FGapEnd - FGap + Length < With.size()) {
            const std::size_t more = std::max(With.size(), FBytes.size());
            FBytes.insert(FGapEnd, more, '\0');
            FGapEnd += more;
        }
        char* const bytes = FBytes.data();
        char* with = bytes + Pos; // where With goes
        if (FGap <= Pos) {
            const std::size_t between = Pos - FGap, oldEnd = FGapEnd;
            FGapEnd = FGapEnd + Length - With.size();
            if (FGapEnd != oldEnd) std::memmove(bytes + FGapEnd, bytes + oldEnd, between);
            with = bytes + FGapEnd + between;
        } else {
            std::memmove(bytes + Pos + With.size(), bytes + Pos + Length, FGap - Pos - Length);
            FGap = FGap + With.size() - Length;
        }
        std::copy(With.begin(), With.end(), with);
    }
    // The offset of the first byte C at or after From, npos when there is none.
    std::size_t Find(char C, std::size_t From) const {
        const char* const bytes = FBytes.data();
        if (From < FGap) {
            if (const void* at = std::memchr(bytes + From, C, FGap - From))
                return static_cast<std::size_t>(static_cast<const char*>(at) - bytes);
            From = FGap;
        }
        const std::size_t at = FGapEnd + (From - FGap);
        const void* hit = at < FBytes.size() ? std::memchr(bytes + at, C, FBytes.size() - at) : nullptr;
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - bytes) - (FGapEnd - FGap)
                   : std::string::npos;
    }
    // The whole text, the gap closed.
    std::string Text() && {
        MoveGap(Size());
        FBytes.resize(FGap);
        return std::move(FBytes);
    }

private:
    std::string FBytes;
    std::size_t FGap = 0, FGapEnd = 0; // the gap's bytes [FGap, FGapEnd) of FBytes
    const bool FBackward;
};

// S with every line break made CR LF, as the rows hold it.
std::string WithCrLf(std::string_view S) {
    std::string r;
    for (std::size_t i = 0; i < S.size(); ++i) {
        if (S[i] != '\r' && S[i] != '\n') {
            r += S[i];
            continue;
        }
        r += "\r\n";
        if (S[i] == '\r' && i + 1 < S.size() && S[i + 1] == '\n') ++i;
    }
    return r;
}

// Whether a character starts at P of S, given that one starts at Known <= P (the end of S is one).
bool StartsChar(std::string_view S, std::size_t Known, std::size_t P) {
    if (P >= S.size()) return P == S.size();
    return CharStartOf(S, static_cast<int>(P), static_cast<int>(Known)) == static_cast<int>(P);
}

// A match (not empty) in a line of Length bytes searched with its CR LF, that takes a part of the line
// break, takes all of it: the break is one character. Next, where the search goes on, then follows it.
void TakeWholeLineBreak(std::size_t Length, std::size_t& Start, std::size_t& End, std::size_t& Next) {
    if (Start == Length + 1) Start = Length;
    if (End == Length + 1) {
        End = Length + 2;
        Next = std::max(Next, End);
    }
}

// The rectangle's outline (right and bottom edges excluded) as one polyline.
void FrameRect(int Left, int Top, int Right, int Bottom, TColor Color, TPaintPlan& Plan) {
    if (Right <= Left || Bottom <= Top) return;
    TPaintOp op;
    op.Kind = poLines;
    op.Color = Color;
    op.Points = {{Left, Top}, {Right - 1, Top}, {Right - 1, Bottom - 1}, {Left, Bottom - 1}, {Left, Top}};
    Plan.push_back(std::move(op));
}

void Polyline(std::vector<std::pair<int, int>> Points, TColor Color, TPaintPlan& Plan) {
    TPaintOp op;
    op.Kind = poLines;
    op.Color = Color;
    op.Points = std::move(Points);
    Plan.push_back(std::move(op));
}

} // namespace

// ---- TLineRegExpEx

void TLineRegExpEx::SetRegExp(const std::string& Value) {
    FFirstProc = &TMatchCORE::MatchPlain;
    TLineRegExp::SetRegExp(Value);
    if (HasLineHead() || HasLineTail()) FFirstProc = &TMatchCORE::MatchAnchored;
}

int TLineRegExpEx::FindAll(std::string_view Str, TFindMatchList& List) const {
    std::size_t from = 0, start = 0, end = 0;
    while (FindFrom(Str, from, start, end))
        if (end > start) List.push_back({static_cast<int>(start + 1), static_cast<int>(end - start)});
    return static_cast<int>(List.size());
}

int TLineRegExpEx::SearchReach() const {
    if (HasLineHead() || HasLineTail()) return -1;
    const int longest = MaxMatchBytes();
    return longest < 0 ? -1 : longest + 2;
}

bool TLineRegExpEx::FindFrom(std::string_view Str, std::size_t& From, std::size_t& Start, std::size_t& End,
                             std::size_t Before) const {
    for (std::size_t part = 256;; part *= 2) {
        // The part ends where a character starts, so that its end reads as the end of a text.
        std::size_t cut = std::min(Str.size(), From + part);
        if (cut < Str.size())
            cut = static_cast<std::size_t>(CharStartOf(Str, static_cast<int>(cut), static_cast<int>(From)));
        std::size_t next = From;
        const bool found = FindIn(Str.substr(0, cut), next, Start, End, Before);
        if (cut == Str.size() || From + ReadEnd() < cut) {
            From = next;
            return found;
        }
    }
}

bool TLineRegExpEx::FindIn(std::string_view Str, std::size_t& From, std::size_t& Start, std::size_t& End,
                           std::size_t Before) const {
    if (From >= Str.size()) return false;
    const std::string_view rest = Str.substr(From);
    const TMatchProc proc = From == 0 ? FFirstProc : &TMatchCORE::MatchScan;
    if (!(this->*proc)(rest, Start, End, Before - std::min(Before, From))) return false;
    Start += From;
    End += From;
    // No match starts between From and an empty match: the next search starts a character after it.
    From = End > Start ? End : Start < Str.size() ? Start + CharLength(Str, Start) : Str.size();
    return true;
}

// ---- TEditorExMarks

const TClassInfo& TEditorExMarks::StaticClassInfo() {
    using C = TEditorExMarks;
    static const TClassInfo info{"TEditorExMarks",
                                 &TNotifyPersistent::StaticClassInfo(),
                                 {ObjProp("DBSpaceMark", &C::DBSpaceMark), ObjProp("SpaceMark", &C::SpaceMark),
                                  ObjProp("TabMark", &C::TabMark), ObjProp("FindMark", &C::FindMark)}};
    return info;
}

TEditorExMarks::TEditorExMarks()
    : FDBSpaceMark(NewMark()), FSpaceMark(NewMark()), FTabMark(NewMark()), FFindMark(NewMark()) {}

std::unique_ptr<TEditorMark> TEditorExMarks::NewMark() {
    auto mark = std::make_unique<TEditorMark>();
    mark->OnChange = ChangedHandler();
    return mark;
}

void TEditorExMarks::Assign(const TPersistent& Source) {
    if (!AssignAll(*this, Source)) TNotifyPersistent::Assign(Source);
}

// ---- Character classes

char CharClassAt(std::string_view S, int Index) {
    if (Index < 1 || Index > static_cast<int>(S.size())) return '0';
    const int i = Index - 1;
    if (IsDBCSTrailAt(S, i)) return DoubleByteClass(DoubleByteCode(S, static_cast<std::size_t>(i - 1)));
    if (IsDBCSLeadAt(S, i)) return DoubleByteClass(DoubleByteCode(S, static_cast<std::size_t>(i)));
    return SingleByteClass(static_cast<unsigned char>(S[static_cast<std::size_t>(i)]));
}

bool IsWholeWord(std::string_view S, int Pos, int Len) {
    if (Pos < 1 || Pos > static_cast<int>(S.size())) return false;
    return CharClassAt(S, Pos) != CharClassAt(S, Pos - 1) && CharClassAt(S, Pos + Len) != CharClassAt(S, Pos + Len - 1);
}

// ---- TEditorEx

TEditorEx::TEditorEx(TComponent* Owner) : TOleDndEditor(Owner), FFinder(std::make_unique<TLineRegExpEx>()) {
    FExMarks = CreateExMarks();
    FExMarks->OnChange = [this](TPersistent* Sender) { OptionsChanged(Sender); };
    Caret().SetSelDragMode(dmManual);
}

TEditorEx::~TEditorEx() = default;

std::unique_ptr<TEditorExMarks> TEditorEx::CreateExMarks() { return std::make_unique<TEditorExMarks>(); }

void TEditorEx::RepaintFindMarks() {
    if (FExMarks->FindMark().Visible()) Refresh();
}

void TEditorEx::SetFindString(const std::string& Value) {
    if (Value == FFindString) return;
    FFindString = Value;
    RepaintFindMarks();
}

void TEditorEx::SetSearchOptions(std::uint8_t Value) {
    if (Value == FSearchOptions) return;
    std::uint8_t options = Value & sfoWholeWord;
    if (Value & sfoRegExp) {
        options = Value & sfoFuzzy ? sfoRegExp | sfoFuzzy : sfoRegExp;
        FFinder->SetUseFuzzyCharDic((Value & sfoFuzzy) != 0);
    }
    FSearchOptions = static_cast<std::uint8_t>(options | (Value & sfoMatchCase));
    RepaintFindMarks();
}

int TEditorEx::FirstRowOfLine(int Row) const {
    if (Row >= RowCount()) return Row;
    while (Row > 0 && GetRowAttribute(Row - 1) == raWrapped) --Row;
    return Row;
}

int TEditorEx::LastRowOfLine(int Row) const {
    while (Row < RowCount() - 1 && GetRowAttribute(Row) == raWrapped) ++Row;
    return Row;
}

std::string TEditorEx::LogicalLineText(int Row) const {
    std::string line;
    LogicalLineText(Row, line);
    return line;
}

void TEditorEx::LogicalLineText(int Row, std::string& Line) const {
    Line.clear();
    if (Row < 0 || Row >= RowCount()) return;
    for (int r = FirstRowOfLine(Row), last = LastRowOfLine(Row); r <= last; ++r) Line += RowView(r);
}

std::string TEditorEx::SearchPattern() const {
    return FSearchOptions & sfoMatchCase ? FFindString : LowerCaseFileName(FFindString);
}

int TEditorEx::CollectFindMatches(int Row) {
    const std::string pattern = SearchPattern();
    const std::uint64_t version = ScreenStrings().Version();
    if (FMatchesFirst <= Row && Row <= FMatchesLast && FMatchesVersion == version && FMatchesPattern == pattern &&
        FMatchesOptions == FSearchOptions)
        return static_cast<int>(FMatches.size());
    FMatches.clear();
    FMatchesLast = -1; // kept only once collected: a bad pattern raises every time
    PrepareFinder(pattern);
    CollectLineMatches(LogicalLineText(Row), GetRowAttribute(LastRowOfLine(Row)) == raEndOfText, pattern, FMatches);
    if (Row >= 0) {
        FMatchesFirst = FMatchesRow = FirstRowOfLine(Row);
        FMatchesLast = LastRowOfLine(Row);
        FMatchesRowStart = 0;
        FMatchesVersion = version;
        FMatchesPattern = pattern;
        FMatchesOptions = FSearchOptions;
    }
    return static_cast<int>(FMatches.size());
}

void TEditorEx::PrepareFinder(const std::string& Pattern) {
    if (FSearchOptions & sfoRegExp) FFinder->SetRegExp(Pattern);
}

void TEditorEx::CollectLineMatches(std::string_view Line, bool EndsText, const std::string& Pattern,
                                   TFindMatchList& Matches) {
    std::string folded;
    if (!(FSearchOptions & sfoMatchCase)) Line = folded = LowerCaseFileName(Line);
    if (FSearchOptions & sfoRegExp) {
        // "$" matches before the line break under the CR LF separator.
        if (EndsText) {
            CollectRegExp(Line, Line.size(), Matches);
        } else {
            FLineAndBreak.assign(Line).append("\r\n");
            CollectRegExp(FLineAndBreak, Line.size(), Matches);
        }
    } else {
        CollectPlain(Line, Pattern, Matches);
    }
}

void TEditorEx::CollectRegExp(std::string_view Text, std::size_t LineLength, TFindMatchList& Matches) const {
    std::size_t from = 0, start = 0, end = 0;
    while (FFinder->FindFrom(Text, from, start, end)) {
        if (end == start) continue;
        TakeWholeLineBreak(LineLength, start, end, from);
        Matches.push_back({static_cast<int>(start) + 1, static_cast<int>(end - start)});
    }
}

void TEditorEx::CollectPlain(std::string_view Line, std::string_view Pattern, TFindMatchList& Matches) const {
    if (Pattern.empty()) return;
    const bool wholeWord = FSearchOptions & sfoWholeWord;
    const int length = static_cast<int>(Pattern.size());
    std::size_t from = 0, start = 0;
    while (FindPlainFrom(Line, Pattern, from, start)) {
        const int position = static_cast<int>(start) + 1;
        if (!wholeWord || IsWholeWord(Line, position, length)) Matches.push_back({position, length});
    }
}

bool TEditorEx::FindPlainFrom(std::string_view Line, std::string_view Pattern, std::size_t& From, std::size_t& Start) {
    std::size_t i = From;
    while (i < Line.size()) {
        // The next occurrence, taken when it starts a character (never on a trail byte).
        const void* hit = memmem(Line.data() + i, Line.size() - i, Pattern.data(), Pattern.size());
        if (!hit) return false;
        const auto found = static_cast<std::size_t>(static_cast<const char*>(hit) - Line.data());
        if (!StartsChar(Line, i, found)) {
            i = found + 1;
            continue;
        }
        Start = found;
        From = found + Pattern.size();
        return true;
    }
    return false;
}

bool TEditorEx::ScanStep(std::string_view Work, std::size_t Base, const std::string& Pattern, std::size_t From,
                         int Reach, std::size_t BreakAt, std::size_t Before, TScanStep& Step) const {
    From -= Base;
    Step.Next = From;
    if (FSearchOptions & sfoRegExp) {
        const bool found = FFinder->FindFrom(Work, Step.Next, Step.Start, Step.End, Before - std::min(Before, Base));
        // With nothing left to search, the end of Work tells that there is no match.
        const std::size_t readEnd = From < Work.size() ? From + FFinder->ReadEnd() : Work.size();
        if (!found) {
            Step.ReadEnd = Base + readEnd;
            return false;
        }
        Step.Counted = Step.End > Step.Start;
        if (Step.Counted && BreakAt != std::string::npos)
            TakeWholeLineBreak(BreakAt - Base, Step.Start, Step.End, Step.Next);
        Step.ReadEnd = std::max(readEnd, Step.End);
        Step.Passed = From + FFinder->PassedEnd();
    } else {
        if (Pattern.empty() || !FindPlainFrom(Work, Pattern, Step.Next, Step.Start)) return false;
        Step.End = Step.Next;
        Step.Counted = !(FSearchOptions & sfoWholeWord) ||
                       IsWholeWord(Work, static_cast<int>(Step.Start) + 1, static_cast<int>(Pattern.size()));
        Step.ReadEnd = Step.Passed = Step.Start + static_cast<std::size_t>(Reach);
    }
    // The search steps through the characters from From as this walk does; what it decided at a
    // character before Start - Reach + 1 read nothing from Start on.
    Step.Resume = From;
    if (Reach >= 0 && Step.Start + 1 >= From + static_cast<std::size_t>(Reach)) {
        const std::size_t last = Step.Start + 1 - static_cast<std::size_t>(Reach);
        Step.Resume = StartsChar(Work, From, last) ? last : last - 1;
    }
    for (std::size_t* offset : {&Step.Start, &Step.End, &Step.Next, &Step.Resume, &Step.ReadEnd, &Step.Passed})
        *offset += Base;
    return true;
}

// A plain step reads the occurrence and, for a whole word, the character after it (two bytes); a
// regular expression step as far as the finder's reach.
int TEditorEx::SearchReach(const std::string& Pattern) const {
    if (!(FSearchOptions & sfoRegExp))
        return static_cast<int>(Pattern.size()) + (FSearchOptions & sfoWholeWord ? 2 : 0);
    return FFinder->SearchReach();
}

std::optional<TFindMatch> TEditorEx::MatchAfter(int Row, int Start) {
    CollectFindMatches(Row);
    const auto it =
        std::find_if(FMatches.begin(), FMatches.end(), [Start](const TFindMatch& m) { return m.Position > Start; });
    if (it == FMatches.end() || (!WordWrap() && it->Position > MaxColumns)) return std::nullopt;
    return *it;
}

std::optional<TFindMatch> TEditorEx::MatchUpTo(int Row, int Start) {
    CollectFindMatches(Row);
    const auto it =
        std::find_if(FMatches.rbegin(), FMatches.rend(), [Start](const TFindMatch& m) { return m.Position <= Start; });
    if (it == FMatches.rend()) return std::nullopt;
    return *it;
}

void TEditorEx::MarkMatch(int FirstRow, const TFindMatch& Match, bool CaretToStart) {
    CancelSelection();
    SetCaretToLineOffset(FirstRow, Match.Position - 1);
    SetHitSelLength(Match.Length);
    if (CaretToStart) SetCaretToLineOffset(FirstRow, Match.Position - 1);
}

int TEditorEx::NextSearchStart(int First) const {
    return LineOffset(First, Row(), Col()) + (HitStyle() == hsCaret ? HitSelLength() : 0);
}

int TEditorEx::PrevSearchStart(int First) const {
    return std::min(LineOffset(First, Row(), Col()), WordWrap() ? INT_MAX : MaxColumns);
}

bool TEditorEx::FindNext() {
    int row = Row();
    int first = FirstRowOfLine(row);
    std::optional<TFindMatch> match = MatchAfter(row, NextSearchStart(first));
    while (!match && row < RowCount()) {
        row = first = LastRowOfLine(row) + 1;
        match = MatchAfter(row, 0);
    }
    if (!match) return false;
    MarkMatch(first, *match, false);
    return true;
}

bool TEditorEx::FindPrev() {
    const int limit = WordWrap() ? INT_MAX : MaxColumns;
    int row = Row();
    int first = FirstRowOfLine(row);
    std::optional<TFindMatch> match = MatchUpTo(row, PrevSearchStart(first));
    while (!match) {
        row = first - 1;
        if (row < 0) return false;
        first = FirstRowOfLine(row);
        const int length = static_cast<int>(LogicalLineText(row).size());
        match = MatchUpTo(row, std::min(length + 2, limit));
    }
    MarkMatch(first, *match, HitStyle() != hsCaret);
    return true;
}

void TEditorEx::ReplaceHit(const std::string& Replacement, bool Backward) {
    if (HitStyle() != hsSelect) HitToSelection();
    // The caret goes behind the text as the rows hold it.
    const std::string with = WithCrLf(Replacement);
    SetSelText(with);
    if (Backward) SetSelStart(SelStart() - static_cast<int>(with.size()));
}

// ---- Replacing every occurrence
//
// Replacing one occurrence at a time moves the caret, scrolls and paints, and records an undo step
// for each. ReplaceAll instead runs the same searches over a copy of the text and writes the
// changed part back in one change. After each replacement FindNext searches the caret's logical line
// again from its start: a later match may begin inside or right after the text just inserted, whole
// words see the new neighbours, a match found before it may now reach into it and hide one after it,
// and backwards a match may start before the replacement and end inside it. ReplaceAll keeps the
// steps of that search (see TScanStep) and repeats only those that read the changed text: a step
// that read nothing from the replacement on finds the same in the new line, and each step depends
// only on the text from where it searched. So it finds exactly what the search from the start
// finds, in time that grows with the line, not with the line times its replacements, unless a
// regular expression reads far from each place it tries (".*", or "a$" in a long run of a's).
//
// The line of the search is the caret's logical line of the text as it now stands: a match that
// takes the line break joins the next line to it, and a replacement holding line breaks cuts it,
// the search going on in the piece the caret stands in (forwards the last, backwards the first).
// The search goes on from where the replacement leaves the caret in the text: forwards after it,
// backwards before it. Every replacement takes at least one byte, so forwards the text after that
// place, backwards the text before it, shrinks with each one: the replacements always end.
//
// The text is held with a gap that follows the replacements (TGapText), so that a replacement of
// another length moves only the bytes between the gap and it, never the rest of the text. Backwards
// the searches read the line before the gap: they seek only matches before the replacement, which
// read past it only as far as their walks do, so the gap stays a little past the replacement and
// moves on only when a step reads up to it.

void TEditorEx::AddSpanBefore(std::vector<TSpan>& Spans, std::size_t Start, std::size_t End, std::size_t NewLength) {
    std::size_t end = End, oldEnd = End;
    std::ptrdiff_t shift = 0; // the text as it stands less the old text, after the spans merged so far
    while (!Spans.empty()) {
        const TSpan& b = Spans.back();
        const std::size_t bStart = b.Pos + static_cast<std::size_t>(shift);
        if (bStart > end) break;
        const std::size_t bEnd = bStart + b.NewLength;
        shift += static_cast<std::ptrdiff_t>(b.NewLength) - static_cast<std::ptrdiff_t>(b.OldLength);
        if (bEnd >= end) {
            end = bEnd;
            oldEnd = b.Pos + b.OldLength;
        } else {
            oldEnd = end - static_cast<std::size_t>(shift);
        }
        Spans.pop_back();
    }
    Spans.push_back({Start, oldEnd - Start, end - Start + NewLength - (End - Start)});
}

void TEditorEx::PushStep(TScanStep& Step, std::vector<TScanStep>& Steps) {
    Step.ReadBefore = std::max(Step.ReadEnd, Steps.empty() ? 0 : Steps.back().ReadBefore);
    Steps.push_back(Step);
}

std::optional<TEditorEx::TScanStep> TEditorEx::HitAfter(std::string_view Work, std::size_t Base,
                                                        const std::string& Pattern, std::size_t Start, int Reach,
                                                        std::size_t BreakAt, std::size_t& From,
                                                        std::vector<TScanStep>& Steps) const {
    TScanStep step;
    while (ScanStep(Work, Base, Pattern, From, Reach, BreakAt, std::string::npos, step)) {
        PushStep(step, Steps);
        From = step.Next;
        if (step.Counted && step.Start >= Start) return step;
    }
    return std::nullopt;
}

std::optional<TEditorEx::TScanStep> TEditorEx::HitBefore(std::string_view Work, std::size_t Base,
                                                         const std::string& Pattern, std::size_t Start, int Reach,
                                                         std::size_t BreakAt, std::size_t LineEnd, std::size_t& From,
                                                         std::vector<TScanStep>& Steps, bool& Short) const {
    // The steps that find matches before Start read no further than this.
    if (Reach >= 0) Work = Work.substr(0, std::min(Work.size(), Start + static_cast<std::size_t>(Reach) - Base));
    // Otherwise a step that read up to the end of a cut line may answer otherwise on the whole.
    const std::size_t workEnd = Base + Work.size();
    const bool cut = Reach < 0 && workEnd < LineEnd;
    // Only matches before Start are sought, so a step reads past it no further than its walks; one at
    // the LF of the line break is taken from the CR before it.
    TScanStep step;
    for (bool more = true; more;) {
        more = ScanStep(Work, Base, Pattern, From, Reach, BreakAt, Start + 1, step) && step.Start < Start;
        Short = cut && step.ReadEnd >= workEnd;
        if (Short) return std::nullopt;
        if (!more) break;
        PushStep(step, Steps);
        From = step.Next;
    }
    const auto hit = std::find_if(Steps.rbegin(), Steps.rend(),
                                  [Start](const TScanStep& s) { return s.Counted && s.Start < Start; });
    if (hit == Steps.rend()) return std::nullopt;
    return *hit;
}

std::size_t TEditorEx::RowsStart(int Row) const {
    std::size_t offset = 0;
    for (int r = 0; r < Row && r < RowCount(); ++r)
        offset += RowView(r).size() + (GetRowAttribute(r) == raLineBreak ? 2 : 0);
    return offset;
}

void TEditorEx::PlanReplaceAll(const std::string& Replacement, bool Backward, TReplacePlan& Plan) {
    const std::string pattern = SearchPattern();
    PrepareFinder(pattern);
    const bool regExp = FSearchOptions & sfoRegExp, fold = !(FSearchOptions & sfoMatchCase);
    const std::string with = WithCrLf(Replacement);
    const std::string workWith = fold ? LowerCaseFileName(with) : with;
    const std::size_t firstBreak = with.find('\r'), lastBreak = with.rfind('\r');
    const int reach = SearchReach(pattern);
    const std::size_t limit = WordWrap() ? std::string::npos : MaxColumns;
    if (RowCount() == 0 || (!Backward && Row() >= RowCount())) return;
    TGapText text(Backward), folded(Backward);
    {
        std::string whole = ScreenStrings().GetRowsText(0, RowCount());
        if (fold) {
            std::string low = LowerCaseFileName(whole);
            folded.Take(low);
        }
        text.Take(whole);
    }
    TGapText& work = fold ? folded : text; // the text as the search reads it
    // The caret's logical line: its first row (backwards, a row of the text before any replacement),
    // its offset, its length and whether a line break follows it.
    int first = FirstRowOfLine(std::min(Row(), RowCount() - 1));
    std::size_t lineStart = RowsStart(first), length = 0, searchFrom = 0;
    bool lineBreak = false;
    // The end of the line that goes on at From, and whether a line break follows it.
    auto lineEnd = [&work](std::size_t From, bool& Break) {
        const std::size_t end = work.Find('\r', From);
        Break = end != std::string::npos;
        return Break ? end : work.Size();
    };
    length = lineEnd(lineStart, lineBreak) - lineStart;
    if (!Backward)
        searchFrom = static_cast<std::size_t>(std::max(NextSearchStart(first), 0));
    else if (Row() >= RowCount())
        searchFrom = std::min(length + 2, limit);
    else
        searchFrom = static_cast<std::size_t>(std::max(PrevSearchStart(first), 0));
    // Backwards, the lines after the caret's line, from the last to the next one: their lengths and
    // breaks, for a match that joins one to the line.
    std::vector<std::pair<std::size_t, bool>> below;
    if (Backward && lineBreak) {
        const std::size_t next = lineStart + length + 2;
        bool nextBreak = false;
        below.emplace_back(lineEnd(next, nextBreak) - next, nextBreak);
    }
    std::vector<TScanStep> steps;
    std::vector<TSpan> spans;
    std::ptrdiff_t shift = 0; // forwards: the text as it stands less the old text, before the caret
    // Backwards with an unbounded reach, how far past a replacement the gap leaves the line to read
    // (doubled while a step reads up to the gap, so that the bytes moved per replacement are about
    // what its search reads).
    constexpr std::size_t kAhead = 32;
    std::size_t ahead = kAhead;
    for (;;) {
        steps.clear();
        std::size_t next = 0; // where the search of the line goes on
        for (;;) {
            // The line as CollectLineMatches searches it, as far as it lies on the read side of the gap.
            const std::size_t viewEnd = lineStart + length + (regExp && lineBreak ? 2 : 0);
            const std::size_t viewStart = std::max(work.Base(), lineStart);
            const std::string_view read = work.Read();
            const std::string_view view =
                read.substr(viewStart - work.Base(), std::min(viewEnd, work.Base() + read.size()) - viewStart);
            const std::size_t base = viewStart - lineStart;
            const std::size_t breakAt = regExp && lineBreak ? length : std::string::npos;
            bool shortView = false;
            const std::optional<TScanStep> hit =
                Backward ? HitBefore(view, base, pattern, searchFrom, reach, breakAt, viewEnd - lineStart, next, steps,
                                     shortView)
                         : HitAfter(view, base, pattern, searchFrom, reach, breakAt, next, steps);
            if (shortView) {
                // The view grows each time, and is never short once it reaches the line's end.
                const std::size_t gap = std::min(viewEnd, viewStart + view.size() + ahead);
                ahead *= 2;
                text.MoveGap(gap);
                if (fold) folded.MoveGap(gap);
                continue;
            }
            if (!hit || (!Backward && hit->Start >= limit)) break;
            const std::size_t pos = hit->Start, end = hit->End;
            // The steps that read the replaced text search again, from where the first of them read it.
            // Forwards, where every later replacement lies after this one, a step whose passing over
            // the places before its match read nothing from Pos on searches again from its match.
            while (!steps.empty() && steps.back().ReadBefore > pos) {
                const TScanStep& step = steps.back();
                next = !Backward && step.Passed <= pos ? step.Start : step.Resume;
                steps.pop_back();
            }
            // So do the places before Next that a resumed step passed over without reading the text
            // after them (a step resumes before its start only with a bounded reach): those from
            // which the search reads the replaced text.
            const std::size_t reread = pos + 1 - std::min(pos + 1, static_cast<std::size_t>(std::max(reach, 0)));
            if (reach >= 0 && reread < next && (steps.empty() || steps.back().Next <= reread))
                next = reread <= base
                           ? std::max(base, steps.empty() ? 0 : steps.back().Next)
                           : static_cast<std::size_t>(CharStartOf(view, static_cast<int>(reread - base))) + base;
            // Forwards the search reads on from Next and Pos on, and the character before (a whole word
            // looks at it); backwards what the steps before Pos read (Reach bytes past it), and the byte
            // after the replacement (the end of the bytes read passes for a character start).
            const std::size_t resume = std::min(next, pos);
            std::size_t gap = lineStart;
            if (!Backward && resume > base)
                gap += static_cast<std::size_t>(CharStartOf(view, static_cast<int>(resume - 1 - base))) + base;
            if (Backward) {
                AddSpanBefore(spans, lineStart + pos, lineStart + end, with.size());
            } else {
                spans.push_back({lineStart + pos - static_cast<std::size_t>(shift), end - pos, with.size()});
                shift += static_cast<std::ptrdiff_t>(with.size()) - static_cast<std::ptrdiff_t>(end - pos);
            }
            text.Replace(lineStart + pos, end - pos, with);
            if (fold) folded.Replace(lineStart + pos, end - pos, workWith);
            ++Plan.Replacements;
            if (end > length) { // the match took the line break: the next line joins this one
                if (Backward) {
                    length = pos + with.size() + below.back().first;
                    lineBreak = below.back().second;
                    below.pop_back();
                } else {
                    length = lineEnd(lineStart + pos + with.size(), lineBreak) - lineStart;
                }
            } else {
                length = length + with.size() - (end - pos);
            }
            if (Backward) {
                Plan.Caret = lineStart + pos;
                searchFrom = pos;
                if (firstBreak != std::string::npos) {
                    // The line ends at the replacement's first line break; the pieces after it follow.
                    const std::size_t rest = length - pos - with.size();
                    std::size_t pieceEnd = with.size(), piece = lastBreak + 2;
                    below.emplace_back(pieceEnd - piece + rest, lineBreak);
                    while (piece > firstBreak + 2) {
                        pieceEnd = piece - 2;
                        piece = with.rfind('\r', pieceEnd - 1) + 2;
                        below.emplace_back(pieceEnd - piece, true);
                    }
                    length = pos + firstBreak;
                    lineBreak = true;
                }
                ahead = kAhead;
                gap = lineStart + pos + (reach < 0 ? ahead : static_cast<std::size_t>(reach)) + with.size() + 1;
                gap = std::min(gap, lineStart + length + 2);
            } else {
                Plan.Caret = lineStart + pos + with.size();
                searchFrom = pos + with.size();
                if (lastBreak != std::string::npos) {
                    // The search goes on in the line that starts after the replacement's last line break.
                    const std::size_t cut = pos + lastBreak + 2;
                    lineStart += cut;
                    length -= cut;
                    searchFrom -= cut;
                    steps.clear();
                    next = 0;
                    gap = lineStart;
                }
            }
            text.MoveGap(gap);
            if (fold) folded.MoveGap(gap);
        }
        if (Backward) {
            if (first <= 0) break;
            below.emplace_back(length, lineBreak);
            const int previous = FirstRowOfLine(first - 1);
            length = 0;
            for (int r = previous; r < first; ++r) length += RowView(r).size();
            lineStart -= length + 2;
            lineBreak = true;
            first = previous;
            searchFrom = std::min(length + 2, limit);
        } else {
            if (!lineBreak) break;
            lineStart += length + 2;
            length = lineEnd(lineStart, lineBreak) - lineStart;
            searchFrom = 0;
        }
    }
    if (Backward) std::reverse(spans.begin(), spans.end());
    Plan.Spans = std::move(spans);
    if (!Plan.Spans.empty()) Plan.Text = std::move(text).Text();
}

int TEditorEx::ReplaceAll(const std::string& Replacement, bool Backward) {
    // A read-only text keeps its occurrences: searching on from each would find the same one forever.
    if (ReadOnly()) return 0;
    TReplacePlan plan;
    PlanReplaceAll(Replacement, Backward, plan);
    if (plan.Replacements > 0) ApplyReplacePlan(plan);
    return plan.Replacements;
}

void TEditorEx::ApplyReplacePlan(const TReplacePlan& Plan) {
    const std::string_view text = Plan.Text;
    // The rows of the spans' first and last bytes (offsets of the text before the replacements).
    struct TRowOf {
        int Row;
        std::size_t Start; // of the row
    };
    std::vector<TRowOf> rows;
    rows.reserve(Plan.Spans.size() * 2);
    int row = 0;
    std::size_t rowStart = 0;
    auto rowOf = [&](std::size_t Offset) {
        for (;;) {
            const std::size_t next = rowStart + RowView(row).size() + (GetRowAttribute(row) == raLineBreak ? 2 : 0);
            if (Offset < next || row + 1 >= RowCount()) return TRowOf{row, rowStart};
            rowStart = next;
            ++row;
        }
    };
    bool inRows = !WordWrap();
    std::ptrdiff_t shift = 0;
    std::vector<TRowSplice> splices;
    for (const TSpan& span : Plan.Spans) {
        const TRowOf at = rowOf(span.Pos);
        rows.push_back(at);
        const TRowOf last = rowOf(span.Pos + span.OldLength - 1);
        rows.push_back(last);
        const std::string_view now = text.substr(span.Pos + static_cast<std::size_t>(shift), span.NewLength);
        shift += static_cast<std::ptrdiff_t>(span.NewLength) - static_cast<std::ptrdiff_t>(span.OldLength);
        // Unwrapped, a change inside one row is made inside it.
        inRows = inRows && at.Row == last.Row && span.Pos + span.OldLength <= at.Start + RowView(at.Row).size() &&
                 now.find_first_of("\r\n") == std::string_view::npos;
        if (inRows) splices.push_back({at.Row, span.Pos - at.Start, span.OldLength, now});
    }
    const int ref = rows.front().Row;
    const auto caret = static_cast<int>(Plan.Caret - rows.front().Start);
    CancelSelection();
    if (inRows && ReplaceInRows(splices, ref, caret)) return;
    // Otherwise the rows from the first changed line to the last are written again.
    int firstRow = FirstRowOfLine(ref);
    const int lastRow = LastRowOfLine(rows.back().Row);
    const std::size_t oldEnd = RowsStart(lastRow + 1);
    std::size_t start = RowsStart(firstRow);
    // Emptied lines at the end of the text leave their rows as the replacements one by one do.
    if (oldEnd + static_cast<std::size_t>(shift) == start && firstRow > 0) {
        firstRow = FirstRowOfLine(firstRow - 1);
        start = RowsStart(firstRow);
    }
    ReplaceRows(firstRow, lastRow, text.substr(start, oldEnd + static_cast<std::size_t>(shift) - start), firstRow,
                static_cast<int>(Plan.Caret - start));
}

// ---- Painting

std::vector<int> TEditorEx::ByteXs(std::string_view S, int Origin) const {
    const TColumnLayout layout = ColumnLayout();
    const int w = CharWidth();
    std::vector<int> xs(S.size() + 1);
    int col = 0;
    for (std::size_t i = 0; i < S.size(); ++i) {
        xs[i] = Origin + w * col;
        if (S[i] == '\t')
            col = quillon::DisplayWidth(std::string(static_cast<std::size_t>(col), ' ') + '\t', layout);
        else
            ++col; // each byte of a double-byte character is one column
    }
    xs[S.size()] = Origin + w * col;
    return xs;
}

void TEditorEx::DoDrawLine(const TPaintOp& Row, TPaintPlan& Plan) {
    TEditor::DoDrawLine(Row, Plan);
    const TEditorExMarks& m = *FExMarks;
    if (!Host() ||
        !(m.DBSpaceMark().Visible() || m.SpaceMark().Visible() || m.TabMark().Visible() || m.FindMark().Visible()))
        return;
    // No mark is drawn past column MaxColumns, and every byte takes a column or more: a row of
    // megabytes without word wrap is measured only as far as it shows.
    const std::string s(RowView(Row.Row).substr(0, MaxColumns + 2));
    const std::vector<int> xs = ByteXs(s, Row.X);
    const int right = std::min(Row.Rect.Right, Row.X + MaxColumns * CharWidth());
    DrawBlankMarks(Row, s, xs, right, Plan);
    if (m.FindMark().Visible()) {
        try {
            DrawFindMarks(Row, s, xs, right, Plan);
        } catch (const ERegExpParser&) {
            // A bad pattern marks nothing; the caller of a search reports it.
        }
    }
}

void TEditorEx::DrawBlankMarks(const TPaintOp& Row, const std::string& S, const std::vector<int>& Xs, int Right,
                               TPaintPlan& Plan) {
    const TEditorExMarks& m = *FExMarks;
    const int left = Row.Rect.Left, w = CharWidth();
    auto inside = [&](int x) { return left <= x && x < Right; };
    for (std::size_t i = 0; i < S.size(); i += CharLength(S, i)) {
        const int x = Xs[i];
        if (CharLength(S, i) == 2) {
            if (DoubleByteCode(S, i) != 0x8140 || !m.DBSpaceMark().Visible()) continue;
            if (inside(x))
                DrawDBSpaceMark(x, Row.Y, true, Plan);
            else if (inside(x + w))
                DrawDBSpaceMark(x, Row.Y, false, Plan);
        } else if (S[i] == ' ' && m.SpaceMark().Visible() && inside(x)) {
            DrawSpaceMark(x, Row.Y, Plan);
        } else if (S[i] == '\t' && m.TabMark().Visible() && inside(x)) {
            DrawTabMark(x, Row.Y, Plan);
        }
    }
}

void TEditorEx::DrawFindMarks(const TPaintOp& Row, const std::string& S, const std::vector<int>& Xs, int Right,
                              TPaintPlan& Plan) {
    const int left = Row.Rect.Left;
    int first = 0;
    const TFindMatchList& matches = RowFindMatches(Row.Row, first);
    first += CaretStringIndex(Row.Row, 0);
    const int last = first + static_cast<int>(S.size()) - 1;
    // The matches lie in order and apart, so their ends are in order too: a row of a long line looks
    // only at its own.
    const auto from = std::partition_point(matches.begin(), matches.end(),
                                           [first](const TFindMatch& m) { return m.Position + m.Length - 1 < first; });
    for (auto it = from; it != matches.end() && it->Position <= last; ++it) {
        const TFindMatch& match = *it;
        const int end = match.Position + match.Length - 1;
        // Xs holds the x before each 0-based byte of the row.
        int x1 = Xs[static_cast<std::size_t>(std::max(match.Position, first) - first)];
        int x2 = Xs[static_cast<std::size_t>(std::min(end, last) - first + 1)];
        if (x1 < left && left <= x2) x1 = left;
        if (x1 <= Right && Right < x2) x2 = Right;
        if (x1 >= left && x2 <= Right) DrawFindMark(x1, x2, Row.Y, Plan);
    }
}

// A plain pattern that no proper prefix of ends with (no occurrence of it can overlap another) is
// found at every occurrence that starts a character, wherever the search of its line starts: the
// matches around a wrapped row are those of the few rows around it, searched from a row's start (a
// character's) as far as a match that reaches the row, or a whole-word look at its neighbours,
// reads. Any other find string is collected for the whole logical line, once per change of the text
// or of the find string. So a keystroke in a long wrapped line searches a screen's rows for its
// repaint, not the line.
const TFindMatchList& TEditorEx::RowFindMatches(int Row, int& First) {
    const std::string pattern = SearchPattern();
    const std::string_view p = pattern;
    bool overlaps = false;
    for (std::size_t k = 1; k < p.size() && !overlaps; ++k) overlaps = p.substr(0, k) == p.substr(p.size() - k);
    if (!WordWrap() || (FSearchOptions & sfoRegExp) || overlaps) {
        CollectFindMatches(Row);
        First = MatchesRowStart(Row) + 1;
        return FMatches;
    }
    const std::size_t reach = p.size() + 2;
    int top = Row;
    std::size_t before = 0;
    while (before < reach && top > 0 && GetRowAttribute(top - 1) == raWrapped) before += RowView(--top).size();
    FRowsText.clear();
    for (int r = top; r <= Row; ++r) FRowsText += RowView(r);
    const std::size_t rowEnd = FRowsText.size();
    for (int r = Row; FRowsText.size() - rowEnd < reach && GetRowAttribute(r) == raWrapped && r + 1 < RowCount();)
        FRowsText += RowView(++r);
    FRowMatches.clear();
    CollectLineMatches(FRowsText, false, pattern, FRowMatches);
    First = static_cast<int>(before) + 1;
    return FRowMatches;
}

int TEditorEx::MatchesRowStart(int Row) {
    if (Row < FMatchesRow) {
        FMatchesRow = FMatchesFirst;
        FMatchesRowStart = 0;
    }
    // The rows above Row in its line are wrapped ones: each counts its length.
    for (; FMatchesRow < Row; ++FMatchesRow)
        FMatchesRowStart += static_cast<int>(ScreenStrings().RowText(FMatchesRow).size());
    return FMatchesRowStart;
}

void TEditorEx::DrawDBSpaceMark(int X, int Y, bool Whole, TPaintPlan& Plan) {
    const int w = CharWidth(), h = FontHeight();
    const TColor color = FExMarks->DBSpaceMark().Color();
    if (Whole)
        FrameRect(X, Y + 1, X + 2 * w - 1, Y + h - 2, color, Plan);
    else
        Polyline({{X + w, Y + 1}, {X + 2 * w - 2, Y + 1}, {X + 2 * w - 2, Y + h - 3}, {X + w - 1, Y + h - 3}}, color,
                 Plan);
}

void TEditorEx::DrawSpaceMark(int X, int Y, TPaintPlan& Plan) {
    FrameRect(X, Y + 1, X + CharWidth() - 1, Y + FontHeight() - 2, FExMarks->SpaceMark().Color(), Plan);
}

void TEditorEx::DrawTabMark(int X, int Y, TPaintPlan& Plan) {
    const int h = FontHeight();
    const int m = Y + h / 2, d = std::max(3, h / 8), r = X + CharWidth() - 1;
    const TColor color = FExMarks->TabMark().Color();
    Polyline({{X + 1, m}, {r, m}, {r - d, m - d}}, color, Plan);
    Polyline({{r, m}, {r - d, m + d}}, color, Plan);
}

void TEditorEx::DrawFindMark(int X1, int X2, int Y, TPaintPlan& Plan) {
    // A one-pixel line along the row's bottom pixel line, X1 up to the pixel before X2 - 1.
    if (X2 - 1 <= X1) return;
    TPaintOp op;
    op.Kind = poFill;
    op.Rect = {X1, Y + FontHeight() - 1, X2 - 1, Y + FontHeight()};
    op.BkColor = FExMarks->FindMark().Color();
    Plan.push_back(std::move(op));
}

// ---- Mouse and drops

void TEditorEx::DblClick() {
    TEditor::DblClick();
    SelectTokenFromCaret();
}

void TEditorEx::DoDropFiles(const std::vector<std::string>& Files, int KeyState, TPoint Point) {
    FDroppedFiles = Files;
    TOleDndEditor::DoDropFiles(Files, KeyState, Point);
}

} // namespace quillon
