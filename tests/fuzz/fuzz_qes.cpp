// Quessa enemy sources and their conversion into an enemy list.
#include "ListFiles.h"
#include "QesConverter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    const TListText text = SplitListText({reinterpret_cast<const char*>(data), size});
    TQesSource source;
    if (ParseQesSource(text.Lines, source)) MergeQesSections(source);
    return 0;
}
