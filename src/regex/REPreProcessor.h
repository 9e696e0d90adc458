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
    // The position in the pattern as written that answers a 1-based error position (the index
    // after the character read last) in the processed pattern: a character copied as it stood
    // keeps its own position, and one that a dictionary alternation stands for answers the
    // position after the characters it replaced.
    int SourcePosition(int Pos) const;

    bool UseFuzzyCharDic = false;
    bool UseSynonymDic = false;
    // Dictionaries are tried in list order; the preprocessor does not own them.
    std::vector<const TREDictionary*> SynonymDicList;
    std::vector<const TREDictionary*> FuzzyCharDicList;

private:
    struct TToken {
        TRETokenKind Kind;
        TREChar Char;
        int Start; // 1-based position of the token's first byte in the pattern
        int End;   // position of the byte after it
    };

    // A piece of one expansion pass's output and the source text it came from (0-based).
    struct TSpan {
        int Processed; // its first byte in the output
        int SourceStart;
        int SourceEnd; // the byte after it in the source
        bool Verbatim; // copied as it stood
    };

    void Expand(const std::vector<const TREDictionary*>& Dics);
    void Append(std::string_view Text, int SourceStart, int SourceEnd, bool Verbatim);
    void Tokenize();
    void ExpandRun(size_t First, size_t Last, bool OperandFollows, const std::vector<const TREDictionary*>& Dics);
    std::string_view SourceText(const TToken& Token) const;

    TREScanner FScanner;
    std::string FProcessedPattern;
    std::vector<TToken> FTokens;
    std::vector<TREChar> FRunChars;          // characters of the run being expanded
    std::vector<std::vector<TSpan>> FPasses; // the pieces of each expansion pass of the last Run
};

} // namespace quillon
