#pragma once
// Where CP932 and UTF-8 text meets Qt.
#include <QString>
#include <string>
#include <string_view>

namespace quillon {

inline QString QStr(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string StdStr(const QString& text) { return text.toUtf8().toStdString(); }

QString FromCp932(std::string_view cp932);
std::string ToCp932(const QString& text, bool* lossy = nullptr);

} // namespace quillon
