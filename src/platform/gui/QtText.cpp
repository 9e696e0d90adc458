#include "QtText.h"

#include "Cp932.h"

namespace quillon {

QString FromCp932(std::string_view cp932) { return QStr(Cp932ToUtf8(cp932)); }

std::string ToCp932(const QString& text, bool* lossy) { return Utf8ToCp932(StdStr(text), lossy); }

} // namespace quillon
