#include "launcher/PropertyFile.h"

#include "launcher/PropertyEscapes.h"
#include "launcher/PropertyRules.h"
#include "platform/Text.h"
#include "platform/TextMode.h"

namespace kiv {

void PropertyFile::loadText(const std::wstring& decodedText) {
    for (const std::wstring& line : splitTextLines(decodedText)) loadLine(line);
}

void PropertyFile::loadLine(const std::wstring& line) {
    // The comment test looks at the untrimmed line: "  #x=1" is a property.
    if (!line.empty() && line[0] == L'#') return;
    if (trimBlanks(line).empty()) return;
    const size_t separator = line.find(L'=');
    if (separator == std::wstring::npos) return;

    const std::wstring key = trimBlanks(line.substr(0, separator));
    std::wstring value = trimBlanks(line.substr(separator + 1));
    // A trailing backslash once meant a continuation line; this format never
    // joins lines, and keeps the old reader's space in the backslash's place.
    if (!value.empty() && value.back() == L'\\') value.back() = L' ';
    entries_[unescapePropertyText(key)] = unescapePropertyText(value);
}

std::wstring PropertyFile::get(const std::wstring& key, const std::wstring& fallback) const {
    const auto found = entries_.find(key);
    return found == entries_.end() ? fallback : found->second;
}

std::wstring PropertyFile::mainClass() const { return text(propertyKeys::mainClass); }
std::wstring PropertyFile::classPathValue() const { return text(propertyKeys::classPath); }
std::wstring PropertyFile::currentVm() const { return text(propertyKeys::currentVm); }
std::wstring PropertyFile::validVmList() const { return text(propertyKeys::validVmList); }

int32_t PropertyFile::launcherPlatform() const {
    return parseSize(get(propertyKeys::launcherPlatform, L"1"));
}

std::wstring PropertyFile::userDir() const { return text(propertyKeys::userDir); }

std::wstring PropertyFile::applicationName() const {
    return get(propertyKeys::applicationName, L"Halvorn");
}

bool PropertyFile::verifyMode() const { return parseBoolean(text(propertyKeys::verifyMode)); }
std::wstring PropertyFile::verbose() const { return text(propertyKeys::verbose); }
std::wstring PropertyFile::gcExtent() const { return text(propertyKeys::gcExtent); }

bool PropertyFile::gcBackgroundThread() const {
    return parseBoolean(text(propertyKeys::gcBackgroundThread));
}

bool PropertyFile::debugging() const { return parseBoolean(text(propertyKeys::debugging)); }
bool PropertyFile::compilerOff() const { return parseBoolean(text(propertyKeys::compiler)); }

std::wstring PropertyFile::additionalOptions() const {
    return text(propertyKeys::additionalOptions);
}

int32_t PropertyFile::heapInitial() const { return parseSize(get(propertyKeys::heapInitial, L"0")); }
int32_t PropertyFile::heapMax() const { return parseSize(get(propertyKeys::heapMax, L"0")); }

int32_t PropertyFile::msvmMinVersion() const {
    return parseInteger(get(propertyKeys::msvmMinVersion, L"0"));
}

bool PropertyFile::consolePause() const {
    return parsePauseBoolean(text(propertyKeys::consolePause));
}

std::wstring PropertyFile::installerUiDefault() const {
    return text(propertyKeys::installerUiDefault);
}

bool PropertyFile::isSilentByDefault() const { return installerUiDefault() == L"SILENT"; }

std::wstring PropertyFile::buildOption() const { return text(propertyKeys::buildOption); }

int32_t PropertyFile::withVmSearchOption() const {
    return parseInteger(get(propertyKeys::withVmSearchOption, L"20"));
}

int32_t PropertyFile::withoutVmSearchOption() const {
    return parseInteger(get(propertyKeys::withoutVmSearchOption, L"10"));
}

bool PropertyFile::jvmspecApplicable() const {
    return text(propertyKeys::jvmspecApplicable) == L"true";
}

int32_t PropertyFile::jvmspecTotal() const {
    return parseInteger(get(propertyKeys::jvmspecTotal, L"0"));
}

std::wstring PropertyFile::jvmspecEntry(int32_t n) const {
    return text(propertyKeys::jvmspecEntryPrefix + decimal(n));
}

std::wstring PropertyFile::notFoundDownloadUrl() const {
    return text(propertyKeys::notFoundDownloadUrl);
}

std::wstring PropertyFile::directDownloadUrl() const {
    return text(propertyKeys::directDownloadUrl);
}

bool PropertyFile::notFoundChecksumApplicable() const {
    return text(propertyKeys::notFoundChecksumApplicable) == L"true";
}

std::wstring PropertyFile::notFoundChecksumValue() const {
    return text(propertyKeys::notFoundChecksumValue);
}

bool PropertyFile::directChecksumApplicable() const {
    return text(propertyKeys::directChecksumApplicable) == L"true";
}

std::wstring PropertyFile::directChecksumValue() const {
    return text(propertyKeys::directChecksumValue);
}

}  // namespace kiv
