#include "RENFA.h"

#include <unordered_set>

namespace quillon {
namespace {

// The parser's "+": the operand followed by the closure of the same operand.
bool IsPlus(const TRENode* Node) {
    return Node->Kind == rent_Concat && Node->Right->Kind == rent_Closure && Node->Right->Left == Node->Left;
}

// Whether a "^" stands anywhere below Node (shared subtrees are looked at once).
bool HoldsLineHead(const TRENode* Node) {
    std::vector<const TRENode*> stack{Node};
    std::unordered_set<const TRENode*> seen{Node};
    while (!stack.empty()) {
        const TRENode* n = stack.back();
        stack.pop_back();
        if (n->Kind == rent_LHead) return true;
        for (const TRENode* kid : {n->Left, n->Right})
            if (kid && seen.insert(kid).second) stack.push_back(kid);
    }
    return false;
}

} // namespace

void TRE_NFA::Run() {
    FStates.clear();
    FHasLineHead = FHasLineTail = false;
    FEntry = NewState();
    FExit = NewState();
    GenerateStateList(FParser.ParseTree().Root(), FEntry, FExit);
}

int TRE_NFA::NewState() {
    if (FStates.size() >= MaxStates)
        throw ERegExpParser(RE_MsgTooComplex, static_cast<int>(FParser.Pattern().size()) + 1);
    FStates.emplace_back();
    return static_cast<int>(FStates.size()) - 1;
}

// A code range next to the last range made from the same state to the same target widens it:
// the pieces of a range that the parser cut apart become one transition again.
void TRE_NFA::AddTransition(int From, TREChar Start, TREChar End, int To) {
    std::vector<TRE_NFATransition>& chain = FStates[From];
    const auto isCode = [](TREChar c) { return c >= 0 && c <= RE_MaxChar; };
    if (!chain.empty() && isCode(Start) && isCode(End)) {
        TRE_NFATransition& last = chain.back();
        if (last.Target == To && isCode(last.Start) && isCode(last.End)) {
            if (last.End + 1 == Start) {
                last.End = End;
                return;
            }
            if (End + 1 == last.Start) {
                last.Start = Start;
                return;
            }
        }
    }
    chain.push_back({Start, End, To});
}

void TRE_NFA::GenerateStateList(const TRENode* Node, int From, int To) {
    switch (Node->Kind) {
    case rent_Range: AddTransition(From, Node->Start, Node->End, To); break;
    case rent_LHead:
        if (From == FEntry) {
            FHasLineHead = true;
            AddTransition(From, FLineHeadChar, FLineHeadChar, To);
        } else {
            AddTransition(From, Node->Start, Node->End, To);
        }
        break;
    case rent_LTail:
        if (To == FExit) {
            FHasLineTail = true;
            AddTransition(From, FLineTailChar, FLineTailChar, To);
        } else {
            AddTransition(From, Node->Start, Node->End, To);
        }
        break;
    case rent_Concat: {
        if (IsPlus(Node)) {
            GeneratePlus(Node, From, To);
            break;
        }
        // The parser builds concatenations left-deep: walk the chain as a list, not by
        // recursion, so that a long pattern needs no deep stack.
        std::vector<const TRENode*> parts;
        const TRENode* n = Node;
        for (; n->Kind == rent_Concat && !IsPlus(n); n = n->Left) parts.push_back(n->Right);
        parts.push_back(n);
        int state = From;
        for (size_t k = parts.size(); k-- > 0;) {
            const int next = k == 0 ? To : NewState();
            GenerateStateList(parts[k], state, next);
            state = next;
        }
        break;
    }
    case rent_Union: {
        // A range that the parser split into pieces is read as the whole range.
        if (IsSplitRange(*Node)) {
            AddTransition(From, Node->Start, Node->End, To);
            break;
        }
        const TRENode* n = Node;
        for (; n->Kind == rent_Union && !IsSplitRange(*n); n = n->Left) GenerateStateList(n->Right, From, To);
        GenerateStateList(n, From, To);
        break;
    }
    case rent_Closure: GenerateLoop(Node->Left, From, To, false); break;
    case rent_Empty: AddTransition(From, RE_EmptyChar, RE_EmptyChar, To); break;
    default: throw Exception("This cannot happen in TRE_NFA.GenerateStateList");
    }
}

// The operand X once or more: a loop through X alone, with the same language as X followed by
// X*. A "^" on the entry edge is an anchor in the first X only, so there the operand is made
// twice (X, then the loop of X*) when a "^" stands in it.
void TRE_NFA::GeneratePlus(const TRENode* Node, int From, int To) {
    if (From == FEntry && HoldsLineHead(Node->Left)) {
        const int m = NewState();
        GenerateStateList(Node->Left, From, m);
        GenerateLoop(Node->Left, m, To, false);
    } else {
        GenerateLoop(Node->Left, From, To, true);
    }
}

// Two new states s1 and s2 with X between them and an empty way back from s2 to s1; the way out
// leaves from s1 (X*) or from s2 (X+).
void TRE_NFA::GenerateLoop(const TRENode* Operand, int From, int To, bool OnceOrMore) {
    const int s1 = NewState();
    const int s2 = NewState();
    AddTransition(From, RE_EmptyChar, RE_EmptyChar, s1);
    GenerateStateList(Operand, s1, s2);
    AddTransition(s2, RE_EmptyChar, RE_EmptyChar, s1);
    AddTransition(OnceOrMore ? s2 : s1, RE_EmptyChar, RE_EmptyChar, To);
}

} // namespace quillon
