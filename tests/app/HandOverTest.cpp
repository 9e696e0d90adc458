#include "HandOver.h"

#include "ListFiles.h"
#include "MessageBox.h"
#include "Paths.h"

#include <fstream>
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

std::string BufferText(const THandOverBuffer& buffer) { return std::string(buffer.data()); }

std::string Join(const std::vector<std::string>& params) {
    THandOverBuffer buffer;
    buffer.fill('x'); // whatever the buffer held before must not show through
    JoinParams(params, buffer);
    EXPECT_EQ(buffer.back(), '\0');
    const std::string text = BufferText(buffer);
    for (size_t i = text.size(); i < buffer.size(); ++i) EXPECT_EQ(buffer[i], '\0') << "byte " << i;
    return text;
}

bool ValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

struct TJoinCase {
    const char* Name;
    std::vector<std::string> Params;
    std::string Expected;
};

TEST(JoinParamsTest, BuildsTheHandOverText) {
    const TJoinCase cases[] = {
        {"no parameters", {}, ""},
        {"one name", {"motion.lst"}, "motion.lst"},
        {"a relative first name stays relative", {"lists/motion.lst"}, "lists/motion.lst"},
        {"further names lose their folders",
         {"/home/u/lists/motion.lst", "/x/y.lst"},
         "/home/u/lists/motion.lst|y.lst"},
        {"several", {"a.lst", "dir/b.lst", "c.lst", "/d/e/f.lst"}, "a.lst|b.lst|c.lst|f.lst"},
        {"a further folder name gives an empty piece", {"a.lst", "dir/"}, "a.lst|"},
        {"an empty first parameter", {"", "b.lst"}, "|b.lst"},
        // In CP932, ポ ends in byte 0x7C ("|") and 表 and ソ in 0x5C ("\"); as UTF-8 neither byte appears.
        {"Japanese names", {"/リスト/ポ表ソ.lst", "/フォルダ/モーション.lst"}, "/リスト/ポ表ソ.lst|モーション.lst"},
        {"characters CP932 does not have", {"/é/🙂.lst", "/a/ü.lst"}, "/é/🙂.lst|ü.lst"},
    };
    for (const TJoinCase& c : cases) EXPECT_EQ(Join(c.Params), c.Expected) << c.Name;
}

struct TLimitCase {
    const char* Name;
    std::string Param;
    size_t ExpectedSize;
};

TEST(JoinParamsTest, CutsALongTextAtACharacterBoundary) {
    const TLimitCase cases[] = {
        {"255 bytes fit", std::string(255, 'a'), 255},
        {"256 bytes lose the last", std::string(256, 'a'), 255},
        {"a 2-byte character across the limit goes whole", std::string(254, 'a') + "é", 254},
        {"a 3-byte character across the limit goes whole", std::string(253, 'a') + "あい", 253},
        {"a 4-byte character ending at the limit stays", std::string(251, 'a') + "🙂", 255},
        {"a 4-byte character across the limit goes whole", std::string(252, 'a') + "🙂", 252},
        {"only multi-byte characters",
         [] {
             std::string s;
             for (int i = 0; i < 100; ++i) s += "表";
             return s;
         }(),
         255},
        {"a path far beyond the limit", "/" + std::string(4000, 'p'), 255},
    };
    for (const TLimitCase& c : cases) {
        const std::string text = Join({c.Param});
        EXPECT_EQ(text.size(), c.ExpectedSize) << c.Name;
        EXPECT_EQ(c.Param.compare(0, text.size(), text), 0) << c.Name;
        EXPECT_TRUE(ValidUtf8(text)) << c.Name;
    }
}

TEST(JoinParamsTest, ManyFurtherNamesAreCutToo) {
    std::vector<std::string> params{"/lists/motion.lst"};
    for (int i = 0; i < 40; ++i) params.push_back("/dir/モーション" + std::to_string(i) + ".lst");
    const std::string text = Join(params);
    EXPECT_LE(text.size(), kHandOverSize - 1);
    EXPECT_GT(text.size(), kHandOverSize - 4);
    EXPECT_TRUE(ValidUtf8(text));
    EXPECT_EQ(text.rfind("/lists/motion.lst|モーション0.lst|モーション1.lst", 0), 0u);
}

