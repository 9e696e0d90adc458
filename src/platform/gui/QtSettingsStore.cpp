#include "QtSettingsStore.h"

#include "QtText.h"

#include <QFile>

namespace quillon {
namespace {
QString Key(const std::string& section, const std::string& name) { return QStr(section) + '/' + QStr(name); }
} // namespace

TQtSettingsStore::TQtSettingsStore()
    : FSettings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Talvane", "quillon")) {}

TQtSettingsStore::TQtSettingsStore(const QString& fileName)
    : FSettings(std::make_unique<QSettings>(fileName, QSettings::IniFormat)) {}

std::optional<std::string> TQtSettingsStore::ReadValue(const std::string& section, const std::string& name) {
    QVariant value = FSettings->value(Key(section, name));
    if (!value.isValid() || value.typeId() == QMetaType::QByteArray) return std::nullopt;
    return StdStr(value.toString());
}

void TQtSettingsStore::WriteValue(const std::string& section, const std::string& name, const std::string& value) {
    FSettings->setValue(Key(section, name), QStr(value));
}

std::optional<TBytes> TQtSettingsStore::ReadBinary(const std::string& section, const std::string& name) {
    QVariant value = FSettings->value(Key(section, name));
    if (!value.isValid() || value.typeId() != QMetaType::QByteArray) return std::nullopt;
    QByteArray bytes = value.toByteArray();
    return TBytes(bytes.begin(), bytes.end());
}

void TQtSettingsStore::WriteBinary(const std::string& section, const std::string& name, const TBytes& value) {
    QByteArray bytes(reinterpret_cast<const char*>(value.data()), static_cast<qsizetype>(value.size()));
    FSettings->setValue(Key(section, name), bytes);
}

bool TQtSettingsStore::SectionExists(const std::string& section) {
    return FSettings->childGroups().contains(QStr(section));
}

bool TQtSettingsStore::ValueExists(const std::string& section, const std::string& name) {
    return FSettings->contains(Key(section, name));
}

void TQtSettingsStore::DeleteValue(const std::string& section, const std::string& name) {
    FSettings->remove(Key(section, name));
}

void TQtSettingsStore::EraseSection(const std::string& section) { FSettings->remove(QStr(section)); }

void TQtSettingsStore::DeleteKey() {
    FSettings->clear();
    FSettings->sync();
    QFile::remove(FSettings->fileName());
}

void TQtSettingsStore::Flush() { FSettings->sync(); }

} // namespace quillon
