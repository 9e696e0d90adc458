#include "LineRegExp.h"

#include "Cp932.h"
#include "FuzzyCharDic.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quillon {
namespace {

using TPos = const unsigned char*;

// The searched bytes: the view up to its first NUL.
std::pair<TPos, TPos> TextBounds(std::string_view Text) {
    const auto* begin = reinterpret_cast<TPos>(Text.data());
    const void* nul = Text.empty() ? nullptr : std::memchr(begin, 0, Text.size());
    return {begin, nul ? static_cast<TPos>(nul) : begin + Text.size()};
}

// The start of the character after the one at P; a closing lone lead byte is one byte.
TPos NextChar(TPos P, TPos End) { return P + ((IsLeadByte(*P) && P + 1 < End) ? 2 : 1); }

// A line tail: the separator, the end of the text, or a lead byte that the text ends in.
bool AtLineTail(TPos P, TPos End, unsigned char Separator) {
    return P == End || *P == Separator || (P + 1 == End && IsLeadByte(*P));
}

// Whether Hit starts a character, P (at or before it) being a character start: a byte outside
// the lead range always ends a character, and from there the lead-range bytes pair up, so Hit
// is a trail byte exactly when an odd run of lead-range bytes stands between P and it (and
// then Hit + 1 starts a character).
bool StartsCharacter(TPos P, TPos Hit) {
    size_t run = 0;
    for (TPos k = Hit; k > P && IsLeadByte(k[-1]); --k) ++run;
    return run % 2 == 0;
}

// The first character start at or after the character start P whose first byte can begin a
// match; End when there is none. Candidates are found byte by byte (with memchr when only one
// byte can begin a match) and kept when they start a character.
TPos NextStart(TPos P, TPos End, const TRE_DFA::TStartBytes& Starts) {
    if (Starts.Only == TRE_DFA::TStartBytes::None) return End;
    while (P < End) {
        TPos hit = P;
        if (Starts.Only >= 0) {
            hit = static_cast<TPos>(std::memchr(P, Starts.Only, static_cast<size_t>(End - P)));
            if (!hit) return End;
        } else {
            while (hit < End && !Starts.Can[*hit]) ++hit;
            if (hit == End) return End;
        }
        if (StartsCharacter(P, hit)) return hit;
        P = hit + 1;
    }
    return End;
}

// The first place in [P, End) where Literal (not empty) stands, or nullptr. Lines are short,
// so the call must cost little: 16 places at a time are tested for the literal's first byte
// and its last byte that differs from the first together (a Japanese literal's first byte is
// common, the pair rarely is; a literal of digits such as "0100200000" would pass its first and
// last byte almost everywhere in a list of numbers), and only where both stand are the other
// bytes compared. The last places are tested by a block that ends with the text and overlaps
// the one before; a text too short for one block is tested place by place.
TPos FindLiteral(TPos P, TPos End, const std::string& Literal) {
    const size_t k = Literal.size();
    const auto n = static_cast<size_t>(End - P);
    if (k == 1) return static_cast<TPos>(std::memchr(P, Literal[0], n));
    if (n < k) return nullptr;
    const auto* needle = reinterpret_cast<const unsigned char*>(Literal.data());
    const size_t places = n - k + 1;
    size_t j = k - 1; // the other byte tested
    while (j > 1 && needle[j] == needle[0]) --j;
#ifdef __SSE2__
    if (places >= 16) {
        const __m128i first = _mm_set1_epi8(static_cast<char>(needle[0]));
        const __m128i other = _mm_set1_epi8(static_cast<char>(needle[j]));
        // The places i .. i + 15 where both bytes match, less those below From.
        auto block = [&](size_t i, size_t From) -> TPos {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P + i + j));
            unsigned mask = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, other))));
            mask &= ~0u << (From - i);
            for (; mask != 0; mask &= mask - 1) {
                const TPos at = P + i + __builtin_ctz(mask);
                if (std::memcmp(at + 1, needle + 1, k - 1) == 0) return at;
            }
            return nullptr;
        };
        size_t i = 0;
        for (; i + 16 <= places; i += 16)
            if (const TPos at = block(i, i)) return at;
        return i < places ? block(places - 16, i) : nullptr;
    }
