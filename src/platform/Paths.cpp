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

} // namespace quillon
