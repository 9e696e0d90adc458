#include "TextSearch.h"

#include "Cp932.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {
namespace {

using uchar = unsigned char;

constexpr std::array<uchar, 256> MakeUpperTable() {
    std::array<uchar, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<uchar>(i >= 'a' && i <= 'z' ? i - 0x20 : i);
    return t;
}

// Full-width forms (Shift-JIS) of the ASCII bytes 0x20-0x7E.
constexpr std::uint16_t kAsciiWide[0x7F - 0x20] = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166, //  !"#$%&'
    0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E, // ()*+,-./
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, // 01234567
    0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, // 89:;<=>?
    0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266, // @ABCDEFG
    0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E, // HIJKLMNO
    0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276, // PQRSTUVW
    0x8277, 0x8278, 0x8279, 0x816D, 0x818F, 0x816E, 0x814F, 0x8151, // XYZ[\]^_
    0x814D, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287, // `abcdefg
    0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F, // hijklmno
    0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297, // pqrstuvw
    0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8150,         // xyz{|}~
};

// JIS X 0208 row 0x25 cells of the half-width katakana 0xA6-0xDD (0 for 0xB0, the prolonged mark).
constexpr uchar kKanaCell[0xDE - 0xA6] = {
    0x72, 0x21, 0x23, 0x25, 0x27, 0x29, 0x63, 0x65, 0x67, 0x43, // ｦｧｨｩｪｫｬｭｮｯ
    0x00, 0x22, 0x24, 0x26, 0x28, 0x2A,                         // ｰｱｲｳｴｵ
    0x2B, 0x2D, 0x2F, 0x31, 0x33, 0x35, 0x37, 0x39, 0x3B, 0x3D, // ｶｷｸｹｺｻｼｽｾｿ
    0x3F, 0x41, 0x44, 0x46, 0x48, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, // ﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉ
    0x4F, 0x52, 0x55, 0x58, 0x5B, 0x5E, 0x5F, 0x60, 0x61, 0x62, // ﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓ
    0x64, 0x66, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6F, 0x73, // ﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ
};
constexpr uchar kJisVu = 0x74; // ヴ

// Full-width forms of the half-width punctuation 0xA1-0xA5 and of the marks 0xB0, 0xDE, 0xDF.
std::uint16_t KanaPunctuationWide(uchar b) {
    switch (b) {
    case 0xA1: return 0x8142; // 。
    case 0xA2: return 0x8175; // 「
    case 0xA3: return 0x8176; // 」
    case 0xA4: return 0x8141; // 、
    case 0xA5: return 0x8144; // ．
    case 0xB0: return 0x815B; // ー
    case 0xDE: return 0x814A; // ゛
    case 0xDF: return 0x814B; // ゜
    default: return 0;
    }
}

bool IsHalfKana(uchar b) { return b >= 0xA6 && b <= 0xDD && b != 0xB0; }
// ｳ, ｶ-ﾄ and ﾊ-ﾎ take the voiced mark ﾞ; only ﾊ-ﾎ take the semi-voiced mark ﾟ.
bool TakesVoicedMark(uchar b) { return b == 0xB3 || (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE); }
bool TakesSemiVoicedMark(uchar b) { return b >= 0xCA && b <= 0xCE; }
bool IsKanaPair(uchar kana, uchar mark) {
    return (mark == 0xDE && TakesVoicedMark(kana)) || (mark == 0xDF && TakesSemiVoicedMark(kana));
}

std::uint16_t JisToSjis(int j1, int j2) {
    int s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
    int s2 = (j1 & 1) ? j2 + (j2 >= 0x60 ? 0x20 : 0x1F) : j2 + 0x7E;
    return static_cast<std::uint16_t>(s1 << 8 | s2);
}

// One character's full-width form: one or two bytes.
struct TZen {
    char Bytes[2];
    int Size;
    std::string_view View() const { return {Bytes, static_cast<std::size_t>(Size)}; }
};

TZen Wide(std::uint16_t code) { return {{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)}, 2}; }

