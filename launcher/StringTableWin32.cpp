#include "launcher/StringTable.h"

#include <windows.h>

#include "launcher/ErrorLine.h"
#include "launcher/Errors.h"
#include "platform/Text.h"

namespace kiv {

namespace {
constexpr int kStringBuffer = 256;
}  // namespace

StringTable& StringTable::instance() {
    static StringTable table;
    return table;
}

std::wstring StringTable::get(unsigned id) {
    const auto cached = cache_.find(id);
    if (cached != cache_.end()) return cached->second;
    wchar_t buffer[kStringBuffer] = {};
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, buffer, kStringBuffer);
    if (length <= 0) throw StringTableException();
    return cache_.emplace(id, std::wstring(buffer, static_cast<size_t>(length))).first->second;
}

void reportError(const std::wstring& message) {
    std::wstring prefix;
    try {
        prefix = StringTable::instance().get(kErrorPrefix);
    } catch (const StringTableException&) {
        prefix = L"Halvorn Error";  // the English text, so the line is never lost
    }
    const std::wstring line = formatErrorLine(prefix, message);
    HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
    if (standardError == nullptr || standardError == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0;
    if (GetConsoleMode(standardError, &mode)) {
        WriteConsoleW(standardError, line.c_str(), static_cast<DWORD>(line.size()), nullptr, nullptr);
        return;
    }
    const std::string bytes = wideToUtf8(line);
    DWORD written = 0;
    WriteFile(standardError, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace kiv
