#pragma once
// The settings store on QSettings in INI form: organisation "Talvane", application "quillon",
// sections as groups.
#include "SettingsStore.h"

#include <QSettings>
#include <memory>

namespace quillon {

class TQtSettingsStore : public TSettingsStore {
public:
    // The user's own store.
    TQtSettingsStore();
    // A store in the given INI file (tests use a temporary folder).
    explicit TQtSettingsStore(const QString& fileName);

    std::optional<std::string> ReadValue(const std::string& section, const std::string& name) override;
    void WriteValue(const std::string& section, const std::string& name, const std::string& value) override;
    std::optional<TBytes> ReadBinary(const std::string& section, const std::string& name) override;
    void WriteBinary(const std::string& section, const std::string& name, const TBytes& value) override;
    bool SectionExists(const std::string& section) override;
    bool ValueExists(const std::string& section, const std::string& name) override;
    void DeleteValue(const std::string& section, const std::string& name) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey() override;

    // Writes pending changes to disk.
    void Flush();
    QString FileName() const { return FSettings->fileName(); }

private:
    std::unique_ptr<QSettings> FSettings;
};

} // namespace quillon
