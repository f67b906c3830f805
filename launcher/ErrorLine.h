// The one failure line of the launcher: prefix, ": ", message, line end.
#pragma once

#include <cstddef>
#include <string>

namespace kiv {

// The failure line fits a buffer of 256 characters with its terminator: a
// message too long for it is cut, and the line end is always kept.
constexpr size_t kErrorLineCapacity = 256;

std::wstring formatErrorLine(const std::wstring& prefix, const std::wstring& message,
                             size_t capacity = kErrorLineCapacity);

// What main reports for an exception other than TerminalError.
std::wstring unknownExceptionMessage(const char* description);

}  // namespace kiv
