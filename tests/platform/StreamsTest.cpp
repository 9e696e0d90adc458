#include "Streams.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

// Writes to a full disk may all be taken into the buffer: the error shows at Close, which must
// raise it instead of losing it.
TEST(FileStream, AFullDiskShowsAtTheLatestAtClose) {
    for (std::size_t size : {std::size_t{10}, std::size_t{1} << 20}) {
        TFileStream stream("/dev/full", fmCreate);
        const std::string bytes(size, 'x');
        try {
            stream.WriteBuffer(bytes.data(), bytes.size());
            stream.Close();
            ADD_FAILURE() << size;
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.Cause(), "ディスクの空き容量が足りません") << size;
            EXPECT_EQ(e.Message(), "ファイル /dev/full の書き込みに失敗しました\nディスクの空き容量が足りません");
        }
    }
}

// Special files are refused for reading at once: none may block the program or fill its memory.
TEST(FileStream, OnlyRegularFilesAreOpenedForReading) {
    char folder[] = "/tmp/quillon-fifo-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const fs::path fifo = fs::path(folder) / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& name : {fifo, fs::path("/dev/zero"), fs::path(folder)})
        EXPECT_THROW(TFileStream(name, fmOpenRead), EFOpenError) << name;
    // A FIFO without a reader cannot be written either, and the attempt does not wait.
    EXPECT_THROW(TFileStream(fifo, fmCreate), EFCreateError);
    fs::remove_all(folder);
}

// Callers tell a folder, a special file and a missing file apart in their messages.
TEST(OpenFileNoWait, SaysWhyAFileWasNotOpened) {
    char folder[] = "/tmp/quillon-open-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const fs::path fifo = fs::path(folder) / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path file = fs::path(folder) / "file";
    { std::ofstream(file) << "12345"; }
    struct Case {
        fs::path Name;
        TFileMode Mode;
        int Error;
        bool Refused;
    };
    const Case cases[] = {
        {fifo, fmOpenRead, EINVAL, true},
        {"/dev/zero", fmOpenRead, EINVAL, true},
        {folder, fmOpenRead, EISDIR, false},
        {folder, fmCreate, EISDIR, false},
        {fs::path(folder) / "missing", fmOpenRead, ENOENT, false},
    };
    for (const Case& c : cases) {
        const TOpenedFile opened = OpenFileNoWait(c.Name, c.Mode);
        EXPECT_FALSE(opened.Handle) << c.Name;
        EXPECT_EQ(opened.Error, c.Error) << c.Name;
        EXPECT_EQ(opened.Refused, c.Refused) << c.Name;
    }
    const TOpenedFile opened = OpenFileNoWait(file, fmOpenRead);
    ASSERT_TRUE(opened.Handle);
    EXPECT_EQ(opened.Size, 5);
    EXPECT_EQ(::fcntl(opened.Handle.Get(), F_GETFL) & O_NONBLOCK, 0) << "reads block as usual once open";
    fs::remove_all(folder);
}

TEST(FileStream, ClosingAReadStreamAndClosingTwiceAreQuiet) {
    const fs::path name = fs::temp_directory_path() / "quillon-streams-read";
    { std::ofstream(name) << "x"; }
    TFileStream in(name, fmOpenRead);
    in.Close();
    in.Close();
    fs::remove(name);
}

} // namespace
