// Small pure helpers on wide strings shared by the parsers.
#pragma once

#include <cstdint>
#include <string>

namespace kiv {

// Removes every code unit from 0x00 to 0x20 from both ends.
std::wstring trimBlanks(const std::wstring& text);

// Letter-case changes touch only the ASCII letters.
std::wstring toLowerAscii(std::wstring text);
std::wstring toUpperAscii(std::wstring text);

bool startsWith(const std::wstring& text, const std::wstring& prefix);
bool endsWith(const std::wstring& text, const std::wstring& suffix);

// Every occurrence of `from` replaced by `to`.
std::wstring replaceAll(std::wstring text, wchar_t from, const std::wstring& to);

// The decimal value at the start of a text, like C's wcstol base 10 but
// wrapping on overflow: leading blanks skipped, optional sign, digits.
int32_t leadingInteger(const std::wstring& text);

// Bytes taken one by one as ISO-8859-1, and back (code units above 0xFF become '?').
std::wstring latin1ToWide(const std::string& bytes);
std::string wideToLatin1(const std::wstring& text);

// UTF-8 conversions for files the launcher exchanges with other programs.
std::string wideToUtf8(const std::wstring& text);
std::wstring utf8ToWide(const std::string& bytes);

// Decimal rendering of signed and unsigned numbers.
std::wstring decimal(long long value);

}  // namespace kiv
