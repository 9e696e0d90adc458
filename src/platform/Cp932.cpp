#include "Cp932.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace quillon {
namespace {

// One converter per direction and thread; iconv_open is far dearer than a conversion.
class TConverter {
public:
    TConverter(const char* to, const char* from) : FHandle(iconv_open(to, from)) {}
    ~TConverter() {
        if (FHandle != reinterpret_cast<iconv_t>(-1)) iconv_close(FHandle);
    }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;

    // Converts src; on a byte sequence it cannot take, calls onBad(src, out) which must consume input.
    template <class OnBad> std::string Convert(std::string_view text, OnBad onBad) {
        std::string out;
        if (FHandle == reinterpret_cast<iconv_t>(-1)) return std::string(text);
        iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
        out.reserve(text.size() * 3 / 2 + 8);
        std::string_view rest = text;
        char buffer[4096];
        while (!rest.empty()) {
            char* in = const_cast<char*>(rest.data());
            size_t inLeft = rest.size();
            char* o = buffer;
            size_t oLeft = sizeof buffer;
            size_t r = iconv(FHandle, &in, &inLeft, &o, &oLeft);
            out.append(buffer, o - buffer);
            rest.remove_prefix(rest.size() - inLeft);
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                onBad(rest, out);
                iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t FHandle;
};

TConverter& ToUtf8Converter() {
    thread_local TConverter c("UTF-8", "CP932");
    return c;
}
TConverter& ToCp932Converter() {
    thread_local TConverter c("CP932", "UTF-8");
    return c;
}

size_t Utf8SequenceLength(unsigned char b) {
    if (b < 0x80) return 1;
    if ((b & 0xE0) == 0xC0) return 2;
    if ((b & 0xF0) == 0xE0) return 3;
    if ((b & 0xF8) == 0xF0) return 4;
    return 1;
}

// The length of the well-formed UTF-8 character at text[p], or 0 when none starts there.
size_t Utf8CharLength(std::string_view text, size_t p) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char b = byte(p);
    const size_t length = Utf8SequenceLength(b);
    if (length == 1) return b < 0x80 ? 1 : 0;
    if (b < 0xC2 || b > 0xF4 || p + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i)
        if ((byte(p + i) & 0xC0) != 0x80) return 0;
    const unsigned char second = byte(p + 1);
    if ((b == 0xE0 && second < 0xA0) || (b == 0xED && second > 0x9F) || (b == 0xF0 && second < 0x90) ||
        (b == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

} // namespace

size_t Utf8PrefixLength(std::string_view text) {
    size_t p = 0;
    while (p < text.size()) {
        const size_t length = Utf8CharLength(text, p);
        if (length == 0) break;
        p += length;
    }
    return p;
}

bool IsUtf8(std::string_view text) { return Utf8PrefixLength(text) == text.size(); }

std::string FileNameToUtf8(std::string_view name) { return IsUtf8(name) ? std::string(name) : Cp932ToUtf8(name); }

std::string Cp932ToUtf8(std::string_view cp932) {
    return ToUtf8Converter().Convert(cp932, [](std::string_view& rest, std::string& out) {
        size_t skip = IsLeadByte(rest[0]) && rest.size() >= 2 ? 2 : 1;
        rest.remove_prefix(skip);
        out += "\xEF\xBF\xBD";
    });
}

std::string Utf8ToCp932(std::string_view utf8, bool* lossy) {
    bool bad = false;
    std::string result = ToCp932Converter().Convert(utf8, [&bad](std::string_view& rest, std::string& out) {
        rest.remove_prefix(std::min(rest.size(), Utf8SequenceLength(static_cast<unsigned char>(rest[0]))));
        out += '?';
        bad = true;
    });
    if (lossy) *lossy = bad;
    return result;
}

} // namespace quillon
