#include "platform/SystemLibrary.h"

namespace kiv {

SystemLibrary::SystemLibrary(const wchar_t* fileName) {
    // The system folder only: a DLL of the same name beside the exe or in the
    // working directory is never picked up.
    module_ = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module_ == nullptr) loadError_ = GetLastError();
}

void* SystemLibrary::address(const char* functionName) {
    if (module_ == nullptr) {
        SetLastError(loadError_ != ERROR_SUCCESS ? loadError_ : ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
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