// The full-width form of a single byte, or of a half-width kana with its voiced mark (Size 2).
TZen ZenOf(uchar b, uchar mark, int size) {
    if (IsHalfKana(b)) {
        int cell = kKanaCell[b - 0xA6];
        if (size == 2) cell = b == 0xB3 ? kJisVu : cell + (mark == 0xDE ? 1 : 2);
        return Wide(JisToSjis(0x25, cell));
    }
    if (b >= 0x20 && b <= 0x7E) return Wide(kAsciiWide[b - 0x20]);
    if (std::uint16_t w = KanaPunctuationWide(b)) return Wide(w);
    return {{static_cast<char>(b), 0}, 1};
}

// The upper-case partner of a double-byte lower-case letter, or 0.
std::uint16_t UpperPartner(uchar lead, uchar trail) {
    switch (lead) {
    case 0x82:
        if (trail >= 0x81 && trail <= 0x9A) return 0x8200 | (trail - 0x21);
        break; // ａ-ｚ
    case 0x83:
        if (trail >= 0xBF && trail <= 0xD6) return 0x8300 | (trail - 0x20);
        break; // α-ω
    case 0x84: // а-я
        if (trail >= 0x70 && trail <= 0x7E) return 0x8400 | (trail - 0x30);
        if (trail >= 0x80 && trail <= 0x91) return 0x8400 | (trail - 0x31);
        break;
    case 0xEE:
        if (trail >= 0xEF && trail <= 0xF8) return 0x8700 | (trail - 0x9B);
        break; // ⅰ-ⅹ
    default: break;
    }
    return 0;
}

// The pattern as the comparison expects it without stMatchCase: every letter in upper case.
std::string UpperCasePattern(std::string_view S) {
    std::string r(S);
    for (std::size_t i = 0; i < r.size(); ++i) {
        auto b = static_cast<uchar>(r[i]);
        if (IsLeadByte(b) && i + 1 < r.size()) {
            if (std::uint16_t up = UpperPartner(b, static_cast<uchar>(r[i + 1]))) {
                r[i] = static_cast<char>(up >> 8);
                r[i + 1] = static_cast<char>(up & 0xFF);
            }
            ++i;
        } else {
            r[i] = static_cast<char>(UpperTable[b]);
        }
    }
    return r;
}

int CharCountOf(std::string_view S) {
    int n = 0;
    for (std::size_t i = 0; i < S.size(); i += IsLeadByte(S[i]) && i + 1 < S.size() ? 2 : 1) ++n;
    return n;
}

enum TByteKind : uchar { bkSingle, bkLead, bkTrail };

using TByteTable = std::array<bool, 256>;

// Whether the single-byte text character B (a half-width kana joined with the voiced Mark when Size
// is 2) matches the pattern character Pc.
bool SingleCharMatches(uchar b, uchar mark, int size, std::string_view pc, TSearchOptions opt) {
    const bool matchCase = opt & stMatchCase;
    if (!(opt & stWidthFold)) return pc.size() == 1 && static_cast<uchar>(pc[0]) == (matchCase ? b : UpperTable[b]);
    TZen z = ZenOf(b, mark, size);
    if (z.Size == 2 && !matchCase)
        if (std::uint16_t up = UpperPartner(static_cast<uchar>(z.Bytes[0]), static_cast<uchar>(z.Bytes[1])))
            z = Wide(up);
    return z.View() == pc;
}

bool DoubleCharMatches(std::string_view tc, std::string_view pc, TSearchOptions opt) {
    return opt & stMatchCase ? tc == pc : DBCharEqual(pc, tc);
}

// The bytes a match can hold at one offset from its start, tested sixteen starts at a time when they
// are at most four values.
class TOffsetFilter {
public:
    TOffsetFilter(int offset, const TByteTable& allowed) : FOffset(offset), FAllowed(allowed) {
        for (int b = 0; b < 256; ++b)
            if (allowed[static_cast<std::size_t>(b)] && FCount++ < 4) FValues[FCount - 1] = static_cast<uchar>(b);
    }
    int Offset() const { return FOffset; }
    bool Sharp() const { return FCount <= 4; }
    bool Passes(std::string_view b, int p) const {
        return FAllowed[static_cast<uchar>(b[static_cast<std::size_t>(p + FOffset)])];
    }
#if defined(__SSE2__)
    // Bit i: the start Block + i passes (Sharp filters only; 16 + Offset bytes from Block are read).
    unsigned Mask(const char* block) const {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + FOffset));
        __m128i m = _mm_setzero_si128();
        for (int k = 0; k < FCount; ++k)
            m = _mm_or_si128(m, _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(FValues[k]))));
        return static_cast<unsigned>(_mm_movemask_epi8(m));
    }
