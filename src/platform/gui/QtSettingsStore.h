#pragma once
// The settings store in an INI file as QSettings reads it: organisation "Talvane", application
// "quillon", sections as groups.
//
// QSettings reads the file once, at construction; the values are then held here and the file is
// written here, whole, through a new file renamed over the old one (SaveFileReplacing). QSettings
// itself never writes it: its writing reports neither why it failed nor a write that came out
// short, and it then puts the short file in place of the old one. What is written is what
// QSettings' own INI writer would write, so that the file reads back the same.
//
// Changes reach the file when the event loop next runs, on Flush and at destruction. A write that
// fails leaves the old file as it was and keeps the changes for the next write; the first failure
// is told through the message service, with the file's name and the cause, and later ones are not.
#include "SettingsStore.h"

#include <QString>

#include <map>
#include <memory>
#include <variant>

class QObject;

namespace quillon {

class TQtSettingsStore : public TSettingsStore {
public:
    // The user's own store.
    TQtSettingsStore();
    // A store in the given INI file (tests use a temporary folder).
    explicit TQtSettingsStore(const QString& fileName);
    ~TQtSettingsStore() override; // flushes

    std::optional<std::string> ReadValue(const std::string& section, const std::string& name) override;
    void WriteValue(const std::string& section, const std::string& name, const std::string& value) override;
    std::optional<TBytes> ReadBinary(const std::string& section, const std::string& name) override;
    void WriteBinary(const std::string& section, const std::string& name, const TBytes& value) override;
    bool SectionExists(const std::string& section) override;
    bool ValueExists(const std::string& section, const std::string& name) override;
    void DeleteValue(const std::string& section, const std::string& name) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey() override;

    // Writes pending changes to disk; the first failure is told (see above).
    void Flush();
    QString FileName() const { return FFileName; }

private:
    using TValue = std::variant<std::string, TBytes>; // a plain (UTF-8) or a binary value
    using TSection = std::map<std::string, TValue>;

    void Load();
    void Changed(); // a write is due

    QString FFileName;
    std::map<std::string, TSection> FSections; // no section is empty
    std::unique_ptr<QObject> FTimerContext;    // the event loop's pending write, while one is due
    bool FDirty = false;                       // the file lacks changes made here
    bool FFailureTold = false;                 // a failed write was told; no other will be
};

} // namespace quillon