TEST(SplitAtTest, CutsAtTheFirstCharacter) {
    struct {
        std::string Text;
        std::string Piece, Rest;
    } cases[] = {
        {"a|b", "a", "b"},
        {"a|b|c", "a", "b|c"},
        {"abc", "abc", ""},
        {"|b", "", "b"},
        {"a|", "a", ""},
        {"", "", ""},
        // A CP932 name: the second byte of "ポ" (0x83 0x7C) is no bar.
        {"/a/\x83\x7C.lst|b", "/a/\x83\x7C.lst", "b"},
        // A UTF-8 name ("ぃ", 0xE3 0x81 0x83) before a CP932 one: its bar counts.
        {"/ぃ|/\x83\x7C", "/ぃ", "/\x83\x7C"},
    };
    for (auto& c : cases) {
        std::string text = c.Text, piece = "old";
        SplitAt(text, '|', piece);
        EXPECT_EQ(piece, c.Piece) << c.Text;
        EXPECT_EQ(text, c.Rest) << c.Text;
    }
}

TEST(SplitToStringsTest, CutsAtEveryBar) {
    struct {
        std::string Text;
        std::vector<std::string> Pieces;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a|b", {"a", "b"}},
        {"a|", {"a"}}, // a bar at the very end adds no empty piece
        {"a||b", {"a", "", "b"}},
        {"|", {""}},
        {"||", {"", ""}},
        {"/リスト/ポ表.lst|ソ.lst", {"/リスト/ポ表.lst", "ソ.lst"}},
    };
    for (auto& c : cases) {
        std::vector<std::string> list;
        SplitToStrings(c.Text, list);
        EXPECT_EQ(list, c.Pieces) << c.Text;
    }
}

TEST(SplitToStringsTest, AddsToTheList) {
    std::vector<std::string> list{"kept"};
    SplitToStrings("a|b", list);
    EXPECT_EQ(list, (std::vector<std::string>{"kept", "a", "b"}));
}

TEST(HandOverNamesTest, NeverReadsPastTheDataOrTheBuffer) {
    using TNames = std::vector<std::string>;
    struct {
        const char* Name;
        std::string Data;
        TNames Expected;
    } cases[] = {
        {"empty data", "", {}},
        {"the text ends at its NUL", std::string("abc\0xyz", 7), {"abc"}},
        {"a NUL first", std::string("\0abc", 4), {}},
        {"short data without NUL ends with the data", "a|bc", {"a", "bc"}},
        {"a full buffer without NUL keeps 255 bytes", std::string(256, 'n'), {std::string(255, 'n')}},
        {"more than a buffer with a late NUL", std::string(280, 'n') + '\0', {std::string(255, 'n')}},
    };
    for (auto& c : cases) EXPECT_EQ(HandOverNames(c.Data), c.Expected) << c.Name;
}

// Every name arrives with its bytes: a "|" inside a name once cut it there, so that "a|b.lst"
// opened "a".
TEST(HandOverNamesTest, EveryNameArrivesExactly) {
    const std::vector<std::vector<std::string>> cases = {
        {"/lists/motion.lst", "y.lst"},
        {"/lists/a|b.lst"},
        {"/lists/a|b.lst", "c|d.lst", "e.lst"},
        {"|"},
        {"/ポ表|ソ", "y.lst"},
        {"/\x83\x7C|\x93\xFA.lst", "y.lst"}, // ポ|日 in CP932: a bar after a "|" trail byte
        {"/\x83\x7C\x93\xFA.lst", "\x83\x7C.lst"},
        {"/a\x83", "y.lst"}, // a name ending in a lead byte before the separator
        {"a.lst", ""},       // a further parameter that is a folder
        {"", "b.lst"},
    };
    for (const std::vector<std::string>& names : cases) {
        std::vector<std::string> params = names;
        for (size_t i = 1; i < params.size(); ++i) params[i] = "/dir/" + params[i];
        const std::string message = HandOverMessage(params);
        EXPECT_EQ(HandOverMessageSize(message), message.size()) << names.front();
        EXPECT_EQ(HandOverNames(message), names) << names.front();
        // The buffer's text still reads as the short form.
        THandOverBuffer buffer;
        JoinParams(params, buffer);
        EXPECT_EQ(std::string(message.c_str()), BufferText(buffer)) << names.front();
    }
}

