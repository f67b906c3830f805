// System DLLs bound at run time: a missing library or function must fail the
// way the bound call would fail, never crash.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/Handle.h"
#include "platform/SystemLibrary.h"
#include "platform/Wow64.h"

using namespace kiv;

namespace {

using GetCurrentProcessIdFunction = DWORD(WINAPI*)();

}  // namespace

TEST(SystemLibrary, BindsAFunctionOfALoadedSystemLibrary) {
    SystemLibrary kernel32(L"kernel32.dll");
    const SystemFunction<GetCurrentProcessIdFunction> function(kernel32, "GetCurrentProcessId");
    ASSERT_TRUE(function);
    EXPECT_EQ(function.callOr(DWORD{0}), GetCurrentProcessId());
}

TEST(SystemLibrary, AnUnboundFunctionAnswersTheFailureValueWithALastError) {
    struct Case {
        const wchar_t* library;
        const char* function;
        DWORD lookupError;
    };
    const std::vector<Case> cases = {
        {L"kernel32.dll", "NoSuchFunctionAnywhere", ERROR_PROC_NOT_FOUND},
        {L"nosuchlibrary.dll", "GetCurrentProcessId", ERROR_MOD_NOT_FOUND},
        // Only the system folder is searched, so a path-qualified name elsewhere fails.
        {L"..\\nosuchlibrary.dll", "GetCurrentProcessId", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.library << " " << c.function);
        SystemLibrary library(c.library);
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(library.address(c.function), nullptr);
        if (c.lookupError != 0) {
            EXPECT_EQ(GetLastError(), c.lookupError);
        }
        EXPECT_NE(GetLastError(), DWORD{ERROR_SUCCESS});

        const SystemFunction<GetCurrentProcessIdFunction> function(library, c.function);
        EXPECT_FALSE(function);
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(function.callOr(DWORD{0}), DWORD{0});
        EXPECT_EQ(GetLastError(), DWORD{ERROR_PROC_NOT_FOUND});
    }
}

// Under WOW64 a thread that switched redirection off still loads the 32-bit
// system DLLs and their imports, and calls that load more of them still work;
// elsewhere the switch does nothing and the same loads must work as well.
TEST(SystemLibrary, LoadsFromTheSystemFolderOnAThreadWithRedirectionOff) {
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    std::thread([&] {
        disableFileSystemRedirection();
        for (const wchar_t* name : {L"version.dll", L"wininet.dll", L"shell32.dll"}) {
            SCOPED_TRACE(testing::Message() << name);
            LoadedModule module(loadSystemLibrary(name));
            ASSERT_TRUE(module);
            wchar_t path[MAX_PATH] = {};
            ASSERT_GT(GetModuleFileNameW(module.get(), path, MAX_PATH), 0u);
            // A 32-bit process under WOW64 names its system DLLs by the 32-bit folder.
            const std::wstring wow64 = systemWow64Directory();
            EXPECT_TRUE(_wcsnicmp(path, system, length) == 0 ||
                        (!wow64.empty() && _wcsnicmp(path, wow64.c_str(), wow64.size()) == 0))
                << "loaded from elsewhere";
        }
        SystemLibrary wininet(L"wininet.dll");
        using OpenFunction = void*(WINAPI*)(LPCWSTR, DWORD, LPCWSTR, LPCWSTR, DWORD);
        const SystemFunction<OpenFunction> open(wininet, "InternetOpenW");
        ASSERT_TRUE(open);
        void* session = open.loadingCallOr(nullptr, L"test", 1, nullptr, nullptr, 0);
        EXPECT_NE(session, nullptr);
        using CloseFunction = BOOL(WINAPI*)(void*);
        const SystemFunction<CloseFunction> close(wininet, "InternetCloseHandle");
        if (session != nullptr) close.loadingCallOr(FALSE, session);
    }).join();
}
