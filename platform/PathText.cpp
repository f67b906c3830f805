#include "platform/PathText.h"

#include "platform/Text.h"

namespace kiv {

std::wstring normalizeSeparators(const std::wstring& path) {
    const size_t start = startsWith(path, L"\\\\") ? 2 : 0;
    std::wstring result = path.substr(0, start);
    for (size_t i = start; i < path.size(); ++i) {
        if (path[i] == L'\\' && !result.empty() && result.back() == L'\\' && result.size() > start)
            continue;
        result += path[i];
    }
    for (wchar_t& c : result)
        if (c == L'/') c = L'\\';
    return result;
}

std::wstring pathFileName(const std::wstring& path, bool lowerCase) {
    const size_t slash = path.rfind(L'\\');
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    return lowerCase ? toLowerAscii(name) : name;
}

bool pathHasExtension(const std::wstring& path) {
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos) return false;
    const size_t slash = path.rfind(L'\\');
    const size_t lastSeparator = slash == std::wstring::npos ? 0 : slash;
    return dot > lastSeparator;
}

std::wstring pathExtension(const std::wstring& path) {
    if (!pathHasExtension(path)) return std::wstring();
    return toLowerAscii(path.substr(path.rfind(L'.') + 1));
}

std::wstring pathParent(const std::wstring& path, const std::wstring& fallback) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? fallback : path.substr(0, slash);
}

bool pathIsAbsolute(const std::wstring& path) {
    return (!path.empty() && path[0] == L'\\') || (path.size() > 1 && path[1] == L':');
}

}  // namespace kiv
