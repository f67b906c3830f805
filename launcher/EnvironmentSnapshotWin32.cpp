#include "launcher/EnvironmentSnapshot.h"

#include <windows.h>

#include <vector>

#include "launcher/EnvironmentBlock.h"
#include "launcher/RuntimeLines.h"
#include "launcher/RuntimePropertyFile.h"

namespace kiv {

namespace {

// Expansion starts in a buffer of 2048 characters; a longer result gets a buffer
// of the size the system asks for instead of undefined text.
constexpr DWORD kExpansionBuffer = 2048;

std::wstring expand(const std::wstring& value) {
    std::vector<wchar_t> buffer(kExpansionBuffer);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD needed =
            ExpandEnvironmentStringsW(value.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (needed == 0) return value;
        if (needed <= buffer.size()) return std::wstring(buffer.data());
        buffer.assign(needed, L'\0');
    }
    return value;
}

std::map<std::wstring, std::wstring> readProcessEnvironment() {
    wchar_t* block = GetEnvironmentStringsW();
    std::map<std::wstring, std::wstring> variables = parseEnvironmentBlock(block);
    if (block != nullptr) FreeEnvironmentStringsW(block);
    return variables;
}

}  // namespace

EnvironmentSnapshot& EnvironmentSnapshot::instance() {
    static EnvironmentSnapshot snapshot(readProcessEnvironment());
    return snapshot;
}

std::wstring EnvironmentSnapshot::expandedValue(const std::wstring& name) const {
    const auto found = variables_.find(name);
    return found == variables_.end() ? std::wstring() : expand(found->second);
}

ClassPath EnvironmentSnapshot::pathList() const {
    const auto name = findPathVariableName(variables_);
    return ClassPath(expandedValue(name ? *name : std::wstring(L"Path")));
}

void EnvironmentSnapshot::writeToRuntimeFile() const {
    std::map<std::wstring, std::wstring> expanded;
    for (const auto& [name, value] : variables_) expanded.emplace(name, expand(value));
    RuntimePropertyFile::instance().append(environmentLines(expanded));
}

}  // namespace kiv
