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

void SetClipboardText(QClipboard& Clipboard, const std::string& Text, bool Box) {
    auto data = std::make_unique<QMimeData>();
    data->setText(FromCp932(Text));
    const QByteArray bytes(Text.data(), static_cast<qsizetype>(Text.size()));
    data->setData(Cp932MimeType, bytes);
    if (Box)
        data->setData(BoxMimeType, bytes + QByteArray(1, '\0'));
    Clipboard.setMimeData(data.release());
}

bool ClipboardHasText(const QClipboard& Clipboard) {
    const QMimeData* data = Clipboard.mimeData();
    return data && (data->hasText() || data->hasFormat(Cp932MimeType));
}

bool ClipboardHasBox(const QClipboard& Clipboard) {
    const QMimeData* data = Clipboard.mimeData();
    return data && data->hasFormat(BoxMimeType);
}

std::string ClipboardText(const QClipboard& Clipboard, int& Replaced) {
    Replaced = 0;
    const QMimeData* data = Clipboard.mimeData();
    if (!data)
        return {};
    if (data->hasFormat(Cp932MimeType)) {
        const QByteArray bytes = data->data(Cp932MimeType);
        return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    return OutsideTextToCp932(data->text(), Replaced);
}

} // namespace quillon
