#pragma once
// The open and save dialogs. As the system's own dialogs do, a name typed without an extension gets
// the first extension of the chosen filter, or the dialog's default extension under a filter that
// names none ("*"); the overwrite question is asked for the name with its extension.
#include <QString>

#include <string>
#include <utility>

namespace quillon {

enum class TFileDialogKind { Open, Save };

// What a dialog is: its kind, title, filter and default extension.
struct TFileDialogProperties {
    TFileDialogKind Kind = TFileDialogKind::Open;
    QString Title;      // empty: the platform's own
    QString Filter;     // name filters separated by ";;", each "text (patterns)"
    QString DefaultExt; // without the dot
};

// A dialog kept for the whole run: each showing opens over the window in front, in the folder the
// caller names or else in the folder of the file last chosen with it (the current folder at first).
class TFileDialog {
public:
    explicit TFileDialog(TFileDialogProperties Properties) : FProperties(std::move(Properties)) {}

    // The chosen file's full name; empty when the user cancelled. An open dialog takes only an
    // existing file.
    std::string Execute(const std::string& InitialDir = {});

private:
    TFileDialogProperties FProperties;
    QString FFolder; // the folder of the file last chosen; empty before the first choice
};

// The extension, without its dot, that a name typed without one gets under the name filter Filter:
// that of the filter's first pattern ("ﾓｰｼｮﾝﾘｽﾄ (*Motion*.lst)" gives "lst"), or DefaultExt when the
// pattern has none or a wildcard one ("*", "*.*").
QString FilterExtension(const QString& Filter, const QString& DefaultExt);

} // namespace quillon
