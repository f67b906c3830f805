#include "platform/Wow64.h"

#include <windows.h>

namespace kiv {

namespace {

HMODULE kernel32() { return GetModuleHandleW(L"kernel32"); }

template <typename Function>
Function lookUp(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel32(), name)));
}

using DisableFn = BOOL(WINAPI*)(PVOID*);
using RevertFn = BOOL(WINAPI*)(PVOID);
using EnableFn = BOOLEAN(WINAPI*)(BOOLEAN);

// How this thread switched redirection off, so that a load can switch it on
// and off again the same way.
struct ThreadRedirection {
    enum class Switch { None, Disable, Enable } offThrough = Switch::None;
    PVOID previousState = nullptr;  // handed back by the disable call
    bool onForLoading = false;
};

thread_local ThreadRedirection threadRedirection;

bool switchOff(ThreadRedirection& thread) {
    const auto disable = lookUp<DisableFn>("Wow64DisableWow64FsRedirection");
    const auto revert = lookUp<RevertFn>("Wow64RevertWow64FsRedirection");
    if (disable != nullptr && revert != nullptr) {
        if (!disable(&thread.previousState)) return false;
        thread.offThrough = ThreadRedirection::Switch::Disable;
        return true;
    }
    const auto enable = lookUp<EnableFn>("Wow64EnableWow64FsRedirection");
    if (enable == nullptr || !enable(FALSE)) return false;
    thread.offThrough = ThreadRedirection::Switch::Enable;
    return true;
}

bool switchOn(const ThreadRedirection& thread) {
    if (thread.offThrough == ThreadRedirection::Switch::Disable) {
        const auto revert = lookUp<RevertFn>("Wow64RevertWow64FsRedirection");
        return revert != nullptr && revert(thread.previousState);
    }
    const auto enable = lookUp<EnableFn>("Wow64EnableWow64FsRedirection");
    return enable != nullptr && enable(TRUE);
}

}  // namespace

bool isWow64Process() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64 = lookUp<IsWow64ProcessFn>("IsWow64Process");
    BOOL flag = FALSE;
    return isWow64 != nullptr && isWow64(GetCurrentProcess(), &flag) && flag;
}

void disableFileSystemRedirection() {
    ThreadRedirection& thread = threadRedirection;
    if (thread.offThrough != ThreadRedirection::Switch::None || !isWow64Process()) return;
    switchOff(thread);
}

RedirectionForLoading::RedirectionForLoading() {
    ThreadRedirection& thread = threadRedirection;
    if (thread.offThrough == ThreadRedirection::Switch::None || thread.onForLoading) return;
    reenabled_ = switchOn(thread);
    thread.onForLoading = reenabled_;
}

RedirectionForLoading::~RedirectionForLoading() {
    if (!reenabled_) return;
    // The caller reads the last error of the call this scope wrapped.
    const DWORD lastError = GetLastError();
    ThreadRedirection& thread = threadRedirection;
    thread.onForLoading = false;
    thread.offThrough = ThreadRedirection::Switch::None;
    switchOff(thread);
    SetLastError(lastError);
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
