#include "AsciiText.h"

#include <charconv>

namespace quillon {

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    return text;
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

std::optional<std::int32_t> StrToInt(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    std::int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string IntToStr(std::int64_t value) {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

std::string IntToHex(std::uint64_t value, int digits) {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    std::string text(buffer, end);
    for (char& c : text) c = static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
    if (static_cast<int>(text.size()) < digits) text.insert(0, static_cast<size_t>(digits) - text.size(), '0');
    return text;
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t def) { return StrToInt(text).value_or(def); }

std::optional<std::int32_t> StrToIntOrHex(std::string_view text) {
    bool negative = false;
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.front() != '$') return StrToInt(text);
    digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        int d = IsDigit(c)               ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : -1;
        if (d < 0) return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

} // namespace quillon

namespace quillon {

std::string ToCommaText(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += ',';
        const std::string& item = items[i];
        bool quote = item.empty() && items.size() == 1;
        for (char c : item)
            if (static_cast<unsigned char>(c) <= 32 || c == ',' || c == '"') quote = true;
        if (!quote) {
            text += item;
            continue;
        }
        text += '"';
        for (char c : item) {
            if (c == '"') text += '"';
            text += c;
        }
        text += '"';
    }
    return text;
}

std::vector<std::string> FromCommaText(std::string_view text) {
    std::vector<std::string> items;
    auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    size_t p = 0;
    while (p < text.size() && isSpace(text[p])) ++p;
    while (p < text.size()) {
        std::string item;
        if (text[p] == '"') {
            ++p;
            while (p < text.size()) {
                if (text[p] == '"') {
                    if (p + 1 < text.size() && text[p + 1] == '"') {
                        item += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            while (p < text.size() && text[p] != ',' && !isSpace(text[p])) item += text[p++];
        }
        items.push_back(std::move(item));
        while (p < text.size() && isSpace(text[p])) ++p;
        if (p < text.size() && text[p] == ',') {
            ++p;
            while (p < text.size() && isSpace(text[p])) ++p;
            if (p >= text.size()) items.emplace_back();
        }
    }
    return items;
}

} // namespace quillon
