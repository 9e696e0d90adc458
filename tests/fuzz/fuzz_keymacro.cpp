// Key macro texts.
#include "KeyMacro.h"
#include "Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    TKeyMacro macro;
    macro.SetShowDialog(false);
    try {
        macro.LoadFromStream(stream);
    } catch (const Exception&) {
    }
    return 0;
}
