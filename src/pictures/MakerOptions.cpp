#include "MakerOptions.h"

#include <algorithm>

namespace quillon {

namespace {
const std::string Section = "Options";
}

void TMakerOptions::Load(TSettingsStore& store) {
    const TMakerOptions defaults;
    UseDecColorDepth = store.ReadBool(Section, "UseDecColorDepth", defaults.UseDecColorDepth);
    DecColorDepthMethod =
        std::clamp(store.ReadInteger(Section, "DecColorDepthMethod", defaults.DecColorDepthMethod), 0, 3);
    CreateMode = std::clamp(store.ReadInteger(Section, "CreateMode", defaults.CreateMode), 0, 2);
}

void TMakerOptions::Save(TSettingsStore& store) const {
    store.WriteBool(Section, "UseDecColorDepth", UseDecColorDepth);
    store.WriteInteger(Section, "DecColorDepthMethod", DecColorDepthMethod);
    store.WriteInteger(Section, "CreateMode", CreateMode);
}

} // namespace quillon
