#pragma once
// Helpers shared by the files that implement TEditor (EditorControl*.cpp), not used elsewhere.
//
// Class strings and their column classes are described in ColumnLayout.h.
#include "ColumnLayout.h"

#include <algorithm>
#include <string>

namespace quillon {

// The rightmost column the caret and the horizontal scroll reach.
constexpr int kMaxCol = 1000;

inline std::string Blanks(int Count) { return std::string(static_cast<std::size_t>(std::max(0, Count)), ' '); }

inline char ClassAt(const std::string& Class, int Col) {
    return Col >= 0 && Col < static_cast<int>(Class.size()) ? Class[static_cast<std::size_t>(Col)] : ccNone;
}

// The number of tab-fill columns among the first Count class characters.
inline int FillsBefore(const std::string& Class, int Count) {
    Count = std::clamp(Count, 0, static_cast<int>(Class.size()));
    return static_cast<int>(std::count(Class.begin(), Class.begin() + Count, ccTabFill));
}

// Restores a flag when a scope ends, also by an exception.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

} // namespace quillon
