#include "GapText.h"

#include <algorithm>
#include <cstring>

namespace quillon {

void TGapText::MoveGap(std::size_t Pos) {
    Pos = std::min(Pos, Size());
    if (Pos < FGap) {
        std::memmove(&FBytes[FGapEnd - (FGap - Pos)], &FBytes[Pos], FGap - Pos);
        FGapEnd -= FGap - Pos;
    } else if (Pos > FGap) {
        std::memmove(&FBytes[FGap], &FBytes[FGapEnd], Pos - FGap);
        FGapEnd += Pos - FGap;
    }
    FGap = Pos;
}

void TGapText::Replace(std::size_t Pos, std::size_t Length, std::string_view With) {
    if (FGap > Pos && FGap < Pos + Length) MoveGap(Pos);
    if (FGapEnd - FGap + Length < With.size()) {
        const std::size_t more = std::max(With.size(), FBytes.size());
        FBytes.insert(FGapEnd, more, '\0');
        FGapEnd += more;
    }
    char* const bytes = FBytes.data();
    char* with = bytes + Pos; // where With goes
    if (FGap <= Pos) {
        const std::size_t between = Pos - FGap, oldEnd = FGapEnd;
        FGapEnd = FGapEnd + Length - With.size();
        if (FGapEnd != oldEnd) std::memmove(bytes + FGapEnd, bytes + oldEnd, between);
        with = bytes + FGapEnd + between;
    } else {
        std::memmove(bytes + Pos + With.size(), bytes + Pos + Length, FGap - Pos - Length);
        FGap = FGap + With.size() - Length;
    }
    std::copy(With.begin(), With.end(), with);
}

std::size_t TGapText::Find(char C, std::size_t From) const {
    const char* const bytes = FBytes.data();
    if (From < FGap) {
        if (const void* at = std::memchr(bytes + From, C, FGap - From))
            return static_cast<std::size_t>(static_cast<const char*>(at) - bytes);
        From = FGap;
    }
    const std::size_t at = FGapEnd + (From - FGap);
    const void* hit = at < FBytes.size() ? std::memchr(bytes + at, C, FBytes.size() - at) : nullptr;
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - bytes) - (FGapEnd - FGap) : std::string::npos;
}

std::string TGapText::Text() && {
    MoveGap(Size());
    FBytes.resize(FGap);
    return std::move(FBytes);
}

} // namespace quillon
