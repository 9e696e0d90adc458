// Generated motion lists for the benchmarks of the list commands, as loose as lists are typed (so
// formatting rewrites every frame), and the memory those commands take measured against the text.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <vector>

namespace quillon {

class TEditor;

// The template's three lines, then Count frames numbered from 0 whose To points at the next frame
// and whose Hit two frames ahead, with pictures, signs and a Japanese comment, each frame's comment
// lengthened until the line has at least LineBytes.
std::vector<std::string> MotionFrames(int Count, std::size_t LineBytes = 0);

// The lists the commands are measured on, about 12 MB each: 0 has 100,000 frames, 1 has 1,200
// frames of 10 KB and 2 has 12 frames of 1 MB. Made once.
constexpr int kMotionListCases = 3;
const std::vector<std::string>& MotionListCase(std::int64_t Which);

// The bytes of the lines without their line breaks.
std::size_t TextBytes(const std::vector<std::string>& Lines);

// The lines, each followed by CR LF, as an editor's text.
std::string JoinedText(const std::vector<std::string>& Lines);

// Loads Text into Editor and gives the heap's free memory back to the system, as a program that
// has just loaded a list has none at hand: without it, an implementation that took much memory in
// the previous iteration would find its pages mapped already and seem faster than it is in use.
void LoadForCommand(TEditor& Editor, const std::string& Text);

// Counters of a benchmark that measured memory: the text's size, the peak above the start and the
// peak as a multiple of the text.
void ReportPeak(benchmark::State& State, std::size_t TextSize, std::ptrdiff_t Peak);

} // namespace quillon
