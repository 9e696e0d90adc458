#include "SettingsStore.h"

#include <charconv>

namespace quillon {

std::string TSettingsStore::ReadString(const std::string& section, const std::string& name, const std::string& def) {
    return ReadValue(section, name).value_or(def);
}

std::int32_t TSettingsStore::ReadInteger(const std::string& section, const std::string& name, std::int32_t def) {
    auto text = ReadValue(section, name);
    if (!text || text->empty()) return def;
    std::int32_t value = 0;
    const char* first = text->data();
    const char* last = first + text->size();
    if (*first == '+') ++first;
    auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last ? value : def;
}

bool TSettingsStore::ReadBool(const std::string& section, const std::string& name, bool def) {
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

void TSettingsStore::WriteString(const std::string& section, const std::string& name, const std::string& value) {
    WriteValue(section, name, value);
}

void TSettingsStore::WriteInteger(const std::string& section, const std::string& name, std::int32_t value) {
    WriteValue(section, name, std::to_string(value));
}

void TSettingsStore::WriteBool(const std::string& section, const std::string& name, bool value) {
    WriteValue(section, name, value ? "1" : "0");
}

} // namespace quillon
