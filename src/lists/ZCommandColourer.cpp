#include "ZCommandColourer.h"

namespace quillon {

const TCommandSyntax VantorCommandSyntax{"0123456789ABCDKLPRSUXYZabcdklnprsuxyz", 8};

} // namespace quillon
