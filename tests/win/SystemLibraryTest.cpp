// System DLLs bound at run time: a missing library or function must fail the
// way the bound call would fail, never crash.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/SystemLibrary.h"

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
