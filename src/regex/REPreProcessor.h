#pragma once
// Dictionary expansion of a pattern before it is compiled: every character or character
// sequence that a dictionary lists is replaced by the alternation of all variants of its set.
// Characters inside a class, and everything that is not a plain character, stay as written.
#include "REDictionary.h"
#include "REScanner.h"

#include <string>
#include <vector>

namespace quillon {

class TREPreProcessor {
public:
    explicit TREPreProcessor(std::string_view Pattern) : FScanner(Pattern) {}

    void SetPattern(std::string_view Pattern) { FScanner.SetPattern(Pattern); }
    // Fills ProcessedPattern; scanner errors (ERegExpParser) pass to the caller.
    void Run();
    const std::string& ProcessedPattern() const { return FProcessedPattern; }

    bool UseFuzzyCharDic = false;
    bool UseSynonymDic = false;
    // Dictionaries are tried in list order; the preprocessor does not own them.
    std::vector<const TREDictionary*> SynonymDicList;
    std::vector<const TREDictionary*> FuzzyCharDicList;

private:
    struct TToken {
        TRETokenKind Kind;
        TREChar Char;
        int Start;  // 1-based position of the token's first byte in the pattern
        int End;    // position of the byte after it
    };

    void Expand(const std::vector<const TREDictionary*>& Dics);
    void Tokenize();
    void ExpandRun(size_t First, size_t Last, bool OperandFollows, const std::vector<const TREDictionary*>& Dics);
    std::string_view SourceText(const TToken& Token) const;

    TREScanner FScanner;
    std::string FProcessedPattern;
    std::vector<TToken> FTokens;
    std::vector<TREChar> FRunChars;  // characters of the run being expanded
};

} // namespace quillon
