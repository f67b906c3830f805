#include "vm/SpecHints.h"

#include <algorithm>

#include "platform/Text.h"

namespace kiv {

namespace {

// Same order as the root-key table of the registry wrapper, so both agree on
// which root a hint names.
const wchar_t* const rootPrefixes[] = {
    L"\\HKEY_CLASSES_ROOT",
    L"\\HKEY_CURRENT_USER",
    L"\\HKEY_LOCAL_MACHINE",
    L"\\HKEY_USERS",
    L"\\HKEY_PERFORMANCE_DATA",
    L"\\HKEY_PERFORMANCE_TEXT",
    L"\\HKEY_PERFORMANCE_NLSTEXT",
    L"\\HKEY_CURRENT_CONFIG",
    L"\\HKEY_DYN_DATA",
};

std::wstring rootPrefixOf(const std::wstring& hint) {
    for (const wchar_t* prefix : rootPrefixes)
        if (startsWith(hint, prefix)) return prefix;
    return std::wstring();
}

// The trimmed text after the first backslash; nullopt without one.
std::optional<std::wstring> afterFirstBackslash(const std::wstring& text) {
    const size_t slash = text.find(L'\\');
    if (slash == std::wstring::npos) return std::nullopt;
    return trimBlanks(text.substr(slash + 1));
}

// The installer writes its own path; a UTF-8 byte-order mark or a line break
// around it would otherwise end up inside the candidate path.
std::wstring cleanInstallerLocation(const std::wstring& text) {
    std::wstring location = trimBlanks(text);
    if (!location.empty() && location.front() == static_cast<wchar_t>(0xFEFF))
        location = trimBlanks(location.substr(1));
    return location;
}

}  // namespace

RegistryHint parseRegistryHint(const std::wstring& hint) {
    const std::optional<std::wstring> withoutRootName = afterFirstBackslash(hint);
    if (!withoutRootName) return RegistryHint();
    const std::optional<std::wstring> keyAndValue = afterFirstBackslash(*withoutRootName);
    if (!keyAndValue) return RegistryHint();
    const size_t lastSlash = keyAndValue->rfind(L'\\');
    if (lastSlash == std::wstring::npos) return RegistryHint();

    RegistryHint result;
    result.rootName = rootPrefixOf(hint);
    result.keyPath = trimBlanks(keyAndValue->substr(0, lastSlash));
    result.valueName = trimBlanks(keyAndValue->substr(lastSlash + 1));
    return result;
}

std::wstring registryHintCandidate(const std::wstring& valueText, const std::wstring& jvmExe) {
    return valueText.substr(0, valueText.find(L'\0')) + L"\\" + jvmExe;
}

int hintDotPairs(const std::wstring& hint) {
    return static_cast<int>(std::count(hint.begin(), hint.end(), L'.') / 2);
}

std::optional<std::wstring> relativeHintCandidate(const std::wstring& installerLocation,
                                                  const std::wstring& hint,
                                                  const std::wstring& jvmExe) {
    const int levels = hintDotPairs(hint);
    std::wstring base = cleanInstallerLocation(installerLocation);
    // The first cut drops the installer's file name, each further one a directory.
    for (int cut = 0; cut <= levels; ++cut) {
        const size_t slash = base.rfind(L'\\');
        if (slash == std::wstring::npos) {
            if (cut < levels) return std::nullopt;
            break;
        }
        base.erase(slash);
    }
    const size_t hintSlash = hint.rfind(L'\\');
    const std::wstring lastElement =
        hintSlash == std::wstring::npos ? L"\\" + hint : hint.substr(hintSlash);
    return base + lastElement + L"\\" + jvmExe;
}

std::wstring driveHintCandidate(wchar_t driveLetter, const std::wstring& hint,
                                const std::wstring& jvmExe) {
    return std::wstring(1, driveLetter) + L":\\" + hint + L"\\" + jvmExe;
}

}  // namespace kiv
