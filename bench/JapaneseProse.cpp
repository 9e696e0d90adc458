#include "JapaneseProse.h"

#include "Cp932.h"

#include <cstdio>
#include <memory>

namespace quillon {

const char* const JapaneseProseFile = "/usr/share/debian-reference/debian-reference.ja.txt.gz";

namespace {

std::vector<std::string> ReadProseLines() {
    const std::string command = std::string("gzip -dc ") + JapaneseProseFile + " 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::vector<std::string> lines;
    if (!pipe) return lines;
    std::string line;
    for (int c; (c = std::fgetc(pipe.get())) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        bool lossy = false;
        std::string converted = Utf8ToCp932(line, &lossy);
        if (!lossy) lines.push_back(std::move(converted));
        line.clear();
    }
    return lines;
}

} // namespace

const std::vector<std::string>& JapaneseProseLines() {
    static const std::vector<std::string> lines = ReadProseLines();
    return lines;
}

} // namespace quillon
