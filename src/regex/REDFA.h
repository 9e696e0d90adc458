#pragma once
// The deterministic automaton of a pattern, complete before the first search.
//
// Alphabet. The character codes of the NFA's transitions cut the code space 0..0xFFFF into
// elementary intervals: between two consecutive range boundaries every code is read by exactly
// the same transitions. Each interval that some range covers becomes a character class; every
// code that no range covers falls into class 0, which has no transition anywhere. Classes 1 and
// 2 are the line-head and line-tail pseudo characters. The parser's leaves are disjoint, so most
// classes are leaves; literal "^" and "$" may cut a leaf further, and grouping by class (rather
// than by identical range) keeps such overlaps correct.
//
// Construction. Subset construction over classes: a DFA state is the empty closure of a set of
// NFA states (a bit set); its move on a class is the closure of the targets of every NFA
// transition whose range holds the class. Sets are looked up through a hash of their bits. The
// states are numbered in the order they are found (breadth first from the initial state 0). The
// number of states and the memory of sets and transition rows are bounded; past the bound the
// construction stops with ERegExpParser rather than run away on an exponential pattern.
//
// Matching tables. After construction the sets are dropped. What remains is one row of
// ClassCount targets per state (-1: no transition), an accepting flag per state, and a two-level
// map from a code to its class: a row of 256 classes per high byte, rows shared between high
// bytes that read alike. Reading a character therefore costs two table loads and stepping a
// state one more; the end of the text reads as class 0, so no transition is ever taken there.
//
// The reverse automaton. The forward automaton above is anchored: it tells how far a match that
// starts at a given position reaches. Which position is the leftmost start is asked of a second
// automaton that reads the text backwards from its end (TRE_ReverseDFA below): its NFA is the
// pattern's NFA with every transition turned round, entered at the old exit and accepting at
// the old entry, and at every character start the old exit is entered afresh, so after reading
// the text from its end back to a position p its state holds every NFA state from which some
// match that starts at p could continue to an end at or after p. Its states are built lazily,
// the first time the search needs them, because the unanchored reverse automaton can be far
// larger than the forward one (the pattern (a|b)(a|b)...(a|b)a read backwards is the classic
// exponential case); the built states are kept between searches, and when they pass a bound
// they are all dropped and built again as needed, so a search never stops on the pattern's size
// and never costs more than the NFA's size per character.
#include "RENFA.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

// Reads a text backwards and tells where matches can start. Pseudo characters: a line tail is
// read at a position as an extra step (its state keeps every NFA state it had and adds those
// that the old exit reaches by the line tail, for a match that ends there); a line head is not
// read but asked for (HeadAccepts: a match starts here if a line head stands here).
class TRE_ReverseDFA {
public:
    static constexpr int MaxStates = 2000;               // built states kept before they are dropped
    static constexpr size_t MaxBytes = size_t{16} << 20; // their sets and rows

    struct TMove {
        int FirstClass;
        int LastClass;
        int Target;
    };
    // Moves[s] and EmptyTargets[s]: the turned-round transitions of NFA state s (classes of the
    // forward automaton); TailTargets: the states that reach the old exit by a line tail;
    // HeadStates: those that the old entry reaches by a line head.
    TRE_ReverseDFA(int ClassCount, int Entry, int Exit, std::vector<std::vector<TMove>> Moves,
                   std::vector<std::vector<int>> EmptyTargets, std::vector<int> TailTargets,
                   std::vector<int> HeadStates);

    // The state before anything has been read (the end of the text, before its line tail).
    int InitialState() const { return 0; }
    // The state after reading the character of the class, or the line tail (LineTailClass),
    // backwards from State; built and kept the first time it is asked for.
    int Step(int State, int Class) const {
        const int t = FTrans[static_cast<size_t>(State) * FClassCount + Class];
        return t >= 0 ? t : Build(State, Class);
    }
    // A match starts here: without a line head, or when a line head stands here.
    bool Accepting(int State) const { return FFlags[State] & 1; }
    bool HeadAccepts(int State) const { return FFlags[State] & 2; }

private:
    int Build(int State, int Class) const;
    void Close() const;   // closes FScratch under the empty transitions
    int Register() const; // the state of the closed set FScratch
    void Reset() const;   // drops every built state and registers the initial one

