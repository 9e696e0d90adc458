// The automaton against a plain reference matcher: every pattern of up to three tokens and
// random longer ones, over a small alphabet with a double-byte character whose trail byte is
// also a pattern character, on every short text of that alphabet, under both line separators.
#include "Cp932.h"
#include "LineRegExp.h"
#include "RETestUtil.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <optional>
#include <random>
#include <string>

namespace quillon {
namespace {

// Pattern tokens. "ア" is 0x83 0x41; its trail byte is "A".
const std::vector<std::string> PatternTokens = {"a", "A", "\x83\x41", ".", "[aA]", "[^a]", "\\n", "(",
                                                ")", "|", "*",        "+", "?",    "^",    "$"};
// Text characters; a text may also end in a lone lead byte.
const std::vector<std::string> TextChars = {"a", "A", "\x83\x41", "\n", "\r", "^"};

// ---- The reference: a tree walked over sets of positions (texts are short: a bit mask). ----

using TMask = std::uint32_t;

struct TRef {
    enum TKind { Lit, Any, ClassAA, NotA, Cat, Alt, Star, Plus, Opt, Empty, Head, Tail } Kind;
    int Code = 0;
    std::vector<int> Kids = {};
};

class TRefParser {
public:
    explicit TRefParser(const std::vector<std::string>& Tokens) : FTokens(Tokens) {}

    // The root, or nothing when the pattern is not valid.
    std::optional<int> Parse(std::vector<TRef>& Nodes) {
        FNodes = &Nodes;
        FPos = 0;
        FValid = true;
        const int root = Regexp();
        if (!FValid || Peek() != "") return std::nullopt;
        return root;
    }

private:
    std::string Peek() const { return FPos < FTokens.size() ? FTokens[FPos] : ""; }
    int Add(TRef node) {
        FNodes->push_back(std::move(node));
        return static_cast<int>(FNodes->size()) - 1;
    }
    int Regexp() {
        std::vector<int> alts{Term()};
        while (FValid && Peek() == "|") {
            ++FPos;
            alts.push_back(Term());
        }
        return alts.size() == 1 ? alts[0] : Add({TRef::Alt, 0, alts});
    }
    int Term() {
        std::vector<int> parts;
        while (FValid && Peek() != "|" && Peek() != ")" && Peek() != "") parts.push_back(Factor());
        if (parts.empty()) return Add({TRef::Empty});
        return parts.size() == 1 ? parts[0] : Add({TRef::Cat, 0, parts});
    }
    int Factor() {
        const int p = Primary();
        const std::string op = Peek();
        if (op == "*" || op == "+" || op == "?") {
            ++FPos;
            return Add({op == "*" ? TRef::Star : op == "+" ? TRef::Plus : TRef::Opt, 0, {p}});
        }
        return p;
    }
    int Primary() {
        const std::string t = Peek();
        ++FPos;
        if (t == "(") {
            const int r = Regexp();
            if (Peek() != ")") FValid = false;
            ++FPos;
            return r;
        }
        if (t == "a" || t == "A") return Add({TRef::Lit, t[0]});
        if (t == "\x83\x41") return Add({TRef::Lit, 0x8341});
        if (t == "\\n") return Add({TRef::Lit, '\n'});
        if (t == ".") return Add({TRef::Any});
        if (t == "[aA]") return Add({TRef::ClassAA});
        if (t == "[^a]") return Add({TRef::NotA});
        if (t == "^") return Add({TRef::Head});
        if (t == "$") return Add({TRef::Tail});
        FValid = false;
        return Add({TRef::Empty});
    }

    const std::vector<std::string>& FTokens;
    std::vector<TRef>* FNodes = nullptr;
    size_t FPos = 0;
    bool FValid = true;
};

class TRefMatcher {
public:
    TRefMatcher(const std::vector<TRef>& Nodes, int Root, const std::string& Text, char Separator)
        : FNodes(Nodes), FRoot(Root), FText(Text), FSeparator(Separator) {}

