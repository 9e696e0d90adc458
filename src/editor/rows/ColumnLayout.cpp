#include "ColumnLayout.h"

#include "Cp932.h"

#include <algorithm>
#include <array>

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

// The class of every byte that makes one column of its own under Delimiters, ccSingle or ccDelimiter; 0 for a lead
// byte and a tab, which take more. Built for the last delimiter set asked for.
const char* SingleColumnClasses(const TDelimiters& Delimiters) {
    thread_local TDelimiters known;
    thread_local std::array<char, 256> classes{};
    if (classes[0] == 0 || known != Delimiters) {
        for (std::size_t b = 0; b < classes.size(); ++b) {
            const auto byte = static_cast<unsigned char>(b);
            classes[b] = Delimiters[b] ? ccDelimiter : ccSingle;
            if (IsLeadByte(byte) || byte == '\t') classes[b] = 0;
        }
        known = Delimiters;
    }
    return classes.data();
}

} // namespace

// Built once: every TColumnLayout starts from it, one for each DisplayWidth of the editor.
TDelimiters GetDelimiters() {
    static const TDelimiters delimiters = [] {
        TDelimiters d;
        SetRange(d, 0x00, 0x2F);
        SetRange(d, 0x3A, 0x40);
        SetRange(d, 0x5B, 0x5E);
        SetRange(d, 0x60, 0x60);
        SetRange(d, 0x7B, 0x80);
        SetRange(d, 0xA0, 0xA5);
        SetRange(d, 0xFD, 0xFF);
        return d;
    }();
    return delimiters;
}

void ClassString(std::string_view S, const TColumnLayout& Layout, std::string& Out) {
    const std::size_t limit = Layout.WordWrap ? static_cast<std::size_t>(Layout.WrapByte) + 3 : 1000;
    // Without tabs a byte makes at most one column, and the last character may pass the limit by
    // one; a tab makes room as it needs. One byte more is kept for a cursor's end mark.
    Out.clear();
    Out.reserve(std::min(S.size(), limit + 1) + 1);
    Out.resize(std::min(S.size(), limit + 1));
    const char* single = SingleColumnClasses(Layout.Delimiters);
    char* out = Out.data();
    std::size_t n = 0; // columns written
    for (std::size_t i = 0; i < S.size() && n < limit; ++i) {
        const auto b = static_cast<unsigned char>(S[i]);
        if (const char cls = single[b]) {
            out[n++] = cls;
        } else if (IsDoubleByteAt(S, i)) {
            out[n++] = ccDoubleFirst;
            out[n++] = ccDoubleSecond;
            ++i;
        } else if (b == '\t') {
            const auto width = static_cast<std::size_t>(TabWidth(static_cast<int>(n), Layout));
            // Room for the tab and, one column each, the bytes after it.
            const std::size_t room = n + width + std::min(S.size() - i - 1, limit);
            if (room > Out.size()) {
                Out.resize(room);
                out = Out.data();
            }
            out[n] = Layout.Delimiters[b] ? ccDelimiter : ccSingle;
            std::fill_n(out + n + 1, width - 1, ccTabFill);
            n += width;
        } else { // a lead byte that ends the text
            out[n++] = Layout.Delimiters[b] ? ccDelimiter : ccSingle;
        }
    }
    Out.resize(n);
}

std::string ClassString(std::string_view S, const TColumnLayout& Layout) {
    std::string cls;
    ClassString(S, Layout, cls);
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
