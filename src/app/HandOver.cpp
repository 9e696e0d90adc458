#include "HandOver.h"

#include "Cp932.h"
#include "ListFiles.h"

#include <algorithm>
#include <optional>

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

// The first Ch in Text that is a character of its own. Within the text's leading run of UTF-8 every
// Ch is; beyond it the text is a CP932 name, whose second byte of a character may be "|" (as in
// "ポ", 0x83 0x7C) and is then no separator.
size_t FindSeparator(std::string_view Text, char Ch) {
    const size_t utf8 = Utf8PrefixLength(Text);
    for (size_t p = 0, character = 0; p < Text.size(); ++p) {
        const bool starts = p == character;
        if (starts) character += IsLeadByte(Text[p]) && p + 1 < Text.size() ? 2 : 1;
        if (Text[p] == Ch && (starts || p < utf8)) return p;
    }
    return std::string_view::npos;
}

constexpr std::string_view kMarker = "QLX1";
constexpr size_t kTrailerAt = kHandOverSize - kHandOverTrailerSize;

std::string JoinedText(const std::vector<std::string>& Params) {
    std::string text = Params.empty() ? std::string() : Params.front();
    for (size_t i = 1; i < Params.size(); ++i) {
        text += '|';
        text += NamePart(Params[i]);
    }
    return text;
}

// Text cut to at most limit bytes, NUL-terminated, the rest of the buffer zero.
void FillBuffer(std::string_view text, size_t limit, THandOverBuffer& Buffer) {
    const std::string_view fitting = CutAtCharacter(text, limit);
    Buffer.fill('\0');
    std::copy(fitting.begin(), fitting.end(), Buffer.begin());
}

// The whole text's length from a buffer that carries the marker, or none.
std::optional<size_t> WholeTextSize(std::string_view Head) {
    if (Head.size() < kHandOverSize || Head.substr(kTrailerAt, kMarker.size()) != kMarker) return std::nullopt;
    if (Head.substr(0, kTrailerAt).find('\0') == std::string_view::npos) return std::nullopt;
    size_t size = 0;
    for (size_t i = 0; i < 4; ++i)
        size |= size_t{static_cast<unsigned char>(Head[kTrailerAt + kMarker.size() + i])} << (8 * i);
    if (size > kMaxHandOverText) return std::nullopt;
    return size;
}

} // namespace

void JoinParams(const std::vector<std::string>& Params, THandOverBuffer& Buffer) {
    FillBuffer(JoinedText(Params), kHandOverSize - 1, Buffer);
}

std::string HandOverMessage(const std::vector<std::string>& Params) {
    const std::string text = JoinedText(Params);
    THandOverBuffer buffer;
    if (text.size() < kHandOverSize) {
        FillBuffer(text, kHandOverSize - 1, buffer);
        return std::string(buffer.data(), buffer.size());
    }
    const std::string_view whole = CutAtCharacter(text, kMaxHandOverText);
    FillBuffer(text, kTrailerAt - 1, buffer);
    std::copy(kMarker.begin(), kMarker.end(), buffer.begin() + kTrailerAt);
    for (size_t i = 0; i < 4; ++i)
        buffer[kTrailerAt + kMarker.size() + i] = static_cast<char>(whole.size() >> (8 * i) & 0xFF);
    return std::string(buffer.data(), buffer.size()).append(whole);
}

size_t HandOverMessageSize(std::string_view Head) { return kHandOverSize + WholeTextSize(Head).value_or(0); }

void SplitAt(std::string& Text, char Ch, std::string& Piece) {
    const size_t at = FindSeparator(Text, Ch);
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
    if (const std::optional<size_t> size = WholeTextSize(Data); size && Data.size() >= kHandOverSize + *size) {
        const std::string_view whole = Data.substr(kHandOverSize, *size);
        return std::string(whole.substr(0, whole.find('\0')));
    }
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
