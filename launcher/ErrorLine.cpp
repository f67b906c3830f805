#include "launcher/ErrorLine.h"

namespace kiv {

std::wstring formatErrorLine(const std::wstring& prefix, const std::wstring& message, size_t capacity) {
    std::wstring line = prefix + L": " + message;
    const size_t room = capacity > 1 ? capacity - 2 : 0;  // terminator and line end
    if (line.size() > room) line.resize(room);
    return line + L"\n";
}

std::wstring unknownExceptionMessage(const char* description) {
    std::wstring message = L"an unknown exception has occurrred.\n";
    // Each narrow character widened on its own, as the exception's text is ASCII.
    for (const char* c = description; c && *c; ++c)
        message += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return message;
}

}  // namespace kiv
