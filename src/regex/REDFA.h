#pragma once
// The automata of a pattern, built on demand while it is searched.
//
// Alphabet. The character codes of the NFA's transitions cut the code space 0..0xFFFF into
// elementary intervals: between two consecutive range boundaries every code is read by exactly
// the same transitions. Each interval that some range covers becomes a character class; every
// code that no range covers falls into class 0, which has no transition anywhere. Classes 1 and
// 2 are the line-head and line-tail pseudo characters. Transitions may overlap (a range that
// the parser split into pieces stays one transition, literal "^" and "$" cut others): a
// transition covers a span of classes, and a move reads every transition whose span holds the
// class.
//
// Subset construction on demand (TRE_LazyDFA). A DFA state is the empty closure of a set of
// NFA states (a bit set), found again through a hash of its bits; its move on a class is the
// closure of the targets of every NFA transition whose span holds the class. A state's row of
// targets starts unknown and each entry is built the first time a search asks for it, so a
// pattern whose complete automaton would be exponential (the pattern (a|b)*a(a|b)(a|b)...(a|b)
// remembers where the last a's stood) costs only the states that the texts reach. Building one
// entry costs at most the NFA's size, so a search costs at most that per character and never
// stops on the pattern's size.
//
// Memory. The built states are kept between searches, in tables that hold room for a number of
// states (the room doubles as states are added). What the tables take is counted by their
// capacity (Bytes), and bounded twice:
//   - per automaton: room for at most MaxStates states in at most MaxBytes. A state that finds
//     no room drops every built state (a flush) but keeps the room, which the states built
//     again as needed fill at once; the number of flushes tells a search that the automaton
//     thrashes (LineRegExp.h).
//   - per group: every automaton belongs to one TRE_StateMemory, shared by the automata of all
//     the patterns that one search object keeps compiled, whose tables together take at most
//     its Bound (twice MaxBytes: room for both automata of the pattern in use). An automaton
//     that needs more room first flushes the others of the group, least recently used first
//     (both automata of a pattern are used when it becomes the one searched), and these give
//     their tables' memory back, keeping the initial state alone in room for two states; when
//     that is not enough, it flushes itself.
// So a group takes more than its Bound only when those small rooms alone pass it, and memory
// stays bounded however many patterns a search object has cached and however long it lives.
//
// Matching tables. What a search reads is one row of ClassCount targets per built state
// (-1: no transition, Unbuilt: not built yet), two flags per state, and a two-level map from a
// code to its class: a row of 256 classes per high byte, rows shared between high bytes that
// read alike. Reading a character therefore costs two table loads and stepping a state one
// more; the end of the text reads as class 0, so no transition is ever taken there.
//
// The forward automaton is anchored: it tells how far a match that starts at a given position
// reaches. Which position is the leftmost start is asked of the reverse automaton, which reads
// the text backwards from its end: its NFA is the pattern's NFA with every transition turned
// round, entered at the old exit and accepting at the old entry, and at every character start
// the old exit is entered afresh (the restart state), so after reading the text from its end
// back to a position p its state holds every NFA state from which some match that starts at p
// could continue to an end at or after p.
#include "RENFA.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace quillon {

class TRE_StateMemory;

// A deterministic automaton built on demand from an NFA over character classes.
class TRE_LazyDFA {
public:
    static constexpr int MaxStates = 1 << 16;            // built states kept before they are dropped
    static constexpr size_t MaxBytes = size_t{16} << 20; // the tables that hold them
    static constexpr std::int32_t Unbuilt = -2;

    struct TMove {
        int FirstClass;
        int LastClass;
        int Target;
    };
    // The NFA as the automaton reads it. Flags are per NFA state; a DFA state has every flag
    // of the NFA states in its set (1: accepting, 2: accepting when the anchor stands here).
    struct TNFA {
        std::vector<std::vector<TMove>> Moves;
        std::vector<std::vector<int>> EmptyTargets;
        std::vector<std::uint8_t> Flags;
        int Start = 0;      // the initial state is its closure
        int Restart = -1;   // entered afresh after every character read, or -1
        int KeepClass = -1; // a class whose move keeps the states it had (and adds its targets), or -1
    };

