#include "QtOleDnd.h"

#include "EditorClipboard.h"
#include "Paths.h"

#include <QMimeData>
#include <QUrl>

namespace quillon {

bool TMimeDataObject::QueryGetData(int Format) const {
    if (!FData) return false;
    if (Format == CF_TEXT) return MimeHasText(*FData);
    if (Format != CF_HDROP) return false;
    for (const QUrl& url : FData->urls())
        if (url.isLocalFile()) return true;
    return false;
}

bool TMimeDataObject::RenderData(int Format, TStgMedium& Medium) const {
    if (Format == CF_HDROP) {
        DropFilesToStrings(*FData, Medium.Files);
        return true;
    }
    const std::string text = MimeText(*FData, FReplaced);
    Medium.Text = text.substr(0, text.find('\0'));
    return true;
}

void DropFilesToStrings(const QMimeData& Data, std::vector<std::string>& Files) {
    Files.clear();
    for (const QUrl& url : Data.urls()) {
        if (!url.isLocalFile()) continue;
        // The encoded form keeps every byte of a name that is not UTF-8 as its percent escape.
        const std::optional<std::string> name = FileNameOfUrl(url.toEncoded().toStdString());
        if (name) Files.push_back(*name);
    }
}

Qt::DropAction DropEffectToAction(int Effect) {
    if (Effect & DROPEFFECT_MOVE) return Qt::MoveAction;
    return Effect & DROPEFFECT_COPY ? Qt::CopyAction : Qt::IgnoreAction;
}

Qt::DropActions DropEffectsToActions(int Effects) {
    Qt::DropActions actions;
    if (Effects & DROPEFFECT_COPY) actions |= Qt::CopyAction;
    if (Effects & DROPEFFECT_MOVE) actions |= Qt::MoveAction;
    return actions;
}

int DropActionToEffect(Qt::DropAction Action) {
    switch (Action) {
    case Qt::CopyAction: return DROPEFFECT_COPY;
    case Qt::MoveAction: return DROPEFFECT_MOVE;
    default: return DROPEFFECT_NONE;
    }
}

} // namespace quillon
