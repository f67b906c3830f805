#include "vm/VmValidation.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "launch/VmFamilies.h"
#include "launcher/Errors.h"
#include "platform/Handle.h"
#include "platform/Text.h"
#include "platform/TextStream.h"
#include "support/TempTree.h"

namespace kiv {
namespace {

using test::TempTree;
using Properties = std::map<std::wstring, std::wstring>;
using Record = std::map<std::string, std::string>;

std::string utf8(const std::wstring& text) { return wideToUtf8(text); }

// What the stand-in VM in `folder` recorded (standin.log), one map per run.
std::vector<Record> runsRecordedIn(const std::wstring& folder) {
    std::string log;
    try {
        log = readFileBytes(folder + L"\\standin.log");
    } catch (const FileException&) {
        return {};
    }
    std::vector<Record> runs;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find("\r\n", start);
        if (end == std::string::npos) end = log.size();
        const std::string line = log.substr(start, end - start);
        start = end + 2;
        if (line == "[run]") {
            runs.emplace_back();
        } else if (!runs.empty() && line.find('=') != std::string::npos) {
            runs.back()[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        }
    }
    return runs;
}

std::wstring currentDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
    return std::wstring(buffer, length);
}

// Whether a process started from an image of this file name is running.
bool processRunning(const std::wstring& imageName) {
    const FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (toLowerAscii(entry.szExeFile) == toLowerAscii(imageName)) return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Validator run

class VmValidatorRunTest : public ::testing::Test {
protected:
    // A java-family VM whose bin\java.exe is the stand-in with this configuration.
    JavaVm& installVm(const std::wstring& folder, const std::string& config,
                      VersionNumber version = VersionNumber(8, 0, 0)) {
        tree_.copyFixture(L"standin.exe", folder + L"\\bin\\java.exe");
        tree_.writeFile(folder + L"\\bin\\standin.cfg", config);
        vms_.push_back(std::make_unique<JavaVm>());
        JavaVm& vm = *vms_.back();
        vm.setHome(tree_.path(folder));
        vm.setVersion(version);
        vm.setKind(VmKind::JRE);
        return vm;
    }

    TempTree tree_;
    std::vector<std::unique_ptr<JavaVm>> vms_;
};

TEST_F(VmValidatorRunTest, OnlyExitCodeZeroMakesTheVmValid) {
    struct Case {
        const char* config;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"exit=0\n", true},
        {"exit=1\n", false},
        {"exit=4294967295\n", false},  // -1 from the validator is no success either
        {"exit=1\nexit.arg.CHECKER=0\n", true},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config);
        JavaVm& vm = installVm(L"vm" + decimal(index++), c.config);
        EXPECT_EQ(c.valid, validatorRun(vm, L"CHECKER"));
        EXPECT_EQ(1u, runsRecordedIn(vm.home() + L"\\bin").size());
    }
}

TEST_F(VmValidatorRunTest, AVmThatCannotBeStartedIsInvalidWithoutAMessage) {
    JavaVm vm;
    vm.setHome(tree_.path(L"nowhere"));
    vm.setVersion(VersionNumber(8, 0, 0));
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const bool valid = validatorRun(vm, L"CHECKER");
    const std::string out = ::testing::internal::GetCapturedStdout();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(valid);
    EXPECT_EQ("", out);
    EXPECT_EQ("", err);
}

TEST_F(VmValidatorRunTest, RunsTheValidatorClassWithTheVmsClassPathOnly) {
    struct Case {
        VersionNumber version;
        const wchar_t* openings;  // what a module-system VM needs before the class path
    };
    const std::vector<Case> cases = {
        {VersionNumber(8, 0, 201), L""},
        {VersionNumber(11, 0, 2), L" --add-opens java.base/jdk.internal.loader=ALL-UNNAMED"},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version.major());
        JavaVm& vm = installVm(L"vm" + decimal(index++), "", c.version);
        // Everything but the class path belongs to the application's own launch.
        vm.options().classPath.add(L"C:\\app\\lib\\app.jar");
        vm.options().classPath.add(L"C:\\app\\lib\\checks.jar");
        vm.options().mainClass = L"app.Main";
        vm.options().heapMax = 64 * 1024 * 1024;
        vm.options().additionalOptions = L"-Dapp=1";
        vm.options().leadingArguments = {L"C:\\app\\MyApp.kiv", L"C:\\temp\\run.properties"};
        vm.options().applicationArguments = {L"user"};

        ASSERT_TRUE(validatorRun(vm, L"DB\\CHECK"));

        const std::vector<Record> runs = runsRecordedIn(vm.home() + L"\\bin");
        ASSERT_EQ(1u, runs.size());
        const std::wstring expected =
            L"\"" + vm.home() + L"\\bin\\java.exe\"" + c.openings +
            L" -classpath \"C:\\app\\lib\\app.jar;C:\\app\\lib\\checks.jar;\""
            L" com.vorlix.util.jvm.Validator 1 DB\\\\CHECK";
        EXPECT_EQ(utf8(expected), runs[0].at("cmdline"));
        EXPECT_EQ(utf8(currentDirectory()), runs[0].at("cwd"));
    }
}

