// Splits a text at any of a set of delimiter characters. Spaces are trimmed
// from both ends first; runs of delimiters give no empty tokens, except that a
// text starting with a delimiter yields an empty first token.
#pragma once

#include <string>
#include <vector>

namespace kiv {

class TextTokenizer {
public:
    TextTokenizer(const std::wstring& text, const std::wstring& delimiters);

    const std::vector<std::wstring>& tokens() const { return tokens_; }
    size_t size() const { return tokens_.size(); }
    const std::wstring& operator[](size_t index) const { return tokens_[index]; }

private:
    std::vector<std::wstring> tokens_;
};

}  // namespace kiv