    // Leftmost-longest: start and end, or nothing.
    std::optional<std::pair<size_t, size_t>> Match() {
        const size_t n = FText.size();
        std::vector<size_t> starts;
        for (size_t p = 0; p < n; p += (Lead(p) && p + 1 < n) ? 2 : 1) starts.push_back(p);
        starts.push_back(n);
        for (size_t k = 0; k < starts.size(); ++k) {
            const size_t p = starts[k];
            FStart = p;
            // A line head: the text's start, or the place after an LF that is a character.
            FLineHead = k == 0 || (starts[k - 1] == p - 1 && FText[p - 1] == '\n');
            const TMask ends = Eval(FRoot, TMask{1} << p, true, true);
            if (ends) return std::make_pair(p, static_cast<size_t>(31 - __builtin_clz(ends)));
        }
        return std::nullopt;
    }

private:
    bool Lead(size_t p) const { return IsLeadByte(FText[p]); }

    // The code at p and its length; nothing at the end or at a lone lead byte.
    bool Read(size_t p, int& code, size_t& len) const {
        const size_t n = FText.size();
        if (p >= n || (Lead(p) && p + 1 == n)) return false;
        const auto b = static_cast<unsigned char>(FText[p]);
        code = Lead(p) ? b * 256 + static_cast<unsigned char>(FText[p + 1]) : b;
        len = Lead(p) ? 2 : 1;
        return true;
    }

    static bool Holds(const TRef& r, int code) {
        const bool any = code != 0 && code != '\n' && code != '\r' && code <= 0xFCFC;
        switch (r.Kind) {
        case TRef::Lit: return code == r.Code;
        case TRef::Any: return any;
        case TRef::ClassAA: return code == 'a' || code == 'A';
        case TRef::NotA: return any && code != 'a';
        default: return false;
        }
    }

    TMask Step(const TRef& r, TMask in) const {
        TMask out = 0;
        for (size_t p = 0; p <= FText.size(); ++p) {
            int code = 0;
            size_t len = 0;
            if ((in >> p & 1) && Read(p, code, len) && Holds(r, code)) out |= TMask{1} << (p + len);
        }
        return out;
    }

    TMask Tails(TMask in) const {
        TMask out = 0;
        const size_t n = FText.size();
        for (size_t p = 0; p <= n; ++p)
            if ((in >> p & 1) && (p == n || FText[p] == FSeparator || (Lead(p) && p + 1 == n))) out |= TMask{1} << p;
        return out;
    }

    // An anchor reads as one only on the edge that leaves the pattern's start (for "^") or
    // reaches its end (for "$"); elsewhere it is the character itself.
    TMask Eval(int index, TMask in, bool atEntry, bool atExit) const {
        const TRef& r = FNodes[index];
        switch (r.Kind) {
        case TRef::Empty: return in;
        case TRef::Head: {
            if (!atEntry) return Step({TRef::Lit, '^'}, in);
            return FLineHead ? in & (TMask{1} << FStart) : 0;
        }
        case TRef::Tail: return atExit ? Tails(in) : Step({TRef::Lit, '$'}, in);
        case TRef::Cat: {
            TMask m = in;
            for (size_t k = 0; k < r.Kids.size(); ++k)
                m = Eval(r.Kids[k], m, atEntry && k == 0, atExit && k + 1 == r.Kids.size());
            return m;
        }
        case TRef::Alt: {
            TMask m = 0;
            for (int kid : r.Kids) m |= Eval(kid, in, atEntry, atExit);
            return m;
        }
        case TRef::Opt: return in | Eval(r.Kids[0], in, atEntry, atExit);
        case TRef::Star: return Closure(r.Kids[0], in);
        case TRef::Plus: return Closure(r.Kids[0], Eval(r.Kids[0], in, atEntry, false));
        default: return Step(r, in);
        }
    }

    TMask Closure(int kid, TMask in) const {
        TMask all = in;
        TMask frontier = in;
        while (frontier) {
            frontier = Eval(kid, frontier, false, false) & ~all;
            all |= frontier;
        }
        return all;
    }

