#include "REParser.h"

#include <algorithm>
#include <utility>

namespace quillon {
namespace {

const char* const MsgExtraChars = "正規表現に余分な文字があります";
const char* const MsgNeedRPar = "右(閉じ)括弧が必要です";
const char* const MsgNeedPrimary = "普通の文字、または左括弧\"(\"が必要です";
const char* const MsgBadClass = "不正なキャラクタクラス指定です。";

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

// The sorted range boundaries cut the code space into elementary intervals: between two
// consecutive boundaries every code lies in the same leaves. A leaf that spans one interval
// stays as it is; any other turns in place into the union of the pieces of the intervals it
// spans, keeping its range (IsSplitRange), so every reference to it sees the union. The pieces
// hang in a balanced tree over the intervals whose nodes are shared (TPieces), and a split
// leaf is the union of the at most 2 log n nodes that cover its intervals: sorting costs
// O(n log n) for n leaves, and so do the nodes made.
class TREParseTree::TPieces {
public:
    TPieces(TREParseTree& Tree, std::vector<TREChar> Bounds)
        : FTree(Tree), FBounds(std::move(Bounds)), FNodes(4 * FBounds.size(), nullptr) {}

    // The union of the pieces of the intervals First .. Last - 1.
    TRENode* Cover(size_t First, size_t Last) {
        std::vector<TRENode*> parts;
        Collect(1, 0, FBounds.size() - 1, First, Last, parts);
        TRENode* n = parts[0];
        for (size_t k = 1; k < parts.size(); ++k) n = FTree.MakeInternalNode(rent_Union, n, parts[k]);
        return n;
    }

private:
    // Node Id of the balanced tree spans the intervals Lo .. Hi - 1.
    void Collect(size_t Id, size_t Lo, size_t Hi, size_t First, size_t Last, std::vector<TRENode*>& Parts) {
        if (Last <= Lo || Hi <= First) return;
        if (First <= Lo && Hi <= Last) {
            Parts.push_back(Node(Id, Lo, Hi));
            return;
        }
        const size_t mid = (Lo + Hi) / 2;
        Collect(2 * Id, Lo, mid, First, Last, Parts);
        Collect(2 * Id + 1, mid, Hi, First, Last, Parts);
    }
    TRENode* Node(size_t Id, size_t Lo, size_t Hi) {
        if (Hi - Lo == 1) return FTree.MakeLeaf(FBounds[Lo], FBounds[Hi] - 1);
        if (!FNodes[Id]) {
            const size_t mid = (Lo + Hi) / 2;
            FNodes[Id] = FTree.MakeInternalNode(rent_Union, Node(2 * Id, Lo, mid), Node(2 * Id + 1, mid, Hi));
        }
        return FNodes[Id];
    }

    TREParseTree& FTree;
    std::vector<TREChar> FBounds;
    std::vector<TRENode*> FNodes; // the shared nodes by their place in the balanced tree
};

void TREParseTree::ForceCharClassesDisjoint() {
    std::vector<TREChar> bounds;
    for (const auto& leaf : FLeaves) {
        bounds.push_back(leaf->Start);
        bounds.push_back(leaf->End + 1);
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    auto interval = [&bounds](TREChar c) {
        return static_cast<size_t>(std::lower_bound(bounds.begin(), bounds.end(), c) - bounds.begin());
    };
    std::vector<std::unique_ptr<TRENode>> leaves = std::move(FLeaves);
    FLeaves.clear();
    FLeafOf.clear();
    std::vector<TRENode*> wide;
    for (auto& leaf : leaves) {
        if (interval(leaf->End + 1) == interval(leaf->Start) + 1) {
            FLeafOf.emplace(Key(leaf->Start, leaf->End), leaf.get());
            FLeaves.push_back(std::move(leaf));
        } else {
            wide.push_back(leaf.get());
            FNodes.push_back(std::move(leaf));
        }
    }
    if (wide.empty()) return;
    TPieces pieces(*this, bounds);
    for (TRENode* leaf : wide) {
        const TRENode* cover = pieces.Cover(interval(leaf->Start), interval(leaf->End + 1));
        leaf->Kind = rent_Union;
        leaf->Left = cover->Left;
        leaf->Right = cover->Right;
    }
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
        if (FScanner.Token() != retk_RBra) Error(RE_MsgNeedBracket);
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

// The complement of the class within the codes of ".": the class's ranges, sorted by their
// starts, are cut out of the ranges of "." in one pass; the pieces left make the union.
TRENode* TREParser::NegativeCharClass() {
    TREParseTree excluded;
    CharClass(excluded);
    std::vector<std::pair<TREChar, TREChar>> cuts;
    for (const auto& leaf : excluded.Leaves()) cuts.emplace_back(leaf->Start, leaf->End);
    std::sort(cuts.begin(), cuts.end());
    TREParseTree any;
    any.MakeAnyCharNode();
    TRENode* n = nullptr;
    auto add = [this, &n](TREChar Start, TREChar End) {
        if (End < Start) return;
        TRENode* l = FTree.MakeLeaf(Start, End);
        n = n ? FTree.MakeInternalNode(rent_Union, n, l) : l;
    };
    for (const auto& range : any.Leaves()) {
        TREChar from = range->Start; // the first code of the range not yet cut or kept
        for (const auto& [start, end] : cuts) {
            if (end < from) continue;
            if (start > range->End) break;
            add(from, std::min(start - 1, range->End));
            from = std::max(from, end + 1);
        }
        add(from, range->End);
    }
    // A class that excludes every character of "." would match nothing: refuse it.
    if (!n) Error(MsgBadClass);
    return n;
}

} // namespace quillon
