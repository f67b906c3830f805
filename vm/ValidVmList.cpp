#include "vm/ValidVmList.h"

#include <optional>

#include "platform/Text.h"
#include "platform/TextTokenizer.h"
#include "vm/VersionText.h"

namespace kiv {

namespace {

bool isGeneration1(VersionNumber version) { return version.major() <= 1; }
bool isGeneration2(VersionNumber version) { return version.major() >= 2; }

// The keyword table; nullopt when the token is no keyword (a composite token).
std::optional<bool> matchesKeyword(const std::wstring& token, VmKind kind, VersionNumber version) {
    if (token == L"ALL") return true;
    if (token == L"J1") return isGeneration1(version) && kind != VmKind::MSJ;
    if (token == L"J2") return isGeneration2(version);
    if (token == L"JDK") return kind == VmKind::JDK;
    if (token == L"JRE") return kind == VmKind::JRE;
    if (token == L"JDK_J1") return kind == VmKind::JDK && isGeneration1(version);
    if (token == L"JDK_J2") return kind == VmKind::JDK && isGeneration2(version);
    if (token == L"JRE_J1") return kind == VmKind::JRE && isGeneration1(version);
    if (token == L"JRE_J2") return kind == VmKind::JRE && isGeneration2(version);
    if (token == L"MSJ") return kind == VmKind::MSJ;
    return std::nullopt;
}

bool matchesComposite(const std::wstring& token, VmKind kind, VersionNumber version,
                      const std::function<bool(const std::wstring&)>& validatorRun) {
    const SpecToken parts = parseSpecToken(token);
    if (!parts.argument.empty() && !(validatorRun && validatorRun(parts.argument))) return false;
    if (parts.kind == L"JRE" && kind != VmKind::JRE) return false;
    if (parts.kind == L"JDK" && kind != VmKind::JDK) return false;
    return parts.version.empty() || versionMatches(version, parts.version);
}

}  // namespace

std::vector<std::wstring> splitValidVmList(const std::wstring& list) {
    return TextTokenizer(list, L" ").tokens();
}

SpecToken parseSpecToken(const std::wstring& token) {
    SpecToken result;
    const TextTokenizer parts(token, L"_");
    for (const std::wstring& part : parts.tokens()) {
        if (part == L"JRE" || part == L"JDK" || part == L"ALL") {
            result.kind = part;
        } else if (isVersionPattern(part)) {
            if (result.version.empty())
                result.version = part;
            else
                result.version += L"_" + part;
        } else {
            result.argument = part;
        }
    }
    return result;
}

bool isVersionPattern(const std::wstring& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const bool isLast = i + 1 == text.size();
        if (c >= L'0' && c <= L'9') continue;
        if (c == L'*') continue;
        if (c == L'.' && i != 0 && !isLast && text[i - 1] != L'.') continue;
        if (c == L'+' && isLast) continue;
        return false;
    }
    return true;
}

bool versionMatches(VersionNumber vm, const std::wstring& pattern) {
    if (endsWith(pattern, L"+")) return vm >= parseVersion(pattern.substr(0, pattern.size() - 1));
    if (endsWith(pattern, L"*")) {
        const VersionNumber wanted = parseVersion(pattern.substr(0, pattern.size() - 1));
        if (wanted.micro() != 0) return false;
        if (wanted.minor() == 0) return vm.major() == wanted.major();
        return vm.major() == wanted.major() && vm.minor() == wanted.minor();
    }
    const VersionNumber wanted = parseVersion(pattern);
    if (wanted.micro() == 0) return vm.major() == wanted.major() && vm.minor() == wanted.minor();
    return vm == wanted;
}

bool matchesToken(const std::wstring& token, VmKind kind, VersionNumber version,
                  const std::function<bool(const std::wstring& argument)>& validatorRun) {
    const std::wstring upper = toUpperAscii(token);
    if (const std::optional<bool> keyword = matchesKeyword(upper, kind, version)) return *keyword;
    return matchesComposite(upper, kind, version, validatorRun);
}

}  // namespace kiv
