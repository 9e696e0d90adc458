#include "REDFA.h"

#include "Cp932.h"

#include <algorithm>
#include <bit>

namespace quillon {
namespace {

constexpr TREChar CodeLimit = RE_MaxChar + 1;

// The most characters that a path from Entry reads (line heads and tails read none), or -1 when
// the path can run through a loop: a longest path, found depth first.
int LongestPath(const std::vector<std::vector<TRE_LazyDFA::TMove>>& Moves,
                const std::vector<std::vector<int>>& EmptyTargets, int Entry) {
    enum : std::uint8_t { Unseen, Open, Done };
    std::vector<std::uint8_t> mark(Moves.size(), Unseen);
    std::vector<int> longest(Moves.size(), 0);
    std::vector<std::pair<int, std::size_t>> stack{{Entry, 0}}; // a state and its next edge
    mark[static_cast<std::size_t>(Entry)] = Open;
    while (!stack.empty()) {
        const auto [s, k] = stack.back();
        const auto& moves = Moves[static_cast<std::size_t>(s)];
        const auto& empty = EmptyTargets[static_cast<std::size_t>(s)];
        if (k == moves.size() + empty.size()) {
            mark[static_cast<std::size_t>(s)] = Done;
            stack.pop_back();
            continue;
        }
        const int t = k < moves.size() ? moves[k].Target : empty[k - moves.size()];
        const int reads = k < moves.size() && moves[k].FirstClass > TRE_DFA::LineTailClass ? 1 : 0;
        if (mark[static_cast<std::size_t>(t)] == Open) return -1;
        if (mark[static_cast<std::size_t>(t)] == Unseen) {
            mark[static_cast<std::size_t>(t)] = Open;
            stack.emplace_back(t, 0);
            continue;
        }
        int& best = longest[static_cast<std::size_t>(s)];
        best = std::max(best, longest[static_cast<std::size_t>(t)] + reads);
        ++stack.back().second;
    }
    return longest[static_cast<std::size_t>(Entry)];
}

} // namespace

// Working data of the compilation, dropped when it ends.
struct TRE_DFA::TBuild {
    explicit TBuild(const TRE_NFA& NFA)
        : NFA(NFA), Moves(NFA.StateCount()), EmptyTargets(NFA.StateCount()),
          ErrorPos(static_cast<int>(NFA.Parser().Pattern().size()) + 1) {}

