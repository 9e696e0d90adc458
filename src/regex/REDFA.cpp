#include "REDFA.h"

#include "Cp932.h"

#include <algorithm>

namespace quillon {
namespace {

constexpr TREChar CodeLimit = RE_MaxChar + 1;

} // namespace

// Working data of the subset construction, dropped when it ends.
struct TRE_DFA::TBuild {
    struct TMove {
        int FirstClass;
        int LastClass;
        int Target;
    };

    explicit TBuild(const TRE_NFA& NFA)
        : NFA(NFA), Words((static_cast<size_t>(NFA.StateCount()) + 63) / 64), Scratch(Words), Moves(NFA.StateCount()),
          EmptyTargets(NFA.StateCount()), ErrorPos(static_cast<int>(NFA.Parser().Pattern().size()) + 1) {}

    bool Has(const std::uint64_t* set, int s) const { return (set[s / 64] >> (s % 64)) & 1; }

    const TRE_NFA& NFA;
    size_t Words;                       // 64-bit words of one NFA state set
    std::vector<std::uint64_t> Sets;    // the set of DFA state k at k * Words
    std::vector<std::uint64_t> Hashes;  // hash of each DFA state's set
    std::vector<std::int32_t> Slots;    // open-addressing table of DFA states by set; -1 free
    std::vector<std::uint64_t> Scratch; // the set being built
    std::vector<int> Stack;
    std::vector<std::vector<TMove>> Moves;              // per NFA state: its reading transitions as class spans
    std::vector<std::vector<int>> EmptyTargets;         // per NFA state: targets of its empty transitions
    std::vector<std::vector<int>> Targets;              // per class: targets reached by the state being explored
    std::vector<int> Touched;                           // classes whose Targets are not empty
    std::vector<TREChar> Bounds;                        // sorted interval starts; the last one ends the last interval
    std::vector<std::uint16_t> IntervalClass;           // class of Bounds[k] .. Bounds[k + 1] - 1
    std::vector<std::vector<std::uint16_t>> RowClasses; // the classes that occur in each class row
    size_t Bytes = 0;
    int ErrorPos;
};

void TRE_DFA::Run() {
    const TRE_NFA& nfa = *FNFA;
    FHasLineHead = nfa.HasLineHead();
    FHasLineTail = nfa.HasLineTail();
    FLineHeadChar = nfa.LineHeadChar();
    FLineTailChar = nfa.LineTailChar();
    FTrans.clear();
    FAccepting.clear();
    TBuild b(nfa);
    MakeClasses(b);
    MakeClassRows(b);
    b.Targets.resize(FClassCount);
    b.Slots.assign(64, -1);
    b.Stack.push_back(nfa.EntryState());
    Register(b);
    for (int state = 0; state < StateCount(); ++state) Explore(b, state);
    FTailAccepts.resize(FAccepting.size());
    for (int s = 0; s < StateCount(); ++s) {
        const int t = Move(s, LineTailClass);
        FTailAccepts[s] = t >= 0 && Accepting(t);
    }
    MakeStartBytes(b);
    MakeReverse(b);
    FLiterals = nfa.Parser().ParseTree().Literals();
    FNFA = nullptr;
}

// Cuts the code space at every range boundary of the NFA and numbers the covered intervals.
void TRE_DFA::MakeClasses(TBuild& B) {
    const TRE_NFA& nfa = B.NFA;
    auto isCode = [](const TRE_NFATransition& t) { return t.Start >= 0 && t.Start <= RE_MaxChar; };
    for (int s = 0; s < nfa.StateCount(); ++s)
        for (const TRE_NFATransition& t : nfa.Transitions(s))
            if (isCode(t)) {
                B.Bounds.push_back(t.Start);
                B.Bounds.push_back(std::min(t.End, RE_MaxChar) + 1);
            }
    std::sort(B.Bounds.begin(), B.Bounds.end());
    B.Bounds.erase(std::unique(B.Bounds.begin(), B.Bounds.end()), B.Bounds.end());
    auto interval = [&B](TREChar c) {
        return static_cast<size_t>(std::lower_bound(B.Bounds.begin(), B.Bounds.end(), c) - B.Bounds.begin());
    };
    // Coverage by a difference count over the intervals.
    std::vector<int> cover(B.Bounds.size() + 1, 0);
    for (int s = 0; s < nfa.StateCount(); ++s)
        for (const TRE_NFATransition& t : nfa.Transitions(s))
            if (isCode(t)) {
                ++cover[interval(t.Start)];
                --cover[interval(std::min(t.End, RE_MaxChar) + 1)];
            }
    B.IntervalClass.assign(B.Bounds.size(), NoClass);
    FClassCount = 3;
    int depth = 0;
    for (size_t k = 0; k + 1 < B.Bounds.size(); ++k) {
        depth += cover[k];
        if (depth > 0) B.IntervalClass[k] = static_cast<std::uint16_t>(FClassCount++);
        if (FClassCount > 0xFFFF) throw ERegExpParser(RE_MsgTooComplex, B.ErrorPos); // classes are 16-bit
    }
    for (int s = 0; s < nfa.StateCount(); ++s) {
        for (const TRE_NFATransition& t : nfa.Transitions(s)) {
            if (t.Start == RE_EmptyChar) {
                B.EmptyTargets[s].push_back(t.Target);
            } else if (isCode(t)) {
                const int first = B.IntervalClass[interval(t.Start)];
                const int last = B.IntervalClass[interval(std::min(t.End, RE_MaxChar) + 1) - 1];
                B.Moves[s].push_back({first, last, t.Target});
            } else if (t.Start == nfa.LineHeadChar()) {
                B.Moves[s].push_back({LineHeadClass, LineHeadClass, t.Target});
            } else if (t.Start == nfa.LineTailChar()) {
                B.Moves[s].push_back({LineTailClass, LineTailClass, t.Target});
            }
        }
    }
}

// One row of 256 classes per high byte of a code; a high byte whose codes all lie in one
// interval shares the uniform row of that interval's class. Rows are filled a segment (the part
// of an interval within the row) at a time; the classes of each row are kept for the start bytes.
void TRE_DFA::MakeClassRows(TBuild& B) {
    const std::vector<TREChar>& bounds = B.Bounds;
    const size_t n = bounds.size();
    std::vector<int> uniformRow(FClassCount, -1);
    FRows.clear();
    B.RowClasses.clear();
    size_t k = 0; // bounds[k] is the first bound above the code being classed
    auto classHere = [&] { return static_cast<std::uint16_t>(k == 0 ? NoClass : B.IntervalClass[k - 1]); };
    for (int high = 0; high < 256; ++high) {
        const TREChar base = high * 256;
        const TREChar last = base + 255;
        while (k < n && bounds[k] <= base) ++k;
        int row;
        if (k == n || bounds[k] > last) {
            const std::uint16_t c = classHere();
            if (uniformRow[c] < 0) {
                uniformRow[c] = static_cast<int>(B.RowClasses.size());
                FRows.insert(FRows.end(), 256, c);
                B.RowClasses.push_back({c});
            }
            row = uniformRow[c];
        } else {
            row = static_cast<int>(B.RowClasses.size());
            B.RowClasses.emplace_back();
            for (TREChar from = base; from <= last;) {
                const std::uint16_t c = classHere();
                const TREChar to = k < n ? std::min(bounds[k] - 1, last) : last;
                FRows.insert(FRows.end(), static_cast<size_t>(to - from + 1), c);
                B.RowClasses.back().push_back(c);
                from = to + 1;
                while (k < n && bounds[k] <= from) ++k;
            }
        }
        FRowBase[high] = static_cast<std::uint32_t>(row) * 256;
        FIsLead[high] = IsLeadByte(static_cast<unsigned char>(high));
    }
}

int TRE_DFA::ClassOf(TREChar C) const {
    if (C >= 0 && C <= RE_MaxChar) return FRows[FRowBase[C >> 8] + (C & 0xFF)];
    if (C == FLineHeadChar) return LineHeadClass;
    if (C == FLineTailChar) return LineTailClass;
    return NoClass;
}

// Registers the closure of the NFA states on B.Stack, gives its DFA state, and leaves
// B.Scratch empty again.
int TRE_DFA::Register(TBuild& B) {
    std::uint64_t* set = B.Scratch.data();
    std::fill(B.Scratch.begin(), B.Scratch.end(), 0);
    for (int s : B.Stack) set[s / 64] |= std::uint64_t{1} << (s % 64);
    while (!B.Stack.empty()) {
        const int s = B.Stack.back();
        B.Stack.pop_back();
        for (int t : B.EmptyTargets[s]) {
            if (B.Has(set, t)) continue;
            set[t / 64] |= std::uint64_t{1} << (t % 64);
            B.Stack.push_back(t);
        }
    }
    std::uint64_t hash = 0x9E3779B97F4A7C15ull;
    for (size_t w = 0; w < B.Words; ++w) hash = (hash ^ set[w]) * 0x100000001B3ull + (hash >> 29);
    const size_t mask = B.Slots.size() - 1;
    size_t slot = hash & mask;
    for (; B.Slots[slot] >= 0; slot = (slot + 1) & mask) {
        const int d = B.Slots[slot];
        if (B.Hashes[d] == hash && std::equal(set, set + B.Words, B.Sets.data() + d * B.Words)) return d;
    }
    const int id = StateCount();
    B.Bytes += B.Words * 8 + static_cast<size_t>(FClassCount) * 4 + 16;
    if (id >= MaxStates || B.Bytes > MaxBytes) throw ERegExpParser(RE_MsgTooComplex, B.ErrorPos);
    B.Slots[slot] = id;
    B.Sets.insert(B.Sets.end(), set, set + B.Words);
    B.Hashes.push_back(hash);
    FAccepting.push_back(B.Has(set, B.NFA.ExitState()) ? 1 : 0);
    FTrans.resize(FTrans.size() + FClassCount, -1);
    if (B.Hashes.size() * 2 > B.Slots.size()) { // keep the table at most half full
        B.Slots.assign(B.Slots.size() * 2, -1);
        const size_t m = B.Slots.size() - 1;
        for (size_t d = 0; d < B.Hashes.size(); ++d) {
            size_t s = B.Hashes[d] & m;
            while (B.Slots[s] >= 0) s = (s + 1) & m;
            B.Slots[s] = static_cast<int>(d);
        }
    }
    return id;
}

// Makes the transitions of one DFA state: per class, the closure of every NFA target.
void TRE_DFA::Explore(TBuild& B, int State) {
    const std::vector<std::uint64_t> current(B.Sets.begin() + State * B.Words, B.Sets.begin() + (State + 1) * B.Words);
    for (size_t w = 0; w < B.Words; ++w) {
        for (std::uint64_t bits = current[w]; bits != 0; bits &= bits - 1) {
            const int s = static_cast<int>(w * 64) + __builtin_ctzll(bits);
            for (const TBuild::TMove& m : B.Moves[s]) {
                for (int c = m.FirstClass; c <= m.LastClass; ++c) {
                    if (B.Targets[c].empty()) B.Touched.push_back(c);
                    B.Targets[c].push_back(m.Target);
                }
            }
        }
    }
    std::sort(B.Touched.begin(), B.Touched.end());
    int previous = -1;
    int previousTarget = -1;
    for (int c : B.Touched) {
        // Neighbouring classes often lead to the same set: a range that literals cut in pieces.
        int target = previousTarget;
        if (previous < 0 || B.Targets[c] != B.Targets[previous]) {
            B.Stack = B.Targets[c];
            target = Register(B);
        }
        FTrans[static_cast<size_t>(State) * FClassCount + c] = target;
        if (previous >= 0) B.Targets[previous].clear();
        previous = c;
        previousTarget = target;
    }
    if (previous >= 0) B.Targets[previous].clear();
    B.Touched.clear();
}

void TRE_DFA::MakeStartBytes(const TBuild& B) {
    const int init = InitialState();
    std::vector<std::uint8_t> rowStarts(B.RowClasses.size(), 0);
    for (size_t r = 0; r < rowStarts.size(); ++r)
        for (const std::uint16_t c : B.RowClasses[r]) rowStarts[r] = rowStarts[r] || Move(init, c) >= 0;
    for (int b = 0; b < 256; ++b) {
        bool start = Accepting(init);
        if (FIsLead[b])
            start = start || rowStarts[FRowBase[b] / 256];
        else
            start = start || Move(init, FRows[FRowBase[0] + b]) >= 0;
        FStartBytes.Can[b] = start;
        for (int sep = 0; sep < 2; ++sep) {
            const int separator = sep == 0 ? '\r' : '\n';
            FScanStartBytes[sep].Can[b] =
                start || (b == '\n' && FHasLineHead) || (TailAccepts(init) && (b == separator || FIsLead[b]));
        }
    }
    auto summarize = [](TStartBytes& starts) {
        const auto count = std::count(starts.Can.begin(), starts.Can.end(), true);
        starts.Only = count == 0 ? TStartBytes::None
                      : count == 1
                          ? static_cast<int>(std::find(starts.Can.begin(), starts.Can.end(), true) - starts.Can.begin())
                          : TStartBytes::Several;
    };
    summarize(FStartBytes);
    for (TStartBytes& starts : FScanStartBytes) summarize(starts);
}

} // namespace quillon

