// A system DLL bound at run time, so that a run pays for a library only when
// one of its steps actually calls into it: an import in the exe would be
// loaded (and initialised, with everything it imports) on every start.
// The library is loaded from the system folder on first use and kept for the
// process; each function is looked up once where it is declared.
#pragma once

#include <windows.h>

#include <utility>

#include "platform/Wow64.h"

namespace kiv {

// Loads a DLL from the system folder only, so that one of the same name beside
// the exe or in the working directory is never picked up; null with the
// loader's error when it cannot. Systems whose loader lacks the search flags
// get the DLL by its full path in the system folder instead. Under WOW64 the
// load runs with redirection on, so that the 32-bit DLL and its imports load.
HMODULE loadSystemLibrary(const wchar_t* fileName);

class SystemLibrary {
public:
    // Loads the library from the system folder; a missing one leaves the
    // object empty and every lookup failing.
    explicit SystemLibrary(const wchar_t* fileName);
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The function's address, or null with the last error set (the loader's
    // error when the library is missing, ERROR_PROC_NOT_FOUND otherwise).
    void* address(const char* functionName);

private:
    HMODULE module_ = nullptr;
    DWORD loadError_ = ERROR_SUCCESS;
};

// Each library is created, and loaded, on the first call of its accessor, and
// kept (never freed) for the rest of the process.
SystemLibrary& advapi32Library();
SystemLibrary& versionLibrary();
SystemLibrary& wininetLibrary();

// One function of a SystemLibrary, resolved when constructed. A caller keeps it
// in a function-local static so that the lookup happens once per process.
template <typename Function>
class SystemFunction {
public:
    SystemFunction(SystemLibrary& library, const char* name)
        : address_(reinterpret_cast<Function>(library.address(name))) {}

    explicit operator bool() const { return address_ != nullptr; }

    // Calls the function; when it could not be bound, answers `failure` with
    // ERROR_PROC_NOT_FOUND as the last error, as if the call itself had failed.
    template <typename Failure, typename... Args>
    auto callOr(Failure failure, Args&&... args) const
        -> decltype(std::declval<Function>()(std::forward<Args>(args)...)) {
        if (address_ == nullptr) {
            SetLastError(ERROR_PROC_NOT_FOUND);
            return failure;
        }
        return address_(std::forward<Args>(args)...);
    }

    // callOr for a function that may load further DLLs while it runs (a
    // crypto provider, WinINet's helpers): under WOW64 it runs with
    // redirection on, as a load must. Only for calls that name no file.
    template <typename Failure, typename... Args>
    auto loadingCallOr(Failure failure, Args&&... args) const
        -> decltype(std::declval<Function>()(std::forward<Args>(args)...)) {
        const RedirectionForLoading redirection;
        return callOr(failure, std::forward<Args>(args)...);
    }

private:
    Function address_;
};

}  // namespace kiv