    const TRE_NFA& NFA;
    std::vector<std::vector<TRE_LazyDFA::TMove>> Moves; // per NFA state: its reading transitions as class spans
    std::vector<std::vector<int>> EmptyTargets;         // per NFA state: targets of its empty transitions
    std::vector<TREChar> Bounds;                        // sorted interval starts; the last one ends the last interval
    std::vector<std::uint16_t> IntervalClass;           // class of Bounds[k] .. Bounds[k + 1] - 1
    std::vector<std::vector<std::uint16_t>> RowClasses; // the classes that occur in each class row
    int ErrorPos;
};

void TRE_DFA::Run() {
    const TRE_NFA& nfa = *FNFA;
    FHasLineHead = nfa.HasLineHead();
    FHasLineTail = nfa.HasLineTail();
    FLineHeadChar = nfa.LineHeadChar();
    FLineTailChar = nfa.LineTailChar();
    TBuild b(nfa);
    MakeClasses(b);
    MakeClassRows(b);
    MakeAutomata(b);
    MakeStartBytes(b);
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

void TRE_DFA::MakeStartBytes(const TBuild& B) {
    const int init = InitialState();
    const std::vector<std::uint8_t> live = FForward->LiveClasses(init);
    std::vector<std::uint8_t> rowStarts(B.RowClasses.size(), 0);
    for (size_t r = 0; r < rowStarts.size(); ++r)
        for (const std::uint16_t c : B.RowClasses[r]) rowStarts[r] = rowStarts[r] || live[c];
    for (int b = 0; b < 256; ++b) {
        bool start = Accepting(init);
        if (FIsLead[b])
            start = start || rowStarts[FRowBase[b] / 256];
        else
            start = start || live[FRows[FRowBase[0] + b]];
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

// The forward automaton reads the NFA as it is; the reverse one reads it turned round.
void TRE_DFA::MakeAutomata(TBuild& B) {
    const int n = B.NFA.StateCount();
    TRE_LazyDFA::TNFA forward;
    TRE_LazyDFA::TNFA reverse;
    forward.Flags.assign(n, 0);
    reverse.Moves.resize(n);
    reverse.EmptyTargets.resize(n);
    reverse.Flags.assign(n, 0);
    forward.Flags[B.NFA.ExitState()] = 1;
    reverse.Flags[B.NFA.EntryState()] = 1;
    for (int s = 0; s < n; ++s) {
        for (const TRE_LazyDFA::TMove& m : B.Moves[s]) {
            if (m.FirstClass == LineTailClass) forward.Flags[s] |= 2; // it leads to the exit
            if (m.FirstClass == LineHeadClass)
                reverse.Flags[m.Target] |= 2; // the entry leads to it
            else
                reverse.Moves[m.Target].push_back({m.FirstClass, m.LastClass, s});
        }
        for (int t : B.EmptyTargets[s]) reverse.EmptyTargets[t].push_back(s);
    }
    const int chars = LongestPath(B.Moves, B.EmptyTargets, B.NFA.EntryState());
    FMaxMatchBytes = chars < 0 ? -1 : 2 * chars;
    forward.Moves = std::move(B.Moves);
    forward.EmptyTargets = std::move(B.EmptyTargets);
    forward.Start = B.NFA.EntryState();
    reverse.Start = reverse.Restart = B.NFA.ExitState();
    // Reading a line tail backwards adds the states before it to those that a match ending
    // after it needs: the old exit is in every reverse state, so its turned-round line-tail
    // transitions are found there.
    reverse.KeepClass = LineTailClass;
    FForward.emplace(FClassCount, std::move(forward), *FMemory);
    FReverse.emplace(FClassCount, std::move(reverse), *FMemory);
}

namespace {

// Open-addressing slots for Room states: a power of two, at most half of them used.
size_t SlotsFor(int Room) { return std::bit_ceil(2 * static_cast<size_t>(Room)); }

template <class T> void Release(std::vector<T>& Table) { std::vector<T>().swap(Table); }

} // namespace

TRE_LazyDFA::TRE_LazyDFA(int ClassCount, TNFA NFA, TRE_StateMemory& Memory)
    : FClassCount(ClassCount), FWords((NFA.Moves.size() + 63) / 64), FNFA(std::move(NFA)), FMemory(&Memory),
      FScratch(FWords) {
    // The slots take at most 4 * 4 bytes per state (SlotsFor).
    FMaxRoom = static_cast<int>(std::clamp<size_t>(MaxBytes / (StateBytes() + 16), FirstRoom, MaxStates));
    FMemory->Join(*this);
    Reset(true);
}

TRE_LazyDFA::~TRE_LazyDFA() { FMemory->Leave(*this); }

size_t TRE_LazyDFA::StateBytes() const { return FWords * 8 + 8 + static_cast<size_t>(FClassCount) * 4 + 1; }

size_t TRE_LazyDFA::BytesFor(int Room) const { return static_cast<size_t>(Room) * StateBytes() + 4 * SlotsFor(Room); }

size_t TRE_LazyDFA::Bytes() const {
    return FSets.capacity() * 8 + FHashes.capacity() * 8 + FSlots.capacity() * 4 + FTrans.capacity() * 4 +
           FFlags.capacity();
}

void TRE_LazyDFA::Reset(bool GiveBack) const {
    if (GiveBack) {
        const size_t before = Bytes();
        Release(FSets);
        Release(FHashes);
        Release(FSlots);
        Release(FTrans);
        Release(FFlags);
        FRoom = 0;
        FMemory->Resized(before, Bytes());
        Grow();
    } else {
        FSets.clear();
        FHashes.clear();
        FTrans.clear();
        FFlags.clear();
        std::fill(FSlots.begin(), FSlots.end(), -1);
    }
    std::fill(FScratch.begin(), FScratch.end(), 0);
    Push(FNFA.Start);
    Close();
    Register();
}

void TRE_LazyDFA::Flush() const {
    Reset(true);
    ++FFlushes;
}

bool TRE_LazyDFA::Grow() const {
    const int room = FRoom == 0 ? FirstRoom : std::min(2 * FRoom, FMaxRoom);
    if (room == FRoom || (FRoom > 0 && !FMemory->MakeRoom(*this, BytesFor(room) - BytesFor(FRoom)))) return false;
    const size_t before = Bytes();
    const auto r = static_cast<size_t>(room);
    FSets.reserve(r * FWords);
    FHashes.reserve(r);
    FTrans.reserve(r * static_cast<size_t>(FClassCount));
    FFlags.reserve(r);
    FSlots.assign(SlotsFor(room), -1);
    const size_t mask = FSlots.size() - 1;
    for (size_t d = 0; d < FHashes.size(); ++d) {
        size_t k = FHashes[d] & mask;
        while (FSlots[k] >= 0) k = (k + 1) & mask;
        FSlots[k] = static_cast<int>(d);
    }
    FRoom = room;
    FMemory->Resized(before, Bytes());
    return true;
}

void TRE_LazyDFA::Push(int S) const {
    std::uint64_t& word = FScratch[static_cast<size_t>(S) / 64];
    const std::uint64_t bit = std::uint64_t{1} << (S % 64);
    if (word & bit) return;
    word |= bit;
    FStack.push_back(S);
}

void TRE_LazyDFA::Close() const {
    while (!FStack.empty()) {
        const int s = FStack.back();
        FStack.pop_back();
        for (int t : FNFA.EmptyTargets[s]) Push(t);
    }
}

int TRE_LazyDFA::Register() const {
    const std::uint64_t* set = FScratch.data();
    if (std::all_of(FScratch.begin(), FScratch.end(), [](std::uint64_t w) { return w == 0; })) return -1;
    std::uint64_t hash = 0x9E3779B97F4A7C15ull;
    for (size_t w = 0; w < FWords; ++w) hash = (hash ^ set[w]) * 0x100000001B3ull + (hash >> 29);
    const size_t mask = FSlots.size() - 1;
    size_t slot = hash & mask;
    for (; FSlots[slot] >= 0; slot = (slot + 1) & mask) {
        const int d = FSlots[slot];
        if (FHashes[d] == hash && std::equal(set, set + FWords, SetOf(d))) return d;
    }
    if (StateCount() == FRoom) {
        if (!Grow()) {
            const std::vector<std::uint64_t> kept = FScratch;
            Reset(false); // the room is filled again at once
            ++FFlushes;
            FScratch = kept;
        }
        return Register();
    }
    const int id = StateCount();
    FSlots[slot] = id;
    FSets.insert(FSets.end(), set, set + FWords);
    FHashes.push_back(hash);
    std::uint8_t flags = 0;
    for (size_t w = 0; w < FWords; ++w)
        for (std::uint64_t bits = set[w]; bits != 0; bits &= bits - 1)
            flags |= FNFA.Flags[w * 64 + static_cast<size_t>(__builtin_ctzll(bits))];
    FFlags.push_back(flags);
    FTrans.resize(FTrans.size() + FClassCount, Unbuilt);
    return id;
}

int TRE_LazyDFA::Build(int State, int Class) const {
    std::fill(FScratch.begin(), FScratch.end(), 0);
    const std::uint64_t* from = SetOf(State);
    if (Class == FNFA.KeepClass) std::copy(from, from + FWords, FScratch.begin());
    for (size_t w = 0; w < FWords; ++w) {
        for (std::uint64_t bits = from[w]; bits != 0; bits &= bits - 1) {
            const size_t s = w * 64 + static_cast<size_t>(__builtin_ctzll(bits));
            for (const TMove& m : FNFA.Moves[s])
                if (m.FirstClass <= Class && Class <= m.LastClass) Push(m.Target);
        }
    }
    if (Class != FNFA.KeepClass && FNFA.Restart >= 0) Push(FNFA.Restart);
    Close();
    const int flushes = FFlushes;
    const int target = Register();
    if (flushes == FFlushes) FTrans[static_cast<size_t>(State) * FClassCount + Class] = target;
    return target;
}

void TRE_StateMemory::Join(const TRE_LazyDFA& Member) {
    FMembers.push_back(&Member);
    Use(Member);
}

void TRE_StateMemory::Leave(const TRE_LazyDFA& Member) {
    FMembers.erase(std::find(FMembers.begin(), FMembers.end(), &Member));
    Resized(Member.Bytes(), 0);
}

bool TRE_StateMemory::MakeRoom(const TRE_LazyDFA& Grower, size_t Extra) {
    while (FBytes + Extra > Bound) {
        const TRE_LazyDFA* victim = nullptr;
        for (const TRE_LazyDFA* m : FMembers)
            if (m != &Grower && m->FRoom > TRE_LazyDFA::FirstRoom && (!victim || m->FLastUse < victim->FLastUse))
                victim = m;
        if (!victim) return false;
        victim->Flush();
    }
    return true;
}

std::vector<std::uint8_t> TRE_LazyDFA::LiveClasses(int State) const {
    std::vector<int> depth(static_cast<size_t>(FClassCount) + 1, 0); // a difference count over the classes
    const std::uint64_t* set = SetOf(State);
    for (size_t w = 0; w < FWords; ++w) {
        for (std::uint64_t bits = set[w]; bits != 0; bits &= bits - 1) {
            for (const TMove& m : FNFA.Moves[w * 64 + static_cast<size_t>(__builtin_ctzll(bits))]) {
                ++depth[m.FirstClass];
                --depth[m.LastClass + 1];
            }
        }
    }
    std::vector<std::uint8_t> live(FClassCount);
    for (int c = 0, d = 0; c < FClassCount; ++c) live[c] = (d += depth[c]) > 0;
    return live;
}

} // namespace quillon
