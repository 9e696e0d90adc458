#include "Editor.h"

#include "Cp932.h"

#include <algorithm>

namespace quillon {
namespace {

void SetRange(TDelimiters& d, int from, int to) {
    for (int b = from; b <= to; ++b) d.set(static_cast<std::size_t>(b));
}

// The columns a tab at column w takes, its own included.
int TabWidth(int w, const TColumnLayout& layout) {
    int stop = (w / layout.TabSpaceCount + 1) * layout.TabSpaceCount;
    if (layout.WordWrap && layout.WrapByte > 0) stop = std::min(stop, (w / layout.WrapByte + 1) * layout.WrapByte);
    return stop - w;
}

bool IsDoubleByteAt(std::string_view s, std::size_t i) { return IsLeadByte(s[i]) && i + 1 < s.size(); }

} // namespace

TDelimiters GetDelimiters() {
    TDelimiters d;
    SetRange(d, 0x00, 0x2F);
    SetRange(d, 0x3A, 0x40);
    SetRange(d, 0x5B, 0x5E);
    SetRange(d, 0x60, 0x60);
    SetRange(d, 0x7B, 0x80);
    SetRange(d, 0xA0, 0xA5);
    SetRange(d, 0xFD, 0xFF);
    return d;
}

std::string ClassString(std::string_view S, const TColumnLayout& Layout) {
    const std::size_t limit = Layout.WordWrap ? static_cast<std::size_t>(Layout.WrapByte) + 3 : 1000;
    std::string cls;
    cls.reserve(std::min(S.size() * 2, limit + 8));
    for (std::size_t i = 0; i < S.size() && cls.size() < limit; ++i) {
        auto b = static_cast<unsigned char>(S[i]);
        if (IsDoubleByteAt(S, i)) {
            cls += "45";
            ++i;
        } else if (b == '\t') {
            int fill = TabWidth(static_cast<int>(cls.size()), Layout) - 1;
            cls += Layout.Delimiters[b] ? '2' : '1';
            cls.append(static_cast<std::size_t>(fill), '3');
        } else {
            cls += Layout.Delimiters[b] ? '2' : '1';
        }
    }
    return cls;
}

int DisplayWidth(std::string_view S, const TColumnLayout& Layout) {
    if (S.find('\t') == std::string_view::npos) return static_cast<int>(S.size());
    int w = 0;
    for (std::size_t i = 0; i < S.size(); ++i) {
        if (IsDoubleByteAt(S, i)) {
            w += 2;
            ++i;
        } else {
            w += S[i] == '\t' ? TabWidth(w, Layout) : 1;
        }
    }
    return w;
}

} // namespace quillon
