#pragma once
// Picture sets and motion lines for the frame-preview tests: a temporary folder with a character
// sheet and pattern files written by the bitmap and pattern writers.
#include "CharImages.h"
#include "motions.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <stdlib.h>

namespace quillon::test {

constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;
constexpr int kPicX = 100, kPicY = 50; // screen pixel of the top-left of frame 5's cell

// A temporary folder removed with the object.
class TTempFolder {
public:
    TTempFolder() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "quillon-preview-XXXXXX").string();
        Path = ::mkdtemp(tmpl.data());
    }
    ~TTempFolder() { std::filesystem::remove_all(Path); }
    void Write(const std::string& name, const std::string& bytes = "x") const {
        std::ofstream(Path / name, std::ios::binary) << bytes;
    }
    std::filesystem::path Path;
};

// A sheet of two cells: cell 0 all of the transparent top-left colour, cell 1 red in its top
// eight rows and blue in its bottom eight.
inline void WriteSheet(const std::filesystem::path& name) {
    TDIB dib;
    dib.ColorTable = {};
    dib.ColorTable[0] = {255, 0, 255, 0}; // blue, green, red, reserved: magenta
    dib.ColorTable[1] = {0, 0, 255, 0};   // red
    dib.ColorTable[2] = {255, 0, 0, 0};   // blue
    dib.SetSize(32, 16, 8);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) dib.ScanLine(y)[x] = x < 16 ? 0 : y < 8 ? 1 : 2;
    dib.SaveToFile(name);
}

// Frame 5: cell 1 with its top-left at screen pixel (kPicX, kPicY).
inline TVantorPattern FivePattern(int x = kPicX, int y = kPicY) {
    TVantorPattern pattern;
    auto frame = std::make_unique<TVantorPatternFrame>();
    frame->Number = 5;
    frame->Width = 320;
    frame->Height = 240;
    frame->Rects.Add({1, 1, x, y});
    pattern.AddFrame(std::move(frame));
    return pattern;
}

// A motion line with the given Pic, Ci and box fields (each box field after one blank).
inline std::string MotionText(const std::string& pic, const std::string& ci, const std::string& def1,
                              const std::string& def2, const std::string& att1, const std::string& comment = " ;c") {
    return "  10   -  3 " + pic + " 0 " + ci + " 9 0 0 0 0 9 0 0 0 - 0 0 " + def1 + " " + def2 + " " + att1 + comment;
}

} // namespace quillon::test
