// The two WOW64 questions of a 32-bit program on 64-bit Windows. Both look the
// kernel32 functions up at run time, so older systems without them still run.
#pragma once

#include <string>

namespace kiv {

bool isWow64Process();

// Switches file-system redirection off for the calling thread, so that every
// path under the system folder names the native files; only a
// RedirectionForLoading turns it on again, for its own scope. Windows keeps
// the switch per thread: main calls it first, and every thread that tests or
// starts paths calls it again.
void disableFileSystemRedirection();

// Turns redirection back on for the calling thread while it lives, when that
// thread switched it off. The loader finds a 32-bit DLL, its imports and the
// DLLs it loads later through redirection; with it off it would map the 64-bit
// files and fail. Every library load, export lookup and call that may load a
// DLL (the crypto provider, WinINet's helpers) runs inside one. Nested ones do
// nothing; the last error of the wrapped call survives the scope.
class RedirectionForLoading {
public:
    RedirectionForLoading();
    ~RedirectionForLoading();
    RedirectionForLoading(const RedirectionForLoading&) = delete;
    RedirectionForLoading& operator=(const RedirectionForLoading&) = delete;

private:
    bool reenabled_ = false;
};

// The 32-bit system folder of 64-bit Windows; empty when there is none.
std::wstring systemWow64Directory();

}  // namespace kiv
