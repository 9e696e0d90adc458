#include "Paths.h"

#include <algorithm>

namespace quillon {
namespace fs = std::filesystem;

fs::path AbsolutePath(const fs::path& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec) absolute = path;
    fs::path canonical = fs::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : canonical.lexically_normal();
}

bool SameFile(const fs::path& a, const fs::path& b) { return AbsolutePath(a) == AbsolutePath(b); }

namespace {
bool EqualNoCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}
} // namespace

std::optional<fs::path> FindFileNoCase(const fs::path& folder, std::string_view name) {
    std::error_code ec;
    fs::path exact = folder / fs::path(name);
    if (fs::is_regular_file(exact, ec)) return exact;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (EqualNoCase(it->path().filename().native(), name) && it->is_regular_file(ec)) return it->path();
    }
    return std::nullopt;
}

namespace {
constexpr std::string_view kFileScheme = "file:";

bool KeptInUrl(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("/-._~").find(c) != std::string_view::npos;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Text with every "%" and two hexadecimal digits replaced by that byte.
std::string PercentDecoded(std::string_view text) {
    std::string bytes;
    for (size_t p = 0; p < text.size(); ++p) {
        const bool escape =
            text[p] == '%' && p + 2 < text.size() && HexValue(text[p + 1]) >= 0 && HexValue(text[p + 2]) >= 0;
        if (!escape) {
            bytes += text[p];
            continue;
        }
        bytes += static_cast<char>(HexValue(text[p + 1]) * 16 + HexValue(text[p + 2]));
        p += 2;
    }
    return bytes;
}
} // namespace

std::string FileUrl(std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = std::string(kFileScheme) + "//";
    for (char c : name) {
        if (KeptInUrl(c)) {
            url += c;
            continue;
        }
        const auto b = static_cast<unsigned char>(c);
        ((url += '%') += kHex[b >> 4]) += kHex[b & 0x0F];
    }
    return url;
}

std::optional<std::string> FileNameOfUrl(std::string_view url) {
    if (url.substr(0, kFileScheme.size()) != kFileScheme) return std::nullopt;
    std::string_view rest = url.substr(kFileScheme.size());
    std::string host;
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        const size_t slash = rest.find('/');
        if (slash == std::string_view::npos) return std::nullopt;
        host = PercentDecoded(rest.substr(0, slash));
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest.front() != '/') return std::nullopt;
    const std::string path = PercentDecoded(rest);
    return host.empty() || host == "localhost" ? path : "//" + host + path;
}

} // namespace quillon
