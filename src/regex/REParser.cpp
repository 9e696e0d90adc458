#include "REParser.h"

#include <algorithm>

namespace quillon {
namespace {

const char* const MsgExtraChars = "正規表現に余分な文字があります";
const char* const MsgNeedRPar = "右(閉じ)括弧が必要です";
const char* const MsgNeedBracket = "右ブラケット\"]\"が必要です";
const char* const MsgNeedPrimary = "普通の文字、または左括弧\"(\"が必要です";
const char* const MsgBadClass = "不正なキャラクタクラス指定です。";

bool Overlaps(const TRENode& a, const TRENode& b) { return !(a.Start > b.End || a.End < b.Start); }

// What a node tells of the literal text of its matches.
struct TLiteralInfo {
    bool IsExact = false; // the node matches Exact and nothing else
    std::string Exact;
    std::string Prefix;
    std::string Suffix;
    std::string Required;
};

TLiteralInfo ExactInfo(std::string Text) { return {true, Text, Text, Text, Text}; }

const std::string& Longer(const std::string& A, const std::string& B) { return B.size() > A.size() ? B : A; }

TLiteralInfo Concatenate(const TLiteralInfo& A, const TLiteralInfo& B) {
    if (A.IsExact && B.IsExact) return ExactInfo(A.Exact + B.Exact);
    TLiteralInfo r;
    r.Prefix = A.IsExact ? A.Exact + B.Prefix : A.Prefix;
    r.Suffix = B.IsExact ? A.Suffix + B.Exact : B.Suffix;
    r.Required = Longer(Longer(A.Required, B.Required), A.Suffix + B.Prefix);
    return r;
}

TLiteralInfo LiteralInfo(const TRENode* Node) {
    switch (Node->Kind) {
    case rent_Range: {
        if (Node->Start != Node->End) return {};
        const TREChar c = Node->Start;
        return ExactInfo(c > 0xFF ? std::string{static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)}
                                  : std::string(1, static_cast<char>(c)));
    }
    case rent_Empty: return ExactInfo("");
    case rent_Concat: {
        // Left-deep: walk the chain as a list, as the automaton does.
        std::vector<const TRENode*> parts;
        const TRENode* n = Node;
        for (; n->Kind == rent_Concat; n = n->Left) parts.push_back(n->Right);
        TLiteralInfo info = LiteralInfo(n);
        for (size_t k = parts.size(); k-- > 0;) info = Concatenate(info, LiteralInfo(parts[k]));
        return info;
    }
    default: return {}; // alternations, closures and anchors
    }
}

} // namespace

TRENode* TREParseTree::MakeInternalNode(TRENodeKind Kind, TRENode* Left, TRENode* Right) {
    auto node = std::make_unique<TRENode>();
    node->Kind = Kind;
    node->Left = Left;
    node->Right = Right;
    FNodes.push_back(std::move(node));
    return FNodes.back().get();
}

TRENode* TREParseTree::MakeLeaf(TREChar Start, TREChar End) {
    auto [it, added] = FLeafOf.try_emplace(Key(Start, End), nullptr);
    if (!added) return it->second;
    auto leaf = std::make_unique<TRENode>();
    leaf->Kind = rent_Range;
    leaf->Start = Start;
    leaf->End = End;
    it->second = leaf.get();
    FLeaves.push_back(std::move(leaf));
    return it->second;
}

TRENode* TREParseTree::MakeLeafIfValid(TREChar Start, TREChar End) {
    return End < Start ? nullptr : MakeLeaf(Start, End);
}

TRENode* TREParseTree::MakeLHeadNode(TREChar C) {
    TRENode* node = MakeInternalNode(rent_LHead, nullptr, nullptr);
    node->Start = node->End = C;
    return node;
}

TRENode* TREParseTree::MakeLTailNode(TREChar C) {
    TRENode* node = MakeInternalNode(rent_LTail, nullptr, nullptr);
    node->Start = node->End = C;
    return node;
}

