#include "MskMatch.h"

#include "Cp932.h"

#include <vector>

namespace quillon {
namespace {

// The text cut into characters, each one or two bytes.
std::vector<std::string_view> Chars(std::string_view text) {
    std::vector<std::string_view> chars;
    for (size_t i = 0; i < text.size();) {
        size_t n = IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
        chars.push_back(text.substr(i, n));
        i += n;
    }
    return chars;
}

char FileNameLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameChar(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a.size() == 1) return FileNameLower(a[0]) == FileNameLower(b[0]);
    return a == b;
}

} // namespace

std::string NormalizeMask(std::string_view Mask, bool CutStarDotStar) {
    std::string result;
    size_t q = 0, s = 0;
    auto flush = [&] {
        result.append(q, '?');
        if (s > 0) result += '*';
        q = s = 0;
    };
    for (std::string_view c : Chars(Mask)) {
        if (c == "?") {
            ++q;
        } else if (c == "*") {
            ++s;
        } else {
            flush();
            result += c;
        }
    }
    flush();
    if (CutStarDotStar && result.size() >= 3 && result.ends_with("*.*")) result.resize(result.size() - 2);
    return result;
}

bool MatchesMask(std::string_view Name, std::string_view Mask, bool Raw) {
    std::string normal = Raw ? std::string(Mask) : NormalizeMask(Mask, true);
    const std::vector<std::string_view> m = Chars(normal), n = Chars(Name);
    if (m.empty()) return n.empty();
    // 0-based positions; a position past the end reads as the empty character.
    auto at = [](const std::vector<std::string_view>& v, size_t k) { return k < v.size() ? v[k] : std::string_view(); };
    const size_t lastM = m.size() - 1;
    auto atEnd = [&](size_t i, size_t j) { return i == lastM && j + 1 == n.size(); };
    size_t i = 0, j = 0, bi = 0, bj = 0; // (bi, bj): the most recent star and where its search stopped
    bool star = false;
    for (;;) {
        std::string_view c = at(m, i);
        if (c == "?") {
            if (j >= n.size()) return false;
            if (atEnd(i, j)) return true;
            ++i, ++j;
        } else if (c == "*") {
            if (i == lastM) return true;
            std::string_view d = m[i + 1];
            size_t k = j;
            while (k < n.size() && !SameChar(n[k], d)) ++k;
            if (k >= n.size()) return false;
            bi = i, bj = k, star = true;
            ++i, j = k;
        } else {
            std::string_view nc = at(n, j);
            if (!c.empty() && !nc.empty() && SameChar(c, nc)) {
                if (atEnd(i, j)) return true;
                ++i, ++j;
            } else if (star) {
                star = false;
                i = bi, j = bj + 1;
            } else {
                return false;
            }
        }
    }
}

} // namespace quillon
