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
#include "RENFA.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quillon {

class TRE_DFA {
public:
    static constexpr int MaxStates = 10000;
    static constexpr size_t MaxBytes = size_t{32} << 20;  // sets and transition rows while building

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
    int Register(TBuild& B);
    void Explore(TBuild& B, int State);

    const TRE_NFA* FNFA;  // valid during Run only
    bool FHasLineHead = false;
    bool FHasLineTail = false;
    TREChar FLineHeadChar = RE_LineHeadChar;
    TREChar FLineTailChar = RE_LineTailChar;
    int FClassCount = 3;
    std::vector<std::int32_t> FTrans;       // StateCount rows of ClassCount targets
    std::vector<std::uint8_t> FAccepting;
    std::vector<std::uint8_t> FTailAccepts;
    std::array<std::uint32_t, 256> FRowBase{};  // high byte -> offset of its row in FRows
    std::vector<std::uint16_t> FRows;
    std::array<bool, 256> FIsLead{};
    TStartBytes FStartBytes;
    std::array<TStartBytes, 2> FScanStartBytes;  // separator CR, separator LF
};

} // namespace quillon