    // Joins Memory, which must outlive the automaton.
    TRE_LazyDFA(int ClassCount, TNFA NFA, TRE_StateMemory& Memory);
    ~TRE_LazyDFA();
    TRE_LazyDFA(const TRE_LazyDFA&) = delete;
    TRE_LazyDFA& operator=(const TRE_LazyDFA&) = delete;

    int InitialState() const { return 0; }
    // The state after reading the character of the class from State, -1 when no NFA state
    // survives; built and kept the first time it is asked for. A build may drop every other
    // state: a caller keeps no state but the one it steps from (and the initial one).
    int Step(int State, int Class) const {
        const std::int32_t t = FTrans[static_cast<size_t>(State) * FClassCount + Class];
        return t != Unbuilt ? t : Build(State, Class);
    }
    // The target if it is built: Unbuilt when Build must make it.
    int Known(int State, int Class) const { return FTrans[static_cast<size_t>(State) * FClassCount + Class]; }
    int Build(int State, int Class) const;
    bool Accepting(int State) const { return FFlags[State] & 1; }
    bool AnchorAccepts(int State) const { return FFlags[State] & 2; }
    // The classes on which State has a move, without building their targets.
    std::vector<std::uint8_t> LiveClasses(int State) const;
    int StateCount() const { return static_cast<int>(FHashes.size()); }
    // How often the built states were dropped since the automaton was made.
    int Flushes() const { return FFlushes; }
    // Drops every built state but the initial one and gives the memory of the tables back.
    void Flush() const;
    // The memory that the built states take: the capacity of every table kept per state.
    size_t Bytes() const;

private:
    friend class TRE_StateMemory;
    static constexpr int FirstRoom = 2; // the initial state and one more

    void Push(int S) const; // adds S to FScratch, and to FStack when it is new there
    void Close() const;     // closes FScratch under the empty transitions from the states on FStack
    int Register() const;   // the state of the closed set FScratch, -1 for the empty set
    // Drops every built state, giving the memory of the tables back or keeping their room, and
    // registers the initial state.
    void Reset(bool GiveBack) const;
    // Makes room for twice the states, within both bounds; false when the built states must be
    // dropped instead. The first room is always made.
    bool Grow() const;
    size_t StateBytes() const;       // what one state takes in the tables but the slots
    size_t BytesFor(int Room) const; // what the tables take with room for Room states
    const std::uint64_t* SetOf(int State) const { return FSets.data() + static_cast<size_t>(State) * FWords; }

    int FClassCount;
    size_t FWords;
    TNFA FNFA;
    TRE_StateMemory* FMemory;
    int FMaxRoom; // the most states that MaxStates and MaxBytes allow room for
    // The built states: a cache, so searching through a const automaton may add to it.
    mutable int FRoom = 0;                    // states that the tables have room for; StateCount() <= FRoom
    mutable std::vector<std::uint64_t> FSets; // set of state k at k * FWords
    mutable std::vector<std::uint64_t> FHashes;
    mutable std::vector<std::int32_t> FSlots; // open addressing by set, at least twice FRoom; -1 free
    mutable std::vector<std::int32_t> FTrans; // rows of FClassCount targets
    mutable std::vector<std::uint8_t> FFlags;
    mutable std::vector<std::uint64_t> FScratch;
    mutable std::vector<int> FStack;
    mutable int FFlushes = 0;
    mutable std::uint64_t FLastUse = 0; // when its pattern last became the one searched
};

// The memory that the built states of a group of automata share: those of every pattern that
// one search object keeps compiled. Bytes is the sum of the members' Bytes.
class TRE_StateMemory {
public:
    static constexpr size_t Bound = 2 * TRE_LazyDFA::MaxBytes; // both automata of one pattern fit

    TRE_StateMemory() = default;
    TRE_StateMemory(const TRE_StateMemory&) = delete;
    TRE_StateMemory& operator=(const TRE_StateMemory&) = delete;

    size_t Bytes() const { return FBytes; }
    // Marks the automaton as the most recently used of the group.
    void Use(const TRE_LazyDFA& Member) { Member.FLastUse = ++FClock; }

private:
    friend class TRE_LazyDFA;
    void Join(const TRE_LazyDFA& Member);
    void Leave(const TRE_LazyDFA& Member);
    void Resized(size_t Before, size_t After) { FBytes = FBytes - Before + After; }
    // Flushes other members, least recently used first, until Extra more bytes fit within the
    // bound; false when they do not fit even then.
    bool MakeRoom(const TRE_LazyDFA& Grower, size_t Extra);

