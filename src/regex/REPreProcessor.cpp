#include "REPreProcessor.h"

#include <algorithm>
#include <iterator>

namespace quillon {

void TREPreProcessor::Run() {
    FPasses.clear();
    FProcessedPattern = FScanner.Str();
    if (UseSynonymDic) {
        Expand(SynonymDicList);
        FScanner.SetPattern(FProcessedPattern);
    }
    if (UseFuzzyCharDic) Expand(FuzzyCharDicList);
}

void TREPreProcessor::Tokenize() {
    FTokens.clear();
    FScanner.SetPattern(std::string(FScanner.Str()));
    for (;;) {
        const int start = FScanner.Index();
        const TRETokenKind kind = FScanner.NextToken();
        if (kind == retk_End) break;
        FTokens.push_back({kind, FScanner.Symbol(), start, FScanner.Index()});
    }
    FTokens.push_back({retk_End, 0, 0, 0});
}

std::string_view TREPreProcessor::SourceText(const TToken& Token) const {
    if (Token.Kind == retk_End) return {};
    return std::string_view(FScanner.Str()).substr(Token.Start - 1, Token.End - Token.Start);
}

int TREPreProcessor::SourcePosition(int Pos) const {
    for (auto pass = FPasses.rbegin(); pass != FPasses.rend(); ++pass) {
        const int last = Pos - 2; // the byte read last
        if (last < 0 || pass->empty()) continue;
        const auto span = std::prev(
            std::upper_bound(pass->begin(), pass->end(), last, [](int b, const TSpan& s) { return b < s.Processed; }));
        Pos = span->Verbatim ? span->SourceStart + (last - span->Processed) + 2 : span->SourceEnd + 1;
    }
    return Pos;
}

void TREPreProcessor::Append(std::string_view Text, int SourceStart, int SourceEnd, bool Verbatim) {
    if (Text.empty()) return;
    FPasses.back().push_back({static_cast<int>(FProcessedPattern.size()), SourceStart, SourceEnd, Verbatim});
    FProcessedPattern += Text;
}

void TREPreProcessor::Expand(const std::vector<const TREDictionary*>& Dics) {
    Tokenize();
    FPasses.emplace_back();
    FProcessedPattern.clear();
    bool inClass = false;
    size_t i = 0;
    while (i < FTokens.size()) {
        const TToken& token = FTokens[i];
        if (token.Kind == retk_LBra || token.Kind == retk_LBraNeg) inClass = true;
        if (token.Kind == retk_RBra) inClass = false;
        if (token.Kind != retk_Char || inClass) {
            Append(SourceText(token), token.Start - 1, token.End - 1, true);
            ++i;
            continue;
        }
        size_t j = i;
        while (FTokens[j].Kind == retk_Char) ++j;
        const TRETokenKind after = FTokens[j].Kind;
        ExpandRun(i, j, after == retk_Star || after == retk_Plus || after == retk_QMark, Dics);
        i = j;
    }
}

// Expands the run of plain characters First..Last-1. When a postfix operator follows the run,
// it applies to the run's last character alone, so no item of several characters may take
// that character into its group.
void TREPreProcessor::ExpandRun(size_t First, size_t Last, bool OperandFollows,
                                const std::vector<const TREDictionary*>& Dics) {
    FRunChars.clear();
    for (size_t k = First; k < Last; ++k) FRunChars.push_back(FTokens[k].Char);
    const size_t count = Last - First;
    size_t i = 0;
    while (i < count) {
        const std::span<const TREChar> rest(FRunChars.data() + i, count - i);
        const size_t multiLimit = OperandFollows ? rest.size() - 1 : rest.size();
        TREDictionary::THit hit{};
        const TREDictionary* found = nullptr;
        for (const TREDictionary* dic : Dics) {
            if (dic->Find(rest, multiLimit, hit)) {
                found = dic;
                break;
            }
        }
        const TToken& token = FTokens[First + i];
        if (found) {
            Append(found->Alternation(hit.Set), token.Start - 1, FTokens[First + i + hit.Length - 1].End - 1, false);
            i += hit.Length;
        } else {
            Append(SourceText(token), token.Start - 1, token.End - 1, true);
            ++i;
        }
    }
}

} // namespace quillon
