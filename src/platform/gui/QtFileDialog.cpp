#include "QtFileDialog.h"

#include "QtDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace quillon {

QString FilterExtension(const QString& Filter, const QString& DefaultExt) {
    const qsizetype open = Filter.lastIndexOf(u'('), close = Filter.lastIndexOf(u')');
    const QString patterns = open >= 0 && close > open ? Filter.mid(open + 1, close - open - 1) : Filter;
    const QString first = patterns.split(u' ', Qt::SkipEmptyParts).value(0);
    const qsizetype dot = first.lastIndexOf(u'.');
    const QString extension = dot >= 0 ? first.mid(dot + 1) : QString();
    const bool wild = extension.contains(u'*') || extension.contains(u'?') || extension.contains(u'[');
    return extension.isEmpty() || wild ? DefaultExt : extension;
}

std::string TFileDialog::Execute(const std::string& InitialDir) {
    const QString folder = InitialDir.empty() ? FFolder : QString::fromStdString(InitialDir);
    QFileDialog dialog(OwnerWindow(), FProperties.Title, folder, FProperties.Filter);
    const bool save = FProperties.Kind == TFileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const auto followFilter = [&dialog, this](const QString& filter) {
        dialog.setDefaultSuffix(FilterExtension(filter, FProperties.DefaultExt));
    };
    followFilter(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().first();
    FFolder = QFileInfo(chosen).absolutePath();
    return chosen.toStdString();
}

} // namespace quillon