    int FClassCount;
    int FEntry; // the old exit
    int FExit;  // the old entry
    size_t FWords;
    std::vector<std::vector<TMove>> FMoves;
    std::vector<std::vector<int>> FEmptyTargets;
    std::vector<int> FTailTargets;
    std::vector<std::uint8_t> FIsHeadState;
    // The built states: a cache, so searching through a const automaton may add to it.
    mutable std::vector<std::uint64_t> FSets; // set of state k at k * FWords
    mutable std::vector<std::uint64_t> FHashes;
    mutable std::vector<std::int32_t> FSlots; // open addressing by set; -1 free
    mutable std::vector<std::int32_t> FTrans; // rows of FClassCount targets; -1 not built yet
    mutable std::vector<std::uint8_t> FFlags; // 1 accepting, 2 accepting after a line head
    mutable std::vector<std::uint64_t> FScratch;
    mutable std::vector<int> FStack;
};

class TRE_DFA {
public:
    static constexpr int MaxStates = 10000;
    static constexpr size_t MaxBytes = size_t{32} << 20; // sets and transition rows while building

    static constexpr int NoClass = 0;
    static constexpr int LineHeadClass = 1;
    static constexpr int LineTailClass = 2;

    explicit TRE_DFA(const TRE_NFA& NFA) : FNFA(&NFA) {}

    // Builds every state; raises ERegExpParser past the bound.
    void Run();

    int InitialState() const { return 0; }
    int StateCount() const { return static_cast<int>(FAccepting.size()); }
    int ClassCount() const { return FClassCount; }
    bool HasLineHead() const { return FHasLineHead; }
    bool HasLineTail() const { return FHasLineTail; }
    bool Accepting(int State) const { return FAccepting[State] != 0; }
    // The state reached from State on the character code or pseudo character C; -1 for none.
    int NextState(int State, TREChar C) const { return Move(State, ClassOf(C)); }
    int ClassOf(TREChar C) const;

    int Move(int State, int Class) const { return FTrans[static_cast<size_t>(State) * FClassCount + Class]; }
    // True when a line tail at the current position completes a match from State.
    bool TailAccepts(int State) const { return FTailAccepts[State] != 0; }

    // The class of the character of Length bytes (1 or 2) at P.
    int ClassAt(const unsigned char* P, int Length) const {
        return Length == 2 ? FRows[FRowBase[P[0]] + P[1]] : FRows[FRowBase[0] + P[0]];
    }
    const TRE_ReverseDFA& Reverse() const { return *FReverse; }
    // Literal text that begins, or stands in, every match.
    const TRELiterals& Literals() const { return FLiterals; }

    // Reads the character at P and moves P past it. The end of the text, and a lead byte
    // without its trail byte before the end, read as NoClass without moving.
    int ReadClass(const unsigned char*& P, const unsigned char* End) const {
        if (P == End) return NoClass;
        const unsigned b = *P;
        if (FIsLead[b]) {
            if (P + 1 == End) return NoClass;
            const int c = FRows[FRowBase[b] + P[1]];
            P += 2;
            return c;
        }
        ++P;
        return FRows[FRowBase[0] + b];
    }

    // Bytes that can begin a match read from the initial state (every byte when the initial
    // state accepts), and the one byte when only one can.
    struct TStartBytes {
        static constexpr int Several = -1;
        static constexpr int None = -2;
        std::array<bool, 256> Can{};
        int Only = Several;
    };
    const TStartBytes& StartBytes() const { return FStartBytes; }
    // The same, widened for the anchored scan with the given separator byte: an LF before a
    // line head, the separator and a closing lone lead byte before a line tail.
    const TStartBytes& ScanStartBytes(unsigned char Separator) const {
        return FScanStartBytes[Separator == '\n' ? 1 : 0];
    }

private:
    struct TBuild;

    void MakeClasses(TBuild& B);
    void MakeClassRows(TBuild& B);
    void MakeStartBytes(const TBuild& B);
    void MakeReverse(const TBuild& B);
    int Register(TBuild& B);
    void Explore(TBuild& B, int State);

    const TRE_NFA* FNFA; // valid during Run only
    bool FHasLineHead = false;
    bool FHasLineTail = false;
    TREChar FLineHeadChar = RE_LineHeadChar;
    TREChar FLineTailChar = RE_LineTailChar;
    int FClassCount = 3;
    std::vector<std::int32_t> FTrans; // StateCount rows of ClassCount targets
    std::vector<std::uint8_t> FAccepting;
    std::vector<std::uint8_t> FTailAccepts;
    std::array<std::uint32_t, 256> FRowBase{}; // high byte -> offset of its row in FRows
    std::vector<std::uint16_t> FRows;
    std::array<bool, 256> FIsLead{};
    TStartBytes FStartBytes;
    std::array<TStartBytes, 2> FScanStartBytes; // separator CR, separator LF
    std::unique_ptr<TRE_ReverseDFA> FReverse;
    TRELiterals FLiterals;
};

} // namespace quillon
