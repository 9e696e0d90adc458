#pragma once
// The regular-expression objects that the rest of the program uses.
//
// TRegularExpression compiles a pattern (dictionary expansion, parsing, automata) and keeps the
// last compiled patterns in a cache: entry 0 is always the empty pattern, new patterns enter at
// entry 1 and push the others down, and the entry compiled longest ago drops out when the cache
// is full. The cache key is the expanded pattern. TMatchCORE adds the line separator and the
// leftmost-longest search routines; TLineRegExp is the search object callers create.
//
// The automata of all the cached patterns keep their built states in one TRE_StateMemory
// (REDFA.h): however many patterns an object has searched and however long it lives (the
// editor keeps one finder for its life), their states together hold at most one bound, and
// those of the patterns used longest ago are dropped first to make room for the one in use.
//
// Texts are Shift-JIS bytes; a search reads up to the first NUL byte or the end of the view.
//
// Searching. The answer is the leftmost-longest match: of all matches, those that start at the
// smallest character start, and of these the longest. A match from p to q is a run of whole
// characters that the pattern's automaton accepts, preceded by the line-head pseudo character
// when p is a line head (the text's start, or the position after an LF that is a character of
// its own: after a lead byte an LF is the pair's trail byte, on every path) and followed by the
// line-tail pseudo character when q is a line tail (the separator, the end of the text, or a
// lead byte that ends the text); either pseudo character may also be left out.
//
// Literals first. When every match holds a run of literal characters (TRELiterals), a line
// in which that run stands at no character start has no match, and most lines end there.
// When every match begins with such a run, the candidate starts are where it stands. The run
// is found by its first and last byte, 16 places at a time (FindLiteral); a hit that starts
// on a trail byte is no hit (StartsCharacter).
//
// The obvious search runs the forward automaton from each candidate start in turn until the
// automaton dies, and stops at the first start that gives a match. Other candidates are found by
// a table of the bytes that can begin a match (or memchr when only one can). This is the fastest
// search on ordinary lines, where walks die after a character or two, but it reads the text
// once per start when walks run far and fail (".*Z" on a line without Z), which is quadratic.
//
// So the walks have a budget: together they may read twice the text's length plus 64 bytes,
// and the forward automaton may not drop its built states meanwhile (a pattern whose states
// the text keeps building anew makes every byte of a walk cost a build). When a search
// overspends it, every start before the current candidate is known to fail, and the linear
// search takes over from that candidate:
//   1. The reverse automaton (REDFA.h) reads the text from its end back to the candidate,
//      character by character (the character before a known character start is found from
//      the parity of the run of lead-range bytes before it; see TBackCursor). After reading
//      back to a character start p it accepts exactly when some match starts at p, so the last
//      accepting position it passes is the leftmost start.
//   2. One forward walk from that start, as above, gives the longest match.
// The restarting walks read at most 3n + 64 bytes (a walk begun within the budget may end past
// it), the reverse pass n characters and the last walk n more, and each automaton builds at
// most one state per character, in bounded memory: the whole search is linear in the text for
// every pattern that compiles, and the results are those of the restarting search (the tests
// run both against a plain reference matcher).
#include "REDFA.h"
#include "REPreProcessor.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon {

class TRegularExpression {
public:
    static constexpr int CacheCapacity = 30;

    TRegularExpression();
    virtual ~TRegularExpression() = default;

    const std::string& RegExp() const { return FRegExp; }
    // Compiles the pattern, or finds it in the cache; raises ERegExpParser for a bad pattern,
    // after which RegExp is empty and the empty pattern is in use.
    virtual void SetRegExp(const std::string& Value);

    bool UseFuzzyCharDic() const { return FPreProcessor.UseFuzzyCharDic; }
    void SetUseFuzzyCharDic(bool Value);
    bool UseSynonymDic() const { return FPreProcessor.UseSynonymDic; }
    void SetUseSynonymDic(bool Value);

    // The automaton of the current cache entry.
    const TRE_DFA& DFA() const { return *FCache[FCacheIndex].second; }
    bool HasLineHead() const { return DFA().HasLineHead(); }
    bool HasLineTail() const { return DFA().HasLineTail(); }

    // Where the automata of every cached pattern keep their built states.
    const TRE_StateMemory& StateMemory() const { return FStateMemory; }

    int CacheCount() const { return static_cast<int>(FCache.size()); }
    const std::string& CacheString(int Index) const { return FCache[Index].first; }
    int CacheIndex() const { return FCacheIndex; }

protected:
    // Builds the automaton of Pattern into the current cache entry.
    virtual void Compile(const std::string& Pattern);
    virtual TREChar GetLineHeadChar() const { return RE_LineHeadChar; }
    virtual TREChar GetLineTailChar() const { return RE_LineTailChar; }
    TREPreProcessor& PreProcessor() { return FPreProcessor; }

private:
    void Lookup(const std::string& Processed);

