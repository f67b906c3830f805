#include "platform/SystemLibrary.h"

#include <string>

namespace kiv {

namespace {

bool isBareFileName(const wchar_t* fileName) {
    for (const wchar_t* c = fileName; *c != L'\0'; ++c)
        if (*c == L'\\' || *c == L'/' || *c == L':') return false;
    return *fileName != L'\0';
}

HMODULE loadByFullPath(const wchar_t* fileName) {
    wchar_t directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    // The altered search path looks for the DLL's own imports beside it, in the
    // system folder, before the exe's folder: a DLL planted there is never taken.
    return LoadLibraryExW((std::wstring(directory, length) + L"\\" + fileName).c_str(), nullptr,
                          LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

HMODULE loadSystemLibrary(const wchar_t* fileName) {
    const RedirectionForLoading redirection;
    HMODULE module = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // A loader without the search flags (before KB2533623) refuses the flag
    // itself; only a bare file name is then looked for in the system folder.
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER && isBareFileName(fileName))
        module = loadByFullPath(fileName);
    return module;
}

SystemLibrary::SystemLibrary(const wchar_t* fileName) {
    module_ = loadSystemLibrary(fileName);
    if (module_ == nullptr) loadError_ = GetLastError();
}

void* SystemLibrary::address(const char* functionName) {
    if (module_ == nullptr) {
        SetLastError(loadError_ != ERROR_SUCCESS ? loadError_ : ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // A forwarded export loads the DLL it forwards to (advapi32's crypto
    // functions live in cryptsp.dll), so the lookup is a load too.
    const RedirectionForLoading redirection;
    void* found = reinterpret_cast<void*>(GetProcAddress(module_, functionName));
    if (found == nullptr) SetLastError(ERROR_PROC_NOT_FOUND);
    return found;
}

SystemLibrary& advapi32Library() {
    static SystemLibrary library(L"advapi32.dll");
    return library;
}

SystemLibrary& versionLibrary() {
    static SystemLibrary library(L"version.dll");
    return library;
}

SystemLibrary& wininetLibrary() {
    static SystemLibrary library(L"wininet.dll");
    return library;
}

}  // namespace kiv
