#include "canpe.h"

#include "MessageBox.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

const std::string kSample = ":NUM=Num title\r\nline 1\r\n\r\nline 2\r\n\\e\r\n:TO=To title\r\nto text\r\n\\E\r\n";

struct THint {
    THintResult Result;
    std::string Title, Body;
};

THint Find(std::string_view text, std::string_view key) {
    THint hint{hrNotFound, "stale", "stale"};
    hint.Result = FindItemHint(text, key, hint.Title, hint.Body);
    return hint;
}

} // namespace

TEST(HintFile, TheSampleFile) {
    struct Case {
        std::string key;
        THintResult result;
        std::string title, body;
    } cases[] = {
        {"num", hrFound, "Num title", "line 1\r\n\r\nline 2\r\n"},
        {"NUM", hrFound, "Num title", "line 1\r\n\r\nline 2\r\n"},
        {"TO", hrFound, "To title", "to text\r\n"},
        {"to", hrFound, "To title", "to text\r\n"},
        {"SP", hrNotFound, "", ""},
        {"", hrNotFound, "", ""},
    };
    for (const Case& c : cases) {
        THint hint = Find(kSample, c.key);
        EXPECT_EQ(hint.Result, c.result) << c.key;
        EXPECT_EQ(hint.Title, c.title) << c.key;
        EXPECT_EQ(hint.Body, c.body) << c.key;
    }
}

TEST(HintFile, HeadAndEndLines) {
    struct Case {
        std::string text, key;
        THintResult result;
        std::string title, body;
    } cases[] = {
        {":A=t\n\\\n\\eof\nafter\n", "A", hrFound, "t", "\\\r\n"}, // "\" alone is text, "\eof" ends
        {"note\n:A=last", "A", hrFound, "last", ""},               // a head line on the last line
        {":A=last\r\n", "A", hrFound, "last", ""},
        {":A=\nx", "A", hrFound, "", "x\r\n"}, // an empty title
        {":A=first\n1\n\\e\n:a=second\n2\n\\e\n", "A", hrFound, "first", "1\r\n"},
        {":=x\nbody\n", "", hrNotFound, "", ""}, // no key: not a head line
        {":A\nbody\n", "A", hrNotFound, "", ""}, // no "=": not a head line
        {":A=B=C\n", "A", hrFound, "B=C", ""},
        {":A=a\n:B=inside\n\\e\n:B=real\nr\n", "B", hrFound, "real", "r\r\n"}, // A's body is skipped whole
        {":A=a\n:B=inside\n\\e\n", "A", hrFound, "a", ":B=inside\r\n"},
        {":A=a\rx\r\ry\r\\E\r", "A", hrFound, "a", "x\r\n\r\ny\r\n"}, // CR line ends
        {" :A=a\n", "A", hrNotFound, "", ""},
        // Keys compare in upper case by character: the trail byte 0x61 of "\x83\x61" is no "a".
        {":\x83\x61=kana\n", "\x83\x41", hrNotFound, "", ""},
        {":\x83\x61x=kana\n", "\x83\x61X", hrFound, "kana", ""},
    };
    for (const Case& c : cases) {
        THint hint = Find(c.text, c.key);
        EXPECT_EQ(hint.Result, c.result) << c.text;
        EXPECT_EQ(hint.Title, c.title) << c.text;
        EXPECT_EQ(hint.Body, c.body) << c.text;
    }
}

TEST(HintFile, EveryTruncationOfAFileReadsSafely) {
    for (size_t n = 0; n <= kSample.size(); ++n) {
        std::string cut = kSample.substr(0, n); // a copy of its own, so that reading past it is caught
        for (std::string key : {"NUM", "TO", "X"}) {
            THint full = Find(kSample, key), hint = Find(cut, key);
            if (hint.Result != hrFound) continue;
            EXPECT_EQ(full.Title.substr(0, hint.Title.size()), hint.Title) << n;
            EXPECT_LE(hint.Body.size(), full.Body.size() + 3) << n;
        }
    }
}

class HintFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        FDir = fs::temp_directory_path() /
               ("quillon-hints-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(FDir);
        fs::create_directories(FDir);
    }
    void TearDown() override { fs::remove_all(FDir); }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(FDir / name, std::ios::binary) << bytes;
    }

    fs::path FDir;
    TScriptedMessages FMessages;
    TMessageServiceScope FScope{FMessages};
};

TEST_F(HintFileOnDisk, ReadsTheFileAndFindsItsNameInAnyCase) {
    Write("cheat.DAT", kSample);
    std::string title, body;
    EXPECT_EQ(ReadItemHint(FDir / "Cheat.dat", "to", title, body), hrFound);
    EXPECT_EQ(title, "To title");
    EXPECT_TRUE(LookupItemHint(FDir / "Cheat.dat", "num", title, body));
    EXPECT_EQ(body, "line 1\r\n\r\nline 2\r\n");
    EXPECT_FALSE(LookupItemHint(FDir / "Cheat.dat", "SP", title, body));
    EXPECT_TRUE(FMessages.Shown.empty()) << "a key without an entry is no error";
    Write("Empty.dat", "");
    EXPECT_EQ(ReadItemHint(FDir / "Empty.dat", "A", title, body), hrNotFound);
}

TEST_F(HintFileOnDisk, MissingAndUnreadableFilesAreReportedByTheirOwnName) {
    std::string title = "x", body = "y";
    EXPECT_EQ(ReadItemHint(FDir / "CCheat.dat", "A", title, body), hrFileMissing);
    EXPECT_EQ(title + body, "");
    EXPECT_FALSE(LookupItemHint(FDir / "CCheat.dat", "A", title, body));
    ASSERT_EQ(FMessages.Shown.size(), 1u);
    EXPECT_EQ(FMessages.Shown[0].Text, "CCheat.datが見つかりません");
    EXPECT_EQ(FMessages.Shown[0].Title, "エラー");
    EXPECT_EQ(FMessages.Shown[0].Icon, TMsgIcon::Warning);

    fs::create_directory(FDir / "ZCCheat.dat"); // there, but no file to read
    EXPECT_EQ(ReadItemHint(FDir / "ZCCheat.dat", "A", title, body), hrUnreadable);
    EXPECT_FALSE(LookupItemHint(FDir / "ZCCheat.dat", "A", title, body));
    ASSERT_EQ(FMessages.Shown.size(), 2u);
    EXPECT_EQ(FMessages.Shown[1].Text, "ZCCheat.datを開けませんでした");
    EXPECT_EQ(FMessages.Shown[1].Title, "エラー");
    EXPECT_EQ(FMessages.Shown[1].Icon, TMsgIcon::Error);
}
