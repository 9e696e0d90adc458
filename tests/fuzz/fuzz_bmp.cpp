// BMP reader: reading, RLE expansion, the 24-bit conversion the collectors make, and writing back.
// An RLE picture may be as large as the size rule allows, so it must be expanded at most once.
#include "DIB.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    TDIB dib;
    const std::int64_t expansions = RleExpansions();
    try {
        dib.LoadFromStream(stream);
        if (dib.Empty()) return 0;
        dib.Decompress();
        if (dib.BitCount() <= 8) dib.SetBitCount(24);
        TMemoryStream out;
        dib.SaveToStream(out);
    } catch (const Exception&) {
    }
    if (RleExpansions() - expansions > 1) std::abort();
    return 0;
}
