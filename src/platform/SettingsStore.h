#pragma once
// The program's settings: sections of named values under one key of the current user.
// Plain values are strings (integers in decimal, booleans "0"/"1"), read with a default when absent
// or unreadable; streamed components are binary values.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

using TBytes = std::vector<std::uint8_t>;

class TSettingsStore {
public:
    virtual ~TSettingsStore() = default;

    virtual std::optional<std::string> ReadValue(const std::string& section, const std::string& name) = 0;
    virtual void WriteValue(const std::string& section, const std::string& name, const std::string& value) = 0;
    virtual std::optional<TBytes> ReadBinary(const std::string& section, const std::string& name) = 0;
    virtual void WriteBinary(const std::string& section, const std::string& name, const TBytes& value) = 0;

    virtual bool SectionExists(const std::string& section) = 0;
    virtual bool ValueExists(const std::string& section, const std::string& name) = 0;
    virtual void DeleteValue(const std::string& section, const std::string& name) = 0;
    virtual void EraseSection(const std::string& section) = 0;
    // Removes the program's whole key: every section and value.
    virtual void DeleteKey() = 0;

    std::string ReadString(const std::string& section, const std::string& name, const std::string& def);
    std::int32_t ReadInteger(const std::string& section, const std::string& name, std::int32_t def);
    bool ReadBool(const std::string& section, const std::string& name, bool def);
    void WriteString(const std::string& section, const std::string& name, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& name, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& name, bool value);
};

} // namespace quillon
