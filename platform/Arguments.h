// The process command line split by the platform's standard splitter, the way
// every other Windows program sees it (unlike the launcher's own parser).
#pragma once

#include <string>
#include <vector>

namespace kiv {

// Arguments after the program name; shell32 is loaded only for this call.
std::vector<std::wstring> standardArgumentsAfterProgramName();

}  // namespace kiv
