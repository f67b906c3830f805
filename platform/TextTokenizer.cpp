#include "platform/TextTokenizer.h"

namespace kiv {

TextTokenizer::TextTokenizer(const std::wstring& text, const std::wstring& delimiters) {
    const size_t last = text.find_last_not_of(L' ');
    if (last == std::wstring::npos) return;
    const size_t first = text.find_first_not_of(L' ');
    const std::wstring trimmed = text.substr(first, last - first + 1);

    size_t position = 0;
    while (position < trimmed.size()) {
        size_t end = trimmed.find_first_of(delimiters, position);
        if (end == std::wstring::npos) end = trimmed.size();
        tokens_.push_back(trimmed.substr(position, end - position));
        position = trimmed.find_first_not_of(delimiters, end);
        if (position == std::wstring::npos) break;
    }
}

}  // namespace kiv
