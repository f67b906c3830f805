// How property values are read as flags and numbers. Every rule accepts any
// text: what it cannot read gives false or 0, never an error.
#pragma once

#include <cstdint>
#include <string>

namespace kiv {

// "true", "on" or "t" in any ASCII letter case.
bool parseBoolean(const std::wstring& text);

// "true", "yes" or "on" in any ASCII letter case: the console-pause flag has
// always accepted "yes" and refused "t", unlike parseBoolean.
bool parsePauseBoolean(const std::wstring& text);

// Leading blanks, an optional sign and the digits up to the first non-digit;
// 0 without digits. Digits beyond the 32-bit range wrap around.
int32_t parseInteger(const std::wstring& text);

// A byte count with an optional last letter "k" (x1024) or "m" (x1048576), in
// any case; any other last character is no unit ("256MB" is 256). The product
// wraps as a signed 32-bit value, so "2048m" is negative and "4096m" is 0;
// callers treat anything not above 0 as "not given".
int32_t parseSize(const std::wstring& text);

}  // namespace kiv
