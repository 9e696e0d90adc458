#include "About.h"

#include "QtSettingsStore.h"
#include "VersionInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

class TNoticeCounter : public TCustomAbout {
public:
    using TCustomAbout::TCustomAbout;
    void ShowAboutBox() override {}
    void ShowVersionChanged() override { Notices.push_back(LastVersion() + " -> " + FileVersion()); }
    std::vector<std::string> Notices;
};

TProgramIdentity Running(const std::string& version) { return {"Quillon", version, "(C)"}; }

class AboutTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString File() const { return Dir.filePath("quillon.ini"); }
};

} // namespace

TEST(AboutIdentity, ComesFromTheBuild) {
    TQtSettingsStore store(QString{});
    TNoticeCounter about(store);
    EXPECT_EQ(about.ProductName(), "Quillon");
    EXPECT_EQ(about.FileVersion(), kFileVersion);
    EXPECT_EQ(about.LegalCopyright(), kLegalCopyright);
    EXPECT_TRUE(about.UseJapanese());
    EXPECT_TRUE(about.ShowVerHelp());
    EXPECT_FALSE(about.ShowDelReg());
    EXPECT_FALSE(about.DelReg());
}

TEST_F(AboutTest, VersionCheckTable) {
    struct Case {
        const char* Stored; // nullptr: nothing stored
        const char* Running;
        bool Changed;
        const char* LastVersion;
    } cases[] = {
        {nullptr, "1.2", false, ""}, // first run
        {"0.00", "1.2", false, ""},  // written by hand: a first run too
        {"1.1", "1.2", true, "1.1"}, {"1.2", "1.2", false, "1.2"}, {"1.2a", "1.2A", true, "1.2a"}, // letter case counts
        {"", "1.2", true, ""},
    };
    for (const Case& c : cases) {
        QFile::remove(File());
        TQtSettingsStore store(File());
        if (c.Stored) store.WriteString("Check", "Version", c.Stored);
        TNoticeCounter about(store, Running(c.Running));
        EXPECT_EQ(about.CheckVersion(true), c.Changed) << c.Running;
        EXPECT_EQ(about.LastVersion(), c.LastVersion);
        EXPECT_EQ(about.Notices.size(), c.Changed ? 1u : 0u);
        EXPECT_FALSE(about.CheckVersion(false) && !c.Changed);
        EXPECT_EQ(about.Notices.size(), c.Changed ? 1u : 0u); // Show false never shows
        about.SaveVersion();
        store.Flush();
        EXPECT_EQ(TQtSettingsStore(File()).ReadString("Check", "Version", "none"), c.Running);
    }
}

TEST_F(AboutTest, ShutdownDeletesTheWholeStoreOnlyWhenAsked) {
    {
        TQtSettingsStore store(File());
        TNoticeCounter about(store);
        store.WriteString("Options", "History", "a.lst");
        about.SaveVersion();
        about.Shutdown();
        store.Flush();
    }
    EXPECT_TRUE(QFile::exists(File()));
    {
        TQtSettingsStore store(File());
        TNoticeCounter about(store);
        about.SetDelReg(true);
        about.SaveVersion(); // written moments before exit, gone all the same
        about.Shutdown();
    }
    EXPECT_FALSE(QFile::exists(File()));
    EXPECT_FALSE(TQtSettingsStore(File()).SectionExists("Check"));
}

TEST_F(AboutTest, ShutdownNeverThrows) {
    class TFailingStore : public TQtSettingsStore {
    public:
        using TQtSettingsStore::TQtSettingsStore;
        void DeleteKey() override { throw std::runtime_error("read-only"); }
    } store(File());
    TNoticeCounter about(store);
    about.SetDelReg(true);
    EXPECT_NO_THROW(about.Shutdown());
}
