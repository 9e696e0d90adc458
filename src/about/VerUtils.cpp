#include "VerUtils.h"

#include "VersionInfo.h"

namespace quillon {

std::string TFileVersion::FileVersion() { return kFileVersion; }
std::string TFileVersion::LegalCopyright() { return kLegalCopyright; }
std::string TFileVersion::ProductName() { return kProductName; }

} // namespace quillon
