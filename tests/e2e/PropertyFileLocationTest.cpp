// Where the launcher looks for its property file, and what it hands the Java
// side through the runtime property file.
#include <gtest/gtest.h>

#include "support/LauncherApp.h"

using namespace kivtest;

namespace {

std::string kivFor(const std::string& mainClass) {
    return "kiv.nl.java.launcher.main.class=" + mainClass +
           "\nkiv.class.path=app.jar\nkiv.nl.valid.vm.list=ALL\n";
}

// The main class the stand-in was started with (the word after the class path).
std::string startedMainClass(const LauncherApp& app, const std::wstring& vmDir) {
    const std::vector<Record> records = app.records(vmDir);
    if (records.empty()) return "(not started)";
    const std::string& line = records.back().at("cmdline");
    const size_t classPath = line.find("-classpath \"");
    const size_t start = line.find("\" ", classPath + 12) + 2;
    return line.substr(start, line.find(' ', start) - start);
}

std::wstring runtimeFileOf(const LauncherApp& app, const std::wstring& vmDir) {
    const std::string line = app.lastRecord(vmDir).at("cmdline");
    const size_t start = line.find(".kiv\" \"") + 7;
    std::string path = line.substr(start, line.find('"', start) - start);
    for (char& c : path)
        if (c == '/') c = '\\';
    return widen(path);
}

}  // namespace

TEST(PropertyFileLocation, TriesTheCandidatesInOrder) {
    struct Case {
        const char* name;
        bool besideExe;       // MyApp.kiv
        bool withExeSuffix;   // MyApp.exe.kiv
        bool inStartFolder;   // <start folder>\MyApp.kiv
        const char* expected;
    };
    const Case cases[] = {
        {"all three", true, true, true, "Beside"},
        {"exe suffix and start folder", false, true, true, "Suffix"},
        {"start folder only", false, false, true, "Start"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherApp app;
        const std::wstring vm = app.installVm(L"jdk\\bin");
        if (c.besideExe) app.writeFile(L"app\\MyApp.kiv", kivFor("Beside"));
        if (c.withExeSuffix) app.writeFile(L"app\\MyApp.exe.kiv", kivFor("Suffix"));
        if (c.inStartFolder) app.writeFile(L"start\\MyApp.kiv", kivFor("Start"));
        ProgramRunOptions options;
        options.workingDirectory = app.root() + L"\\start";
        app.makeDirectory(L"start");
        const ProgramResult result = app.run(L"KIV_VM " + vm, options);
        EXPECT_EQ(result.exitCode, 0u) << result.err;
        EXPECT_EQ(startedMainClass(app, L"jdk\\bin"), c.expected);
    }
}

TEST(PropertyFileLocation, ALauncherNotEndingInExeSkipsTheFirstCandidateAndIsNeverAnInstaller) {
    LauncherApp app(L"MyApp", L"MyApp.bin");
    const std::wstring vm = app.installVm(L"jdk\\bin");
    app.writeFile(L"app\\MyApp.kiv", kivFor("Beside"));
    app.writeFile(L"app\\MyApp.bin.kiv", kivFor("Appended"));
    app.writeFile(L"app\\jvmspecs\\jvmspecs.properties", "build.option=withvm\nbuild.with.vm.search.option=21\n");
    ProgramRunOptions options;
    options.applicationName = app.exePath();
    const ProgramResult result = app.run(L"KIV_VM " + vm, options);
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    EXPECT_EQ(startedMainClass(app, L"jdk\\bin"), "Appended");
}

TEST(PropertyFileLocation, ALauncherStartedByNameFromItsFolderFindsItself) {
    LauncherApp app;
    const std::wstring vm = app.installVm(L"jdk\\bin");
    app.writeKiv(kivFor("ByName"));
    ProgramRunOptions options;
    options.applicationName = app.exePath();
    options.workingDirectory = app.appDir();
    const ProgramResult result = runProgram(L"MyApp KIV_VM " + vm, options);
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    EXPECT_EQ(startedMainClass(app, L"jdk\\bin"), "ByName");
}

TEST(PropertyFileLocation, AProgramPathThatCannotBeFoundIsReported) {
    LauncherApp app;
    app.writeKiv(kivFor("Main"));
    ProgramRunOptions options;
    options.applicationName = app.exePath();
    options.environment = {L"PATH=C:\\nowhere"};
    const ProgramResult result = runProgram(L"NoSuchLauncher", options);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.err, "Halvorn Error: unable to locate executable\n");
}

TEST(RuntimePropertyFile, ReceivesTheEnvironmentLinesAndThenTheChosenVm) {
    LauncherApp app;
    const std::wstring vm = app.installVm(L"jdk\\bin");
    app.writeKiv(kivFor("Main"));
    ProgramRunOptions options;
    options.environment = {L"KIVTEST_BASE=C:\\base", L"KIVTEST_Dir=%KIVTEST_BASE%\\x"};
    const ProgramResult result = app.run(L"KIV_VM " + vm, options);
    ASSERT_EQ(result.exitCode, 0u) << result.err;

    const std::string text = readBytes(runtimeFileOf(app, L"jdk\\bin"));
    EXPECT_NE(text.find("kiv.nl.env.kivtest_dir=C:\\\\base\\\\x\r\n"
                        "kiv.nl.env.KIVTEST_DIR=C:\\\\base\\\\x\r\n"
                        "kiv.nl.env.exact_case.KIVTEST_Dir=C:\\\\base\\\\x\r\n"),
              std::string::npos)
        << text;
    std::string escapedVm;
    for (char c : narrow(vm)) escapedVm += c == '\\' ? std::string("\\\\") : std::string(1, c);
    const std::string last = "kiv.nl.current.vm=" + escapedVm + "\r\n";
    ASSERT_GE(text.size(), last.size());
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

TEST(WorkingDirectory, FollowsKivUserDirOrTheStartFolder) {
    struct Case {
        const char* name;
        std::string userDir;  // "" means absent
        std::wstring expected;  // relative to the root
    };
    const Case cases[] = {
        {"relative to the property file", "work", L"app\\work"},
        {"absent: the start folder", "", L"start"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherApp app;
        const std::wstring vm = app.installVm(L"jdk\\bin");
        app.makeDirectory(L"app\\work");
        app.makeDirectory(L"start");
        app.writeKiv(kivFor("Main") + (c.userDir.empty() ? "" : "kiv.user.dir=" + c.userDir + "\n"));
        ProgramRunOptions options;
        options.workingDirectory = app.root() + L"\\start";
        const ProgramResult result = app.run(L"KIV_VM " + vm, options);
        ASSERT_EQ(result.exitCode, 0u) << result.err;
        EXPECT_EQ(app.lastRecord(L"jdk\\bin").at("cwd"), narrow(app.root() + L"\\" + c.expected));
    }
}

TEST(WorkingDirectory, AnAbsoluteKivUserDirIsUsedAsItIs) {
    LauncherApp app;
    const std::wstring vm = app.installVm(L"jdk\\bin");
    app.makeDirectory(L"elsewhere");
    // Forward slashes: a backslash before "u" would start a \u escape in a property file.
    std::string root = narrow(app.root());
    for (char& c : root)
        if (c == '\\') c = '/';
    app.writeKiv(kivFor("Main") + "kiv.user.dir=" + root + "/elsewhere\n");
    const ProgramResult result = app.run(L"KIV_VM " + vm);
    ASSERT_EQ(result.exitCode, 0u) << result.err;
    EXPECT_EQ(app.lastRecord(L"jdk\\bin").at("cwd"), narrow(app.root() + L"\\elsewhere"));
}
