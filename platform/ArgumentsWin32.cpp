#include "platform/Arguments.h"

#include <windows.h>

#include "platform/Handle.h"
#include "platform/SystemLibrary.h"

namespace kiv {

std::vector<std::wstring> standardArgumentsAfterProgramName() {
    // Only installer runs need this, so shell32 is not part of every start.
    // Loading it, finding the function and splitting may all load DLLs.
    const RedirectionForLoading redirection;
    LoadedModule shell32(loadSystemLibrary(L"shell32.dll"));
    if (!shell32) return {};
    using SplitFn = LPWSTR*(WINAPI*)(LPCWSTR, int*);
    const auto split = reinterpret_cast<SplitFn>(
        reinterpret_cast<void*>(GetProcAddress(shell32.get(), "CommandLineToArgvW")));
    if (split == nullptr) return {};
    int count = 0;
    LPWSTR* arguments = split(GetCommandLineW(), &count);
    if (arguments == nullptr) return {};
    std::vector<std::wstring> result(arguments + (count > 0 ? 1 : 0), arguments + count);
    LocalFree(arguments);
    return result;
}

}  // namespace kiv
