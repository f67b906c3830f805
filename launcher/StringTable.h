// The user-visible texts, loaded from the executable's string-table resource in
// the language the system's resource loader picks, and cached for the process.
#pragma once

#include <map>
#include <string>

namespace kiv {

enum StringId : unsigned {
    kNoValidVm = 101,
    kPropertiesMissing = 102,
    kVmStartFailed = 103,
    kPropertiesInvalid = 104,
    kErrorPrefix = 110,
};

class StringTable {
public:
    static StringTable& instance();

    // Throws StringTableException when the id is absent or its text empty.
    std::wstring get(unsigned id);
    size_t cachedCount() const { return cache_.size(); }

private:
    StringTable() = default;
    std::map<unsigned, std::wstring> cache_;
};

// Writes one failure line to standard error: string 110, ": ", the message, a
// line end. A console gets it through the console's own write; a redirected
// standard error gets the same line as UTF-8.
void reportError(const std::wstring& message);

}  // namespace kiv
