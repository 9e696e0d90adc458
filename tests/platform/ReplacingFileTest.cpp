#include "ReplacingFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

std::string Contents(const fs::path& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(TStream& stream, const std::string& text) { stream.WriteBuffer(text.data(), text.size()); }

class SaveFileReplacingTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "quillon-streams-XXXXXX").string();
        Dir = ::mkdtemp(tmpl.data());
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Dir)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    void Save(const fs::path& name, const std::string& text) {
        SaveFileReplacing(name, [&text](TStream& s) { WriteText(s, text); });
    }
    // A save killed in the middle of writing, in a child process.
    void KilledSave(const fs::path& name) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SaveFileReplacing(name, [](TStream& s) {
                WriteText(s, "half");
                ::_exit(0);
            });
            ::_exit(1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    fs::path Dir;
};

TEST_F(SaveFileReplacingTest, WritesTheWholeFileAndKeepsItsPermissions) {
    const fs::path name = Dir / "f.txt";
    { std::ofstream(name) << "old"; }
    fs::permissions(name, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    Save(name, "new");
    EXPECT_EQ(Contents(name), "new");
    EXPECT_EQ(fs::status(name).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Files(), std::vector<std::string>{"f.txt"});
}

TEST_F(SaveFileReplacingTest, AFailureLeavesTheOldFileAndNoTemporary) {
    const fs::path name = Dir / "f.txt";
    { std::ofstream(name) << "old"; }
    EXPECT_THROW(SaveFileReplacing(name,
                                   [](TStream& s) {
                                       s.WriteBuffer("half", 4);
                                       throw EWriteError();
                                   }),
                 EWriteError);
    EXPECT_EQ(Contents(name), "old");
    EXPECT_EQ(Files(), std::vector<std::string>{"f.txt"});
    try {
        SaveFileReplacing(Dir / "none" / "f.txt", [](TStream&) {});
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Cause(), "ファイルまたはフォルダが見つかりません");
    }
}

// Every name the folder takes can be saved: the temporary name must not pass the 255-byte limit
// that a plain "." + name + suffix passes from 249 bytes on.
TEST_F(SaveFileReplacingTest, NamesUpToTheLimitCanBeSaved) {
    std::string kana;
    for (int i = 0; i < 85; ++i) kana += "あ"; // 255 bytes, three to a character
    const std::string names[] = {
        std::string(239, 'a'), std::string(240, 'b'), std::string(248, 'c'), std::string(255, 'd'), kana,
        "x" + kana.substr(3), // a character cut where the name is shortened
    };
    for (const std::string& leaf : names) {
        const fs::path name = Dir / leaf;
        Save(name, "old");
        Save(name, "new " + leaf);
        EXPECT_EQ(Contents(name), "new " + leaf) << leaf.size();
        EXPECT_EQ(Files(), std::vector<std::string>{leaf}) << leaf.size();
        const std::string prefix = TReplacingFile::TemporaryPrefix(leaf);
        EXPECT_LE(prefix.size() + 6, TReplacingFile::kMaxNameBytes) << leaf.size();
        // A shortened name keeps whole characters: what is left of it is a start of the name
        // that ends before a trail byte.
        const std::string kept = prefix.substr(1, prefix.find_last_of('~') - 1);
        if (leaf.size() > 239) {
            EXPECT_TRUE(leaf.starts_with(kept)) << leaf.size();
            EXPECT_NE(static_cast<unsigned char>(leaf[kept.size()]) & 0xC0, 0x80) << leaf.size();
        }
        fs::remove(name);
    }
    // Long names that share their start still have temporaries of their own.
    EXPECT_NE(TReplacingFile::TemporaryPrefix(std::string(254, 'e') + "1"),
              TReplacingFile::TemporaryPrefix(std::string(254, 'e') + "2"));
}