TRENode* TREParseTree::MakeAnyCharNode() {
    TRENode* low = MakeInternalNode(rent_Union, MakeLeaf(1, 9), MakeLeaf(11, 12));
    return MakeInternalNode(rent_Union, low, MakeLeaf(14, RE_AnyCharLast));
}

void TREParseTree::RemoveLeafAt(size_t Index) {
    FLeafOf.erase(Key(FLeaves[Index]->Start, FLeaves[Index]->End));
    FLeaves.erase(FLeaves.begin() + static_cast<std::ptrdiff_t>(Index));
}

// One sweep over the sorted range boundaries: they cut the code space into elementary
// intervals, and between two consecutive boundaries every code lies in the same leaves. A leaf
// that spans one interval stays as it is; any other turns in place into a balanced union of the
// shared leaves of the intervals it spans, so every reference to it sees the union. Sorting
// costs O(n log n) for n leaves; the pieces are as many as the intervals the leaves span.
void TREParseTree::ForceCharClassesDisjoint() {
    std::vector<TREChar> bounds;
    for (const auto& leaf : FLeaves) {
        bounds.push_back(leaf->Start);
        bounds.push_back(leaf->End + 1);
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    std::vector<std::unique_ptr<TRENode>> leaves = std::move(FLeaves);
    FLeaves.clear();
    FLeafOf.clear();
    std::vector<TRENode*> wide;
    for (auto& leaf : leaves) {
        const auto first = std::upper_bound(bounds.begin(), bounds.end(), leaf->Start);
        if (*first == leaf->End + 1) {
            FLeafOf.emplace(Key(leaf->Start, leaf->End), leaf.get());
            FLeaves.push_back(std::move(leaf));
        } else {
            wide.push_back(leaf.get());
            FNodes.push_back(std::move(leaf));
        }
    }
    std::vector<TRENode*> pieces;
    for (TRENode* leaf : wide) {
        pieces.clear();
        for (auto b = std::lower_bound(bounds.begin(), bounds.end(), leaf->Start); *b <= leaf->End; ++b)
            pieces.push_back(MakeLeaf(b[0], b[1] - 1));
        const size_t half = pieces.size() / 2;
        leaf->Kind = rent_Union;
        leaf->Left = UnionOf(pieces.data(), half);
        leaf->Right = UnionOf(pieces.data() + half, pieces.size() - half);
        leaf->Start = leaf->End = 0;
    }
}

// A balanced union of Count (at least 1) nodes.
TRENode* TREParseTree::UnionOf(TRENode* const* Nodes, size_t Count) {
    if (Count == 1) return Nodes[0];
    const size_t half = Count / 2;
    return MakeInternalNode(rent_Union, UnionOf(Nodes, half), UnionOf(Nodes + half, Count - half));
}

TRELiterals TREParseTree::Literals() const {
    if (!FRoot) return {};
    TLiteralInfo info = LiteralInfo(FRoot);
    return {std::move(info.Prefix), std::move(info.Required)};
}

void TREParseTree::DisposeTree() {
    FLeafOf.clear();
    FLeaves.clear();
    FNodes.clear();
    FRoot = nullptr;
}

void TREParser::Error(const char* Message) const { throw ERegExpParser(Message, FScanner.Index()); }

void TREParser::Run() {
    FTree.DisposeTree();
    FDepth = 0;
    FScanner.SetPattern(std::string(FScanner.Str()));
    FScanner.NextToken();
    FTree.SetRoot(Regexp());
    if (FScanner.Token() != retk_End) Error(MsgExtraChars);
    FTree.ForceCharClassesDisjoint();
}

TRENode* TREParser::Regexp() {
    TRENode* t = Term();
    while (FScanner.Token() == retk_Union) {
        FScanner.NextToken();
        t = FTree.MakeInternalNode(rent_Union, t, Term());
    }
    return t;
}

TRENode* TREParser::Term() {
    auto ends = [this] {
        const TRETokenKind k = FScanner.Token();
        return k == retk_Union || k == retk_RPar || k == retk_End;
    };
    if (ends()) return FTree.MakeInternalNode(rent_Empty, nullptr, nullptr);
    TRENode* t = Factor();
    while (!ends()) t = FTree.MakeInternalNode(rent_Concat, t, Factor());
    return t;
}

TRENode* TREParser::Factor() {
    TRENode* p = Primary();
    switch (FScanner.Token()) {
    case retk_Star: p = FTree.MakeInternalNode(rent_Closure, p, nullptr); break;
    case retk_Plus: p = FTree.MakeInternalNode(rent_Concat, p, FTree.MakeInternalNode(rent_Closure, p, nullptr)); break;
    case retk_QMark:
        p = FTree.MakeInternalNode(rent_Union, p, FTree.MakeInternalNode(rent_Empty, nullptr, nullptr));
        break;
    default: return p;
    }
    FScanner.NextToken();
    return p;
}

TRENode* TREParser::Primary() {
    TRENode* result = nullptr;
    switch (FScanner.Token()) {
    case retk_Char: result = FTree.MakeLeaf(FScanner.Symbol(), FScanner.Symbol()); break;
    case retk_LPar:
        // Groups nest by recursion here and in the automata: bound the depth.
        if (++FDepth > MaxDepth) Error(RE_MsgTooComplex);
        FScanner.NextToken();
        result = Regexp();
        if (FScanner.Token() != retk_RPar) Error(MsgNeedRPar);
        --FDepth;
        break;
    case retk_LBra:
    case retk_LBraNeg:
        result = FScanner.Token() == retk_LBra ? CharClass(FTree) : NegativeCharClass();
        if (FScanner.Token() != retk_RBra) Error(MsgNeedBracket);
        break;
    case retk_Dot: result = FTree.MakeAnyCharNode(); break;
    case retk_LHead: result = FTree.MakeLHeadNode(FScanner.Symbol()); break;
    case retk_LTail: result = FTree.MakeLTailNode(FScanner.Symbol()); break;
    default: Error(MsgNeedPrimary);
    }
    FScanner.NextToken();
    return result;
}

TRENode* TREParser::ClassItem(TREParseTree& Tree) {
    if (FScanner.Token() == retk_CharRange) return Tree.MakeLeaf(FScanner.Symbol(), FScanner.RangeLast());
    return Tree.MakeLeaf(FScanner.Symbol(), FScanner.Symbol());
}

// The class's items as a union; the current token is then its "]".
TRENode* TREParser::CharClass(TREParseTree& Tree) {
    if (FScanner.NextToken() == retk_RBra) Error(MsgBadClass);
    TRENode* n = ClassItem(Tree);
    while (FScanner.NextToken() != retk_RBra) n = Tree.MakeInternalNode(rent_Union, n, ClassItem(Tree));
    return n;
}

// The complement of the class within the codes of ".": the class's disjoint ranges are cut
// out of the ranges of "." one by one; the pieces left make the union.
TRENode* TREParser::NegativeCharClass() {
    TREParseTree excluded;
    CharClass(excluded);
    excluded.ForceCharClassesDisjoint();
    TREParseTree any;
    any.MakeAnyCharNode();
    for (const auto& cut : excluded.Leaves()) {
        size_t k = 0;
        while (k < any.Leaves().size()) {
            TRENode* range = any.Leaves()[k].get();
            if (!Overlaps(*range, *cut)) {
                ++k;
                continue;
            }
            const TRENode piece = *range;
            any.RemoveLeafAt(k);
            if (cut->Start > piece.Start) any.MakeLeaf(piece.Start, cut->Start - 1);
            if (cut->End < piece.End) any.MakeLeaf(cut->End + 1, piece.End);
        }
    }
    // A class that excludes every character of "." would match nothing: refuse it.
    if (any.Leaves().empty()) Error(MsgBadClass);
    TRENode* n = nullptr;
    for (const auto& leaf : any.Leaves()) {
        TRENode* l = FTree.MakeLeaf(leaf->Start, leaf->End);
        n = n ? FTree.MakeInternalNode(rent_Union, n, l) : l;
    }
    return n;
}

} // namespace quillon
