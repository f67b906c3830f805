// Pure operations on path texts (backslash separated). The file-system side
// (existence, long names, full paths) lives in FilePath.
#pragma once

#include <string>

namespace kiv {

// Collapses doubled backslashes (keeping a leading UNC pair), then turns every
// forward slash into a backslash. Doubled separators made from slashes stay.
std::wstring normalizeSeparators(const std::wstring& path);

// Text after the last backslash (all of it when there is none).
std::wstring pathFileName(const std::wstring& path, bool lowerCase = false);

// A '.' after the last backslash; a path without backslash counts position 0
// as its last backslash, so ".profile" has no extension.
bool pathHasExtension(const std::wstring& path);

// Lower-cased text after the last '.', or empty without an extension.
std::wstring pathExtension(const std::wstring& path);

// Text before the last backslash, or `fallback` when there is none.
std::wstring pathParent(const std::wstring& path, const std::wstring& fallback);

// Starts with a backslash or has ':' as its second character.
bool pathIsAbsolute(const std::wstring& path);

}  // namespace kiv
