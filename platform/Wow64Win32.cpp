#include "platform/Wow64.h"

#include <windows.h>

namespace kiv {

namespace {

HMODULE kernel32() { return GetModuleHandleW(L"kernel32"); }

template <typename Function>
Function lookUp(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel32(), name)));
}

}  // namespace

bool isWow64Process() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64 = lookUp<IsWow64ProcessFn>("IsWow64Process");
    BOOL flag = FALSE;
    return isWow64 != nullptr && isWow64(GetCurrentProcess(), &flag) && flag;
}

void disableFileSystemRedirection() {
    if (!isWow64Process()) return;
    using DisableFn = BOOL(WINAPI*)(PVOID*);
    using RevertFn = BOOL(WINAPI*)(PVOID);
    using EnableFn = BOOLEAN(WINAPI*)(BOOLEAN);
    const auto disable = lookUp<DisableFn>("Wow64DisableWow64FsRedirection");
    const auto revert = lookUp<RevertFn>("Wow64RevertWow64FsRedirection");
    if (disable != nullptr && revert != nullptr) {
        PVOID previousState = nullptr;  // never restored
        disable(&previousState);
        return;
    }
    if (const auto enable = lookUp<EnableFn>("Wow64EnableWow64FsRedirection")) enable(FALSE);
}

std::wstring systemWow64Directory() {
    using GetDirectoryFn = UINT(WINAPI*)(LPWSTR, UINT);
    const auto getDirectory = lookUp<GetDirectoryFn>("GetSystemWow64DirectoryW");
    if (getDirectory == nullptr) return std::wstring();
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = getDirectory(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return std::wstring(buffer, length);
}

}  // namespace kiv
