// Reading a Java version text such as "1.8.0_201" or "9.0.4".
#pragma once

#include <string>

#include "platform/VersionNumber.h"

namespace kiv {

// Splits at '.' and '_'; a first token other than "1" gets a "1" put in front
// (so "9.0.4" reads as 1.9.0.4 and "11" as 1.11). Major, minor and micro are
// the decimal digits at the start of tokens 2, 3 and 4, each 0 when the token
// is missing or does not start with a digit. Numbers above 65535 are held
// there, as VersionNumber holds them.
VersionNumber parseVersion(const std::wstring& text);

}  // namespace kiv