    std::vector<const TRE_LazyDFA*> FMembers;
    size_t FBytes = 0;
    std::uint64_t FClock = 0;
};

class TRE_DFA {
public:
    static constexpr int NoClass = 0;
    static constexpr int LineHeadClass = 1;
    static constexpr int LineTailClass = 2;

    // The automata's states will be kept in Memory, which must outlive them.
    TRE_DFA(const TRE_NFA& NFA, TRE_StateMemory& Memory) : FNFA(&NFA), FMemory(&Memory) {}

    // Makes the classes, the tables of the initial state and the two automata, whose states
    // are then built as the searches need them.
    void Run();

    int InitialState() const { return FForward->InitialState(); }
    int ClassCount() const { return FClassCount; }
    bool HasLineHead() const { return FHasLineHead; }
    bool HasLineTail() const { return FHasLineTail; }
    bool Accepting(int State) const { return FForward->Accepting(State); }
    // The state reached from State on the character code or pseudo character C; -1 for none.
    int NextState(int State, TREChar C) const { return Move(State, ClassOf(C)); }
    int ClassOf(TREChar C) const;

    // The state reached from State on the class, -1 for none; see TRE_LazyDFA::Step for the
    // states a caller may keep.
    int Move(int State, int Class) const { return FForward->Step(State, Class); }
    // True when a line tail at the current position completes a match from State.
    bool TailAccepts(int State) const { return FForward->AnchorAccepts(State); }
    const TRE_LazyDFA& Forward() const { return *FForward; }
    // Marks both automata as the most recently used of their memory's group.
    void Use() const {
        FMemory->Use(*FForward);
        FMemory->Use(*FReverse);
    }

    // Steps from State over the characters from P until no state follows, calling Visit(S, Q)
    // for every state S reached at the position Q; returns the position after the character
    // that ended the walk (End at the end of the text). Between builds the walk runs in an
    // inner loop that calls nothing, so the tables stay in registers.
    template <class TVisit>
    const unsigned char* Walk(int State, const unsigned char* P, const unsigned char* End, TVisit&& Visit) const {
        const TRE_LazyDFA& forward = *FForward;
        for (int s = State; s >= 0;) {
            int c;
            int t;
            for (;;) {
                Visit(s, P);
                c = ReadClass(P, End);
                t = forward.Known(s, c);
                if (t < 0) break;
                s = t;
            }
            s = t == TRE_LazyDFA::Unbuilt ? forward.Build(s, c) : -1;
        }
        return P;
    }

    // The class of the character of Length bytes (1 or 2) at P.
    int ClassAt(const unsigned char* P, int Length) const {
        return Length == 2 ? FRows[FRowBase[P[0]] + P[1]] : FRows[FRowBase[0] + P[0]];
    }
    // Reads backwards: accepting after reading back to a character start where a match starts,
    // AnchorAccepts where one starts if a line head stands there.
    const TRE_LazyDFA& Reverse() const { return *FReverse; }
    // Literal text that begins, or stands in, every match.
    const TRELiterals& Literals() const { return FLiterals; }
    // The most bytes that a match can span, -1 when a loop leaves it unbounded.
    int MaxMatchBytes() const { return FMaxMatchBytes; }

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
    void MakeAutomata(TBuild& B);
    void MakeStartBytes(const TBuild& B);

    const TRE_NFA* FNFA; // valid during Run only
    TRE_StateMemory* FMemory;
    bool FHasLineHead = false;
    bool FHasLineTail = false;
    TREChar FLineHeadChar = RE_LineHeadChar;
    TREChar FLineTailChar = RE_LineTailChar;
    int FClassCount = 3;
    std::optional<TRE_LazyDFA> FForward;
    std::optional<TRE_LazyDFA> FReverse;
    std::array<std::uint32_t, 256> FRowBase{}; // high byte -> offset of its row in FRows
    std::vector<std::uint16_t> FRows;
    std::array<bool, 256> FIsLead{};
    TStartBytes FStartBytes;
    std::array<TStartBytes, 2> FScanStartBytes; // separator CR, separator LF
    TRELiterals FLiterals;
    int FMaxMatchBytes = -1;
};

} // namespace quillon
