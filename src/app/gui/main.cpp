// Quillon's entry point. Until the edit window exists this shows the list read-only with its kind.
#include "ListFiles.h"
#include "ListKinds.h"
#include "QtMessageService.h"
#include "QtText.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPlainTextEdit>

using namespace quillon;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName("Quillon");
    TQtMessageService messages;
    TMessageServiceScope messageScope(messages);

    std::vector<std::string> lines;
    std::string fileName;
    TRecentFiles history;
    if (argc > 1) {
        fileName = argv[1];
        if (!LoadListFile(fileName, &lines, history)) fileName.clear();
    }
    const int kind = DetectFileKind(lines, fileName);

    QPlainTextEdit view;
    view.setReadOnly(true);
    view.setLineWrapMode(QPlainTextEdit::NoWrap);
    view.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    std::string text = JoinListText(lines);
    view.setPlainText(FromCp932(text));
    QString name = fileName.empty() ? QStringLiteral("無題") : QStr(fileName);
    view.setWindowTitle(QStringLiteral("Quillon - %1 [%2]").arg(name, QStr(ListKindInfo(kind).ValueName)));
    view.resize(900, 600);
    view.show();
    return app.exec();
}
