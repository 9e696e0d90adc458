#pragma once
// The golden sample lists (tests/lists/golden, QUILLON_GOLDEN_DIR): a sample list of every kind, read
// by the list reader and recognised by kind as the program does.
#include "ListFiles.h"
#include "ListKinds.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace quillon::test {

struct TSample {
    std::filesystem::path Path;
    std::vector<std::string> Lines;
    int Kind;
};

// Every sample (the token dumps beside them left out), in file-name order.
inline std::vector<TSample> GoldenSamples() {
    std::vector<TSample> samples;
    for (const auto& entry : std::filesystem::directory_iterator(QUILLON_GOLDEN_DIR)) {
        if (entry.path().extension() == ".tokens") continue;
        std::vector<std::string> lines = ReadListFile(entry.path()).Lines;
        const int kind = DetectFileKind(lines, entry.path().filename().string());
        samples.push_back({entry.path(), std::move(lines), kind});
    }
    std::sort(samples.begin(), samples.end(), [](const TSample& a, const TSample& b) { return a.Path < b.Path; });
    return samples;
}

} // namespace quillon::test