// ---------------------------------------------------------------------------
// Verify probe

class VerifyProbeTest : public ::testing::Test {
protected:
    VerifyProbeTest() : specs_(tree_.makeFolder(L"specs")) {
        tree_.writeFile(L"specs\\Verify.jar", "");
    }
    ~VerifyProbeTest() override {
        for (const std::wstring& folder : probedFolders_) test::awaitFolderRelease(folder);
    }

    // verifyProbe, remembering the folder the child ran in so that the tree can go.
    bool probe(const std::wstring& directory, const std::wstring& vm, const Properties& expected) {
        probedFolders_.push_back(directory);
        return verifyProbe(directory, vm, expected);
    }

    // The stand-in copied to folder\name with this standin.cfg; returns its path.
    std::wstring installVm(const std::wstring& folder, const std::string& config,
                           const std::wstring& name = L"java.exe") {
        tree_.writeFile(folder + L"\\standin.cfg", config);
        return tree_.copyFixture(L"standin.exe", folder + L"\\" + name);
    }

    TempTree tree_;
    const std::wstring specs_;
    std::vector<std::wstring> probedFolders_;
};

TEST_F(VerifyProbeTest, JudgesEveryPrintedLineAfterTheHeaderInNameOrder) {
    struct Case {
        const char* label;
        const char* config;
        Properties expected;
        bool accepted;
    };
    const char* const plain = "print=Verify 1.0\nprint=Acme\nprint=1.6.0_31\n";
    const char* const crlf = "write=Verify 1.0\\r\\nAcme\\r\\n1.6.0_31\\r\\n\n";
    const std::vector<Case> cases = {
        {"every value as printed", plain,
         {{L"java.version", L"1.6.0_31"}, {L"java.vendor", L"Acme"}}, true},
        {"one value differs", plain,
         {{L"java.vendor", L"Acme"}, {L"java.version", L"1.6.0_30"}}, false},
        {"starred and dotted expectations match by prefix",
         "print=Verify\nprint=Acme Corp\nprint=1.40\n",
         {{L"java.vendor", L"Acme*"}, {L"java.version", L"1.4..."}}, true},
        {"a starred expectation with another start", plain,
         {{L"java.vendor", L"Other*"}, {L"java.version", L"*"}}, false},
        {"CR LF lines fail an exact comparison", crlf,
         {{L"java.vendor", L"Acme"}, {L"java.version", L"1.6.0_31"}}, false},
        {"CR LF lines match by prefix, and the trimmed last line exactly", crlf,
         {{L"java.vendor", L"Acme*"}, {L"java.version", L"1.6.0_31"}}, true},
        {"later names are compared with the last line", "print=Verify\nprint=same\n",
         {{L"a", L"same"}, {L"b", L"same"}, {L"c", L"same"}}, true},
        {"a header without lines", "print=Verify\n", {{L"java.vendor", L"*"}}, false},
        {"no output at all", "", {{L"java.vendor", L"*"}}, false},
        {"nothing expected after a header and a line", "print=Verify\nprint=x\n", {}, true},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::wstring vm = installVm(L"vm" + decimal(index++), c.config);
        EXPECT_EQ(c.accepted, probe(specs_, vm, c.expected));
    }
}

