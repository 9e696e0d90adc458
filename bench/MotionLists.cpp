#include "MotionLists.h"

#include "EditorControl.h"

#include <malloc.h>

#include <random>

namespace quillon {

std::vector<std::string> MotionFrames(int Count, std::size_t LineBytes) {
    std::vector<std::string> lines = {
        "--R---G---B---G", "  0   0 255  16",
        "-Num---To-Sp-Pic-De-Ci-V---VxRx--VyRy-C-CL-G-Da--Hit-H-Flag-Def1---------Def2---------Att1---------COMMENT"};
    std::mt19937 rng(1);
    for (int i = 0; i < Count; ++i) {
        std::string line = std::to_string(i) + " " + std::to_string(i + 1) + " 3 " + std::to_string(rng() % 1800) +
                           "/" + std::to_string(rng() % 1800) + ",1,A,128 0 <" + std::to_string(rng() % 20) +
                           " 9/-3/4 -" + std::to_string(rng() % 300) + " 0 " + std::to_string(rng() % 40) +
                           " 0 9 0 0 0 " + std::to_string(i + 2) + " 0 00010000 1FF0EF00A010 000000000000 " +
                           "010020000030 \x83\x4B\x83\x62 frame";
        while (line.size() < LineBytes) line += " \x8D\x55\x8C\x82"; // attack
        lines.push_back(std::move(line));
    }
    return lines;
}

const std::vector<std::string>& MotionListCase(std::int64_t Which) {
    struct TCase {
        int Frames;
        std::size_t LineBytes;
    };
    static const TCase cases[kMotionListCases] = {{100000, 0}, {1200, 10000}, {12, 1000000}};
    static std::vector<std::string> lists[kMotionListCases];
    std::vector<std::string>& lines = lists[Which];
    if (lines.empty()) lines = MotionFrames(cases[Which].Frames, cases[Which].LineBytes);
    return lines;
}

std::size_t TextBytes(const std::vector<std::string>& Lines) {
    std::size_t bytes = 0;
    for (const std::string& line : Lines) bytes += line.size();
    return bytes;
}

std::string JoinedText(const std::vector<std::string>& Lines) {
    std::string text;
    text.reserve(TextBytes(Lines) + 2 * Lines.size());
    for (const std::string& line : Lines) (text += line) += "\r\n";
    return text;
}

void LoadForCommand(TEditor& Editor, const std::string& Text) {
    Editor.Lines().SetText(Text);
    malloc_trim(0);
}

void ReportPeak(benchmark::State& State, std::size_t TextSize, std::ptrdiff_t Peak) {
    State.counters["text_MB"] = static_cast<double>(TextSize) / (1 << 20);
    State.counters["peak_MB"] = static_cast<double>(Peak) / (1 << 20);
    State.counters["peak_x"] = static_cast<double>(Peak) / static_cast<double>(TextSize);
}

} // namespace quillon
