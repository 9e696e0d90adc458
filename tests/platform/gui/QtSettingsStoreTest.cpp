#include "QtSettingsStore.h"

#include "FileSizeLimit.h"
#include "MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
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

// Settings that cannot be written were once lost without a word: the failure is told once, with
// the file's name and the cause, whether the event loop, Flush or the end writes them.
TEST_F(SettingsStoreTest, AFolderThatCannotBeMadeIsToldOnce) {
    TScriptedMessages messages;
    TMessageServiceScope scope(messages);
    QFile blocker(dir.filePath("Talvane"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder would be
    blocker.close();
    {
        TQtSettingsStore store(file());
        store.WriteString("Options", "History", "/a.lst");
        QCoreApplication::sendPostedEvents(); // the event loop's write
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Text,
                  "設定ファイルに書き込めませんでした\n" + file().toStdString() + "\nフォルダが見つかりません");
        EXPECT_EQ(messages.Shown[0].Title, "エラー");
        EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Error);
        store.WriteString("Options", "CreateMode", "1");
        store.Flush();
        QCoreApplication::sendPostedEvents();
    }
    EXPECT_EQ(messages.Shown.size(), 1u);
}

TEST_F(SettingsStoreTest, AFullDiskIsToldAndTheOldFileStays) {
    TScriptedMessages messages;
    TMessageServiceScope scope(messages);
    {
        TQtSettingsStore store(file());
        store.WriteString("Options", "History", "/a.lst");
    }
    QFile old(file());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();
    ASSERT_TRUE(messages.Shown.empty());
    {
        TQtSettingsStore store(file());
        store.WriteString("Options", "History", std::string(4000, 'h'));
        TFileSizeLimit limit(static_cast<rlim_t>(before.size()) + 100);
        store.Flush();
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Text, "設定ファイルに書き込めませんでした\n" + file().toStdString() +
                                              "\nファイルの大きさが許された上限を超えます");
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), before);
        old.close();
        // Nothing is left beside it.
        EXPECT_EQ(QDir(dir.filePath("Talvane")).entryList(QDir::Files | QDir::Hidden), QStringList{"quillon.ini"});
        store.Flush();
        EXPECT_EQ(messages.Shown.size(), 1u);
    }
    // Written in the end, once the disk takes it, and told no more.
    EXPECT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(TQtSettingsStore(file()).ReadString("Options", "History", ""), std::string(4000, 'h'));
}

// The store writes its file itself; QSettings must read every value back as it was, and the store
// must read what QSettings wrote (the files of earlier runs).
TEST_F(SettingsStoreTest, TheFileReadsBackThroughQSettingsBothWays) {
    const std::string texts[] = {
        "",
        "plain",
        "\"/a b/c.lst\",/d.lst",
        " blanks around ",
        "a;b=c,d",
        "back\\slash \"quoted\"",
        "@at the start",
        "@@two",
        "@ByteArray(not bytes)",
        "line\nbreak\ttab\x01"
        "1f",
        "立ちモーション／日本語",
        "🙂 beyond the basic plane",
        std::string("nul\0inside", 10),
        "\x7F delete",
    };
    TBytes bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<std::uint8_t>(b));
    for (const char* hex : {"0", "7", "a", "F"}) bytes.insert(bytes.end(), {0x1F, static_cast<std::uint8_t>(*hex)});
    const std::string names[] = {"Options", "General", "with space", "日本", "a%b"};
    {
        TQtSettingsStore store(file());
        for (size_t i = 0; i < std::size(texts); ++i)
            store.WriteValue(names[i % std::size(names)], "T" + std::to_string(i), texts[i]);
        for (const std::string& name : names) store.WriteBinary(name, name, bytes);
    }
    {
        QSettings settings(file(), QSettings::IniFormat);
        for (size_t i = 0; i < std::size(texts); ++i) {
            const QVariant value =
                settings.value(QString::fromStdString(names[i % std::size(names)] + "/T" + std::to_string(i)));
            EXPECT_EQ(value.typeId(), QMetaType::QString) << i;
            EXPECT_EQ(value.toString().toStdString(), texts[i]) << i;
        }
        for (const std::string& name : names) {
            const QByteArray value = settings.value(QString::fromStdString(name + "/" + name)).toByteArray();
            EXPECT_EQ(TBytes(value.begin(), value.end()), bytes) << name;
        }
    }
    QFile::remove(file());
    {
        QSettings settings(file(), QSettings::IniFormat);
        for (size_t i = 0; i < std::size(texts); ++i)
            settings.setValue(QString::fromStdString(names[i % std::size(names)] + "/T" + std::to_string(i)),
                              QString::fromStdString(texts[i]));
        settings.setValue("Options/Bytes", QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<qsizetype>(bytes.size())));
    }
    TQtSettingsStore store(file());
    for (size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(store.ReadValue(names[i % std::size(names)], "T" + std::to_string(i)), texts[i]) << i;
    EXPECT_EQ(store.ReadBinary("Options", "Bytes"), bytes);
}