#endif
    for (size_t i = 0; i < places; ++i)
        if (P[i] == needle[0] && P[i + j] == needle[j] && std::memcmp(P + i + 1, needle + 1, k - 1) == 0) return P + i;
    return nullptr;
}

// The first character start at or after the character start P where Literal stands; End
// when there is none. A hit on a trail byte is no hit.
TPos NextLiteral(TPos P, TPos End, const std::string& Literal) {
    while (P < End) {
        const TPos hit = FindLiteral(P, End, Literal);
        if (!hit) return End;
        if (StartsCharacter(P, hit)) return hit;
        P = hit + 1;
    }
    return End;
}

// Where the search tries a match next, at or after the character start P: where the literal
// that begins every match stands, or else where a byte that can begin one does.
TPos NextCandidate(TPos P, TPos End, const TRE_DFA::TStartBytes& Starts, const std::string& Prefix) {
    return Prefix.empty() ? NextStart(P, End, Starts) : NextLiteral(P, End, Prefix);
}

// Where the candidate starts of a search for matches that start before the offset Before end: every
// candidate lies before Last, and finding them reads the bytes before Reads (the literal that begins
// a match may reach past Last).
struct TCandidatesEnd {
    TPos Last, Reads;
};
TCandidatesEnd CandidatesEnd(TPos Begin, TPos End, size_t Before, const std::string& Prefix) {
    if (Before >= static_cast<size_t>(End - Begin)) return {End, End};
    const TPos last = Begin + Before;
    const size_t past = Prefix.empty() ? 0 : Prefix.size() - 1;
    return {last, last + std::min(past, static_cast<size_t>(End - last))};
}

bool Found(TPos Begin, TPos From, TPos To, size_t& Start, size_t& End) {
    Start = static_cast<size_t>(From - Begin);
    End = static_cast<size_t>(To - Begin);
    return true;
}

// Whether the character start P is a line head: the text's start when BeginIsHead, else the
// place after an LF that is a character of its own (the trail byte of a pair is no line end).
bool IsLineHead(TPos Begin, TPos P, bool BeginIsHead) {
    return P == Begin ? BeginIsHead : P[-1] == '\n' && StartsCharacter(Begin, P - 1);
}

// Steps backwards over the characters of a text whose first byte starts a character. A byte
// outside the lead range always ends a character (it is a single-byte character or a trail
// byte), and from the byte after it the lead-range bytes pair up; so the character before the
// character start P is two bytes long when an odd number of bytes lies between P and the last
// byte outside the lead range before P - 1. That byte is found once per run of lead-range
// bytes, so a walk back over the whole text reads every byte a bounded number of times.
class TBackCursor {
public:
    explicit TBackCursor(TPos Begin) : FBegin(Begin) {}

    TPos Previous(TPos P) {
        const std::ptrdiff_t k = P - FBegin;
        if (FSingle >= k - 1) {
            FSingle = k - 2;
            while (FSingle >= 0 && IsLeadByte(FBegin[FSingle])) --FSingle;
        }
        return P - (((k - FSingle) & 1) ? 2 : 1);
    }

private:
    TPos FBegin;
    // Offset of the last byte outside the lead range before the byte before the current
    // position (-1: none); every byte between it and that byte is in the lead range.
    std::ptrdiff_t FSingle = PTRDIFF_MAX;
};

} // namespace

// The bytes that the restarting search may walk before the linear search takes over. It takes
// over too when the forward automaton drops its built states during the search: the walks
// then pay for building states again and again.
class TMatchCORE::TBudget {
public:
    TBudget() = default; // unbounded
    TBudget(TPos Begin, TPos End, bool LinearOnly, const TRE_LazyDFA& Forward)
        : FLeft(LinearOnly ? -1 : 2 * (End - Begin) + 64), FForward(&Forward), FFlushes(Forward.Flushes()) {}
    bool Spent() const { return FLeft < 0 || (FForward && FForward->Flushes() != FFlushes); }
    void Spend(TPos From, TPos To) { FLeft -= To - From + 1; }

private:
    std::ptrdiff_t FLeft = PTRDIFF_MAX;
    const TRE_LazyDFA* FForward = nullptr;
    int FFlushes = 0;
};

