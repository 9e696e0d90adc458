#pragma once
// The nondeterministic automaton of a parse tree (Thompson construction).
//
// Every node is compiled between two given states: a range becomes one transition, a
// concatenation chains its parts through new states, a union puts both sides between the same
// states, a closure loops through two new states with empty transitions. A "^" on the edge that
// leaves the entry state reads the line-head pseudo character and a "$" on the edge that reaches
// the exit state reads the line-tail pseudo character; anywhere else they read themselves.
// The operand of "+" is made once and looped, except where the copy made first may read an
// anchor, so the automaton grows with the pattern, not with the nesting of "+".
#include "REParser.h"

#include <vector>

namespace quillon {

struct TRE_NFATransition {
    TREChar Start; // RE_EmptyChar for the empty transition
    TREChar End;
    int Target;
};

class TRE_NFA {
public:
    // The states' sets are bit sets of this many states at most: past it compiling stops
    // with ERegExpParser.
    static constexpr int MaxStates = 100000;

    TRE_NFA(const TREParser& Parser, TREChar LineHeadChar, TREChar LineTailChar)
        : FParser(Parser), FLineHeadChar(LineHeadChar), FLineTailChar(LineTailChar) {}

    void Run();

    const TREParser& Parser() const { return FParser; }
    int StateCount() const { return static_cast<int>(FStates.size()); }
    int EntryState() const { return FEntry; }
    int ExitState() const { return FExit; }
    // The state's transitions, in the order they were made.
    const std::vector<TRE_NFATransition>& Transitions(int State) const { return FStates[State]; }
    bool HasLineHead() const { return FHasLineHead; }
    bool HasLineTail() const { return FHasLineTail; }
    TREChar LineHeadChar() const { return FLineHeadChar; }
    TREChar LineTailChar() const { return FLineTailChar; }

private:
    int NewState();
    void AddTransition(int From, TREChar Start, TREChar End, int To);
    void GenerateStateList(const TRENode* Node, int From, int To);
    void GeneratePlus(const TRENode* Node, int From, int To);
    void GenerateLoop(const TRENode* Operand, int From, int To, bool OnceOrMore);

    const TREParser& FParser;
    TREChar FLineHeadChar;
    TREChar FLineTailChar;
    std::vector<std::vector<TRE_NFATransition>> FStates;
    int FEntry = 0;
    int FExit = 0;
    bool FHasLineHead = false;
    bool FHasLineTail = false;
};

} // namespace quillon