    std::string FRegExp;          // the pattern as written, before expansion
    TRE_StateMemory FStateMemory; // outlives the cache's automata
    std::vector<std::pair<std::string, std::unique_ptr<TRE_DFA>>> FCache;
    int FCacheIndex = 0; // always an entry with a complete automaton
    TREPreProcessor FPreProcessor;
};

enum TMatchCORE_LineSeparator { mcls_CRLF, mcls_LF };

class TMatchCORE : public TRegularExpression {
public:
    TMatchCORE() = default;

    TMatchCORE_LineSeparator LineSeparator = mcls_CRLF;

    int NextState(int State, TREChar C) const { return DFA().NextState(State, C); }
    bool IsLineSeparatorChar(TREChar C) const { return C == SeparatorByte(); }

    // Leftmost-longest search. On a match Start and End are the byte offsets of the match and
    // of the byte after it, and the result is true.
    // MatchPlain ignores anchors; MatchAnchored takes "^" at the start of the text and after
    // every LF, and "$" before the separator and at the end; MatchScan is MatchAnchored
    // without the start of the text being a line head.
    // Before: only a match that starts before this offset is sought (its walk may read on past it);
    // the answer is exact for those, and otherwise none or some match at or after Before. The
    // search then reads the text after Before only as far as the walks from before it do.
    bool MatchPlain(std::string_view Text, size_t& Start, size_t& End, size_t Before = std::string_view::npos) const;
    bool MatchAnchored(std::string_view Text, size_t& Start, size_t& End, size_t Before = std::string_view::npos) const;
    bool MatchScan(std::string_view Text, size_t& Start, size_t& End, size_t Before = std::string_view::npos) const;
    // How far the last of these searches read: every byte of its answer's making lies before this
    // offset of its text; the text's length when it read up to the end (the end, or the first NUL,
    // decides as much as a byte does). The same search of a longer text that starts alike answers
    // alike when this is below the shorter one's length.
    size_t ReadEnd() const { return static_cast<size_t>(FReadTo - FReadFrom); }
    // How far the walks read that found no match before the last answer's start: that start stays
    // the leftmost while the text changes only from this offset on.
    size_t PassedEnd() const { return static_cast<size_t>(FPassedTo - FReadFrom); }

protected:
    // The linear search alone, without first restarting the automaton at each candidate start.
    bool LinearOnly = false;

private:
    using TPos = const unsigned char*;
    class TBudget;
    unsigned char SeparatorByte() const { return LineSeparator == mcls_LF ? '\n' : '\r'; }
    // False when the literal that every match holds stands nowhere in Text; not looked for when only
    // matches that start before Before are sought (their literal may stand past the text's end).
    bool MayMatch(std::string_view Text, size_t Before) const;
    TPos MatchFrom(TPos P, TPos End, int State, TBudget& Budget) const;
    TPos MatchAtHead(TPos P, TPos End, TBudget& Budget) const;
    bool ScanFrom(TPos Begin, TPos End, size_t Before, bool BeginIsHead, TBudget& Budget, size_t& Start,
                  size_t& Finish) const;
    TPos LeftmostStart(TPos Begin, TPos From, TPos End, bool BeginIsHead) const;
    bool LinearSearch(TPos Begin, TPos From, TPos End, bool BeginIsHead, size_t& Start, size_t& Finish) const;
    // Starts the record of how far a search of the text reads, and bounds the text at its first NUL.
    std::pair<TPos, TPos> StartReading(std::string_view Text) const;
    void Reached(TPos P) const {
        if (P > FReadTo) FReadTo = P;
    }
    // A walk that ended at Q read the bytes before it; one stopped by a lead byte that ends the text
    // read the end.
    void ReachedWalk(TPos Q, TPos End) const;
    // The answer starts at a candidate whose walks began when the walks had read up to Before.
    bool FoundAfter(TPos Before, TPos Begin, TPos From, TPos To, size_t& Start, size_t& End) const;

    mutable TPos FReadFrom = nullptr, FReadTo = nullptr; // what the last search read: [FReadFrom, FReadTo)
    mutable TPos FWalkTo = nullptr;                      // the furthest that a walk of the last search read
    mutable TPos FPassedTo = nullptr;                    // what the walks before the answer's start read
};

class TLineRegExp : public TMatchCORE {
public:
    TLineRegExp();

    void SetRegExp(const std::string& Value) override;

    // The leftmost-longest match in Str: Pos its 1-based byte position and Len its length
    // (an empty match has Len 0); Pos and Len are 0 without a match. Returns Pos.
    int Match(std::string_view Str, int& Pos, int& Len) const;

protected:
    using TMatchProc = bool (TMatchCORE::*)(std::string_view, size_t&, size_t&, size_t) const;
    TMatchProc MatchProc() const { return FMatchProc; }

private:
    void ChooseMatchProc(); // the routine of the current automaton

    TMatchProc FMatchProc = &TMatchCORE::MatchPlain;
};

} // namespace quillon