    const std::vector<TRef>& FNodes;
    int FRoot;
    const std::string& FText;
    char FSeparator;
    size_t FStart = 0;
    bool FLineHead = false;
};

std::vector<std::string> AllTexts() {
    std::vector<std::string> texts{""};
    for (size_t from = 0, length = 0; length < 3; ++length) {
        const size_t to = texts.size();
        for (size_t i = from; i < to; ++i)
            for (const std::string& c : TextChars) texts.push_back(texts[i] + c);
        from = to;
    }
    for (const std::string& t : std::vector<std::string>(texts.begin(), texts.begin() + 43))
        texts.push_back(t + "\x83");
    return texts;
}

std::vector<std::vector<std::string>> PatternsToTest() {
    std::vector<std::vector<std::string>> patterns{{}};
    for (size_t from = 0, length = 0; length < 3; ++length) {
        const size_t to = patterns.size();
        for (size_t i = from; i < to; ++i)
            for (const std::string& t : PatternTokens) {
                patterns.push_back(patterns[i]);
                patterns.back().push_back(t);
            }
        from = to;
    }
    std::mt19937 random(8);
    for (int i = 0; i < 600; ++i) {
        std::vector<std::string> tokens(4 + random() % 5);
        for (std::string& t : tokens) t = PatternTokens[random() % PatternTokens.size()];
        patterns.push_back(tokens);
    }
    return patterns;
}

std::string Describe(const std::string& s) {
    std::string out;
    for (unsigned char c : s)
        out += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : "<" + std::to_string(c) + ">";
    return out;
}

// Every pattern against the reference on every text; returns the number of valid patterns.
int ExpectAgreement(TLineRegExp& re, const std::vector<std::vector<std::string>>& Patterns,
                    const std::vector<std::string>& Texts) {
    int compiled = 0;
    int failures = 0;
    int patternIndex = 0;
    for (const std::vector<std::string>& tokens : Patterns) {
        std::string pattern;
        for (const std::string& t : tokens) pattern += t;
        std::vector<TRef> nodes;
        const std::optional<int> root = TRefParser(tokens).Parse(nodes);
        bool compiles = true;
        try {
            re.SetRegExp(pattern);
        } catch (const ERegExpParser&) {
            compiles = false;
        }
        EXPECT_EQ(compiles, root.has_value()) << Describe(pattern);
        if (!compiles || !root) continue;
        ++compiled;
        re.LineSeparator = patternIndex++ % 2 == 0 ? mcls_CRLF : mcls_LF;
        const char separator = re.LineSeparator == mcls_CRLF ? '\r' : '\n';
        for (const std::string& text : Texts) {
            const auto expected = TRefMatcher(nodes, *root, text, separator).Match();
            int pos = 0;
            int len = 0;
            re.Match(text, pos, len);
            const int wantPos = expected ? static_cast<int>(expected->first) + 1 : 0;
            const int wantLen = expected ? static_cast<int>(expected->second - expected->first) : 0;
            if (pos != wantPos || len != wantLen) {
                ADD_FAILURE() << Describe(pattern) << " on " << Describe(text) << " sep " << int(separator) << ": got "
                              << pos << "," << len << " want " << wantPos << "," << wantLen;
                if (++failures > 20) return compiled;
            }
        }
    }
    return compiled;
}

void ExpectAgreement(TLineRegExp& re) { EXPECT_GT(ExpectAgreement(re, PatternsToTest(), AllTexts()), 1500); }

TEST(TLineRegExp, AgreesWithAReferenceMatcher) {
    TLineRegExp re;
    ExpectAgreement(re);
}

TEST(TLineRegExp, LinearSearchAgreesWithAReferenceMatcher) {
    test::TLinearRegExp re;
    ExpectAgreement(re);
}

// Appends a random valid factor: an atom or a group of alternatives, perhaps with an operator.
void AddRandomFactor(std::vector<std::string>& Tokens, std::mt19937& Random, int Depth) {
    static const std::vector<std::string> atoms = {"a", "A", "\x83\x41", ".", "[aA]", "[^a]", "\\n", "^", "$"};
    if (Depth < 3 && Random() % 4 == 0) {
        Tokens.push_back("(");
        for (int alternative = 0, count = 1 + static_cast<int>(Random() % 3); alternative < count; ++alternative) {
            if (alternative > 0) Tokens.push_back("|");
            for (int k = static_cast<int>(Random() % 4); k > 0; --k) AddRandomFactor(Tokens, Random, Depth + 1);
        }
        Tokens.push_back(")");
    } else {
        Tokens.push_back(atoms[Random() % atoms.size()]);
    }
    static const std::vector<std::string> operators = {"*", "+", "?", "", "", ""};
    if (const std::string& op = operators[Random() % operators.size()]; !op.empty()) Tokens.push_back(op);
}

// Patterns whose complete automaton has more states than a compilation could once afford
// (exponential ones, nested "+", random ones of 150 bytes), on texts long enough for their matches.
std::vector<std::vector<std::string>> HugePatterns() {
    auto repeat = [](std::vector<std::string> Tokens, const std::vector<std::string>& Part, int Count) {
        for (int i = 0; i < Count; ++i) Tokens.insert(Tokens.end(), Part.begin(), Part.end());
        return Tokens;
    };
    const std::vector<std::string> aOrA = {"(", "a", "|", "A", ")"};
    std::vector<std::vector<std::string>> patterns = {
        repeat({"(", "a", "|", "A", ")", "*", "a"}, aOrA, 13),
        repeat({".", "*", "a"}, {"."}, 13),
    };
    std::vector<std::string> nested = {"a"};
    for (int i = 0; i < 16; ++i) {
        nested.insert(nested.begin(), "(");
        nested.insert(nested.end(), {")", "+"});
    }
    patterns.push_back(nested);
    std::mt19937 random(150);
    while (patterns.size() < 40) {
        std::vector<std::string> tokens;
        for (size_t bytes = 0; bytes < 150; bytes = std::accumulate(tokens.begin(), tokens.end(), std::string()).size())
            AddRandomFactor(tokens, random, 0);
        patterns.push_back(tokens);
    }
    return patterns;
}

std::vector<std::string> RandomTexts(int Count, size_t MaxBytes, const std::vector<std::string>& Chars) {
    std::mt19937 random(31);
    std::vector<std::string> texts;
    for (int i = 0; i < Count; ++i) {
        std::string text;
        for (const size_t length = 10 + random() % (MaxBytes - 10); text.size() + 2 <= length;)
            text += Chars[random() % Chars.size()];
        texts.push_back(text);
    }
    return texts;
}

TEST(TLineRegExp, PatternsWithHugeAutomataAgreeWithAReferenceMatcher) {
    std::vector<std::string> texts = RandomTexts(300, 31, TextChars);
    for (const std::string& t : RandomTexts(100, 31, {"a", "A"})) texts.push_back(t);
    TLineRegExp restarting;
    EXPECT_EQ(ExpectAgreement(restarting, HugePatterns(), texts), 40);
    test::TLinearRegExp linear;
    EXPECT_EQ(ExpectAgreement(linear, HugePatterns(), texts), 40);
}

// Texts too long for the reference: the restarting search and the linear search alone must
// give the same match for random patterns over random texts of the same alphabet.
TEST(TLineRegExp, LinearSearchAgreesWithTheRestartingSearchOnLongTexts) {
    std::mt19937 random(300);
    TLineRegExp restarting;
    test::TLinearRegExp linear;
    int compared = 0;
    for (int i = 0; i < 400; ++i) {
        std::string pattern;
        for (int t = 0; t < 2 + static_cast<int>(random() % 7); ++t)
            pattern += PatternTokens[random() % PatternTokens.size()];
        try {
            restarting.SetRegExp(pattern);
        } catch (const ERegExpParser&) {
            continue;
        }
        linear.SetRegExp(pattern);
        restarting.LineSeparator = linear.LineSeparator = i % 2 ? mcls_LF : mcls_CRLF;
        for (int k = 0; k < 10; ++k) {
            std::string text;
            for (int c = 0; c < 50 + static_cast<int>(random() % 250); ++c)
                text += c % 16 == 7 ? "\x83\n" : TextChars[random() % TextChars.size()]; // an LF as a trail byte
            if (k % 3 == 0) text += "\x83";
            int pos1 = 0, len1 = 0, pos2 = 0, len2 = 0;
            restarting.Match(text, pos1, len1);
            linear.Match(text, pos2, len2);
            EXPECT_EQ(pos2, pos1) << Describe(pattern);
            EXPECT_EQ(len2, len1) << Describe(pattern);
            ++compared;
        }
    }
    EXPECT_GT(compared, 1000);
}

} // namespace
} // namespace quillon
