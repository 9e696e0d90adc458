#include "About.h"

#include "VerUtils.h"

namespace quillon {
namespace {
constexpr const char* kSection = "Check";
constexpr const char* kValue = "Version";
constexpr const char* kNoVersion = "0.00"; // what a missing value reads as
} // namespace

TProgramIdentity TProgramIdentity::Program() {
    return {TFileVersion::ProductName(), TFileVersion::FileVersion(), TFileVersion::LegalCopyright()};
}

TCustomAbout::TCustomAbout(TSettingsStore& store, TProgramIdentity identity)
    : FStore(store), FIdentity(std::move(identity)) {}

bool TCustomAbout::CheckVersion(bool Show) {
    FLastVersion = FStore.ReadString(kSection, kValue, kNoVersion);
    const bool changed = FLastVersion != FIdentity.FileVersion && FLastVersion != kNoVersion;
    if (FLastVersion == kNoVersion) FLastVersion.clear();
    if (changed && Show) ShowVersionChanged();
    return changed;
}

void TCustomAbout::SaveVersion() { FStore.WriteString(kSection, kValue, FIdentity.FileVersion); }

void TCustomAbout::Shutdown() noexcept {
    if (!FDelReg) return;
    try {
        FStore.DeleteKey();
    } catch (...) {
        // Exit goes on: the settings stay as they were.
    }
}

} // namespace quillon
