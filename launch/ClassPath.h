// An ordered list of class path entries (also used for the directories of PATH).
#pragma once

#include <string>
#include <vector>

namespace kiv {

class ClassPath {
public:
    ClassPath() = default;
    // Splits at ";" with TextTokenizer: runs of semicolons give no empty entries,
    // but a text starting with ";" gives an empty first entry.
    explicit ClassPath(const std::wstring& text);

    const std::vector<std::wstring>& entries() const { return entries_; }
    size_t size() const { return entries_.size(); }
    void add(const std::wstring& entry) { entries_.push_back(entry); }

    // Every entry followed by ";", the last one included; empty without entries.
    std::wstring join() const;

private:
    std::vector<std::wstring> entries_;
};

}  // namespace kiv
