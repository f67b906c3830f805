#include "installer/InstallerPlan.h"

#include "platform/Text.h"

namespace kiv {

InstallerPlan planInstallerResolution(const std::wstring& buildOption, int32_t withVmSearchOption,
                                      int32_t withoutVmSearchOption) {
    InstallerPlan plan;
    if (buildOption == L"withvm") {
        if (withVmSearchOption == 20) {
            plan.search = InstallerPlan::Search::ValidList;
            plan.carriedVmAfterSearch = true;
        } else if (withVmSearchOption == 21) {
            plan.carriedVmOnly = true;
        }
    } else if (buildOption == L"withoutvm") {
        if (withoutVmSearchOption == 10 || withoutVmSearchOption == 11)
            plan.search = InstallerPlan::Search::SelectVm;
        if (withoutVmSearchOption == 11) plan.fetch = InstallerPlan::Fetch::NotFound;
        if (withoutVmSearchOption == 12) plan.fetch = InstallerPlan::Fetch::Direct;
    }
    return plan;
}

bool isVmPackUrl(const std::wstring& url) { return endsWith(url, L".vm"); }

std::wstring downloadFileName(const std::wstring& url) {
    const size_t slash = url.rfind(L'/');
    return trimBlanks(slash == std::wstring::npos ? url : url.substr(slash + 1));
}

bool isPlainFileName(const std::wstring& name) {
    for (wchar_t c : name)
        if (c == L'\\' || c == L':' || c < 0x20) return false;
    return true;
}

}  // namespace kiv
