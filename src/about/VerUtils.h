#pragma once
// The program's version strings, fixed at build time.
#include <string>

namespace quillon {

class TFileVersion {
public:
    static std::string FileVersion();
    static std::string LegalCopyright();
    static std::string ProductName();
};

} // namespace quillon