#endif

private:
    int FOffset;
    TByteTable FAllowed;
    std::array<uchar, 4> FValues{};
    int FCount = 0;
};

// The pattern's characters, each one or two bytes.
std::vector<std::string_view> PatternChars(std::string_view pat) {
    std::vector<std::string_view> chars;
    for (std::size_t i = 0; i < pat.size();) {
        const std::size_t n = IsLeadByte(pat[i]) && i + 1 < pat.size() ? 2 : 1;
        chars.push_back(pat.substr(i, n));
        i += n;
    }
    return chars;
}

class TSearcher {
public:
    TSearcher(std::string_view buffer, std::string pattern, TSearchOptions options)
        : B(buffer), Pat(std::move(pattern)), Opt(options), N(static_cast<int>(buffer.size())) {
        const std::vector<std::string_view> chars = PatternChars(Pat);
        Filters.emplace_back(0, StartBytes(chars.front()));
        // Without skips or width folding a match takes the pattern's bytes one for one.
        if (!(Opt & (stWidthFold | stSkipLineBreaks | stSkipBlanks)) && Pat.size() > 1)
            Filters.emplace_back(static_cast<int>(Pat.size()) - 1, LastBytes(chars.back()));
    }

    bool IsTrail(int p) { return p > 0 && p < N && (p - RunStart(p)) % 2 == 1; }

    // Steps back over Count characters from P (a half-width kana with its voiced mark is one).
    int StepBackChars(int p, int count) {
        for (; count > 0; --count) {
            --p;
            if (p > 0 &&
                (IsTrail(p) || ((Opt & stWidthFold) && Kind(p - 1) == bkSingle && IsKanaPair(Byte(p - 1), Byte(p)))))
                --p;
        }
        return p;
    }

    // The first match starting in From..Last, or the last one in Last..From when From > Last: its
    // start, with its length in Size; -1 when there is none.
    int Find(int from, int last, int& size) {
        const bool down = from <= last;
        int p = from;
#if defined(__SSE2__)
        // Sixteen starts at a time while the sharp filters' bytes lie inside the buffer.
        int reach = 0;
        bool sharp = false;
        for (const TOffsetFilter& f : Filters) {
            reach = std::max(reach, f.Offset());
            sharp = sharp || f.Sharp();
        }
        for (; sharp && (down ? p <= last && p + reach + 16 <= N : p >= last + 15 && p - 15 + reach + 16 <= N);
             p += down ? 16 : -16) {
            const int block = down ? p : p - 15;
            unsigned mask = 0xFFFF;
            for (const TOffsetFilter& f : Filters)
                if (f.Sharp()) mask &= f.Mask(B.data() + block);
            while (mask != 0) {
                const int bit = down ? std::countr_zero(mask) : 31 - std::countl_zero(mask);
                mask &= ~(1u << bit);
                const int q = block + bit;
                if (down && q > last) break;
                if ((size = TryAt(q)) >= 0) return q;
            }
        }
#endif
        for (; down ? p <= last : p >= last; p += down ? 1 : -1)
            if ((size = TryAt(p)) >= 0) return p;
        return -1;
    }

private:
    uchar Byte(int p) const { return static_cast<uchar>(B[static_cast<std::size_t>(p)]); }

    // The start of the run of lead-range bytes that ends before P. A byte outside the lead-byte range
    // always ends a character, so the bytes from the run's start to P pair up as characters. The last
    // run found is kept: the starts tried walk in one direction, so each byte is passed once.
    int RunStart(int p) {
        if (FRunStart <= p && p <= FRunEnd) return FRunStart;
        int i = p;
        while (i > 0 && i != FRunEnd && IsLeadByte(B[static_cast<std::size_t>(i - 1)])) --i;
        if (!(i == FRunEnd && i > 0 && IsLeadByte(B[static_cast<std::size_t>(i - 1)]))) FRunStart = i;
        FRunEnd = p;
        return FRunStart;
    }

