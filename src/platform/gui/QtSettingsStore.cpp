#include "QtSettingsStore.h"

#include "FileErrors.h"
#include "MessageBox.h"
#include "QtText.h"
#include "ReplacingFile.h"

#include <QFile>
#include <QObject>
#include <QSettings>
#include <QTimer>

#include <filesystem>

namespace quillon {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsHexDigit(char32_t ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

// A section's or a value's name as QSettings writes it: letters, digits, "-", "_" and "." as they
// are, "/" as "\\", any other character as "%" and two hex digits, or "%U" and four beyond Latin-1.
void AppendIniKey(QByteArray& Out, const QString& Key) {
    for (const QChar qch : Key) {
        const char16_t ch = qch.unicode();
        if (ch == '/') {
            Out += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-' ||
                   ch == '_' || ch == '.') {
            Out += static_cast<char>(ch);
        } else {
            Out += ch <= 0xFF ? "%" : "%U";
            for (int shift = ch <= 0xFF ? 4 : 12; shift >= 0; shift -= 4) Out += kHexDigits[(ch >> shift) & 0xF];
        }
    }
}

// A value's text as QSettings writes it: control characters (and, in Text, any beyond ASCII when
// Utf8 is false) as escapes, a hex digit after a hex escape escaped too, other characters as UTF-8,
// and the whole in double quotes when it holds ";", "," or "=" or starts or ends with a blank.
void AppendIniString(QByteArray& Out, const QString& Text, bool Utf8) {
    const qsizetype start = Out.size();
    bool quotes = false, escapeDigit = false;
    for (const char32_t ch : Text.toUcs4()) {
        quotes = quotes || ch == ';' || ch == ',' || ch == '=';
        if (escapeDigit && IsHexDigit(ch)) {
            Out += "\\x" + QByteArray::number(static_cast<uint>(ch), 16);
            continue;
        }
        escapeDigit = false;
        switch (ch) {
        case '\0':
            Out += "\\0";
            escapeDigit = true;
            break;
        case '\a': Out += "\\a"; break;
        case '\b': Out += "\\b"; break;
        case '\f': Out += "\\f"; break;
        case '\n': Out += "\\n"; break;
        case '\r': Out += "\\r"; break;
        case '\t': Out += "\\t"; break;
        case '\v': Out += "\\v"; break;
        case '"':
        case '\\':
            Out += '\\';
            Out += static_cast<char>(ch);
            break;
        default:
            if (ch <= 0x1F || (ch >= 0x7F && !Utf8)) {
                Out += "\\x" + QByteArray::number(static_cast<uint>(ch), 16);
                escapeDigit = true;
            } else {
                Out += QString::fromUcs4(&ch, 1).toUtf8();
            }
        }
    }
    if (quotes || (start < Out.size() && (Out.at(start) == ' ' || Out.back() == ' '))) {
        Out.insert(start, '"');
        Out += '"';
    }
}

// A value as QSettings writes it: a text with a NUL as "@String(...)", one starting with "@" with
// that doubled, bytes as "@ByteArray(...)", each escaped.
void AppendIniValue(QByteArray& Out, const std::variant<std::string, TBytes>& Value) {
    if (const auto* bytes = std::get_if<TBytes>(&Value)) {
        QString text = QStringLiteral("@ByteArray(");
        for (const std::uint8_t b : *bytes) text += QChar(b);
        AppendIniString(Out, text + u')', false);
        return;
    }
    const QString text = QStr(std::get<std::string>(Value));
    if (text.contains(QChar::Null))
        AppendIniString(Out, QStringLiteral("@String(") + text + u')', true);
    else
        AppendIniString(Out, text.startsWith(u'@') ? u'@' + text : text, true);
}

} // namespace

TQtSettingsStore::TQtSettingsStore()
    : TQtSettingsStore(
          QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Talvane"), QStringLiteral("quillon"))
              .fileName()) {}

TQtSettingsStore::TQtSettingsStore(const QString& fileName)
    : FFileName(fileName), FTimerContext(std::make_unique<QObject>()) {
    Load();
}

TQtSettingsStore::~TQtSettingsStore() { Flush(); }

void TQtSettingsStore::Load() {
    QSettings settings(FFileName, QSettings::IniFormat); // only read: it has nothing to write
    for (const QString& group : settings.childGroups()) {
        settings.beginGroup(group);
        TSection section;
        for (const QString& key : settings.childKeys()) {
            const QVariant value = settings.value(key);
            if (value.typeId() == QMetaType::QByteArray) {
                const QByteArray bytes = value.toByteArray();
                section[StdStr(key)] = TBytes(bytes.begin(), bytes.end());
            } else {
                section[StdStr(key)] = StdStr(value.toString());
            }
        }
        settings.endGroup();
        if (!section.empty()) FSections[StdStr(group)] = std::move(section);
    }
}

void TQtSettingsStore::Changed() {
    if (FDirty) return;
    FDirty = true;
    QTimer::singleShot(0, FTimerContext.get(), [this] { Flush(); });
}

std::optional<std::string> TQtSettingsStore::ReadValue(const std::string& section, const std::string& name) {
    const auto found = FSections.find(section);
    if (found == FSections.end()) return std::nullopt;
    const auto value = found->second.find(name);
    if (value == found->second.end() || !std::holds_alternative<std::string>(value->second)) return std::nullopt;
    return std::get<std::string>(value->second);
}

void TQtSettingsStore::WriteValue(const std::string& section, const std::string& name, const std::string& value) {
    FSections[section][name] = value;
    Changed();
}

std::optional<TBytes> TQtSettingsStore::ReadBinary(const std::string& section, const std::string& name) {
    const auto found = FSections.find(section);
    if (found == FSections.end()) return std::nullopt;
    const auto value = found->second.find(name);
    if (value == found->second.end() || !std::holds_alternative<TBytes>(value->second)) return std::nullopt;
    return std::get<TBytes>(value->second);
}

void TQtSettingsStore::WriteBinary(const std::string& section, const std::string& name, const TBytes& value) {
    FSections[section][name] = value;
    Changed();
}

bool TQtSettingsStore::SectionExists(const std::string& section) { return FSections.count(section) > 0; }

bool TQtSettingsStore::ValueExists(const std::string& section, const std::string& name) {
    const auto found = FSections.find(section);
    return found != FSections.end() && found->second.count(name) > 0;
}

void TQtSettingsStore::DeleteValue(const std::string& section, const std::string& name) {
    const auto found = FSections.find(section);
    if (found == FSections.end() || found->second.erase(name) == 0) return;
    if (found->second.empty()) FSections.erase(found);
    Changed();
}

void TQtSettingsStore::EraseSection(const std::string& section) {
    if (FSections.erase(section) > 0) Changed();
}

void TQtSettingsStore::DeleteKey() {
    FSections.clear();
    FDirty = false;
    QFile::remove(FFileName);
}

void TQtSettingsStore::Flush() {
    if (!FDirty) return;
    QByteArray text;
    for (const auto& [section, values] : FSections) {
        if (!text.isEmpty()) text += '\n';
        // A section named "General" is told apart from the keys outside any section.
        QByteArray header;
        AppendIniKey(header, QStr(section));
        text += '[' + (header.compare("general", Qt::CaseInsensitive) == 0 ? "%General" : header) + "]\n";
        for (const auto& [name, value] : values) {
            AppendIniKey(text, QStr(name));
            text += '=';
            AppendIniValue(text, value);
            text += '\n';
        }
    }
    const std::filesystem::path file = QFile::encodeName(FFileName).toStdString();
    try {
        std::error_code made;
        std::filesystem::create_directories(file.parent_path(), made);
        if (made) throw EFCreateError(file, made.value());
        SaveFileReplacing(
            file, [&text](TStream& stream) { stream.WriteBuffer(text.constData(), static_cast<size_t>(text.size())); });
        FDirty = false;
    } catch (const EStreamError& e) {
        if (FFailureTold) return;
        FFailureTold = true;
        ShowError(FileMessage("設定ファイルに書き込めませんでした", file, e.Cause()));
    }
}

} // namespace quillon
