// The open and save dialogs give a name typed without an extension the extension of the chosen filter.
#include "QtFileDialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace quillon {
namespace {

const QString kFilter = QStringLiteral("ｻﾎﾟｰﾄﾌｧｲﾙ (*.lst *.qes);;ﾓｰｼｮﾝﾘｽﾄ (*Motion*.lst);;Quessa1.3ｴﾈﾐｰｿｰｽ (*.qes);;"
                                       "すべてのﾌｧｲﾙ (*)");

TEST(FilterExtension, FirstPatternsExtensionElseTheDefault) {
    const struct {
        const char* Filter;
        const char* Extension;
    } cases[] = {
        {"ｻﾎﾟｰﾄﾌｧｲﾙ (*.lst *.qes)", "lst"}, {"ﾓｰｼｮﾝﾘｽﾄ (*Motion*.lst)", "lst"},
        {"Quessa1.3ｴﾈﾐｰｿｰｽ (*.qes)", "qes"}, {"すべてのﾌｧｲﾙ (*)", "def"},
        {"all (*.*)", "def"},                  {"odd (*.l?t)", "def"},
        {"*.bmp", "bmp"},                      {"", "def"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilterExtension(QString::fromUtf8(c.Filter), QStringLiteral("def")), QString::fromUtf8(c.Extension))
            << c.Filter;
}

// Types Name into the file dialog once its modal loop runs, after choosing the filter Filter when
// one is given, and accepts it.
void AnswerFileDialog(const QString& Name, const QString& Filter = {}) {
    QTimer::singleShot(0, [Name, Filter] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (!Filter.isEmpty()) {
            dialog->selectNameFilter(Filter);
            emit dialog->filterSelected(Filter);  // as the user's choice in the filter box signals it
        }
        dialog->selectFile(Name);
        static_cast<QDialog*>(dialog)->accept();
    });
}

class FileDialog : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    std::string Path(const char* Name) const { return Dir.filePath(QString::fromUtf8(Name)).toStdString(); }
    std::string Run(TFileDialogKind Kind, const QString& DefaultExt) {
        return ExecuteFileDialog({Kind, {}, kFilter, DefaultExt}, Dir.path().toStdString());
    }
};

TEST_F(FileDialog, SavingANameWithoutExtensionTakesTheFiltersOrTheDefault) {
    AnswerFileDialog("foo");
    EXPECT_EQ(Run(TFileDialogKind::Save, "qes"), Path("foo.lst"));
    AnswerFileDialog("foo", QStringLiteral("Quessa1.3ｴﾈﾐｰｿｰｽ (*.qes)"));
    EXPECT_EQ(Run(TFileDialogKind::Save, "qes"), Path("foo.qes"));
    AnswerFileDialog("foo", QStringLiteral("すべてのﾌｧｲﾙ (*)"));
    EXPECT_EQ(Run(TFileDialogKind::Save, "qes"), Path("foo.qes"));
    AnswerFileDialog("foo.txt");
    EXPECT_EQ(Run(TFileDialogKind::Save, "qes"), Path("foo.txt"));
}

TEST_F(FileDialog, OpeningANameWithoutExtensionFindsTheList) {
    QFile list(Dir.filePath("bar.lst"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.close();
    AnswerFileDialog("bar");
    EXPECT_EQ(Run(TFileDialogKind::Open, "lst"), Path("bar.lst"));
}

} // namespace
} // namespace quillon
