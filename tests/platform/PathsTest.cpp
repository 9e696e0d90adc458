#include "Paths.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {
struct TempFolder {
    fs::path path;
    TempFolder() {
        std::string tmpl = (fs::temp_directory_path() / "quillon-paths-XXXXXX").string();
        path = ::mkdtemp(tmpl.data());
    }
    ~TempFolder() { fs::remove_all(path); }
};
void Touch(const fs::path& p) { std::ofstream(p) << "x"; }
} // namespace

TEST(Paths, AbsolutePathIsCleanAndNeverThrows) {
    TempFolder dir;
    Touch(dir.path / "a.lst");
    EXPECT_EQ(AbsolutePath(dir.path / "sub/../a.lst"), AbsolutePath(dir.path / "a.lst"));
    EXPECT_TRUE(AbsolutePath("relative.lst").is_absolute());
    EXPECT_NO_THROW(AbsolutePath(dir.path / "missing/folder/x.lst"));
    EXPECT_EQ(AbsolutePath(dir.path / "missing/./x.lst"), AbsolutePath(dir.path) / "missing/x.lst");
}

TEST(Paths, SameFileFollowsLinksButNotCase) {
    TempFolder dir;
    Touch(dir.path / "MOTION.LST");
    fs::create_symlink(dir.path / "MOTION.LST", dir.path / "link.lst");
    EXPECT_TRUE(SameFile(dir.path / "MOTION.LST", dir.path / "link.lst"));
    EXPECT_TRUE(SameFile(dir.path / "MOTION.LST", dir.path / "./MOTION.LST"));
    EXPECT_FALSE(SameFile(dir.path / "MOTION.LST", dir.path / "motion.lst"));
}

TEST(Paths, NeighbouringFilesAreFoundWithoutRegardToCase) {
    TempFolder dir;
    Touch(dir.path / "CHARA1.BMP");
    Touch(dir.path / "Pattern1.pat");
    EXPECT_EQ(FindFileNoCase(dir.path, "chara1.bmp"), dir.path / "CHARA1.BMP");
    EXPECT_EQ(FindFileNoCase(dir.path, "PATTERN1.PAT"), dir.path / "Pattern1.pat");
    EXPECT_EQ(FindFileNoCase(dir.path, "MOTION1.LST"), std::nullopt);
    EXPECT_EQ(FindFileNoCase(dir.path / "nowhere", "CHARA1.BMP"), std::nullopt);
    // An exact match wins over other spellings.
    Touch(dir.path / "chara1.bmp");
    EXPECT_EQ(FindFileNoCase(dir.path, "chara1.bmp"), dir.path / "chara1.bmp");
}

TEST(Paths, FileUrlsKeepEveryByteOfAName) {
    for (std::string name : {"/tmp/a.lst", "/tmp/\x93\xFA.lst", "/tmp/日 1,%\"2\".lst", "/t/\x83\x7C\x83\x5C"}) {
        const std::string url = FileUrl(name);
        EXPECT_EQ(url.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/-._~%:"),
                  std::string::npos)
            << url;
        EXPECT_EQ(FileNameOfUrl(url), name) << url;
    }
    EXPECT_EQ(FileUrl("/tmp/\x93\xFA.lst"), "file:///tmp/%93%FA.lst");
    struct {
        std::string Url;
        std::optional<std::string> Name;
    } cases[] = {
        {"file:///tmp/%93%FA.lst", "/tmp/\x93\xFA.lst"},
        {"file:/tmp/%e6%97%a5.lst", "/tmp/日.lst"},
        {"file://localhost/tmp/a", "/tmp/a"},
        {"file://host/share/a", "//host/share/a"},
        {"file:///a%2", "/a%2"}, // an escape without its two digits stays as it is
        {"file:///a%zz", "/a%zz"},
        {"file://host", std::nullopt},
        {"file:relative", std::nullopt},
        {"/tmp/a.lst", std::nullopt},
        {"https://example.invalid/a", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(FileNameOfUrl(c.Url), c.Name) << c.Url;
}
