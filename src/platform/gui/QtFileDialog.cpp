#include "QtFileDialog.h"

#include "QtDialogs.h"

#include <QFileDialog>

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

std::string ExecuteFileDialog(const TFileDialogSpec& Spec, const std::string& InitialDir) {
    QFileDialog dialog(OwnerWindow(), Spec.Title, QString::fromStdString(InitialDir), Spec.Filter);
    const bool save = Spec.Kind == TFileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const auto followFilter = [&dialog, &Spec](const QString& filter) {
        dialog.setDefaultSuffix(FilterExtension(filter, Spec.DefaultExt));
    };
    followFilter(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

} // namespace quillon
