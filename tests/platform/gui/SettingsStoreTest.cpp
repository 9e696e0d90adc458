#include "QtSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file() const { return dir.filePath("Talvane/quillon.ini"); }
};

} // namespace

TEST_F(SettingsStoreTest, PlainValuesReadWithTheirDefaults) {
    TQtSettingsStore store(file());
    EXPECT_EQ(store.ReadString("Options", "History", "none"), "none");
    EXPECT_EQ(store.ReadInteger("Options", "CreateMode", 2), 2);
    EXPECT_TRUE(store.ReadBool("Options", "UseDecColorDepth", true));

    store.WriteString("Options", "History", "\"/a b/c.lst\",/d.lst");
    store.WriteInteger("Options", "CreateMode", -7);
    store.WriteBool("Options", "UseDecColorDepth", false);
    store.WriteString("Check", "Version", "1.00");
    store.Flush();

    TQtSettingsStore again(file());
    EXPECT_EQ(again.ReadString("Options", "History", ""), "\"/a b/c.lst\",/d.lst");
    EXPECT_EQ(again.ReadInteger("Options", "CreateMode", 2), -7);
    EXPECT_FALSE(again.ReadBool("Options", "UseDecColorDepth", true));
    EXPECT_EQ(again.ReadValue("Options", "UseDecColorDepth"), "0"); // booleans are stored as "0"/"1"
    EXPECT_EQ(again.ReadString("Check", "Version", ""), "1.00");
}

TEST_F(SettingsStoreTest, UnreadableIntegersGiveTheDefault) {
    TQtSettingsStore store(file());
    store.WriteString("Options", "CreateMode", "two");
    EXPECT_EQ(store.ReadInteger("Options", "CreateMode", 2), 2);
    EXPECT_TRUE(store.ReadBool("Options", "UseDecColorDepth", true));
}

TEST_F(SettingsStoreTest, BinaryValuesKeepEveryByte) {
    TBytes bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<std::uint8_t>(b));
    {
        TQtSettingsStore store(file());
        store.WriteBinary("ColourerProperties", "Motion", bytes);
    }
    TQtSettingsStore store(file());
    EXPECT_EQ(store.ReadBinary("ColourerProperties", "Motion"), bytes);
    EXPECT_EQ(store.ReadBinary("ColourerProperties", "Command"), std::nullopt);
    EXPECT_EQ(store.ReadValue("ColourerProperties", "Motion"), std::nullopt); // binary is no string
}

TEST_F(SettingsStoreTest, ExistenceAndDeletion) {
    TQtSettingsStore store(file());
    EXPECT_FALSE(store.SectionExists("ColourerProperties"));
    store.WriteString("ColourerProperties", "Motion", "x");
    store.WriteString("Options", "ItemRegExp", "1");
    store.WriteString("Options", "History", "");
    EXPECT_TRUE(store.SectionExists("ColourerProperties"));
    EXPECT_TRUE(store.ValueExists("Options", "ItemRegExp"));

    store.DeleteValue("Options", "ItemRegExp");
    EXPECT_FALSE(store.ValueExists("Options", "ItemRegExp"));
    EXPECT_TRUE(store.ValueExists("Options", "History"));

    store.EraseSection("ColourerProperties");
    EXPECT_FALSE(store.SectionExists("ColourerProperties"));
    EXPECT_TRUE(store.SectionExists("Options"));

    store.Flush();
    ASSERT_TRUE(QFile::exists(file()));
    store.DeleteKey();
    EXPECT_FALSE(store.SectionExists("Options"));
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(SettingsStoreTest, ACorruptFileReadsAsDefaults) {
    QDir().mkpath(dir.filePath("Talvane"));
    QFile f(file());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Options\n\xff\xfe garbage = = =\n[[[");
    f.close();
    TQtSettingsStore store(file());
    EXPECT_EQ(store.ReadInteger("Options", "CreateMode", 2), 2);
}