TEST(HandOverMessageTest, ALongTextTravelsWholeBehindTheBuffer) {
    const std::string longName = "/" + std::string(300, 'd') + "/" + std::string(99, 'f'); // 401 bytes
    struct {
        const char* Name;
        std::vector<std::string> Params;
        std::vector<std::string> Expected;
        bool Short;
    } cases[] = {
        {"a short text is the buffer alone", {"/a/motion.lst", "/b/c.lst"}, {"/a/motion.lst", "c.lst"}, true},
        {"255 bytes still fit the buffer", {std::string(255, 'a')}, {std::string(255, 'a')}, true},
        {"256 bytes travel behind it", {std::string(256, 'a')}, {std::string(256, 'a')}, false},
        {"a 400-byte path", {longName, "/x/y.lst"}, {longName, "y.lst"}, false},
        {"Japanese names",
         {"/" + std::string(250, 'a') + "/モーション.lst"},
         {"/" + std::string(250, 'a') + "/モーション.lst"},
         false},
    };
    for (auto& c : cases) {
        const std::string message = HandOverMessage(c.Params);
        EXPECT_EQ(HandOverMessageSize(message), message.size()) << c.Name;
        EXPECT_EQ(HandOverNames(message), c.Expected) << c.Name;
        if (c.Short) {
            EXPECT_EQ(message.size(), kHandOverSize) << c.Name;
            continue;
        }
        // A receiver of the short form reads a cut name from the buffer, never past it.
        const std::string head = message.substr(0, kHandOverSize);
        const std::string cut(head.c_str());
        EXPECT_LT(cut.size(), kHandOverSize - kHandOverTrailerSize) << c.Name;
        EXPECT_EQ(c.Expected.front().compare(0, cut.size(), cut), 0) << c.Name;
        EXPECT_TRUE(ValidUtf8(cut)) << c.Name;
        // Until all the names have arrived, the buffer's text stands.
        EXPECT_EQ(HandOverNames(message.substr(0, message.size() - 1)), std::vector<std::string>{cut}) << c.Name;
    }
}

// The names behind the buffer stop where the largest message would: the first always comes.
TEST(HandOverMessageTest, TooManyNamesKeepTheFirst) {
    const std::string first = "/" + std::string(300, 'f');
    std::vector<std::string> params{first};
    for (int i = 0; i < 400; ++i) params.push_back("/d/" + std::string(200, static_cast<char>('a' + i % 26)));
    const std::string message = HandOverMessage(params);
    EXPECT_LE(message.size(), kHandOverSize + kMaxHandOverText);
    const std::vector<std::string> names = HandOverNames(message);
    ASSERT_GT(names.size(), 1u);
    EXPECT_LT(names.size(), params.size());
    EXPECT_EQ(names.front(), first);
    EXPECT_EQ(names.back(), params[names.size() - 1].substr(3));
}

TEST(HandOverMessageTest, AnAbsurdLengthIsIgnored) {
    std::string message = HandOverMessage({std::string(300, 'a')});
    message[kHandOverSize - 1] = '\x7F'; // the length's top byte: far beyond the largest text
    EXPECT_EQ(HandOverMessageSize(message), kHandOverSize);
    EXPECT_EQ(HandOverNames(message),
              std::vector<std::string>{std::string(kHandOverSize - kHandOverTrailerSize - 1, 'a')});
}

// Records what the receiver asks of the root window.
class TFakeRoot : public THandOverTarget {
public:
    std::vector<std::string> Calls;
    bool HasWindow = false;
    bool LoadSucceeds = true;

    bool ActivateWindowForFile(const std::string& FileName) override {
        Calls.push_back("activate " + FileName);
        return HasWindow;
    }
    bool LoadListFile(std::string& FileName, std::vector<std::string>* Lines) override {
        Calls.push_back("load " + FileName);
        if (LoadSucceeds) *Lines = {"line 1", "line 2"};
        return LoadSucceeds;
    }
    void OpenNewWindow(const std::string& FileName, const std::vector<std::string>* Lines, int KindHint) override {
        Calls.push_back("open " + FileName + (Lines ? " lines " + std::to_string(Lines->size()) : " empty") + " hint " +
                        std::to_string(KindHint));
    }
};

class ReceiveCommandLineTest : public ::testing::Test {
protected:
    fs::path dir;
    fs::path oldDir = fs::current_path();
    TFakeRoot root;

    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "quillon-handover-XXXXXX").string();
        dir = AbsolutePath(::mkdtemp(tmpl.data()));
    }
    void TearDown() override {
        fs::current_path(oldDir);
        fs::remove_all(dir);
    }
    void Receive(const std::vector<std::string>& params) {
        THandOverBuffer buffer;
        JoinParams(params, buffer);
        ReceiveCommandLine({buffer.data(), buffer.size()}, root);
    }
};

