// Hint files: the first line of the input is the key looked up in the rest.
#include "canpe.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = std::min(input.find('\n'), input.size());
    std::string title, body;
    FindItemHint(input.substr(std::min(cut + 1, input.size())), input.substr(0, cut), title, body);
    return 0;
}
