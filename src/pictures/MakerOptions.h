#pragma once
// The maker's program settings in section "Options": whether and how colours are reduced, and
// which engine edition the files are made for.
#include "SettingsStore.h"

namespace quillon {

struct TMakerOptions {
    bool UseDecColorDepth = true;
    int DecColorDepthMethod = 1; // 0 general palette, 1 at most 256 colours, 2 5-6-5 then 256, 3 keep palette
    int CreateMode = 2;          // 0 classic, 1 extended classic, 2 Vantor

    // Absent values read as the defaults; out-of-range numbers are clamped.
    void Load(TSettingsStore& store);
    void Save(TSettingsStore& store) const;
};

} // namespace quillon
