#include "launcher/RuntimeLines.h"

#include "launcher/PropertyEscapes.h"
#include "launcher/PropertyFile.h"
#include "platform/Text.h"

namespace kiv {

namespace {

void appendLine(std::wstring& out, const std::wstring& key, const std::wstring& escapedValue) {
    out += key;
    out += L'=';
    out += escapedValue;
    out += L'\n';
}

}  // namespace

std::wstring environmentLines(const std::map<std::wstring, std::wstring>& expandedByName) {
    std::wstring out;
    for (const auto& variable : expandedByName) {
        const std::wstring name = escapePropertyText(variable.first);
        const std::wstring value = escapePropertyText(variable.second);
        appendLine(out, L"kiv.nl.env." + toLowerAscii(name), value);
        appendLine(out, L"kiv.nl.env." + toUpperAscii(name), value);
        appendLine(out, L"kiv.nl.env.exact_case." + name, value);
    }
    return out;
}

std::wstring consoleLines() {
    return L"kiv.control-key=true\n"
           L"kiv.stderr.redirect=console\n"
           L"kiv.stdout.redirect=console\n";
}

std::wstring currentVmLine(const std::wstring& executablePath) {
    std::wstring out;
    appendLine(out, propertyKeys::currentVm, escapePropertyText(executablePath));
    return out;
}

}  // namespace kiv
