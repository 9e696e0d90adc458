#include "Strutil.h"

#include "Cp932.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace quillon {
namespace {

// The byte length of the character that starts at text[p]: 2 for a lead byte with a byte after it.
size_t CharLength(std::string_view text, size_t p) { return IsLeadByte(text[p]) && p + 1 < text.size() ? 2 : 1; }

// The characters of a CP932 text, each as its bytes.
std::vector<std::string> CharsOf(std::string_view text) {
    std::vector<std::string> chars;
    for (size_t p = 0; p < text.size(); p += CharLength(text, p))
        chars.emplace_back(text.substr(p, CharLength(text, p)));
    return chars;
}

// Characters of target grouped per width: every `group` characters stand for one source character.
std::vector<std::string> Grouped(const std::vector<std::string>& chars, size_t group) {
    std::vector<std::string> out;
    for (size_t i = 0; i + group <= chars.size(); i += group) {
        std::string piece;
        for (size_t k = 0; k < group; ++k) piece += chars[i + k];
        out.push_back(std::move(piece));
    }
    return out;
}

// One row of the conversion tables: characters of the narrow form and their wide partners at the
// same positions; a wide character may stand for a group of narrow ones (voiced kana).
struct TWidthPairs {
    std::string Narrow; // UTF-8
    std::string Wide;   // UTF-8
    size_t NarrowGroup; // narrow characters per wide character
};

const std::string kHalfKana = "ｦｧｨｩｪｫｬｭｮｯｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ";
const std::string kHalfVoiced = "ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ";

// The 32 printable ASCII symbols in byte order, then the half-width kana punctuation.
std::string NarrowSymbols() {
    std::string s;
    for (int b = 0x21; b <= 0x7E; ++b) {
        bool letterOrDigit = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        if (!letterOrDigit) s += static_cast<char>(b);
    }
    return s + "｡｢｣､･ｰﾞﾟ";
}

// Rows shared by both directions, in lookup order.
std::vector<TWidthPairs> CommonRows() {
    return {
        {" ABCDEFGHIJKLMNOPQRSTUVWXYZ", "　ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ", 1},
        {"abcdefghijklmnopqrstuvwxyz", "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ", 1},
        {"0123456789", "０１２３４５６７８９", 1},
        {NarrowSymbols(), "！”＃＄％＆’（）＊＋，－．／：；＜＝＞？＠［￥］＾＿｀｛｜｝￣。「」、・ー゛゜", 1},
    };
}

// Calls add(narrow, wide) for every pair of a row, both as CP932 bytes.
template <class Add> void ForEachPair(const TWidthPairs& row, Add add) {
    std::vector<std::string> narrow = Grouped(CharsOf(Utf8ToCp932(row.Narrow)), row.NarrowGroup);
    std::vector<std::string> wide = CharsOf(Utf8ToCp932(row.Wide));
    for (size_t i = 0; i < narrow.size() && i < wide.size(); ++i) add(narrow[i], wide[i]);
}

// Single byte -> its full-width character; empty when it has none.
const std::array<std::string, 256>& ZenkakuTable() {
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> t;
        std::vector<TWidthPairs> rows = {
            {kHalfKana,
             "ヲァィゥェォャュョッアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン",
             1}};
        for (TWidthPairs& row : CommonRows()) rows.push_back(std::move(row));
        for (const TWidthPairs& row : rows)
            ForEachPair(row, [&](const std::string& narrow, const std::string& wide) {
                std::string& slot = t[static_cast<unsigned char>(narrow[0])];
                if (slot.empty()) slot = wide;
            });
        return t;
    }();
    return table;
}

std::uint16_t CodeOf(std::string_view pair) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(pair[0]) << 8 | static_cast<unsigned char>(pair[1]));
}

// Double-byte character code -> its half-width text (one or two bytes).
const std::unordered_map<std::uint16_t, std::string>& HankakuTable() {
    static const std::unordered_map<std::uint16_t, std::string> table = [] {
        std::unordered_map<std::uint16_t, std::string> t;
        std::vector<TWidthPairs> rows = {
            {kHalfKana,
             "をぁぃぅぇぉゃゅょっあいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわん",
             1},
            {kHalfKana,
             "ヲァィゥェォャュョッアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン",
             1},
        };
        for (TWidthPairs& row : CommonRows()) rows.push_back(std::move(row));
        rows.push_back({kHalfVoiced, "がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ", 2});
        rows.push_back({kHalfVoiced + "ｳﾞ", "ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ", 2});
        for (const TWidthPairs& row : rows)
            ForEachPair(row, [&](const std::string& narrow, const std::string& wide) {
                if (wide.size() == 2) t.emplace(CodeOf(wide), narrow); // the first row that has a character wins
            });
        return t;
    }();
    return table;
}

bool IsBlankAt(std::string_view text, size_t p, size_t length) {
    if (length == 1) return static_cast<unsigned char>(text[p]) <= 32;
    return text[p] == '\x81' && text[p + 1] == '\x40';
}

} // namespace

std::string TrimZenkaku(std::string_view S) {
    size_t start = S.size(), end = 0;
    for (size_t p = 0; p < S.size();) {
        size_t length = CharLength(S, p);
        if (!IsBlankAt(S, p, length)) {
            if (start == S.size()) start = p;
            end = p + length;
        }
        p += length;
    }
    return start < end ? std::string(S.substr(start, end - start)) : std::string();
}

std::string ToZenkaku(std::string_view S) {
    const auto& table = ZenkakuTable();
    std::string out;
    out.reserve(S.size() * 2);
    for (size_t p = 0; p < S.size();) {
        size_t length = CharLength(S, p);
        const std::string* wide = length == 1 ? &table[static_cast<unsigned char>(S[p])] : nullptr;
        if (wide && !wide->empty())
            out += *wide;
        else
            out.append(S.substr(p, length));
        p += length;
    }
    return out;
}

std::string ToHankaku(std::string_view S) {
    const auto& table = HankakuTable();
    std::string out;
    out.reserve(S.size());
    for (size_t p = 0; p < S.size();) {
        size_t length = CharLength(S, p);
        auto found = length == 2 ? table.find(CodeOf(S.substr(p, 2))) : table.end();
        if (found == table.end())
            out.append(S.substr(p, length));
        else
            out += found->second;
        p += length;
    }
    return out;
}

} // namespace quillon
