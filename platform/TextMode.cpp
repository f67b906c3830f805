#include "platform/TextMode.h"

#include <cstdint>

namespace kiv {

namespace {
const char kEndOfInput = '\x1A';
}  // namespace

std::wstring decodeTextMode(const std::string& bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char byte = bytes[i];
        if (byte == kEndOfInput) break;
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    }
    return text;
}

std::vector<std::wstring> splitTextLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string encodeTextMode(const std::wstring& text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (wchar_t unit : text) {
        const uint32_t value = static_cast<uint32_t>(unit);
        if (unit == L'\n') bytes += '\r';
        bytes += value <= 0xFF ? static_cast<char>(value) : '?';
    }
    return bytes;
}

}  // namespace kiv
