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

constexpr std::string_view kMarker = "QLX2";
constexpr size_t kTrailerAt = kHandOverSize - kHandOverTrailerSize;

// The names the hand-over carries: the first parameter whole, then each further one's name part.
std::vector<std::string> HandedNames(const std::vector<std::string>& Params) {
    std::vector<std::string> names;
    for (size_t i = 0; i < Params.size(); ++i) names.emplace_back(i == 0 ? Params[i] : NamePart(Params[i]));
    return names;
}

std::string JoinedText(const std::vector<std::string>& Names) {
    std::string text;
    for (size_t i = 0; i < Names.size(); ++i) {
        if (i > 0) text += '|';
        text += Names[i];
    }
    return text;
}

// Every name ended by a NUL, as many as kMaxHandOverText holds; the first always, cut to fit.
std::string NamesPayload(const std::vector<std::string>& Names) {
    std::string payload;
    for (const std::string& name : Names) {
        if (payload.size() + name.size() + 1 > kMaxHandOverText) {
            if (payload.empty()) payload.assign(CutAtCharacter(name, kMaxHandOverText - 1)).push_back('\0');
            break;
        }
        payload.append(name).push_back('\0');
    }
    return payload;
}

// Text cut to at most limit bytes, NUL-terminated, the rest of the buffer zero.
void FillBuffer(std::string_view text, size_t limit, THandOverBuffer& Buffer) {
    const std::string_view fitting = CutAtCharacter(text, limit);
    Buffer.fill('\0');
    std::copy(fitting.begin(), fitting.end(), Buffer.begin());
}

// The length of the names behind a buffer that carries the marker, or none.
std::optional<size_t> PayloadSize(std::string_view Head) {
    if (Head.size() < kHandOverSize || Head.substr(kTrailerAt, kMarker.size()) != kMarker) return std::nullopt;
    if (Head.substr(0, kTrailerAt).find('\0') == std::string_view::npos) return std::nullopt;
    size_t size = 0;
    for (size_t i = 0; i < 4; ++i)
        size |= size_t{static_cast<unsigned char>(Head[kTrailerAt + kMarker.size() + i])} << (8 * i);
    if (size > kMaxHandOverText) return std::nullopt;
    return size;
}

// The names of a payload: the pieces before each NUL, and a last piece without one.
std::vector<std::string> PayloadNames(std::string_view Payload) {
    std::vector<std::string> names;
    while (!Payload.empty()) {
        const size_t end = std::min(Payload.find('\0'), Payload.size());
        names.emplace_back(Payload.substr(0, end));
        Payload.remove_prefix(std::min(end + 1, Payload.size()));
    }
    return names;
}

std::vector<std::string> SplitNames(std::string_view Text) {
    std::vector<std::string> names;
    SplitToStrings(Text, names);
    return names;
}

} // namespace

void JoinParams(const std::vector<std::string>& Params, THandOverBuffer& Buffer) {
    FillBuffer(JoinedText(HandedNames(Params)), kHandOverSize - 1, Buffer);
}

std::string HandOverMessage(const std::vector<std::string>& Params) {
    const std::vector<std::string> names = HandedNames(Params);
    const std::string text = JoinedText(names);
    THandOverBuffer buffer;
    if (text.size() < kHandOverSize && SplitNames(text) == names) {
        FillBuffer(text, kHandOverSize - 1, buffer);
        return std::string(buffer.data(), buffer.size());
    }
    const std::string payload = NamesPayload(names);
    FillBuffer(text, kTrailerAt - 1, buffer);
    std::copy(kMarker.begin(), kMarker.end(), buffer.begin() + kTrailerAt);
    for (size_t i = 0; i < 4; ++i)
        buffer[kTrailerAt + kMarker.size() + i] = static_cast<char>(payload.size() >> (8 * i) & 0xFF);
    return std::string(buffer.data(), buffer.size()).append(payload);
}

size_t HandOverMessageSize(std::string_view Head) { return kHandOverSize + PayloadSize(Head).value_or(0); }

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

std::vector<std::string> HandOverNames(std::string_view Data) {
    if (const std::optional<size_t> size = PayloadSize(Data); size && Data.size() >= kHandOverSize + *size)
        return PayloadNames(Data.substr(kHandOverSize, *size));
    const std::string_view bounded = Data.substr(0, kHandOverSize - 1);
    return SplitNames(bounded.substr(0, bounded.find('\0')));
}

void ReceiveCommandLine(std::string_view Data, THandOverTarget& Root) {
    const std::vector<std::string> pieces = HandOverNames(Data);
    if (pieces.empty() || pieces.front().empty()) {
        Root.OpenNewWindow("", nullptr, -1);
        return;
    }
    std::string fileName = ShellLongFileName(pieces.front());
    if (Root.ActivateWindowForFile(fileName)) return;
    std::vector<std::string> lines;
    if (Root.LoadListFile(fileName, &lines)) Root.OpenNewWindow(fileName, &lines, -1);
}

} // namespace quillon
