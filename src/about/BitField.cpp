#include "BitField.h"

#include "AsciiText.h"

#include <algorithm>

namespace quillon {
namespace {
[[noreturn]] void RaiseResourceError(int error) {
    throw EBitFieldError("リソース読み込み時にエラー#" + IntToStr(error) + "が発生しました。");
}
} // namespace

std::span<const std::uint8_t> LoadResourceData(const TResourceModule& module, int id, int resType, std::size_t size) {
    auto ofType = [resType](const TResourceEntry& entry) { return entry.ResType == resType; };
    auto found = std::find_if(module.begin(), module.end(),
                              [&](const TResourceEntry& entry) { return ofType(entry) && entry.Id == id; });
    if (found == module.end())
        RaiseResourceError(std::any_of(module.begin(), module.end(), ofType) ? errResourceNameNotFound
                                                                             : errResourceTypeNotFound);
    if (found->Data.size() != size) RaiseResourceError(errInvalidData);
    return found->Data;
}

} // namespace quillon
