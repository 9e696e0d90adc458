// List text: lines, kind detection and the motion and command line parsers on every line.
#include "ListFiles.h"
#include "ListKinds.h"
#include "motions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    const TListText text = SplitListText({reinterpret_cast<const char*>(data), size});
    DetectFileKind(text.Lines, "MOTION.LST");
    for (const std::string& line : text.Lines) {
        TMotionLineObj motion;
        ParseMotionLine(line, motion);
        TCommandData command;
        ParseCommandLine(line, command);
        TZCommandData zcommand;
        ParseZCommandLine(line, zcommand);
    }
    return 0;
}
