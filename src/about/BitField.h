#pragma once
// Raw data resources of the program: blocks of bytes known by a numeric type and a numeric id,
// produced at build time and linked into the program.
#include "Errors.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

class EBitFieldError : public Exception {
public:
    using Exception::Exception;
};

struct TResourceEntry {
    int ResType;
    int Id;
    std::span<const std::uint8_t> Data;
};

// The resources of one module (the program's own, or a test's).
using TResourceModule = std::vector<TResourceEntry>;

// Error numbers that LoadResourceData reports.
constexpr int errResourceTypeNotFound = 1813; // no resource of that type at all
constexpr int errResourceNameNotFound = 1814; // the type exists, the id does not
constexpr int errInvalidData = 13;            // the resource does not have the size its user needs

// The bytes of resource Id of type ResType; raises EBitFieldError
// ("リソース読み込み時にエラー#<number>が発生しました。") when it is missing or is not exactly size
// bytes long.
std::span<const std::uint8_t> LoadResourceData(const TResourceModule& module, int id, int resType, std::size_t size);

// The resources linked into this program.
const TResourceModule& ProgramResources();

} // namespace quillon
