#include "launcher/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kiv {
namespace {

using Words = std::vector<std::wstring>;

struct ParseCase {
    const char* name;
    std::wstring commandLine;
    Words arguments;
    bool serviceMode;
    std::wstring serviceName;
};

TEST(CommandLineTest, ParsesEveryShapeOfCommandLine) {
    const std::vector<ParseCase> cases = {
        {"quoted program name keeps its blanks and loses its quotes",
         LR"("D:\Program Files\App\App.exe" arg1)",
         {LR"(D:\Program Files\App\App.exe)", L"arg1"}, false, L""},
        {"text glued to the closing quote of the program name is the next word",
         LR"("D:\a b\App.exe"x y)", {LR"(D:\a b\App.exe)", L"x", L"y"}, false, L""},
        {"program name with an opening quote only joins up to the last word",
         LR"("D:\a b\App.exe x)", {LR"(D:\a b\App.exe x)"}, false, L""},
        {"quoted words join into one argument",
         LR"(App.exe "a b" c)", {L"App.exe", L"a b", L"c"}, false, L""},
        {"a single quoted word loses its quotes", LR"(App.exe "a")", {L"App.exe", L"a"}, false,
         L""},
        {"an empty quoted word is an empty argument", LR"(App.exe "" x)",
         {L"App.exe", L"", L"x"}, false, L""},
        {"runs of blanks inside quotes become one blank", LR"(App.exe "a    b")",
         {L"App.exe", L"a b"}, false, L""},
        {"a lone quote opens a quoted run", LR"(App.exe " a b" c)",
         {L"App.exe", L" a b", L"c"}, false, L""},
        {"quoted wildcard keeps both quotes", LR"(App.exe "*.txt")",
         {L"App.exe", LR"("*.txt")"}, false, L""},
        {"an asterisk only protects the word that holds it", LR"(App.exe "a *.txt")",
         {L"App.exe", L"a *.txt"}, false, L""},
        {"unquoted wildcard is an ordinary word", LR"(App.exe *.txt)",
         {L"App.exe", L"*.txt"}, false, L""},
        {"unbalanced quote joins up to the last word", LR"(App.exe x "a b c)",
         {L"App.exe", L"x", L"a b c"}, false, L""},
        {"a quote inside a word is ordinary text", LR"(App.exe a"b c"d)",
         {L"App.exe", LR"(a"b)", LR"(c"d)"}, false, L""},
        {"service switch with a name leaves the list", L"App.exe -ydkivservice MySvc x",
         {L"App.exe", L"x"}, true, L"MySvc"},
        {"service switch as the last word is dropped", L"App.exe -ydkivservice",
         {L"App.exe"}, false, L""},
        {"service switch is matched case-sensitively", L"App.exe -YDKIVSERVICE MySvc",
         {L"App.exe", L"-YDKIVSERVICE", L"MySvc"}, false, L""},
        {"a quoted service name is cut at its blank",
         LR"(App.exe -ydkivservice "My Svc" x)", {L"App.exe", LR"(Svc")", L"x"}, true,
         LR"("My)"},
        {"-i protects the service switch", L"App.exe -i -ydkivservice MySvc",
         {L"App.exe", L"-i", L"-ydkivservice", L"MySvc"}, false, L""},
        {"-i as the last word stays", L"App.exe -i", {L"App.exe", L"-i"}, false, L""},
        {"the word after -i still joins quotes", LR"(App.exe -i "a b")",
         {L"App.exe", L"-i", L"a b"}, false, L""},
        {"tabs are not separators", L"App.exe a\tb", {L"App.exe", L"a\tb"}, false, L""},
        {"runs of blanks and outer blanks give no empty words", L"  App.exe   a    b  ",
         {L"App.exe", L"a", L"b"}, false, L""},
        {"empty command line has no arguments", L"", {}, false, L""},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ParsedCommandLine parsed = parseCommandLine(c.commandLine);
        EXPECT_EQ(parsed.arguments, c.arguments);
        EXPECT_EQ(parsed.serviceMode, c.serviceMode);
        EXPECT_EQ(parsed.serviceName, c.serviceName);
    }
}

TEST(CommandLineTest, PathCompletionSkipsSwitchesAndEmptyArguments) {
    EXPECT_TRUE(isPathCompletionCandidate(LR"(D:\jdk\bin\java.exe)"));
    EXPECT_TRUE(isPathCompletionCandidate(L"App.exe"));
    EXPECT_FALSE(isPathCompletionCandidate(L"/usr/bin"));
    EXPECT_FALSE(isPathCompletionCandidate(L"/x"));
    EXPECT_FALSE(isPathCompletionCandidate(L""));
}

TEST(CommandLineTest, ArgumentAfterFindsTheWordFollowingTheFirstMatch) {
    struct Case {
        const char* name;
        Words arguments;
        std::wstring expected;
    };
    const std::vector<Case> cases = {
        {"path after KIV_VM", {L"App.exe", L"KIV_VM", LR"(D:\jdk\bin\java.exe)"},
         LR"(D:\jdk\bin\java.exe)"},
        {"KIV_VM as the last argument", {L"App.exe", L"KIV_VM"}, L""},
        {"no KIV_VM", {L"App.exe", L"x"}, L""},
        {"matched case-sensitively", {L"App.exe", L"kiv_vm", L"x"}, L""},
        {"first occurrence wins", {L"App.exe", L"KIV_VM", L"a", L"KIV_VM", L"b"}, L"a"},
        {"no arguments at all", {}, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(argumentAfter(c.arguments, L"KIV_VM"), c.expected);
    }
}

TEST(CommandLineTest, LastArgumentDecidesSilence) {
    struct Case {
        const char* name;
        Words arguments;
        bool propertyFileValue;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"silent then another argument", {L"silent", L"x"}, true, false},
        {"another argument then silent", {L"x", L"silent"}, false, true},
        {"upper case counts", {L"SILENT"}, false, true},
        {"mixed case counts", {L"SiLeNt"}, false, true},
        {"a longer word does not count", {L"silently"}, true, false},
        {"no arguments keep a silent property file", {}, true, true},
        {"no arguments keep a non-silent property file", {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(silentFromArguments(c.arguments, c.propertyFileValue), c.expected);
    }
}

}  // namespace
}  // namespace kiv