// A save killed while it writes leaves its temporary; the next save of that file removes it.
TEST_F(SaveFileReplacingTest, TheNextSaveRemovesTheTemporariesOfKilledSaves) {
    for (const std::string& leaf : {std::string("f.txt"), std::string(250, 'f')}) {
        const fs::path name = Dir / leaf;
        Save(name, "old");
        KilledSave(name);
        EXPECT_EQ(Files().size(), 2u) << leaf.size();
        KilledSave(name); // the second removes the first one's, and leaves its own
        EXPECT_EQ(Files().size(), 2u) << leaf.size();
        EXPECT_EQ(Contents(name), "old");
        Save(name, "new");
        EXPECT_EQ(Files(), std::vector<std::string>{leaf}) << leaf.size();
        EXPECT_EQ(Contents(name), "new");
        fs::remove(name);
    }
}

// Only the file's own stale temporaries go: not another file's, not a link, a folder, a file that
// someone holds locked (a save in progress) or another user's, nor a name that only looks alike.
TEST_F(SaveFileReplacingTest, NothingButTheFilesOwnStaleTemporariesIsRemoved) {
    const fs::path name = Dir / "f.txt";
    { std::ofstream(name) << "old"; }
    auto make = [this](const std::string& leaf) {
        std::ofstream(Dir / leaf) << "left";
        return Dir / leaf;
    };
    make(".f.txt.quillon.AbC123"); // stale: removed
    std::vector<std::string> kept = {
        ".f.txt.quillon.AbC12", ".f.txt.quillon.AbC1234", ".f.txt.quillon.AbC-23", ".g.txt.quillon.AbC123",
        ".f.txt.AbC123",        "f.txt.quillon.AbC123",   ".f.txt.quillon.Lck123",
    };
    for (const std::string& leaf : kept) make(leaf);
    TFileHandle lock(::open((Dir / ".f.txt.quillon.Lck123").c_str(), O_RDONLY));
    ASSERT_EQ(::flock(lock.Get(), LOCK_EX), 0);
    const fs::path victim = make("victim");
    fs::create_symlink(victim, Dir / ".f.txt.quillon.Lnk123");
    fs::create_directory(Dir / ".f.txt.quillon.Dir123");
    kept.insert(kept.end(), {"victim", ".f.txt.quillon.Lnk123", ".f.txt.quillon.Dir123", "f.txt"});
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(make(".f.txt.quillon.Usr123").c_str(), 65534, 65534), 0);
        kept.push_back(".f.txt.quillon.Usr123");
    }
    Save(name, "new");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Files(), kept);
    EXPECT_EQ(Contents(victim), "left");
}

// A link is written through, as lists are: the file it names gets the new text, the link stays.
TEST_F(SaveFileReplacingTest, ALinkIsFollowed) {
    const fs::path real = Dir / "real.txt", link = Dir / "link.txt";
    { std::ofstream(real) << "old"; }
    fs::create_symlink("real.txt", link);
    Save(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Contents(real), "new");
    EXPECT_EQ(Files(), (std::vector<std::string>{"link.txt", "real.txt"}));
}

// Restore after Commit puts the kept old file back, or removes the new one when there was none;
// nothing is left beside the target either way.
TEST_F(SaveFileReplacingTest, RestoreUndoesACommit) {
    const fs::path name = Dir / "f.txt";
    for (bool hadOld : {true, false}) {
        if (hadOld) std::ofstream(name) << "old";
        {
            TReplacingFile file(name);
            std::ofstream(file.TempName()) << "new";
            EXPECT_TRUE(file.KeepOld());
            ASSERT_EQ(file.Commit(), 0);
            EXPECT_EQ(Contents(name), "new");
            EXPECT_TRUE(file.Restore());
        }
        EXPECT_EQ(Files(), hadOld ? std::vector<std::string>{"f.txt"} : std::vector<std::string>{}) << hadOld;
        EXPECT_EQ(Contents(name), hadOld ? "old" : "");
        fs::remove(name);
    }
    // Kept but not restored: the new file stays and the kept old one goes.
    std::ofstream(name) << "old";
    {
        TReplacingFile file(name);
        std::ofstream(file.TempName()) << "new";
        EXPECT_TRUE(file.KeepOld());
        ASSERT_EQ(file.Commit(), 0);
        EXPECT_EQ(Files().size(), 2u);
    }
    EXPECT_EQ(Files(), std::vector<std::string>{"f.txt"});
    EXPECT_EQ(Contents(name), "new");
}

} // namespace
