#include "RENFA.h"

namespace quillon {

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
        // The parser builds concatenations left-deep: walk the chain as a list, not by
        // recursion, so that a long pattern needs no deep stack.
        std::vector<const TRENode*> parts;
        const TRENode* n = Node;
        for (; n->Kind == rent_Concat; n = n->Left) parts.push_back(n->Right);
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
        const TRENode* n = Node;
        for (; n->Kind == rent_Union; n = n->Left) GenerateStateList(n->Right, From, To);
        GenerateStateList(n, From, To);
        break;
    }
    case rent_Closure: {
        const int s1 = NewState();
        const int s2 = NewState();
        AddTransition(From, RE_EmptyChar, RE_EmptyChar, s1);
        GenerateStateList(Node->Left, s1, s2);
        AddTransition(s2, RE_EmptyChar, RE_EmptyChar, s1);
        AddTransition(s1, RE_EmptyChar, RE_EmptyChar, To);
        break;
    }
    case rent_Empty: AddTransition(From, RE_EmptyChar, RE_EmptyChar, To); break;
    default: throw Exception("This cannot happen in TRE_NFA.GenerateStateList");
    }
}

} // namespace quillon
