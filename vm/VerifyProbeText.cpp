#include "vm/VerifyProbeText.h"

#include "platform/Text.h"

namespace kiv {

bool valueMatches(const std::wstring& printed, const std::wstring& expected) {
    if (expected == L"*") return true;
    if (endsWith(expected, L"*"))
        return startsWith(printed, expected.substr(0, expected.find(L'*')));
    if (endsWith(expected, L"...")) {
        const size_t lastKept = expected.find_last_not_of(L'.');
        const std::wstring prefix =
            lastKept == std::wstring::npos ? std::wstring() : expected.substr(0, lastKept + 1);
        return startsWith(printed, prefix);
    }
    return printed == expected;
}

bool verifyAnswerMatches(const std::wstring& answer,
                         const std::map<std::wstring, std::wstring>& expected) {
    std::wstring rest = trimBlanks(answer);
    const size_t headerEnd = rest.find(L'\n');
    if (headerEnd == std::wstring::npos || headerEnd == 0) return false;
    rest = trimBlanks(rest.substr(headerEnd + 1));

    for (const auto& entry : expected) {
        const size_t lineEnd = rest.find(L'\n');
        const std::wstring line = lineEnd == std::wstring::npos ? rest : rest.substr(0, lineEnd);
        if (!valueMatches(line, entry.second)) return false;
        if (lineEnd != std::wstring::npos) rest = trimBlanks(rest.substr(lineEnd + 1));
    }
    return true;
}

std::wstring verifyCommandLine(const std::wstring& executable, const std::wstring& jarPath,
                               const std::map<std::wstring, std::wstring>& properties) {
    std::wstring commandLine = L"\"" + executable + L"\" -classpath \"" + jarPath + L"\" Verify";
    for (const auto& entry : properties) commandLine += L" " + entry.first;
    return commandLine;
}

std::wstring verifyJarPath(const std::wstring& directory) { return directory + L"\\Verify.jar"; }

bool endsWithJvmspecsFolder(const std::wstring& directory) {
    return endsWith(directory, L"jvmspecs") || endsWith(directory, L"jvmspecs\\");
}

std::wstring nestedVerifyJarPath(const std::wstring& directory) {
    if (endsWithJvmspecsFolder(directory)) return std::wstring();
    return directory + L"\\jvmspecs\\Verify.jar";
}

}  // namespace kiv
