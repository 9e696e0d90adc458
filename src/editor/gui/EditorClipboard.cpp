#include "EditorClipboard.h"

#include "QtText.h"

#include <QClipboard>
#include <QMimeData>

#include <algorithm>
#include <memory>

namespace quillon {

const char Cp932MimeType[] = "application/x-quillon-cp932";
const char BoxMimeType[] = "application/x-qt-windows-mime;value=\"TEditor Box Type\"";

std::string OutsideTextToCp932(const QString& Text, int& Replaced) {
    bool lossy = false;
    std::string bytes = ToCp932(Text, &lossy);
    Replaced = 0;
    if (lossy)
        Replaced = static_cast<int>(std::count(bytes.begin(), bytes.end(), '?')) - static_cast<int>(Text.count(u'?'));
    return bytes;
}

void SetMimeText(QMimeData& Data, const std::string& Text) {
    Data.setText(FromCp932(Text));
    Data.setData(Cp932MimeType, QByteArray(Text.data(), static_cast<qsizetype>(Text.size())));
}

bool MimeHasText(const QMimeData& Data) { return Data.hasText() || Data.hasFormat(Cp932MimeType); }

std::string MimeText(const QMimeData& Data, int& Replaced) {
    Replaced = 0;
    if (Data.hasFormat(Cp932MimeType)) {
        const QByteArray bytes = Data.data(Cp932MimeType);
        return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    return OutsideTextToCp932(Data.text(), Replaced);
}

void SetClipboardText(QClipboard& Clipboard, const std::string& Text, bool Box) {
    auto data = std::make_unique<QMimeData>();
    SetMimeText(*data, Text);
    if (Box)
        data->setData(BoxMimeType, QByteArray(Text.data(), static_cast<qsizetype>(Text.size())) + QByteArray(1, '\0'));
    Clipboard.setMimeData(data.release());
}

bool ClipboardHasText(const QClipboard& Clipboard) {
    const QMimeData* data = Clipboard.mimeData();
    return data && MimeHasText(*data);
}

bool ClipboardHasBox(const QClipboard& Clipboard) {
    const QMimeData* data = Clipboard.mimeData();
    return data && data->hasFormat(BoxMimeType);
}

std::string ClipboardText(const QClipboard& Clipboard, int& Replaced) {
    Replaced = 0;
    const QMimeData* data = Clipboard.mimeData();
    return data ? MimeText(*data, Replaced) : std::string();
}

} // namespace quillon
