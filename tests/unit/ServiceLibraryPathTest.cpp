#include "service/ServiceLibraryPath.h"

#include <gtest/gtest.h>

using kiv::serviceLibraryPath;
using kiv::SystemFolders;

TEST(ServiceLibraryPath, NamesAdvapiInTheSystemFolderOfTheProcessBitness) {
    struct Case {
        const char* name;
        SystemFolders folders;
        std::wstring expected;
    };
    const Case cases[] = {
        {"native", {false, L"", L"C:\\Windows\\system32"}, L"C:\\Windows\\system32\\advapi32.dll"},
        {"native ignores a WOW64 folder",
         {false, L"C:\\Windows\\SysWOW64", L"C:\\Windows\\system32"},
         L"C:\\Windows\\system32\\advapi32.dll"},
        {"WOW64 folder under WOW64",
         {true, L"C:\\Windows\\SysWOW64", L"C:\\Windows\\system32"},
         L"C:\\Windows\\SysWOW64\\advapi32.dll"},
        {"one trailing backslash dropped",
         {false, L"", L"C:\\Windows\\system32\\"},
         L"C:\\Windows\\system32\\advapi32.dll"},
        {"one trailing slash dropped",
         {true, L"C:\\Windows\\SysWOW64/", L""},
         L"C:\\Windows\\SysWOW64\\advapi32.dll"},
        {"only one separator dropped", {false, L"", L"D:\\sys\\\\"}, L"D:\\sys\\\\advapi32.dll"},
        {"WOW64 without its folder falls back",
         {true, L"", L"C:\\Windows\\system32"},
         L"C:\\Windows\\system32\\advapi32.dll"},
        {"no folder known", {false, L"", L""}, L""},
        {"a lone separator is no folder", {false, L"", L"\\"}, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(serviceLibraryPath(c.folders), c.expected);
    }
}
