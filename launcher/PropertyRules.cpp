#include "launcher/PropertyRules.h"

#include "platform/Text.h"

namespace kiv {

bool parseBoolean(const std::wstring& text) {
    const std::wstring lower = toLowerAscii(text);
    return lower == L"true" || lower == L"on" || lower == L"t";
}

bool parsePauseBoolean(const std::wstring& text) {
    const std::wstring lower = toLowerAscii(text);
    return lower == L"true" || lower == L"yes" || lower == L"on";
}

int32_t parseInteger(const std::wstring& text) { return leadingInteger(text); }

int32_t parseSize(const std::wstring& text) {
    std::wstring lower = toLowerAscii(text);
    uint32_t multiplier = 1;
    if (!lower.empty() && lower.back() == L'k') multiplier = 1024;
    if (!lower.empty() && lower.back() == L'm') multiplier = 1048576;
    if (multiplier > 1) lower.pop_back();
    // Unsigned arithmetic wraps without undefined behaviour; the cast back
    // gives the two's-complement value of the 32-bit product.
    const uint32_t product = static_cast<uint32_t>(parseInteger(lower)) * multiplier;
    return static_cast<int32_t>(product);
}

}  // namespace kiv
