#include "ListFiles.h"
#include "FileSizeLimit.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "MskMatch.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

class ListFilesTest : public ::testing::Test {
protected:
    fs::path dir;
    TScriptedMessages messages;
    TMessageServiceScope scope{messages};
    TRecentFiles history;

    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "quillon-lists-XXXXXX").string();
        dir = ::mkdtemp(tmpl.data());
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return (dir / name).string();
    }
    std::string Read(const std::string& name) {
        std::ifstream in(dir / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

} // namespace

TEST(ListText, LineEndsOfEveryKindReadAlike) {
    const std::vector<std::string> expected{"a", "", "b"};
    for (const char* bytes : {"a\r\n\r\nb\r\n", "a\n\nb\n", "a\r\rb\r", "a\r\n\nb", "a\n\r\nb"})
        EXPECT_EQ(SplitListText(bytes).Lines, expected) << bytes;
    EXPECT_TRUE(SplitListText("").Lines.empty());
    EXPECT_EQ(SplitListText("\r\n").Lines, std::vector<std::string>{""});
    EXPECT_EQ(SplitListText("x\n\r").Lines, (std::vector<std::string>{"x", ""})); // LF CR is two breaks
}

TEST(ListText, ANulByteEndsTheText) {
    TListText text = SplitListText(std::string("a\r\nb\0c\r\nd", 9));
    EXPECT_EQ(text.Lines, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(text.StoppedAtNul);
    EXPECT_FALSE(SplitListText("a\r\n").StoppedAtNul);
}

TEST(ListText, WritingEndsEveryLineWithCrLf) {
    EXPECT_EQ(JoinListText({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinListText({}), "");
}

TEST_F(ListFilesTest, ACrLfListSavedUnchangedIsByteIdentical) {
    std::string bytes;
    for (int b = 0x20; b < 0x100; ++b) // every byte but the line ends, NUL and other controls
        if (b != 0x7F) bytes += static_cast<char>(b);
    bytes += "\r\n\x87\x40\xFA\x40\xF0\x40\x85\x40\r\n\r\nend\r\n"; // NEC, IBM, user-defined, unassigned
    std::string name = Write("MOTION.LST", bytes);
    std::vector<std::string> lines;
    ASSERT_TRUE(LoadListFile(name, &lines, history));
    int kind = -1;
    ASSERT_TRUE(SaveListFile(name, &lines, history, kind));
    EXPECT_EQ(Read("MOTION.LST"), bytes);
    EXPECT_EQ(kind, lkMotion);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(ListFilesTest, LfListIsWrittenBackWithCrLf) {
    std::string name = Write("a.lst", "x\ny");
    std::vector<std::string> lines;
    ASSERT_TRUE(LoadListFile(name, &lines, history));
    int kind;
    ASSERT_TRUE(SaveListFile(name, &lines, history, kind));
    EXPECT_EQ(Read("a.lst"), "x\r\ny\r\n");
}

TEST_F(ListFilesTest, LoadMakesTheNameAbsoluteAndRecordsIt) {
    Write("b.lst", "x\r\n");
    std::string name = (dir / "sub" / ".." / "b.lst").string();
    std::vector<std::string> lines;
    ASSERT_TRUE(LoadListFile(name, &lines, history));
    EXPECT_EQ(name, (dir / "b.lst").string());
    EXPECT_EQ(history.Items(), std::vector<std::string>{name});
    EXPECT_FALSE(LoadListFile(name, nullptr, history));
}

TEST_F(ListFilesTest, AMissingFileShowsTheOpenMessageAndKeepsTheLines) {
    std::string name = (dir / "gone.lst").string();
    std::vector<std::string> lines{"keep"};
    EXPECT_FALSE(LoadListFile(name, &lines, history));
    EXPECT_EQ(lines, std::vector<std::string>{"keep"});
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text,
              "ファイルを開けませんでした\n" + name + "\nファイルまたはフォルダが見つかりません");
    EXPECT_EQ(messages.Shown[0].Title, "エラー");
    EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Error);
    EXPECT_TRUE(history.Items().empty());
}

// Special files are refused at once: none of them may block the program or fill its memory.
TEST_F(ListFilesTest, OnlyRegularFilesAreRead) {
    const std::string fifo = (dir / "fifo.lst").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string Name;
        std::string Message;
    };
    const Case cases[] = {
        {fifo, "ファイルを開けませんでした\n" + fifo + "\n通常のファイルではありません"},
        {"/dev/zero", "ファイルを開けませんでした\n/dev/zero\n通常のファイルではありません"},
        {dir.string(), "ファイルを開けませんでした\n" + dir.string() + "\nフォルダです"},
    };
    for (const Case& c : cases) {
        std::string name = c.Name;
        std::vector<std::string> lines{"keep"};
        EXPECT_FALSE(LoadListFile(name, &lines, history)) << c.Name;
        EXPECT_EQ(lines, std::vector<std::string>{"keep"});
        ASSERT_FALSE(messages.Shown.empty());
        EXPECT_EQ(messages.Shown.back().Text, c.Message);
    }
    EXPECT_TRUE(history.Items().empty());
}

TEST_F(ListFilesTest, AFileBeyondTheSizeLimitIsNotRead) {
    std::string name = Write("huge.lst", "x\r\n");
    fs::resize_file(name, kMaxListFileSize + 1); // sparse: costs no disk
    std::vector<std::string> lines;
    EXPECT_FALSE(LoadListFile(name, &lines, history));
    EXPECT_EQ(messages.Shown.back().Text,
              "ファイルの読み込みに失敗しました\n" + name + "\nファイルが大きすぎます (上限 256 MB)");
    fs::resize_file(name, kMaxListFileSize);
    EXPECT_TRUE(LoadListFile(name, &lines, history));
    EXPECT_EQ(lines.front(), "x");
}

TEST_F(ListFilesTest, ABigListIsSavedAndOpenedAgain) {
    std::vector<std::string> lines(200000, std::string(98, 'x')); // 20 MB with the line breaks
    lines.back() = "last";
    std::string name = (dir / "big.lst").string();
    int kind = -1;
    ASSERT_TRUE(SaveListFile(name, &lines, history, kind));
    std::vector<std::string> again;
    ASSERT_TRUE(LoadListFile(name, &again, history));
    EXPECT_TRUE(again == lines);
    EXPECT_TRUE(messages.Shown.empty());
}

// A list that could not be opened again is not written: the old file stays.
TEST_F(ListFilesTest, AListBeyondTheSizeLimitIsNotSaved) {
    std::string name = Write("s.lst", "old\r\n");
    std::vector<std::string> lines(1);
    lines[0].resize(kMaxListFileSize - 1, 'x'); // one byte over with its CR LF
    int kind = -1;
    EXPECT_FALSE(SaveListFile(name, &lines, history, kind));
    EXPECT_EQ(messages.Shown.back().Text,
              "ファイルの書き込みに失敗しました\n" + name + "\nファイルが大きすぎます (上限 256 MB)");
    EXPECT_EQ(Read("s.lst"), "old\r\n");
    for (const auto& entry : fs::directory_iterator(dir)) EXPECT_EQ(entry.path().filename(), "s.lst");
}

TEST_F(ListFilesTest, ANulByteWarnsThatTheRestWasNotLoaded) {
    std::string name = Write("n.lst", std::string("a\r\n\0b\r\n", 7));
    std::vector<std::string> lines;
    ASSERT_TRUE(LoadListFile(name, &lines, history));
    EXPECT_EQ(lines, std::vector<std::string>{"a"});
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Warning);
}

TEST_F(ListFilesTest, AFailedSaveKeepsTheOldFile) {
    std::string name = Write("c.lst", "old\r\n");
    ::chmod(name.c_str(), 0444);
    std::vector<std::string> lines{"new"};
    int kind = -1;
    if (::access(name.c_str(), W_OK) != 0) { // root may write anywhere
        EXPECT_FALSE(SaveListFile(name, &lines, history, kind));
        EXPECT_EQ(messages.Shown.back().Text,
                  "ファイルを開けませんでした\n" + name + "\nファイルにアクセスする権限がありません");
        EXPECT_EQ(Read("c.lst"), "old\r\n");
    }
    // A folder that does not exist: nothing can be created there.
    std::string lost = (dir / "nowhere" / "d.lst").string();
    EXPECT_FALSE(SaveListFile(lost, &lines, history, kind));
    EXPECT_EQ(messages.Shown.back().Text,
              "ファイルを開けませんでした\n" + lost + "\nファイルまたはフォルダが見つかりません");
    EXPECT_EQ(kind, -1);
    EXPECT_TRUE(history.Items().empty());
    // No temporary file is left behind.
    for (const auto& entry : fs::directory_iterator(dir)) EXPECT_EQ(entry.path().filename(), "c.lst");
}

// A writable list in a folder that is not: the temporary file cannot be made, and the message says
// that the folder is the cause.
TEST_F(ListFilesTest, AListInAReadOnlyFolderNamesTheFolderAsTheCause) {
    std::string name = Write("r.lst", "old\r\n");
    fs::permissions(dir, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (::access(dir.c_str(), W_OK) == 0) GTEST_SKIP() << "root may write anywhere";
    std::vector<std::string> lines{"new"};
    int kind = -1;
    EXPECT_FALSE(SaveListFile(name, &lines, history, kind));
    EXPECT_EQ(messages.Shown.back().Text,
              "ファイルを開けませんでした\n" + name + "\nフォルダに書き込む権限がありません");
    EXPECT_EQ(Read("r.lst"), "old\r\n");
}

// An oversized write fails as an error (the signal that would end the program is ignored) and the
// old list stays as it was.
TEST_F(ListFilesTest, AFailedWriteNamesTheFileAndTheCause) {
    std::string name = Write("w.lst", "old list\r\n");
    std::vector<std::string> lines(100, "a line longer than the limit");
    int kind = -1;
    bool saved;
    {
        TFileSizeLimit limit(64);
        saved = SaveListFile(name, &lines, history, kind);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(messages.Shown.back().Text,
              "ファイルの書き込みに失敗しました\n" + name + "\nファイルの大きさが許された上限を超えます");
    EXPECT_EQ(Read("w.lst"), "old list\r\n");
    for (const auto& entry : fs::directory_iterator(dir)) EXPECT_EQ(entry.path().filename(), "w.lst");
}

TEST(FileErrors, Causes) {
    EXPECT_EQ(ErrorCause(ENOSPC), "ディスクの空き容量が足りません");
    EXPECT_EQ(ErrorCause(EDQUOT), "ディスクの空き容量が足りません");
    EXPECT_EQ(ErrorCause(EACCES), "ファイルにアクセスする権限がありません");
    EXPECT_EQ(ErrorCause(EACCES, TErrorPlace::Folder), "フォルダに書き込む権限がありません");
    EXPECT_EQ(ErrorCause(EROFS), "読み取り専用のドライブです");
    EXPECT_FALSE(ErrorCause(EXDEV).empty()) << "any other number gives the system's text";
    EXPECT_EQ(FileMessage("a", "/b", ""), "a\n/b");
}

TEST_F(ListFilesTest, SavingKeepsTheFilesPermissions) {
    std::string name = Write("p.lst", "x\r\n");
    ::chmod(name.c_str(), 0640);
    std::vector<std::string> lines{"y"};
    int kind;
    ASSERT_TRUE(SaveListFile(name, &lines, history, kind));
    struct stat st {};
    ::stat(name.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(ListFilesTest, SavingDetectsTheKindFromTheNewName) {
    std::vector<std::string> lines;
    NewCommandList(lines);
    int kind = -1;
    std::string classic = (dir / "COMMAND1.LST").string();
    ASSERT_TRUE(SaveListFile(classic, &lines, history, kind));
    EXPECT_EQ(kind, lkCommand);
    std::string vantor = (dir / "ZCOMMAND1.LST").string();
    ASSERT_TRUE(SaveListFile(vantor, &lines, history, kind));
    EXPECT_EQ(kind, lkZCommand);
}

TEST_F(ListFilesTest, RecentFilesKeepFiveAndMoveAReopenedFileToTheTop) {
    std::vector<std::string> names;
    for (int i = 1; i <= 6; ++i) names.push_back(Write("f" + std::to_string(i) + ".lst", "x\r\n"));
    std::vector<std::string> lines;
    for (std::string n : names) ASSERT_TRUE(LoadListFile(n, &lines, history));
    EXPECT_EQ(history.Items(), (std::vector<std::string>{names[5], names[4], names[3], names[2], names[1]}));

    std::string third = names[2];
    ASSERT_TRUE(LoadListFile(third, &lines, history));
    EXPECT_EQ(history.Items(), (std::vector<std::string>{names[2], names[5], names[4], names[3], names[1]}));

    // The same file under another spelling keeps the entry's first spelling.
    std::string other = (dir / "." / "f4.lst").string();
    history.Add(other);
    EXPECT_EQ(history.Items().front(), names[3]);
    EXPECT_EQ(history.Items().size(), 5u);
}

TEST(RecentFiles, CommaTextKeepsNamesWithBlanks) {
    TRecentFiles history;
    history.Add("/tmp/b c.lst");
    history.Add("/tmp/a.lst");
    EXPECT_EQ(history.CommaText(), "/tmp/a.lst,\"/tmp/b c.lst\"");
    TRecentFiles again;
    again.SetCommaText(history.CommaText());
    EXPECT_EQ(again.Items(), history.Items());
    again.SetCommaText("1,2,3,4,5,6,7");
    EXPECT_EQ(again.Items().size(), 5u);
}

namespace {

// A file name that a mask matches: each "*" stands for one letter.
std::string NameOfMask(std::string_view mask) {
    std::string name(mask);
    std::ranges::replace(name, '*', 'X');
    return name;
}

} // namespace

// Every kind's files are among the supported files and under one kind's own entry; the last entry
// offers all files.
TEST(ListFileFilter, OffersEveryKindsFiles) {
    std::vector<std::vector<std::string>> entries; // the patterns of each entry
    const std::string filter = ListFileFilter();
    for (std::size_t from = 0; from <= filter.size();) {
        const std::size_t end = std::min(filter.find(";;", from), filter.size());
        const std::string entry = filter.substr(from, end - from);
        const std::size_t open = entry.rfind(" (");
        ASSERT_TRUE(open != std::string::npos && entry.back() == ')') << entry;
        std::istringstream patterns(entry.substr(open + 2, entry.size() - open - 3));
        entries.emplace_back(std::istream_iterator<std::string>(patterns), std::istream_iterator<std::string>());
        from = end + 2;
    }
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries.back(), std::vector<std::string>{"*"});
    const auto offers = [](const std::vector<std::string>& patterns, const std::string& name) {
        return std::ranges::any_of(patterns, [&](const std::string& p) { return MatchesMask(name, p); });
    };
    for (int kind = lkText + 1; kind < kListKindCount; ++kind) {
        const std::string name = NameOfMask(ListKindInfo(kind).Mask);
        EXPECT_TRUE(offers(entries.front(), name)) << name;
        EXPECT_TRUE(std::any_of(entries.begin() + 1, entries.end() - 1, [&](const auto& e) { return offers(e, name); }))
            << name;
    }
}
