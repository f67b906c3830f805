// The byte-level rules of the C runtime's text-mode streams, without the
// streams: the launcher's files are read and written in text mode with no
// locale, so each byte is one code unit of the same value (ISO-8859-1).
#pragma once

#include <string>
#include <vector>

namespace kiv {

// Bytes as a text-mode read sees them: CR LF becomes LF, a lone CR stays, and
// a byte 0x1A ends the input (the old DOS end-of-file mark).
std::wstring decodeTextMode(const std::string& bytes);

// Lines up to each LF (not stored). A last line without LF counts; an empty
// text has no lines, and a text ending with LF has no empty line after it.
std::vector<std::wstring> splitTextLines(const std::wstring& text);

// Text as a text-mode write stores it: each LF becomes CR LF and each code unit
// below 0x100 one byte. Callers escape everything above 0x7F first; a code unit
// above 0xFF that slips through becomes '?' rather than a truncated byte.
std::string encodeTextMode(const std::wstring& text);

}  // namespace kiv
