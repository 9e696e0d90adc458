#pragma once
// Parsing a pattern into a tree whose character leaves are pairwise disjoint code ranges.
//
// Grammar (recursive descent):
//   Regexp  := Term { "|" Term }
//   Term    := empty | Factor { Factor }
//   Factor  := Primary [ "*" | "+" | "?" ]
//   Primary := char | "(" Regexp ")" | class | negated class | "." | "^" | "$"
// Leaves are shared (one leaf per range). After parsing, overlapping leaves are split into
// pieces at the sorted range boundaries, each overlapping leaf turning in place into the union
// of its pieces (which keeps its range), so that every leaf of the tree is disjoint from every
// other one.
#include "REScanner.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace quillon {

enum TRENodeKind : std::uint8_t {
    rent_Range,   // leaf: Start..End
    rent_LHead,   // "^", Start = End = its character
    rent_LTail,   // "$", Start = End = its character
    rent_Concat,  // Left then Right
    rent_Union,   // Left or Right
    rent_Closure, // Left repeated zero or more times
    rent_Empty    // the empty string
};

struct TRENode {
    TRENodeKind Kind = rent_Empty;
    TRENode* Left = nullptr;
    TRENode* Right = nullptr;
    TREChar Start = 0;
    TREChar End = 0;
};

// A range leaf that was split into pieces: a union that keeps the range its pieces make up.
inline bool IsSplitRange(const TRENode& Node) { return Node.Kind == rent_Union && Node.Start < Node.End; }

// Literal text that every match of a pattern holds, as Shift-JIS bytes: Prefix begins every
// match, Required stands somewhere in every match (the longest such run that the tree shows).
// Either may be empty. Found from concatenations of single characters; alternations,
// closures and anchors are not looked into, so the answer is safe but not always the longest.
struct TRELiterals {
    std::string Prefix;
    std::string Required;
};

class TREParseTree {
public:
    TRENode* Root() const { return FRoot; }
    void SetRoot(TRENode* Root) { FRoot = Root; }
    const std::vector<std::unique_ptr<TRENode>>& Leaves() const { return FLeaves; }

    TRENode* MakeInternalNode(TRENodeKind Kind, TRENode* Left, TRENode* Right);
    TRENode* MakeLeaf(TREChar Start, TREChar End);        // the shared leaf of the range
    TRENode* MakeLeafIfValid(TREChar Start, TREChar End); // nullptr when End < Start
    TRENode* MakeLHeadNode(TREChar C);
    TRENode* MakeLTailNode(TREChar C);
    virtual TRENode* MakeAnyCharNode(); // every code but 0, LF, CR and those above 0xFCFC
    // Splits the leaves into disjoint ones; every leaf that overlaps another turns in place into
    // the union of its pieces.
    void ForceCharClassesDisjoint();
    void DisposeTree();
    TRELiterals Literals() const;

    virtual ~TREParseTree() = default;

private:
    class TPieces;
    static std::uint64_t Key(TREChar Start, TREChar End) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(Start)) << 32) | static_cast<std::uint32_t>(End);
    }

    TRENode* FRoot = nullptr;
    std::vector<std::unique_ptr<TRENode>> FNodes;        // inner nodes, anchors and empty nodes
    std::vector<std::unique_ptr<TRENode>> FLeaves;       // range leaves, in creation order
    std::unordered_map<std::uint64_t, TRENode*> FLeafOf; // range -> its leaf in FLeaves
};

class TREParser {
public:
    static constexpr int MaxDepth = 1000; // groups inside groups

    explicit TREParser(std::string_view Pattern) : FScanner(Pattern) {}

    // Builds the tree, or raises ERegExpParser.
    void Run();
    const TREParseTree& ParseTree() const { return FTree; }
    const std::string& Pattern() const { return FScanner.Str(); }

private:
    TRENode* Regexp();
    TRENode* Term();
    TRENode* Factor();
    TRENode* Primary();
    TRENode* CharClass(TREParseTree& Tree);
    TRENode* NegativeCharClass();
    TRENode* ClassItem(TREParseTree& Tree);
    [[noreturn]] void Error(const char* Message) const;

    TREScanner FScanner;
    TREParseTree FTree;
    int FDepth = 0; // groups open at the current token
};

} // namespace quillon
