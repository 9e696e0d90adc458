#include "ViewerRoot.h"

#include "Cp932.h"
#include "MessageBox.h"
#include "Paths.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTest>

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

class ViewerRootTest : public ::testing::Test {
protected:
    fs::path dir;
    fs::path oldDir = fs::current_path();
    TScriptedMessages messages;
    TMessageServiceScope scope{messages};
    TViewerRoot root;

    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "quillon-viewer-XXXXXX").string();
        dir = AbsolutePath(::mkdtemp(tmpl.data()));
    }
    void TearDown() override {
        fs::current_path(oldDir);
        fs::remove_all(dir);
    }
    std::string Write(const std::string& name, const std::string& utf8) {
        std::ofstream(dir / name, std::ios::binary) << Utf8ToCp932(utf8);
        return (dir / name).string();
    }
    void HandOver(const std::vector<std::string>& params) {
        THandOverBuffer buffer;
        JoinParams(params, buffer);
        root.WMCopyData({buffer.data(), buffer.size()});
    }
    QString Text(int index) { return static_cast<QPlainTextEdit*>(root.WindowAt(index))->toPlainText(); }
    QString Title(int index) { return root.WindowAt(index)->windowTitle(); }
};

TEST_F(ViewerRootTest, StartsWithTheFirstParameter) {
    const std::string name = Write("motion.lst", "--R モーション\r\n0,1\r\n");
    root.FormCreate({name, "/x/other.lst"});
    ASSERT_EQ(root.WindowCount(), 1);
    EXPECT_TRUE(root.WindowAt(0)->isVisible());
    EXPECT_EQ(Text(0), QStringLiteral("--R モーション\n0,1\n"));
    EXPECT_TRUE(Title(0).contains(QString::fromStdString(name)));
    EXPECT_EQ(root.History().Items(), std::vector<std::string>{name});
}

TEST_F(ViewerRootTest, StartsEmptyWithoutParameters) {
    root.FormCreate({});
    ASSERT_EQ(root.WindowCount(), 1);
    EXPECT_TRUE(Text(0).isEmpty());
    EXPECT_TRUE(Title(0).contains(QStringLiteral("無題")));
}

TEST_F(ViewerRootTest, AnUnreadableFirstParameterStillOpensAWindow) {
    root.FormCreate({(dir / "missing.lst").string()});
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "ファイルを開けませんでした");
    ASSERT_EQ(root.WindowCount(), 1);
    EXPECT_TRUE(Text(0).isEmpty());
}

TEST_F(ViewerRootTest, AHandOverWithoutParametersOpensAnEmptyWindow) {
    root.FormCreate({});
    HandOver({});
    ASSERT_EQ(root.WindowCount(), 2);
    EXPECT_TRUE(Text(1).isEmpty());
}

TEST_F(ViewerRootTest, AHandOverOpensOnlyTheFirstName) {
    root.FormCreate({});
    const std::string first = Write("motion.lst", "first");
    const std::string second = Write("y.lst", "second");
    HandOver({first, second});
    ASSERT_EQ(root.WindowCount(), 2);
    EXPECT_EQ(Text(1), QStringLiteral("first\n"));
    EXPECT_EQ(root.History().Items(), std::vector<std::string>{first});
}

TEST_F(ViewerRootTest, AHandOverOfAnOpenFileOnlyBringsItsWindowForward) {
    const std::string name = Write("motion.lst", "text");
    root.FormCreate({name});
    root.WindowAt(0)->showMinimized();
    const QString title = Title(0);
    fs::current_path(dir);
    HandOver({"./sub/../motion.lst"});  // another spelling of the same file
    ASSERT_EQ(root.WindowCount(), 1);
    EXPECT_FALSE(root.WindowAt(0)->isMinimized());
    EXPECT_TRUE(root.WindowAt(0)->isVisible());
    EXPECT_EQ(Title(0), title);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(ViewerRootTest, AHandedOverRelativeNameIsReadFromThisFolder) {
    root.FormCreate({});
    const std::string name = Write("rel.lst", "relative");
    fs::current_path(dir);
    HandOver({"rel.lst"});
    ASSERT_EQ(root.WindowCount(), 2);
    EXPECT_EQ(Text(1), QStringLiteral("relative\n"));
    EXPECT_TRUE(Title(1).contains(QString::fromStdString(name)));
}

TEST_F(ViewerRootTest, AHandedOverNameThatCannotBeReadOpensNothing) {
    root.FormCreate({});
    HandOver({(dir / "missing.lst").string()});
    EXPECT_EQ(root.WindowCount(), 1);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "ファイルを開けませんでした");
}

TEST_F(ViewerRootTest, AClosedViewerLeavesTheList) {
    const std::string name = Write("motion.lst", "text");
    root.FormCreate({name});
    HandOver({});
    root.WindowAt(0)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(root.WindowCount(), 1);
    // Its file is no longer shown, so a hand-over opens it again.
    HandOver({name});
    EXPECT_EQ(root.WindowCount(), 2);
}

} // namespace