TEST_F(ReceiveCommandLineTest, NoParametersOrAnEmptyFirstOpenAnEmptyWindow) {
    Receive({});
    EXPECT_EQ(root.Calls, std::vector<std::string>{"open  empty hint -1"});
    root.Calls.clear();
    Receive({"", "/x/b.lst"});
    EXPECT_EQ(root.Calls, std::vector<std::string>{"open  empty hint -1"});
}

TEST_F(ReceiveCommandLineTest, OpensOnlyTheFirstName) {
    const std::string name = (dir / "motion.lst").string();
    Receive({name, "/x/y.lst"});
    EXPECT_EQ(root.Calls,
              (std::vector<std::string>{"activate " + name, "load " + name, "open " + name + " lines 2 hint -1"}));
}

TEST_F(ReceiveCommandLineTest, ACp932NameArrivesWithItsBytes) {
    const std::string name = (dir / "\x83\x7C\x93\xFA.lst").string(); // ポ日
    Receive({name, "/x/y.lst"});
    EXPECT_EQ(root.Calls,
              (std::vector<std::string>{"activate " + name, "load " + name, "open " + name + " lines 2 hint -1"}));
}

TEST_F(ReceiveCommandLineTest, AnOpenFileOnlyComesToTheFront) {
    root.HasWindow = true;
    const std::string name = (dir / "motion.lst").string();
    Receive({name});
    EXPECT_EQ(root.Calls, std::vector<std::string>{"activate " + name});
}

TEST_F(ReceiveCommandLineTest, AFailedReadOpensNothing) {
    root.LoadSucceeds = false;
    const std::string name = (dir / "missing.lst").string();
    Receive({name});
    EXPECT_EQ(root.Calls, (std::vector<std::string>{"activate " + name, "load " + name}));
}

TEST_F(ReceiveCommandLineTest, ARelativeNameResolvesInTheRunningInstancesFolder) {
    fs::current_path(dir);
    Receive({"sub/../motion.lst"});
    const std::string name = (dir / "motion.lst").string();
    ASSERT_FALSE(root.Calls.empty());
    EXPECT_EQ(root.Calls.front(), "activate " + name);
}

TEST_F(ReceiveCommandLineTest, UntrustedDataIsBounded) {
    fs::current_path(dir);
    // No NUL anywhere: the name is cut at 255 bytes, never read beyond.
    const std::string data(1000, 'n');
    ReceiveCommandLine(data, root);
    ASSERT_FALSE(root.Calls.empty());
    EXPECT_EQ(root.Calls.front(), "activate " + (dir / std::string(255, 'n')).string());
}

// The root's own reading of the handed-over name: special files are refused, a long name opens.
class THandOverReader : public TFakeRoot {
public:
    TRecentFiles History;
    bool LoadListFile(std::string& FileName, std::vector<std::string>* Lines) override {
        Calls.push_back("load " + FileName);
        return quillon::LoadListFile(FileName, Lines, History);
    }
};

TEST_F(ReceiveCommandLineTest, SpecialFilesAreRefusedAndALongPathOpens) {
    TScriptedMessages messages;
    TMessageServiceScope scope(messages);
    THandOverReader reader;
    const std::string fifo = (dir / "fifo.lst").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& name : {fifo, std::string("/dev/zero")}) {
        ReceiveCommandLine(HandOverMessage({name}), reader);
        EXPECT_EQ(reader.Calls.back(), "load " + name);
        ASSERT_FALSE(messages.Shown.empty());
        EXPECT_EQ(messages.Shown.back().Text, "ファイルを開けませんでした\n" + name + "\n通常のファイルではありません");
    }
    fs::path folder = dir;
    for (int i = 0; i < 3; ++i) folder /= std::string(120, static_cast<char>('a' + i));
    fs::create_directories(folder);
    const std::string name = (folder / "motion.lst").string();
    ASSERT_GT(name.size(), 400u);
    std::ofstream(name, std::ios::binary) << "line 1\r\nline 2\r\n";
    ReceiveCommandLine(HandOverMessage({name}), reader);
    EXPECT_EQ(reader.Calls.back(), "open " + name + " lines 2 hint -1");
}

} // namespace