namespace quillon {

// Turns the NFA's transitions round for the reverse automaton.
void TRE_DFA::MakeReverse(const TBuild& B) {
    const int n = B.NFA.StateCount();
    std::vector<std::vector<TRE_ReverseDFA::TMove>> moves(n);
    std::vector<std::vector<int>> empties(n);
    std::vector<int> tails;
    std::vector<int> heads;
    for (int s = 0; s < n; ++s) {
        for (const TBuild::TMove& m : B.Moves[s]) {
            if (m.FirstClass == LineHeadClass)
                heads.push_back(m.Target);
            else if (m.FirstClass == LineTailClass)
                tails.push_back(s);
            else
                moves[m.Target].push_back({m.FirstClass, m.LastClass, s});
        }
        for (int t : B.EmptyTargets[s]) empties[t].push_back(s);
    }
    FReverse = std::make_unique<TRE_ReverseDFA>(FClassCount, B.NFA.ExitState(), B.NFA.EntryState(), std::move(moves),
                                                std::move(empties), std::move(tails), std::move(heads));
}

TRE_ReverseDFA::TRE_ReverseDFA(int ClassCount, int Entry, int Exit, std::vector<std::vector<TMove>> Moves,
                               std::vector<std::vector<int>> EmptyTargets, std::vector<int> TailTargets,
                               std::vector<int> HeadStates)
    : FClassCount(ClassCount), FEntry(Entry), FExit(Exit), FWords((Moves.size() + 63) / 64), FMoves(std::move(Moves)),
      FEmptyTargets(std::move(EmptyTargets)), FTailTargets(std::move(TailTargets)), FIsHeadState(FMoves.size(), 0),
      FScratch(FWords) {
    for (int s : HeadStates) FIsHeadState[s] = 1;
    Reset();
}

void TRE_ReverseDFA::Reset() const {
    FSets.clear();
    FHashes.clear();
    FTrans.clear();
    FFlags.clear();
    FSlots.assign(64, -1);
    std::fill(FScratch.begin(), FScratch.end(), 0);
    FStack.assign(1, FEntry);
    Close();
    Register();
}

void TRE_ReverseDFA::Close() const {
    std::uint64_t* set = FScratch.data();
    for (int s : FStack) set[s / 64] |= std::uint64_t{1} << (s % 64);
    while (!FStack.empty()) {
        const int s = FStack.back();
        FStack.pop_back();
        for (int t : FEmptyTargets[s]) {
            if ((set[t / 64] >> (t % 64)) & 1) continue;
            set[t / 64] |= std::uint64_t{1} << (t % 64);
            FStack.push_back(t);
        }
    }
}

int TRE_ReverseDFA::Register() const {
    const std::uint64_t* set = FScratch.data();
    std::uint64_t hash = 0x9E3779B97F4A7C15ull;
    for (size_t w = 0; w < FWords; ++w) hash = (hash ^ set[w]) * 0x100000001B3ull + (hash >> 29);
    const size_t mask = FSlots.size() - 1;
    size_t slot = hash & mask;
    for (; FSlots[slot] >= 0; slot = (slot + 1) & mask) {
        const int d = FSlots[slot];
        if (FHashes[d] == hash && std::equal(set, set + FWords, FSets.data() + d * FWords)) return d;
    }
    const int id = static_cast<int>(FHashes.size());
    FSlots[slot] = id;
    FSets.insert(FSets.end(), set, set + FWords);
    FHashes.push_back(hash);
    std::uint8_t flags = 0;
    for (size_t w = 0; w < FWords; ++w) {
        for (std::uint64_t bits = set[w]; bits != 0; bits &= bits - 1) {
            const size_t s = w * 64 + static_cast<size_t>(__builtin_ctzll(bits));
            if (static_cast<int>(s) == FExit) flags |= 1;
            if (FIsHeadState[s]) flags |= 2;
        }
    }
    FFlags.push_back(flags);
    FTrans.resize(FTrans.size() + FClassCount, -1);
    if (FHashes.size() * 2 > FSlots.size()) { // keep the table at most half full
        FSlots.assign(FSlots.size() * 2, -1);
        const size_t m = FSlots.size() - 1;
        for (size_t d = 0; d < FHashes.size(); ++d) {
            size_t k = FHashes[d] & m;
            while (FSlots[k] >= 0) k = (k + 1) & m;
            FSlots[k] = static_cast<int>(d);
        }
    }
    return id;
}

int TRE_ReverseDFA::Build(int State, int Class) const {
    const std::uint64_t* from = FSets.data() + static_cast<size_t>(State) * FWords;
    std::fill(FScratch.begin(), FScratch.end(), 0);
    if (Class == TRE_DFA::LineTailClass) {
        std::copy(from, from + FWords, FScratch.begin());
        FStack = FTailTargets;
    } else {
        for (size_t w = 0; w < FWords; ++w) {
            for (std::uint64_t bits = from[w]; bits != 0; bits &= bits - 1) {
                const size_t s = w * 64 + static_cast<size_t>(__builtin_ctzll(bits));
                for (const TMove& m : FMoves[s])
                    if (m.FirstClass <= Class && Class <= m.LastClass) FStack.push_back(m.Target);
            }
        }
        FStack.push_back(FEntry); // a match may end at the position just read past
    }
    Close();
    const size_t bytes = FSets.size() * 8 + FTrans.size() * 4;
    if (static_cast<int>(FHashes.size()) >= MaxStates || bytes > MaxBytes) {
        const std::vector<std::uint64_t> target = FScratch;
        Reset();
        FScratch = target;
        return Register();
    }
    const int target = Register();
    FTrans[static_cast<size_t>(State) * FClassCount + Class] = target;
    return target;
}

} // namespace quillon
