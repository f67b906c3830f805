#include "platform/RegistryRoot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kiv {
namespace {

TEST(RegistryRootTest, FindsTheRootNamedAtTheStartOfAPath) {
    struct Case {
        std::wstring path;
        RegistryRoot expected;
    };
    const std::vector<Case> cases = {
        {L"\\HKEY_CLASSES_ROOT\\.jar", kHkeyClassesRoot},
        {L"\\HKEY_CURRENT_USER\\Software", kHkeyCurrentUser},
        {L"\\HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft", kHkeyLocalMachine},
        {L"\\HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
        {L"\\HKEY_USERS\\.DEFAULT", kHkeyUsers},
        {L"\\HKEY_PERFORMANCE_DATA", kHkeyPerformanceData},
        {L"\\HKEY_PERFORMANCE_TEXT", kHkeyPerformanceText},
        {L"\\HKEY_PERFORMANCE_NLSTEXT", kHkeyPerformanceNlsText},
        {L"\\HKEY_CURRENT_CONFIG\\System", kHkeyCurrentConfig},
        {L"\\HKEY_DYN_DATA", kHkeyDynData},
        // A plain prefix test: what follows the name is not examined.
        {L"\\HKEY_USERSX", kHkeyUsers},
        {L"\\HKEY_LOCAL_MACHINE_EXTRA\\X", kHkeyLocalMachine},
        // The leading backslash and the exact letter case are required.
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE", 0},
        {L"\\hkey_local_machine", 0},
        {L"\\HKEY_Local_Machine\\SOFTWARE", 0},
        {L" \\HKEY_LOCAL_MACHINE", 0},
        {L"\\HKLM\\SOFTWARE", 0},
        {L"\\HKEY_LOCAL_MACHIN", 0},
        {L"\\", 0},
        {L"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "path " << c.path);
        EXPECT_EQ(rootKeyFromPath(c.path), c.expected);
    }
}

}  // namespace
}  // namespace kiv
