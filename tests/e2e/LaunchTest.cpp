// The launcher started as a user starts it, with a stand-in VM recording what
// it was given.
#include <gtest/gtest.h>

#include "support/LauncherApp.h"

using namespace kivtest;

namespace {

const char kMinimalKiv[] =
    "kiv.nl.java.launcher.main.class=com.example.Main\n"
    "kiv.class.path=lib\\app.jar\n"
    "kiv.nl.valid.vm.list=ALL\n";

std::string forwardSlashes(std::wstring path) {
    for (wchar_t& c : path)
        if (c == L'\\') c = L'/';
    return narrow(path);
}

std::string doubledBackslashes(const std::wstring& path) {
    std::string out;
    for (char c : narrow(path)) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

// The runtime property file is the second leading argument of the Java side.
std::wstring runtimeFileFrom(const std::string& commandLine) {
    const size_t kiv = commandLine.find(".kiv\" \"");
    const size_t start = kiv + 7;
    std::string path = commandLine.substr(start, commandLine.find('"', start) - start);
    for (char& c : path)
        if (c == '/') c = '\\';
    return widen(path);
}

}  // namespace

TEST(LaunchWithNamedVm, StartsTheVmWithTheJavaCommandLineAndEndsWithItsExitCode) {
    LauncherApp app;
    app.writeKiv(kMinimalKiv);
    app.writeFile(L"app\\lib\\app.jar", "");
    const std::wstring vm = app.installVm(L"jdk\\bin", "exit=3\n");

    const ProgramResult result = app.run(L"KIV_VM " + vm + L" x");

    EXPECT_EQ(result.exitCode, 3u) << result.err;
    const std::vector<Record> records = app.records(L"jdk\\bin");
    ASSERT_EQ(records.size(), 1u);
    const std::string expected = "\"" + narrow(vm) + "\" -classpath \"" + narrow(app.appDir()) +
                                 "\\lib\\app.jar;\" com.example.Main \"" +
                                 forwardSlashes(app.appDir() + L"\\MyApp.kiv") + "\" \"" +
                                 forwardSlashes(runtimeFileFrom(records[0].at("cmdline"))) +
                                 "\" KIV_VM " + doubledBackslashes(vm) + " x";
    EXPECT_EQ(records[0].at("cmdline"), expected);
}

TEST(LaunchWithNamedVm, PassesEveryBitOfTheExitCode) {
    LauncherApp app;
    app.writeKiv(kMinimalKiv);
    const std::wstring vm = app.installVm(L"jre\\bin", "exit=3221225477\n");
    EXPECT_EQ(app.run(L"KIV_VM " + vm).exitCode, 3221225477u);
}

TEST(LaunchFailures, ReportOneLineOnStandardErrorAndEndWithOne) {
    struct Case {
        const char* name;
        const char* kiv;  // nullptr: no property file at all
        std::string line;
    };
    const Case cases[] = {
        {"no property file", nullptr, "Halvorn Error: The Halvorn properties file is missing\n"},
        {"no main class", "kiv.class.path=a.jar\nkiv.nl.valid.vm.list=ALL\n",
         "Halvorn Error: The Brindlemoor properties file contains invalid information\n"},
        {"no VM key", "kiv.nl.java.launcher.main.class=M\nkiv.class.path=a.jar\n",
         "Halvorn Error: The Brindlemoor properties file contains invalid information\n"},
        {"no VM found", kMinimalKiv,
         "Halvorn Error: Could not find a valid Java virtual machine to load.\n\nYou may need to "
         "reinstall a supported Java virtual machine.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherApp app;
        if (c.kiv) app.writeKiv(c.kiv);
        ProgramRunOptions options;
        options.environment = {L"PATH=C:\\windows\\system32", L"JAVA_HOME="};
        const ProgramResult result = app.run(L"", options);
        EXPECT_EQ(result.exitCode, 1u);
        EXPECT_EQ(result.err, c.line);
    }
}

TEST(LaunchFailures, AVmThatCannotBeStartedIsReportedWithTheSystemsError) {
    LauncherApp app;
    app.writeKiv(kMinimalKiv);
    const std::wstring vm = app.writeFile(L"broken\\bin\\java.exe", "not a program\r\n");
    const ProgramResult result = app.run(L"KIV_VM " + vm);
    EXPECT_EQ(result.exitCode, 1u);
    const std::string prefix = "Halvorn Error: Windows error ";
    const std::string suffix = " occured while loading the Java VM\n";
    ASSERT_GT(result.err.size(), prefix.size() + suffix.size()) << result.err;
    EXPECT_EQ(result.err.substr(0, prefix.size()), prefix);
    EXPECT_EQ(result.err.substr(result.err.size() - suffix.size()), suffix);
    const std::string code = result.err.substr(prefix.size(), result.err.size() - prefix.size() - suffix.size());
    EXPECT_EQ(code.find_first_not_of("0123456789"), std::string::npos) << result.err;
}

TEST(ConsolePause, WaitsForEnterAfterTheJavaProgramWhenAsked) {
    for (const char* value : {"yes", "no"}) {
        SCOPED_TRACE(value);
        LauncherApp app;
        app.writeKiv(std::string(kMinimalKiv) + "kiv.win32.console.pause=" + value + "\n");
        const std::wstring vm = app.installVm(L"jre\\bin", "print=from java\nexit=3\n");
        ProgramRunOptions options;
        options.input = "\n";
        const ProgramResult result = app.run(L"KIV_VM " + vm, options);
        EXPECT_EQ(result.exitCode, 3u) << result.err;
        EXPECT_EQ(withLf(result.out), std::string("from java\n") +
                                  (std::string(value) == "yes" ? "[press enter to close this window]\n" : ""));
    }
}
