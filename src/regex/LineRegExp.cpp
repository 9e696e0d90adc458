#include "LineRegExp.h"

#include "Cp932.h"
#include "FuzzyCharDic.h"

#include <cstring>

namespace quillon {
namespace {

using TPos = const unsigned char*;

// The searched bytes: the view up to its first NUL.
std::pair<TPos, TPos> TextBounds(std::string_view Text) {
    const auto* begin = reinterpret_cast<TPos>(Text.data());
    const void* nul = Text.empty() ? nullptr : std::memchr(begin, 0, Text.size());
    return {begin, nul ? static_cast<TPos>(nul) : begin + Text.size()};
}

// The start of the character after the one at P; a closing lone lead byte is one byte.
TPos NextChar(TPos P, TPos End) { return P + ((IsLeadByte(*P) && P + 1 < End) ? 2 : 1); }

// A line tail: the separator, the end of the text, or a lead byte that the text ends in.
bool AtLineTail(TPos P, TPos End, unsigned char Separator) {
    return P == End || *P == Separator || (P + 1 == End && IsLeadByte(*P));
}

// The first character start at or after the character start P whose first byte can begin a
// match; End when there is none. Candidates are found byte by byte (with memchr when only one
// byte can begin a match); a candidate is a character start unless an odd run of lead-range
// bytes stands between P and it, in which case it is the trail byte of the run's last pair.
TPos NextStart(TPos P, TPos End, const TRE_DFA::TStartBytes& Starts) {
    if (Starts.Only == TRE_DFA::TStartBytes::None) return End;
    while (P < End) {
        TPos hit = P;
        if (Starts.Only >= 0) {
            hit = static_cast<TPos>(std::memchr(P, Starts.Only, static_cast<size_t>(End - P)));
            if (!hit) return End;
        } else {
            while (hit < End && !Starts.Can[*hit]) ++hit;
            if (hit == End) return End;
        }
        size_t run = 0;
        for (TPos k = hit; k > P && IsLeadByte(k[-1]); --k) ++run;
        if (run % 2 == 0) return hit;
        P = hit + 1;
    }
    return End;
}

bool Found(TPos Begin, TPos From, TPos To, size_t& Start, size_t& End) {
    Start = static_cast<size_t>(From - Begin);
    End = static_cast<size_t>(To - Begin);
    return true;
}

} // namespace

TRegularExpression::TRegularExpression() : FPreProcessor("") {
    FCache.emplace_back(std::string(), nullptr);
    FCacheIndex = 0;
    Compile(FCache[0].first);
}

void TRegularExpression::SetRegExp(const std::string& Value) {
    const std::string value = Value;  // Value may be FRegExp itself
    FPreProcessor.SetPattern(value);
    FPreProcessor.Run();
    try {
        Lookup(FPreProcessor.ProcessedPattern());
        FRegExp = value;
    } catch (...) {
        FCacheIndex = 0;
        FRegExp.clear();
        throw;
    }
}

void TRegularExpression::Lookup(const std::string& Processed) {
    for (size_t i = 0; i < FCache.size(); ++i) {
        if (FCache[i].first == Processed) {
            FCacheIndex = static_cast<int>(i);
            return;
        }
    }
    if (FCache.size() >= CacheCapacity) FCache.pop_back();
    FCache.insert(FCache.begin() + 1, {Processed, nullptr});
    FCacheIndex = 1;
    Compile(FCache[1].first);
}

void TRegularExpression::Compile(const std::string& Pattern) {
    try {
        TREParser parser(Pattern);
        parser.Run();
        TRE_NFA nfa(parser, GetLineHeadChar(), GetLineTailChar());
        nfa.Run();
        auto dfa = std::make_unique<TRE_DFA>(nfa);
        dfa->Run();
        FCache[FCacheIndex].second = std::move(dfa);
    } catch (...) {
        FCache.erase(FCache.begin() + FCacheIndex);
        FCacheIndex = 0;
        throw;
    }
}

void TRegularExpression::SetUseFuzzyCharDic(bool Value) {
    FPreProcessor.UseFuzzyCharDic = Value;
    SetRegExp(FRegExp);
}

void TRegularExpression::SetUseSynonymDic(bool Value) {
    FPreProcessor.UseSynonymDic = Value;
    SetRegExp(FRegExp);
}

bool TMatchCORE::MatchPlain(std::string_view Text, size_t& Start, size_t& End) const {
    const TRE_DFA& dfa = DFA();
    const auto [begin, end] = TextBounds(Text);
    const int init = dfa.InitialState();
    if (begin == end) return dfa.Accepting(init) && Found(begin, begin, begin, Start, End);
    const TRE_DFA::TStartBytes& starts = dfa.StartBytes();
    for (TPos p = NextStart(begin, end, starts); p < end; p = NextStart(NextChar(p, end), end, starts)) {
        TPos last = nullptr;
        TPos q = p;
        for (int s = init; s >= 0; s = dfa.Move(s, dfa.ReadClass(q, end)))
            if (dfa.Accepting(s)) last = q;
        if (last) return Found(begin, p, last, Start, End);
    }
    return false;
}

// The end of the longest match from P starting in State, or nullptr. A line tail counts
// wherever the walk passes a separator or the end of the text.
TMatchCORE::TPos TMatchCORE::MatchFrom(TPos P, TPos End, int State) const {
    const TRE_DFA& dfa = DFA();
    const unsigned char separator = SeparatorByte();
    TPos last = nullptr;
    TPos q = P;
    for (int s = State; s >= 0; s = dfa.Move(s, dfa.ReadClass(q, End))) {
        if (dfa.Accepting(s) || (dfa.TailAccepts(s) && AtLineTail(q, End, separator))) last = q;
    }
    return last;
}

// The longest match from the line head P, with or without reading the line head.
TMatchCORE::TPos TMatchCORE::MatchAtHead(TPos P, TPos End) const {
    const TRE_DFA& dfa = DFA();
    const int init = dfa.InitialState();
    if (!dfa.HasLineHead()) return MatchFrom(P, End, init);
    // Both are tried even when no match reads the line head: on the empty text no other
    // start position is left to find a match that does not read it.
    const TPos e1 = MatchFrom(P, End, dfa.Move(init, TRE_DFA::LineHeadClass));
    const TPos e2 = MatchFrom(P, End, init);
    return e1 && (!e2 || e2 < e1) ? e1 : e2;
}

bool TMatchCORE::MatchAnchored(std::string_view Text, size_t& Start, size_t& End) const {
    const auto [begin, end] = TextBounds(Text);
    if (const TPos e = MatchAtHead(begin, end)) return Found(begin, begin, e, Start, End);
    return ScanFrom(begin, end, Start, End);
}

bool TMatchCORE::MatchScan(std::string_view Text, size_t& Start, size_t& End) const {
    const auto [begin, end] = TextBounds(Text);
    return ScanFrom(begin, end, Start, End);
}

bool TMatchCORE::ScanFrom(TPos Begin, TPos End, size_t& Start, size_t& Finish) const {
    const TRE_DFA& dfa = DFA();
    const int init = dfa.InitialState();
    const TRE_DFA::TStartBytes& starts = dfa.ScanStartBytes(SeparatorByte());
    for (TPos p = NextStart(Begin, End, starts); p < End; p = NextStart(NextChar(p, End), End, starts)) {
        if (const TPos e = MatchFrom(p, End, init)) return Found(Begin, p, e, Start, Finish);
        if (*p == '\n' && dfa.HasLineHead()) {
            if (const TPos e = MatchAtHead(p + 1, End)) return Found(Begin, p + 1, e, Start, Finish);
        }
    }
    if (dfa.HasLineTail() && dfa.Move(init, TRE_DFA::LineTailClass) >= 0) return Found(Begin, End, End, Start, Finish);
    return false;
}

TLineRegExp::TLineRegExp() { PreProcessor().FuzzyCharDicList.push_back(&FuzzyCharDic()); }

void TLineRegExp::SetRegExp(const std::string& Value) {
    try {
        TMatchCORE::SetRegExp(Value);
    } catch (...) {
        ChooseMatchProc();
        throw;
    }
    ChooseMatchProc();
}

void TLineRegExp::ChooseMatchProc() {
    const bool anchored = HasLineHead() || HasLineTail();
    FMatchProc = anchored ? &TMatchCORE::MatchAnchored : &TMatchCORE::MatchPlain;
}

int TLineRegExp::Match(std::string_view Str, int& Pos, int& Len) const {
    size_t start = 0;
    size_t end = 0;
    if ((this->*FMatchProc)(Str, start, end)) {
        Pos = static_cast<int>(start) + 1;
        Len = static_cast<int>(end - start);
    } else {
        Pos = Len = 0;
    }
    return Pos;
}

} // namespace quillon
