// The `\u` escapes of the property-file format. Reading and writing are not
// inverses on purpose: reading leaves every backslash pair other than `\u`
// untouched, so a doubled backslash written out stays doubled when read back
// (Windows path handling tolerates that, and FilePath collapses it).
#pragma once

#include <string>

namespace kiv {

// Writing: a backslash is doubled; a code unit of 0x80 or above becomes `\u`
// and four lower-case hexadecimal digits. LF, CR and 0x1A are escaped the same
// way, although they are ASCII: written raw they would split the line, or end
// the whole file for a text-mode reader, and lose every line appended after it.
// Everything else below 0x80 is written unchanged.
std::wstring escapePropertyText(const std::wstring& text);

// Reading: `\u` and up to four hexadecimal digits (taken greedily) is the code
// unit of that value, and `\u` with no digit is U+0000. Any other backslash
// pair stays as both characters; a backslash at the very end stays.
std::wstring unescapePropertyText(const std::wstring& text);

}  // namespace kiv
