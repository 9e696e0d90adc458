#pragma once
// Token dumps of list rows for the colourer tests.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace quillon::test {

struct TTok {
    int Kind;
    std::string Text;
    bool operator==(const TTok&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const TTok& t) { return os << t.Kind << ":\"" << t.Text << '"'; }

using TToks = std::vector<TTok>;

// A field scan: the token at Run in field FieldIndex; answers its kind.
using TFieldScanFn = std::function<int(const char*& Run, int& FieldIndex)>;

// The tokens of one row as the colouring framework hands them out: blanks other than the tab are
// skipped, a tab is a token of kind 9, every other token comes from the field scan.
inline TToks ScanRowTokens(const TFieldScanFn& scan, const std::string& row) {
    TToks toks;
    const char* p = row.c_str();
    int field = 0;
    for (;;) {
        while (*p != 0 && *p != 9 && static_cast<unsigned char>(*p) <= 32) ++p;
        if (*p == 0 || *p == 10 || *p == 13) return toks;
        const char* start = p;
        int kind = 9;
        if (*p == 9) ++p;
        else kind = scan(p, field);
        toks.push_back({kind, std::string(start, p)});
    }
}

} // namespace quillon::test
