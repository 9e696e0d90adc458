// Hand-over data as the running instance receives it from any local process.
#include "HandOver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    HandOverMessageSize(input.substr(0, kHandOverSize));
    HandOverNames(input);
    return 0;
}
