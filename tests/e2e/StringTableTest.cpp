// The string table of console.exe, read as the system's resource loader reads it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/LauncherApp.h"

using namespace kivtest;

namespace {

std::wstring loadString(HMODULE module, UINT id) {
    wchar_t buffer[256] = {};
    const int length = LoadStringW(module, id, buffer, 256);
    return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

bool runningInFrench() {
    const char* locale = std::getenv("KIV_TEST_LOCALE");
    return locale != nullptr && std::string(locale).rfind("fr", 0) == 0;
}

}  // namespace

TEST(StringResources, EveryIdAnswersInEnglish) {
    if (runningInFrench()) GTEST_SKIP() << "English texts are checked without a French locale";
    HMODULE console = LoadLibraryExW((buildBinDirectory() + L"\\console.exe").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(console, nullptr);
    for (UINT id : {101u, 102u, 103u, 104u, 105u, 106u, 109u, 110u, 111u, 112u, 113u, 114u, 115u, 116u, 117u})
        EXPECT_FALSE(loadString(console, id).empty()) << id;
    EXPECT_TRUE(loadString(console, 107).empty());
    EXPECT_TRUE(loadString(console, 108).empty());
    EXPECT_EQ(loadString(console, 101),
              L"Could not find a valid Java virtual machine to load.\n\nYou may need to reinstall a "
              L"supported Java virtual machine.");
    EXPECT_EQ(loadString(console, 103), L"Windows error %d occured while loading the Java VM");
    EXPECT_EQ(loadString(console, 110), L"Halvorn Error");
    FreeLibrary(console);
}

// Registered with a French locale for Wine (see the test's CTest properties).
TEST(FrenchMessages, TheFailureLineComesInTheUsersLanguage) {
    if (!runningInFrench()) GTEST_SKIP() << "needs KIV_TEST_LOCALE=fr_FR.UTF-8";
    LauncherApp app;
    const ProgramResult result = app.run();
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(widen(result.err), L"Erreur Halvorn: Le fichier de propriétés Halvorn est introuvable\n");
}
