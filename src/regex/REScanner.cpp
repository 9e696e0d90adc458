#include "REScanner.h"

#include "Cp932.h"

namespace quillon {
namespace {

const char* const MsgBadDoubleByte = "不正な２バイト文字コードです。";
const char* const MsgEscapeAtEnd = "\"\\\"の次には文字が必要です。";
const char* const MsgBadHex = "不正な１６進数コード表記です。";
const char* const MsgBadOctal = "不正な８進数コード表記です。";
const char* const MsgBadRange = "不正なキャラクタ範囲です";

// The twelve metacharacters, in the order of the program's table.
constexpr std::string_view MetaChars = "^(|)+*?.[]$\\";

int HexDigit(TREChar c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

TREChar ReadHex(std::string_view Str, int& Index) {
    TREChar value = 0;
    int digits = 0;
    while (digits < 4) {
        const int before = Index;
        const int d = HexDigit(GetChar(Str, Index));
        if (d < 0) {
            Index = before;
            break;
        }
        value = value * 16 + d;
        ++digits;
    }
    if (digits == 0) throw ERegExpParser(MsgBadHex, Index);
    return value;
}

TREChar ReadOctal(std::string_view Str, int& Index) {
    TREChar value = 0;
    for (int digits = 0; digits < 6; ++digits) {
        const int before = Index;
        const TREChar c = GetChar(Str, Index);
        if (c < '0' || c > '7') {
            Index = before;
            break;
        }
        value = value * 8 + (c - '0');
        if (value > RE_MaxChar) throw ERegExpParser(MsgBadOctal, Index);
    }
    return value;
}

} // namespace

TREChar GetChar(std::string_view Str, int& Index) {
    const int size = static_cast<int>(Str.size());
    if (Index < 1 || Index > size) return 0;
    const auto b = static_cast<unsigned char>(Str[Index - 1]);
    if (!IsLeadByte(b)) {
        ++Index;
        return b;
    }
    if (Index == size) throw ERegExpParser(MsgBadDoubleByte, Index);
    const auto t = static_cast<unsigned char>(Str[Index]);
    Index += 2;
    return b * 256 + t;
}

void UngetChar(std::string_view Str, int& Index) {
    if (Index <= 1) return;
    // The byte before Index is a trail byte when an odd run of lead-range bytes precedes it:
    // a byte outside the lead range always ends a character, and from there the run pairs up.
    int run = 0;
    for (int k = Index - 3; k >= 0 && IsLeadByte(Str[k]); --k) ++run;
    Index -= (run % 2 == 1) ? 2 : 1;
}

TREChar ReadEscape(std::string_view Str, int& Index) {
    const int before = Index;
    const TREChar c = GetChar(Str, Index);
    switch (c) {
    case 0: throw ERegExpParser(MsgEscapeAtEnd, Index);
    case 'b': return 8;
    case 'r': return 13;
    case 'n': return 10;
    case 't': return 9;
    case 'x': return ReadHex(Str, Index);
    default:
        if (c >= '0' && c <= '7') {
            Index = before;
            return ReadOctal(Str, Index);
        }
        return c;
    }
}

std::string QuoteMetaChars(std::string_view S) {
    std::string result;
    result.reserve(S.size() + 8);
    for (size_t i = 0; i < S.size(); ++i) {
        if (IsLeadByte(S[i]) && i + 1 < S.size()) {
            result += S[i];
            result += S[++i];
            continue;
        }
        if (MetaChars.find(S[i]) != std::string_view::npos) result += '\\';
        result += S[i];
    }
    return result;
}

void TREScanner::SetPattern(std::string_view Pattern) {
    FStr.assign(Pattern);
    FIndex = 1;
    FInClass = false;
}

TRETokenKind TREScanner::NextToken() {
    if (FInClass) {
        FToken = GetClassToken();
        if (FToken == retk_RBra) FInClass = false;
    } else {
        FToken = GetToken();
        if (FToken == retk_LBra || FToken == retk_LBraNeg) FInClass = true;
    }
    return FToken;
}

void TREScanner::MissingBracket() const { throw ERegExpParser(RE_MsgNeedBracket, FIndex); }

TRETokenKind TREScanner::GetToken() {
    const TREChar c = GetChar(FStr, FIndex);
    FSymbol = c;
    switch (c) {
    case 0: return retk_End;
    case '$': return retk_LTail;
    case '(': return retk_LPar;
    case ')': return retk_RPar;
    case '*': return retk_Star;
    case '+': return retk_Plus;
    case '.': return retk_Dot;
    case '?': return retk_QMark;
    case '|': return retk_Union;
    case ']': return retk_RBra;
    case '^': return retk_LHead;
    case '[': {
        const TREChar d = GetChar(FStr, FIndex);
        if (d == 0) MissingBracket();
        if (d == '^') return retk_LBraNeg;
        UngetChar(FStr, FIndex);
        return retk_LBra;
    }
    case '\\': FSymbol = ReadEscape(FStr, FIndex); return retk_Char;
    default: return retk_Char;
    }
}

TRETokenKind TREScanner::GetClassToken() {
    TREChar c = GetChar(FStr, FIndex);
    if (c == 0) MissingBracket();
    FSymbol = c;
    if (c == ']') return retk_RBra;
    if (c == '\\') c = ReadEscape(FStr, FIndex);
    FSymbol = c;
    const TREChar d = GetChar(FStr, FIndex);
    if (d == 0) MissingBracket();
    if (d != '-') {
        UngetChar(FStr, FIndex);
        return retk_Char;
    }
    TREChar e = GetChar(FStr, FIndex);
    if (e == 0) MissingBracket();
    if (e == ']') {
        // "-" before "]" is an ordinary member: read it again as the next item.
        UngetChar(FStr, FIndex);
        UngetChar(FStr, FIndex);
        return retk_Char;
    }
    if (e == '\\') e = ReadEscape(FStr, FIndex);
    if (e < c) throw ERegExpParser(MsgBadRange, FIndex);
    FRangeLast = e;
    return retk_CharRange;
}

} // namespace quillon
