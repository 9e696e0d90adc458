// Pattern files of both formats, read and written back in the Vantor format.
#include "Pattern.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    TVantorPattern pattern;
    try {
        pattern.LoadFromStream(stream);
        TMemoryStream out;
        pattern.SaveToStream(out);
    } catch (const Exception&) {
    }
    return 0;
}