    bool IsLeadAt(int p) const { return IsLeadByte(B[static_cast<std::size_t>(p)]) && p + 1 < N; }

    TByteKind Kind(int p) {
        if (IsTrail(p)) return bkTrail;
        return IsLeadAt(p) ? bkLead : bkSingle;
    }

    // The length of the match at P, or -1.
    int TryAt(int p) {
        for (const TOffsetFilter& f : Filters)
            if (p + f.Offset() >= N || !f.Passes(B, p)) return -1;
        return IsTrail(p) ? -1 : MatchAt(p);
    }

    // The length of the match at the character start P, or -1. Every position the pattern's
    // characters are compared at is a character start.
    int MatchAt(int p) const {
        if ((Opt & stWholeWord) && !IsWordStart(p)) return -1;
        int off = 0;
        for (std::size_t i = 0; i < Pat.size();) {
            int pos = p + off;
            if (pos >= N) return -1;
            std::size_t plen = IsLeadByte(Pat[i]) && i + 1 < Pat.size() ? 2 : 1;
            const bool lead = IsLeadAt(pos);
            int tlen = TextCharSize(pos, lead);
            if (CharMatches(pos, lead, tlen, std::string_view(Pat).substr(i, plen))) {
                off += tlen;
                i += plen;
            } else if (int skip = i > 0 ? SkippableSize(pos, lead) : 0) {
                off += skip;
            } else {
                return -1;
            }
        }
        if ((Opt & stWholeWord) && p + off < N && !IsWordDelimiter(Byte(p + off))) return -1;
        return off;
    }

    bool IsWordStart(int p) const { return !IsWordDelimiter(Byte(p)) && (p == 0 || IsWordDelimiter(Byte(p - 1))); }

    int TextCharSize(int pos, bool lead) const {
        if (lead) return 2;
        if ((Opt & stWidthFold) && pos + 1 < N && IsKanaPair(Byte(pos), Byte(pos + 1))) return 2;
        return 1;
    }

    bool CharMatches(int pos, bool lead, int tlen, std::string_view pc) const {
        if (lead) return DoubleCharMatches(B.substr(static_cast<std::size_t>(pos), 2), pc, Opt);
        return SingleCharMatches(Byte(pos), tlen == 2 ? Byte(pos + 1) : 0, tlen, pc, Opt);
    }

    // Bytes of a line break or blank at pos that the options let a match pass over (0: none).
    int SkippableSize(int pos, bool lead) const {
        uchar c = Byte(pos);
        if ((Opt & stSkipLineBreaks) && (c == '\r' || c == '\n')) return 1;
        if (Opt & stSkipBlanks) {
            if (c == '\t' || c == ' ') return 1;
            if (lead && c == 0x81 && Byte(pos + 1) == 0x40) return 2;
        }
        return 0;
    }

    // The bytes that can begin a text character matching the pattern character Pc.
    TByteTable StartBytes(std::string_view pc) const {
        TByteTable t{};
        const bool fold = Opt & stWidthFold;
        for (int b = 0; b < 256; ++b) {
            const auto c = static_cast<uchar>(b);
            // A lead byte begins a double-byte character (or, ending the buffer, a single one); the
            // small Roman numerals (lead 0xEE) match their capitals (lead 0x87).
            const bool asLead = IsLeadByte(c) && pc.size() == 2 &&
                                (c == static_cast<uchar>(pc[0]) ||
                                 (!(Opt & stMatchCase) && c == 0xEE && static_cast<uchar>(pc[0]) == 0x87));
            const bool asPair = fold && ((IsKanaPair(c, 0xDE) && SingleCharMatches(c, 0xDE, 2, pc, Opt)) ||
                                         (IsKanaPair(c, 0xDF) && SingleCharMatches(c, 0xDF, 2, pc, Opt)));
            t[c] = asLead || asPair || SingleCharMatches(c, 0, 1, pc, Opt);
        }
        return t;
    }

