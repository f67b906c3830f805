#include "launcher/PropertyEscapes.h"

#include <cstdint>

namespace kiv {

namespace {

const size_t kMaxEscapeDigits = 4;

void appendUnicodeEscape(std::wstring& out, uint32_t unit) {
    static const wchar_t kHex[] = L"0123456789abcdef";
    out += L"\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xFu];
}

// On Windows a wchar_t is one UTF-16 code unit. Where it is wider, a code
// point beyond the 16-bit range is written as the surrogate pair a Windows
// build would hold, so the file stays readable by the 16-bit escapes.
void appendEscapedCodePoint(std::wstring& out, uint32_t value) {
    if (value <= 0xFFFF) {
        appendUnicodeEscape(out, value);
    } else if (value <= 0x10FFFF) {
        const uint32_t offset = value - 0x10000;
        appendUnicodeEscape(out, 0xD800 + (offset >> 10));
        appendUnicodeEscape(out, 0xDC00 + (offset & 0x3FF));
    } else {
        appendUnicodeEscape(out, 0xFFFD);
    }
}

bool breaksTextFile(wchar_t unit) { return unit == L'\n' || unit == L'\r' || unit == 0x1A; }

int hexDigitValue(wchar_t unit) {
    if (unit >= L'0' && unit <= L'9') return unit - L'0';
    if (unit >= L'a' && unit <= L'f') return unit - L'a' + 10;
    if (unit >= L'A' && unit <= L'F') return unit - L'A' + 10;
    return -1;
}

}  // namespace

std::wstring escapePropertyText(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t unit : text) {
        const uint32_t value = static_cast<uint32_t>(unit);
        if (unit == L'\\')
            out += L"\\\\";
        else if (value >= 0x80 || breaksTextFile(unit))
            appendEscapedCodePoint(out, value);
        else
            out += unit;
    }
    return out;
}

std::wstring unescapePropertyText(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != L'\\' || i + 1 == text.size()) {
            out += text[i++];
            continue;
        }
        if (text[i + 1] != L'u') {
            out += text[i];
            out += text[i + 1];
            i += 2;
            continue;
        }
        i += 2;
        uint32_t value = 0;
        for (size_t digits = 0; digits < kMaxEscapeDigits && i < text.size(); ++digits, ++i) {
            const int digit = hexDigitValue(text[i]);
            if (digit < 0) break;
            value = value * 16 + static_cast<uint32_t>(digit);
        }
        out += static_cast<wchar_t>(value);
    }
    return out;
}

}  // namespace kiv
