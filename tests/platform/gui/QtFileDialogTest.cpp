// The open and save dialogs give a name typed without an extension the extension of the chosen filter.
#include "QtFileDialog.h"

#include <QApplication>
#include <QDir>
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
        {"ｻﾎﾟｰﾄﾌｧｲﾙ (*.lst *.qes)", "lst"},
        {"ﾓｰｼｮﾝﾘｽﾄ (*Motion*.lst)", "lst"},
        {"Quessa1.3ｴﾈﾐｰｿｰｽ (*.qes)", "qes"},
        {"すべてのﾌｧｲﾙ (*)", "def"},
        {"all (*.*)", "def"},
        {"odd (*.l?t)", "def"},
        {"*.bmp", "bmp"},
        {"", "def"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilterExtension(QString::fromUtf8(c.Filter), QStringLiteral("def")), QString::fromUtf8(c.Extension))
            << c.Filter;
}

// Types Name into the file dialog once its modal loop runs, after choosing the filter Filter when
// one is given, and accepts it. Folder, when given, receives the folder the dialog opened in.
void AnswerFileDialog(const QString& Name, const QString& Filter = {}, QString* Folder = nullptr) {
    QTimer::singleShot(0, [Name, Filter, Folder] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (Folder) *Folder = dialog->directory().absolutePath();
        if (!Filter.isEmpty()) {
            dialog->selectNameFilter(Filter);
            emit dialog->filterSelected(Filter); // as the user's choice in the filter box signals it
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
        return TFileDialog({Kind, {}, kFilter, DefaultExt}).Execute(Dir.path().toStdString());
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

TEST_F(FileDialog, OpensAgainWhereTheLastFileWasChosen) {
    QTemporaryDir other;
    TFileDialog dialog({TFileDialogKind::Save, {}, kFilter, "qes"});
    QString folder;
    AnswerFileDialog("a", {}, &folder);
    EXPECT_EQ(dialog.Execute(Dir.path().toStdString()), Path("a.lst"));
    AnswerFileDialog("b", {}, &folder);
    EXPECT_EQ(dialog.Execute(), Path("b.lst"));
    EXPECT_EQ(folder, QDir(Dir.path()).absolutePath());
    // A folder the caller names comes first; cancelling keeps the folder last chosen.
    AnswerFileDialog(other.filePath("c"), {}, &folder);
    EXPECT_EQ(dialog.Execute(Dir.path().toStdString()), other.filePath("c.lst").toStdString());
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(dialog.Execute(), "");
    AnswerFileDialog("d", {}, &folder);
    EXPECT_EQ(dialog.Execute(), other.filePath("d.lst").toStdString());
    EXPECT_EQ(folder, QDir(other.path()).absolutePath());
}

} // namespace
} // namespace quillon
