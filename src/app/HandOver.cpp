#include "HandOver.h"

#include "ListFiles.h"

#include <algorithm>

namespace quillon {

namespace {

// The name of a path without its folder: the text after its last "/".
std::string_view NamePart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

constexpr bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The longest prefix of text of at most limit bytes that does not end inside a UTF-8 character.
std::string_view CutAtCharacter(std::string_view text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t end = limit;
    while (end > 0 && IsUtf8Continuation(text[end])) --end;
    return text.substr(0, end);
}

} // namespace

void JoinParams(const std::vector<std::string>& Params, THandOverBuffer& Buffer) {
    std::string text = Params.empty() ? std::string() : Params.front();
    for (size_t i = 1; i < Params.size(); ++i) {
        text += '|';
        text += NamePart(Params[i]);
    }
    const std::string_view fitting = CutAtCharacter(text, kHandOverSize - 1);
    Buffer.fill('\0');
    std::copy(fitting.begin(), fitting.end(), Buffer.begin());
}

void SplitAt(std::string& Text, char Ch, std::string& Piece) {
    const size_t at = Text.find(Ch);
    if (at == std::string::npos) {
        Piece = std::move(Text);
        Text.clear();
    } else {
        Piece = Text.substr(0, at);
        Text.erase(0, at + 1);
    }
}

void SplitToStrings(std::string_view Text, std::vector<std::string>& List) {
    std::string rest(Text);
    std::string piece;
    while (!rest.empty()) {
        SplitAt(rest, '|', piece);
        List.push_back(piece);
    }
}

std::string HandOverText(std::string_view Data) {
    const std::string_view bounded = Data.substr(0, kHandOverSize - 1);
    return std::string(bounded.substr(0, bounded.find('\0')));
}

void ReceiveCommandLine(std::string_view Data, THandOverTarget& Root) {
    std::vector<std::string> pieces;
    SplitToStrings(HandOverText(Data), pieces);
    if (pieces.empty()) {
        Root.OpenNewWindow("", nullptr, -1);
        return;
    }
    std::string fileName = ShellLongFileName(pieces.front());
    if (Root.ActivateWindowForFile(fileName)) return;
    std::vector<std::string> lines;
    if (Root.LoadListFile(fileName, &lines)) Root.OpenNewWindow(fileName, &lines, -1);
}

} // namespace quillon
