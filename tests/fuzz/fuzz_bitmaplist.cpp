// Bitmap lists in each creation mode (the first byte chooses it).
#include "BitmapList.h"
#include "ListFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    if (size == 0) return 0;
    const TListText text = SplitListText({reinterpret_cast<const char*>(data) + 1, size - 1});
    TBitmapListEntries entries;
    std::string error;
    ParseBitmapList("/lists/BMP.LST", text.Lines, entries, error, data[0] % 3);
    return 0;
}
