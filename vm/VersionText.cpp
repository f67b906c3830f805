#include "vm/VersionText.h"

#include <cstdint>

#include "platform/TextTokenizer.h"

namespace kiv {

namespace {

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Stops growing past what VersionNumber holds, however long the digit run.
unsigned leadingDigits(const std::wstring& token) {
    uint32_t value = 0;
    for (size_t i = 0; i < token.size() && isDigit(token[i]); ++i) {
        value = value * 10u + static_cast<uint32_t>(token[i] - L'0');
        if (value > VersionNumber::kLargestComponent) return VersionNumber::kLargestComponent;
    }
    return value;
}

}  // namespace

VersionNumber parseVersion(const std::wstring& text) {
    std::vector<std::wstring> tokens = TextTokenizer(text, L"._").tokens();
    if (tokens.empty()) return VersionNumber();
    if (tokens.front() != L"1") tokens.insert(tokens.begin(), L"1");

    auto component = [&tokens](size_t index) {
        return index < tokens.size() ? leadingDigits(tokens[index]) : 0u;
    };
    return VersionNumber(component(1), component(2), component(3));
}

}  // namespace kiv
