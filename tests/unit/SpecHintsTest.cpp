#include "vm/SpecHints.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kiv {
namespace {

TEST(SpecHintsTest, RegistryHintSplitsIntoRootKeyAndValue) {
    struct Case {
        const wchar_t* hint;
        const wchar_t* root;
        const wchar_t* key;
        const wchar_t* value;
    };
    const Case cases[] = {
        {L"\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Acme\\Java\\Home", L"\\HKEY_LOCAL_MACHINE",
         L"SOFTWARE\\Acme\\Java", L"Home"},
        {L"\\HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6\\JavaHome",
         L"\\HKEY_LOCAL_MACHINE", L"SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6",
         L"JavaHome"},
        {L"\\HKEY_CURRENT_USER\\ Software \\Acme \\ Java Home ", L"\\HKEY_CURRENT_USER",
         L"Software \\Acme", L"Java Home"},
        {L"\\HKEY_USERSX\\S\\K\\V", L"\\HKEY_USERS", L"S\\K", L"V"},  // plain prefix test
        {L"\\HKEY_PERFORMANCE_NLSTEXT\\K\\V", L"\\HKEY_PERFORMANCE_NLSTEXT", L"K", L"V"},
        {L"\\HKEY_DYN_DATA\\K\\V", L"\\HKEY_DYN_DATA", L"K", L"V"},
        // Unknown roots still split; the opens below no root then fail.
        {L"\\hkey_local_machine\\SOFTWARE\\K\\V", L"", L"SOFTWARE\\K", L"V"},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\K\\V", L"", L"K", L"V"},
        {L"\\HKEY_LOCAL_MACHINE\\\\V", L"\\HKEY_LOCAL_MACHINE", L"", L"V"},
        // Too few backslashes for root, key and value: malformed, no root.
        {L"\\HKEY_LOCAL_MACHINE\\Home", L"", L"", L""},
        {L"\\HKEY_LOCAL_MACHINE", L"", L"", L""},
        {L"Home", L"", L"", L""},
        {L"", L"", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "hint " << c.hint);
        const RegistryHint hint = parseRegistryHint(c.hint);
        EXPECT_EQ(hint.rootName, c.root);
        EXPECT_EQ(hint.keyPath, c.key);
        EXPECT_EQ(hint.valueName, c.value);
    }
}

TEST(SpecHintsTest, RegistryCandidateEndsTheHomeAtItsFirstNul) {
    EXPECT_EQ(registryHintCandidate(L"C:\\AcmeJava", L"bin\\java.exe"),
              L"C:\\AcmeJava\\bin\\java.exe");
    EXPECT_EQ(registryHintCandidate(std::wstring(L"C:\\J\0garbage", 12), L"bin\\java.exe"),
              L"C:\\J\\bin\\java.exe");
}

TEST(SpecHintsTest, DotPairsDecideBetweenInstallerAndDrives) {
    EXPECT_EQ(hintDotPairs(L"Java\\jre"), 0);
    EXPECT_EQ(hintDotPairs(L"jre1.6"), 0);
    EXPECT_EQ(hintDotPairs(L"..\\jre"), 1);
    EXPECT_EQ(hintDotPairs(L"Program Files\\Java\\jre1.6.0"), 1);
    EXPECT_EQ(hintDotPairs(L"..\\..\\jre"), 2);
    EXPECT_EQ(hintDotPairs(L"...\\jre"), 1);
}

TEST(SpecHintsTest, RelativeHintCutsTheInstallerPath) {
    struct Case {
        const wchar_t* installer;
        const wchar_t* hint;
        std::optional<std::wstring> candidate;
    };
    const std::wstring exe = L"\\bin\\java.exe";
    const Case cases[] = {
        {L"C:\\Temp\\Setup\\install.exe", L"..\\jre", L"C:\\Temp\\jre" + exe},
        {L"C:\\Temp\\Setup\\install.exe\r\n", L"..\\jre", L"C:\\Temp\\jre" + exe},
        {L"\xFEFF"
         L"C:\\Temp\\Setup\\install.exe",
         L"..\\jre", L"C:\\Temp\\jre" + exe},
        {L"C:\\A\\B\\C\\install.exe", L"..\\..\\jre", L"C:\\A\\jre" + exe},
        {L"C:\\Temp\\Setup\\install.exe", L"Program Files\\Java\\jre1.6.0",
         L"C:\\Temp\\jre1.6.0" + exe},
        {L"C:\\Temp\\Setup\\install.exe", L"jre1.6.0", L"C:\\Temp\\jre1.6.0" + exe},
        // Only the last cut finds no backslash: it leaves the path as it is.
        {L"Setup\\install.exe", L"..\\jre", L"Setup\\jre" + exe},
        // The path runs out before the last cut: no candidate.
        {L"install.exe", L"..\\jre", std::nullopt},
        {L"Setup\\install.exe", L"..\\..\\jre", std::nullopt},
        {L"", L"..\\jre", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "installer " << testing::PrintToString(std::wstring(c.installer))
                     << ", hint " << c.hint);
        EXPECT_EQ(relativeHintCandidate(c.installer, c.hint, L"bin\\java.exe"), c.candidate);
    }
}

TEST(SpecHintsTest, DriveHintSitsBelowTheDriveRoot) {
    EXPECT_EQ(driveHintCandidate(L'D', L"Java\\jre", L"bin\\java.exe"),
              L"D:\\Java\\jre\\bin\\java.exe");
}

}  // namespace
}  // namespace kiv