TRegularExpression::TRegularExpression() : FPreProcessor("") {
    FCache.emplace_back(std::string(), nullptr);
    FCacheIndex = 0;
    Compile(FCache[0].first);
}

void TRegularExpression::SetRegExp(const std::string& Value) {
    const std::string value = Value; // Value may be FRegExp itself
    FPreProcessor.SetPattern(value);
    FPreProcessor.Run();
    try {
        Lookup(FPreProcessor.ProcessedPattern());
        FRegExp = value;
    } catch (ERegExpParser& e) {
        FCacheIndex = 0;
        FRegExp.clear();
        e.ErrorPos = FPreProcessor.SourcePosition(e.ErrorPos); // where the user wrote it
        throw;
    } catch (...) {
        FCacheIndex = 0;
        FRegExp.clear();
        throw;
    }
}

void TRegularExpression::Lookup(const std::string& Processed) {
    const auto found = std::find_if(FCache.begin(), FCache.end(), [&](const auto& e) { return e.first == Processed; });
    if (found != FCache.end()) {
        FCacheIndex = static_cast<int>(found - FCache.begin());
    } else {
        if (FCache.size() >= CacheCapacity) FCache.pop_back();
        FCache.insert(FCache.begin() + 1, {Processed, nullptr});
        FCacheIndex = 1;
        Compile(FCache[1].first);
    }
    DFA().Use();
}

void TRegularExpression::Compile(const std::string& Pattern) {
    try {
        TREParser parser(Pattern);
        parser.Run();
        TRE_NFA nfa(parser, GetLineHeadChar(), GetLineTailChar());
        nfa.Run();
        auto dfa = std::make_unique<TRE_DFA>(nfa, FStateMemory);
        dfa->Run();
        FCache[FCacheIndex].second = std::move(dfa);
    } catch (...) {
        FCache.erase(FCache.begin() + FCacheIndex);
        FCacheIndex = 0;
        throw;
    }
}

void TRegularExpression::SetUseFuzzyCharDic(bool Value) {
    FPreProcessor.UseFuzzyCharDic = Value;
    SetRegExp(FRegExp);
}

void TRegularExpression::SetUseSynonymDic(bool Value) {
    FPreProcessor.UseSynonymDic = Value;
    SetRegExp(FRegExp);
}

// False when the literal that every match holds stands nowhere in the view, so that most
// lines without a match cost one memmem.
bool TMatchCORE::MayMatch(std::string_view Text, size_t Before) const {
    const std::string& required = DFA().Literals().Required;
    if (required.empty() || Before < Text.size()) return true;
    const auto* begin = reinterpret_cast<TPos>(Text.data());
    const TPos end = begin + Text.size(), hit = NextLiteral(begin, end, required);
    Reached(hit == end ? end : hit + required.size());
    return hit != end;
}

void TMatchCORE::ReachedWalk(TPos Q, TPos End) const {
    const TPos to = Q + 1 == End && IsLeadByte(*Q) ? End : Q;
    Reached(to);
    if (to > FWalkTo) FWalkTo = to;
}

bool TMatchCORE::FoundAfter(TPos Before, TPos Begin, TPos From, TPos To, size_t& Start, size_t& End) const {
    FPassedTo = Before;
    return Found(Begin, From, To, Start, End);
}

std::pair<TMatchCORE::TPos, TMatchCORE::TPos> TMatchCORE::StartReading(std::string_view Text) const {
    const auto bounds = TextBounds(Text);
    FReadFrom = FReadTo = FWalkTo = FPassedTo = bounds.first;
    // A NUL ends the text as the end of the view does.
    if (bounds.second != bounds.first + Text.size()) Reached(bounds.second + 1);
    return bounds;
}

