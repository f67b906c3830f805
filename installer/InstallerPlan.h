// The installer's decision, from its build properties, between searching the
// machine, the VM it carries and a downloaded VM pack.
#pragma once

#include <cstdint>
#include <string>

namespace kiv {

struct InstallerPlan {
    enum class Search { None, ValidList, SelectVm };
    enum class Fetch { None, NotFound, Direct };

    Search search = Search::None;       // jvmspec files when applicable, else this selection
    bool carriedVmAfterSearch = false;  // "withvm" 20
    bool carriedVmOnly = false;         // "withvm" 21
    Fetch fetch = Fetch::None;          // after an empty search (11) or instead of it (12)
};

// Any option value outside the table gives the empty plan: no VM.
InstallerPlan planInstallerResolution(const std::wstring& buildOption, int32_t withVmSearchOption,
                                      int32_t withoutVmSearchOption);

// A VM pack URL ends with ".vm" (case-sensitive).
bool isVmPackUrl(const std::wstring& url);

// The text after the URL's last "/", trimmed of 0x00-0x20 at both ends.
std::wstring downloadFileName(const std::wstring& url);

// A file name that stays a file in the download folder: no "\" (which could
// climb out of it), no ":" (a drive or a stream) and no control character.
bool isPlainFileName(const std::wstring& name);

}  // namespace kiv
