// Writes the committed seeds of the fuzz targets into the folder given (tests/fuzz/seeds): small
// valid inputs of every reader, built by the program's own writers and templates, and the hostile
// pictures of the picture tests. Run it again only when a reader's format changes.
#include "HostileFixtures.h"

#include "DIB.h"
#include "EditorExProp.h"
#include "HandOver.h"
#include "KeyMacro.h"
#include "ListFiles.h"
#include "ListKinds.h"
#include "MotionColourer.h"
#include "Pattern.h"
#include "StreamUtils.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

using namespace quillon;
using namespace quillon::test;
namespace fs = std::filesystem;

namespace {

fs::path Root;

void Seed(const std::string& target, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    fs::create_directories(Root / target);
    std::ofstream(Root / target / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Seed(const std::string& target, const std::string& name, std::string_view text) {
    Seed(target, name, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> Bytes(const std::function<void(TStream&)>& write) {
    TMemoryStream stream;
    write(stream);
    return stream.Bytes();
}

std::string Text(void (*make)(std::vector<std::string>&)) {
    std::vector<std::string> lines;
    make(lines);
    return JoinListText(lines);
}

TDIB Picture(int width, int height, int bits) {
    TDIB dib;
    if (bits == 16) dib.PixelFormat = MakeRGBBitFields(5, 5, 5);
    dib.SetSize(width, height, bits);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = dib.ScanLine(y);
        for (int i = 0; i < dib.WidthBytes(); ++i) row[i] = static_cast<std::uint8_t>(i * 7 + y * 3);
    }
    return dib;
}

void PictureSeeds() {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        const std::vector<std::uint8_t> bytes = Bytes([&](TStream& s) { Picture(20, 18, bits).SaveToStream(s); });
        Seed("bmp", std::to_string(bits) + "-bit.bmp", bytes);
        if (bits == 8) Seed("charpicture", "sheet.bmp", bytes);
    }
    TBmpFixture rle;
    rle.Width = 8;
    rle.Height = 3;
    rle.Compression = 1;
    rle.Table.resize(256);
    rle.Pixels = {3, 1, 0, 3, 9, 8, 7, 0, 0, 0, 0, 2, 2, 1, 4, 5, 0, 1}; // run, absolute, end of row, delta, end
    Seed("bmp", "rle8.bmp", BuildBmp(rle));
    rle.BitCount = 4;
    rle.Compression = 2;
    rle.Table.resize(16);
    Seed("bmp", "rle4.bmp", BuildBmp(rle));
    for (const THostilePicture& picture : HostilePictures()) {
        Seed("bmp", picture.Name, picture.Bytes);
        Seed("charpicture", picture.Name, picture.Bytes);
    }
}

void PatternSeeds() {
    TVantorPattern pattern;
    for (std::uint32_t number : {0u, 3u}) {
        auto frame = std::make_unique<TVantorPatternFrame>();
        frame->Number = number;
        frame->Width = 48;
        frame->Height = 32;
        frame->Rects.Add({number * 4, 3, 16, 208});
        frame->Rects.Add({7, -2, 160, 224});
        pattern.AddFrame(std::move(frame));
    }
    Seed("pattern", "two-frames.zpt", Bytes([&](TStream& s) { pattern.SaveToStream(s); }));
    Seed("pattern", "two-frames.pat", Bytes([&](TStream& s) { pattern.SaveToCharStream(s); }));
}

void TextSeeds() {
    const std::pair<const char*, void (*)(std::vector<std::string>&)> lists[] = {
        {"motion.lst", NewMotionList}, {"command.lst", NewCommandList}, {"zcommand.lst", NewZCommandList},
        {"voice.lst", NewVoiceList},   {"zvoice.lst", NewZVoiceList},   {"enemy.lst", NewEnemyList},
    };
    for (const auto& [name, make] : lists) Seed("list", name, Text(make));
    static const char lineEnds[] = "a\rb\nc\r\n\r\n\x82\xA0\0tail"; // every line end, a character, a NUL
    Seed("list", "line-ends.lst", std::string_view(lineEnds, sizeof lineEnds - 1));
    Seed("qes", "new.qes", Text(NewQesSource));
    Seed("qes", "small.qes",
         "QESVer1.1\r\nFORMAT=%0/%1\r\n:0\r\n10 100 A\r\n50 100 B\r\n\\e\r\n:1\r\n30 100 C\r\n\\e\r\n");
    Seed("bitmaplist", "entries.lst",
         "\x02"
         "5 a.bmp\r\n6:-8:16 sub\\b.bmp\r\n7:$10:-$10:120 c.bmp\r\n; comment\r\n");
    Seed("hints", "motion.txt",
         "NUM\n:NUM=Num title\r\nline 1\r\n\r\nline 2\r\n\\e\r\n:TO=To title\r\nto text\r\n\\E\r\n");
    Seed("keymacro", "session.txt",
         "CN_CHAR: 48386, CharCode: 97, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0\r\n"
         "CN_KEYDOWN: 48384, CharCode: 39, KeyData: -1073741823, Shift: 129, Ctrl: 0, Alt: 0\r\n");
    const std::string longName = "/" + std::string(300, 'd') + "/" + std::string(99, 'f');
    const std::vector<std::vector<std::string>> handOvers = {
        {}, {"/lists/motion.lst", "/x/y.lst"}, {longName}, {"/lists/a|b.lst", "/x/y.lst"}};
    for (std::size_t i = 0; i < handOvers.size(); ++i)
        Seed("handover", "message" + std::to_string(i), HandOverMessage(handOvers[i]));
}

void SettingsSeeds() {
    TEditorExProp prop;
    Seed("settings", "editor-properties", WriteComponent(prop));
    TMotionColourer colourer(nullptr);
    Seed("settings", "motion-colourer", WriteComponent(colourer));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED-FOLDER\n", argv[0]);
        return 2;
    }
    Root = argv[1];
    PictureSeeds();
    PatternSeeds();
    TextSeeds();
    SettingsSeeds();
    return 0;
}
