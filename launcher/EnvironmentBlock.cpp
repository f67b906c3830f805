#include "launcher/EnvironmentBlock.h"

#include "platform/Text.h"
#include "platform/TextTokenizer.h"

namespace kiv {

namespace {
const wchar_t kClassPathMarker[] = L"$ENV_CLASSPATH$";
}  // namespace

std::map<std::wstring, std::wstring> parseEnvironmentBlock(const wchar_t* block) {
    std::map<std::wstring, std::wstring> variables;
    if (block == nullptr) return variables;
    for (const wchar_t* entry = block; *entry != L'\0';) {
        const std::wstring text(entry);
        entry += text.size() + 1;
        if (text[0] == L'=') {
            variables[std::wstring()] = text.substr(1);
            continue;
        }
        const size_t separator = text.find(L'=');
        if (separator == std::wstring::npos)
            variables[text] = std::wstring();
        else
            variables[text.substr(0, separator)] = text.substr(separator + 1);
    }
    return variables;
}

std::wstring resolveClassPathText(const std::wstring& classPathValue,
                                  const std::wstring& classPathEnvironmentValue) {
    std::wstring resolved = classPathValue;
    const std::wstring marker = kClassPathMarker;
    const size_t position = resolved.find(marker);
    if (position != std::wstring::npos)
        resolved.replace(position, marker.size(), classPathEnvironmentValue);
    return resolved;
}

std::vector<std::wstring> splitPathList(const std::wstring& expandedValue) {
    return TextTokenizer(expandedValue, L";").tokens();
}

std::optional<std::wstring> findPathVariableName(
    const std::map<std::wstring, std::wstring>& environment) {
    for (const auto& variable : environment)
        if (toLowerAscii(variable.first) == L"path") return variable.first;
    return std::nullopt;
}

}  // namespace kiv