TEST_F(VerifyProbeTest, NamesThePropertiesInMapOrderAndRunsInTheSpecFolder) {
    const std::wstring vm = installVm(L"vm", "print=Verify\nprint=x\n");
    const Properties expected = {
        {L"os.arch", L"*"}, {L"java.version", L"*"}, {L"java.vendor", L"*"}};
    ASSERT_TRUE(probe(specs_, vm, expected));

    const std::vector<Record> runs = runsRecordedIn(tree_.path(L"vm"));
    ASSERT_EQ(1u, runs.size());
    EXPECT_EQ(utf8(L"\"" + vm + L"\" -classpath \"" + specs_ +
                   L"\\Verify.jar\" Verify java.vendor java.version os.arch"),
              runs[0].at("cmdline"));
    EXPECT_EQ(utf8(specs_), runs[0].at("cwd"));
}

TEST_F(VerifyProbeTest, LooksForTheJarBesideTheSpecsThenInTheirJvmspecsFolder) {
    struct Case {
        const char* label;
        const wchar_t* directory;          // the spec folder handed to the probe
        std::vector<const wchar_t*> jars;  // files named Verify.jar to create
        const wchar_t* jarFolder;          // a folder named Verify.jar to create, or nullptr
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"jar beside", L"a", {L"a\\Verify.jar"}, nullptr, true},
        {"jar in the jvmspecs folder below", L"b", {L"b\\jvmspecs\\Verify.jar"}, nullptr, true},
        {"no jar anywhere", L"c", {}, nullptr, false},
        {"a jvmspecs folder gets no second look", L"d\\jvmspecs",
         {L"d\\jvmspecs\\jvmspecs\\Verify.jar"}, nullptr, false},
        {"nor with a trailing backslash", L"e\\jvmspecs\\", {L"e\\jvmspecs\\jvmspecs\\Verify.jar"},
         nullptr, false},
        {"a folder named Verify.jar is no jar", L"f", {}, L"f\\Verify.jar", false},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::wstring vmFolder = L"vm" + decimal(index++);
        const std::wstring vm = installVm(vmFolder, "print=Verify\nprint=Acme\n");
        tree_.makeFolder(c.directory);
        for (const wchar_t* jar : c.jars) tree_.writeFile(jar, "");
        if (c.jarFolder) tree_.makeFolder(c.jarFolder);

        EXPECT_EQ(c.accepted, probe(tree_.path(c.directory), vm, {{L"java.vendor", L"Acme"}}));
        // Without a jar nothing is started.
        EXPECT_EQ(c.accepted ? 1u : 0u, runsRecordedIn(tree_.path(vmFolder)).size());
    }
}

TEST_F(VerifyProbeTest, JudgesOutputLongerThanOnePipeBufferWhole) {
    // More than the pipe holds: the child blocks unless the probe drains it
    // while waiting, and a reading that kept only the last 4096-byte chunk
    // would lose the header and the first value.
    const std::string longValue(6000, 'x');
    const std::string config = "print=Verify\nprint=" + longValue + "\nprint=1.6.0_31\n";
    const std::wstring vm = installVm(L"vm", config);

    const std::wstring wideLong(longValue.begin(), longValue.end());
    EXPECT_TRUE(probe(specs_, vm, {{L"a.long", wideLong}, {L"b.version", L"1.6.0_31"}}));
    EXPECT_FALSE(probe(specs_, vm, {{L"a.long", wideLong}, {L"b.version", L"1.6.0_30"}}));
    EXPECT_FALSE(probe(specs_, vm, {{L"a.long", wideLong + L"y"}, {L"b.version", L"*"}}));
}

TEST_F(VerifyProbeTest, AChildStillRunningAtTheTimeLimitIsRejectedAndTerminated) {
    const std::wstring name = L"kivsleepyvm" + decimal(GetCurrentProcessId()) + L".exe";
    const std::wstring vm = installVm(L"vm", "print=Verify\nprint=Acme\nsleep=60000\n", name);

    EXPECT_FALSE(probe(specs_, vm, {{L"java.vendor", L"Acme"}}));
    EXPECT_EQ(1u, runsRecordedIn(tree_.path(L"vm")).size());
    EXPECT_FALSE(processRunning(name));
    EXPECT_TRUE(processRunning(L"kiv_win_tests.exe"));  // the process list is readable at all
}

}  // namespace
}  // namespace kiv
