// The plain-program driver of a fuzz target: runs the target's entry point over every file of the
// folders and files named on the command line, and over every prefix of each file (a file cut at
// every length is the first thing a hostile input tries). Built with libFuzzer instead, the target
// is linked without this file and libFuzzer's own driver takes its place.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// Each prefix of a seed up to this size is run too; longer seeds run whole only.
constexpr std::size_t kPrefixLimit = 4096;

void Run(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    // Each input from a buffer of its own size, so that reading past it is caught.
    auto once = [&](std::size_t size) {
        const std::vector<std::uint8_t> input(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        LLVMFuzzerTestOneInput(input.data(), input.size());
    };
    if (bytes.size() <= kPrefixLimit)
        for (std::size_t size = 0; size < bytes.size(); ++size) once(size);
    once(bytes.size());
}

} // namespace

int main(int argc, char* argv[]) {
    std::size_t files = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path path = argv[i];
        if (fs::is_directory(path)) {
            for (const auto& entry : fs::recursive_directory_iterator(path))
                if (entry.is_regular_file()) {
                    Run(entry.path());
                    ++files;
                }
        } else {
            Run(path);
            ++files;
        }
    }
    std::printf("%zu seed files run\n", files);
    return files > 0 ? 0 : 1;
}