bool TMatchCORE::MatchPlain(std::string_view Text, size_t& Start, size_t& End, size_t Before) const {
    const auto [begin, end] = StartReading(Text);
    if (!MayMatch(Text, Before)) return false;
    const TRE_DFA& dfa = DFA();
    const int init = dfa.InitialState();
    if (begin == end) return dfa.Accepting(init) && Found(begin, begin, begin, Start, End);
    const TRE_DFA::TStartBytes& starts = dfa.StartBytes();
    const std::string& prefix = dfa.Literals().Prefix;
    const auto [last, reads] = CandidatesEnd(begin, end, Before, prefix);
    TBudget budget(begin, end, LinearOnly, DFA().Forward());
    for (TPos p = NextCandidate(begin, reads, starts, prefix); p < last;
         p = NextCandidate(NextChar(p, end), reads, starts, prefix)) {
        if (budget.Spent()) return LinearSearch(begin, p, end, false, Start, End);
        TPos longest = nullptr;
        const TPos before = FWalkTo;
        const TPos q = dfa.Walk(init, p, end, [&dfa, &longest](int S, TPos At) {
            if (dfa.Accepting(S)) longest = At;
        });
        ReachedWalk(q, end);
        if (longest) return FoundAfter(before, begin, p, longest, Start, End);
        budget.Spend(p, q);
    }
    Reached(reads);
    return false;
}

// The end of the longest match from P starting in State, or nullptr. A line tail counts
// wherever the walk passes a separator or the end of the text.
TMatchCORE::TPos TMatchCORE::MatchFrom(TPos P, TPos End, int State, TBudget& Budget) const {
    const TRE_DFA& dfa = DFA();
    const unsigned char separator = SeparatorByte();
    TPos last = nullptr;
    const TPos q = dfa.Walk(State, P, End, [&](int S, TPos At) {
        if (dfa.Accepting(S) || (dfa.TailAccepts(S) && AtLineTail(At, End, separator))) last = At;
    });
    ReachedWalk(q, End);
    Budget.Spend(P, q);
    return last;
}

// The longest match from the line head P, with or without reading the line head.
TMatchCORE::TPos TMatchCORE::MatchAtHead(TPos P, TPos End, TBudget& Budget) const {
    const TRE_DFA& dfa = DFA();
    const int init = dfa.InitialState();
    if (!dfa.HasLineHead()) return MatchFrom(P, End, init, Budget);
    // Both are tried even when no match reads the line head: on the empty text no other
    // start position is left to find a match that does not read it.
    const TPos e1 = MatchFrom(P, End, dfa.Move(init, TRE_DFA::LineHeadClass), Budget);
    const TPos e2 = MatchFrom(P, End, init, Budget);
    return e1 && (!e2 || e2 < e1) ? e1 : e2;
}

bool TMatchCORE::MatchAnchored(std::string_view Text, size_t& Start, size_t& End, size_t Before) const {
    const auto [begin, end] = StartReading(Text);
    if (!MayMatch(Text, Before)) return false;
    TBudget budget(begin, end, LinearOnly, DFA().Forward());
    if (budget.Spent()) return LinearSearch(begin, begin, end, true, Start, End);
    if (const TPos e = MatchAtHead(begin, end, budget)) return Found(begin, begin, e, Start, End);
    return ScanFrom(begin, end, Before, true, budget, Start, End);
}

bool TMatchCORE::MatchScan(std::string_view Text, size_t& Start, size_t& End, size_t Before) const {
    const auto [begin, end] = StartReading(Text);
    if (!MayMatch(Text, Before)) return false;
    TBudget budget(begin, end, LinearOnly, DFA().Forward());
    return ScanFrom(begin, end, Before, false, budget, Start, End);
}