    // The bytes that can end a text character matching the pattern character Pc, taken one for one.
    TByteTable LastBytes(std::string_view pc) const {
        TByteTable t{};
        if (pc.size() == 1) {
            for (int b = 0; b < 256; ++b)
                t[static_cast<uchar>(b)] = SingleCharMatches(static_cast<uchar>(b), 0, 1, pc, Opt);
            return t;
        }
        for (int b = 0; b < 256; ++b)
            for (const uchar lead : {static_cast<uchar>(pc[0]), uchar{0xEE}}) {
                const char tc[2] = {static_cast<char>(lead), static_cast<char>(b)};
                if (DoubleCharMatches(std::string_view(tc, 2), pc, Opt)) t[static_cast<uchar>(b)] = true;
            }
        return t;
    }

    std::string_view B;
    std::string Pat;
    TSearchOptions Opt;
    int N;
    std::vector<TOffsetFilter> Filters; // the first byte, and the last where matches have the pattern's length
    int FRunStart = 0, FRunEnd = 0;     // the last run of lead-range bytes found: FRunStart..FRunEnd - 1
};

} // namespace

const std::array<unsigned char, 256> UpperTable = MakeUpperTable();

bool IsWordDelimiter(unsigned char b) {
    return b <= 0x2F || (b >= 0x3A && b <= 0x40) || (b >= 0x5B && b <= 0x60) || (b >= 0x7B && b <= 0x80) ||
           (b >= 0xA0 && b <= 0xA5) || b >= 0xFD;
}

std::string HanToZen(std::string_view S) {
    std::string r;
    r.reserve(S.size() * 2);
    for (std::size_t i = 0; i < S.size();) {
        auto b = static_cast<uchar>(S[i]);
        if (IsLeadByte(b) && i + 1 < S.size()) {
            r.append(S.substr(i, 2));
            i += 2;
            continue;
        }
        uchar mark = i + 1 < S.size() ? static_cast<uchar>(S[i + 1]) : 0;
        int size = IsKanaPair(b, mark) ? 2 : 1;
        r.append(ZenOf(b, mark, size).View());
        i += static_cast<std::size_t>(size);
    }
    return r;
}

bool DBCharEqual(std::string_view P, std::string_view T) {
    if (P.size() != 2 || T.size() != 2) return false;
    if (P == T) return true;
    std::uint16_t up = UpperPartner(static_cast<uchar>(T[0]), static_cast<uchar>(T[1]));
    return up != 0 && up == (static_cast<uchar>(P[0]) << 8 | static_cast<uchar>(P[1]));
}

bool SearchText(std::string_view Buffer, TSearchInfo& Info, std::string_view Pattern, TSearchOptions Options) {
    if (Pattern.empty() || Buffer.empty()) return false;
    const std::int64_t n = static_cast<std::int64_t>(Buffer.size());
    if (Info.Start < 0 || Info.Start > n || Info.Length < 0) return false;

    std::string pat = Options & stMatchCase ? std::string(Pattern) : UpperCasePattern(Pattern);
    if (Options & stWidthFold) pat = HanToZen(pat);
    // The fewest text bytes a match can take: one per character with width folding.
    const std::int64_t minSize = Options & stWidthFold ? CharCountOf(pat) : static_cast<std::int64_t>(pat.size());
    TSearcher searcher(Buffer, pat, Options);

    int size = 0, found = -1;
    if (Options & stDown) {
        std::int64_t s = std::int64_t{Info.Start} + Info.Length;
        if (searcher.IsTrail(static_cast<int>(std::min(s, n)))) ++s;
        if (s <= n - minSize) found = searcher.Find(static_cast<int>(s), static_cast<int>(n - minSize), size);
    } else {
        std::int64_t s = Options & stWidthFold ? searcher.StepBackChars(Info.Start, static_cast<int>(minSize))
                                               : Info.Start - static_cast<std::int64_t>(pat.size());
        if (s >= 0) found = searcher.Find(static_cast<int>(s), 0, size);
    }
    if (found < 0) return false;
    Info.Start = found;
    Info.Length = size;
    return true;
}

} // namespace quillon