bool TMatchCORE::ScanFrom(TPos Begin, TPos End, size_t Before, bool BeginIsHead, TBudget& Budget, size_t& Start,
                          size_t& Finish) const {
    const TRE_DFA& dfa = DFA();
    const int init = dfa.InitialState();
    const TRE_DFA::TStartBytes& starts = dfa.ScanStartBytes(SeparatorByte());
    const std::string& prefix = dfa.Literals().Prefix;
    const auto [last, reads] = CandidatesEnd(Begin, End, Before, prefix);
    for (TPos p = NextCandidate(Begin, reads, starts, prefix); p < last;
         p = NextCandidate(NextChar(p, End), reads, starts, prefix)) {
        if (Budget.Spent()) return LinearSearch(Begin, p, End, BeginIsHead, Start, Finish);
        const TPos before = FWalkTo;
        if (const TPos e = MatchFrom(p, End, init, Budget)) return FoundAfter(before, Begin, p, e, Start, Finish);
        if (*p == '\n' && dfa.HasLineHead()) {
            const TPos passed = FWalkTo;
            if (const TPos e = MatchAtHead(p + 1, End, Budget))
                return FoundAfter(passed, Begin, p + 1, e, Start, Finish);
        }
    }
    Reached(reads);
    if (last == End && dfa.HasLineTail() && dfa.TailAccepts(init)) return Found(Begin, End, End, Start, Finish);
    return false;
}

// The leftmost character start at or after From (a character start) at which a match begins,
// or nullptr: the reverse automaton reads the text from its end back to From.
TMatchCORE::TPos TMatchCORE::LeftmostStart(TPos Begin, TPos From, TPos End, bool BeginIsHead) const {
    const TRE_DFA& dfa = DFA();
    const TRE_LazyDFA& reverse = dfa.Reverse();
    const unsigned char separator = SeparatorByte();
    TBackCursor back(Begin);
    TPos leftmost = nullptr;
    int s = reverse.InitialState();
    for (TPos q = End;;) {
        if (dfa.HasLineTail() && AtLineTail(q, End, separator)) s = reverse.Step(s, TRE_DFA::LineTailClass);
        if (reverse.Accepting(s) || (reverse.AnchorAccepts(s) && IsLineHead(Begin, q, BeginIsHead))) leftmost = q;
        if (q == From) return leftmost;
        const TPos p = back.Previous(q);
        const int length = static_cast<int>(q - p);
        // A lead byte that ends the text is no character: no match reads it.
        s = length == 1 && IsLeadByte(*p) ? reverse.InitialState() : reverse.Step(s, dfa.ClassAt(p, length));
        q = p;
    }
}

// The leftmost-longest match at or after From in time linear in the text: the leftmost start
// from the reverse automaton, then one forward walk for the longest match from there.
bool TMatchCORE::LinearSearch(TPos Begin, TPos From, TPos End, bool BeginIsHead, size_t& Start, size_t& Finish) const {
    Reached(End); // the reverse automaton reads from the end
    FWalkTo = End;
    const TPos p = LeftmostStart(Begin, From, End, BeginIsHead);
    if (!p) return false;
    TBudget unbounded;
    const TPos e = IsLineHead(Begin, p, BeginIsHead) ? MatchAtHead(p, End, unbounded)
                                                     : MatchFrom(p, End, DFA().InitialState(), unbounded);
    return e && FoundAfter(End, Begin, p, e, Start, Finish);
}

TLineRegExp::TLineRegExp() { PreProcessor().FuzzyCharDicList.push_back(&FuzzyCharDic()); }

void TLineRegExp::SetRegExp(const std::string& Value) {
    try {
        TMatchCORE::SetRegExp(Value);
    } catch (...) {
        ChooseMatchProc();
        throw;
    }
    ChooseMatchProc();
}

void TLineRegExp::ChooseMatchProc() {
    const bool anchored = HasLineHead() || HasLineTail();
    FMatchProc = anchored ? &TMatchCORE::MatchAnchored : &TMatchCORE::MatchPlain;
}

int TLineRegExp::Match(std::string_view Str, int& Pos, int& Len) const {
    size_t start = 0;
    size_t end = 0;
    if ((this->*FMatchProc)(Str, start, end, std::string_view::npos)) {
        Pos = static_cast<int>(start) + 1;
        Len = static_cast<int>(end - start);
    } else {
        Pos = Len = 0;
    }
    return Pos;
}

} // namespace quillon
