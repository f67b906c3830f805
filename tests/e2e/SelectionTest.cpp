// Which VM the launcher starts: a named one, or the best of the VMs that the
// registry lists. Each stand-in VM ends with its own exit code, so the
// launcher's exit code tells which one ran.
//
// These runs use the 64-bit test build, which is no WOW64 process: every VM it
// finds counts as 32-bit. What WOW64 changes (the 64-bit registry view, 64-bit
// VMs and the order of the bitness groups) is covered by the inventory and
// selector tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/LauncherApp.h"
#include "support/ScopedRegistryValues.h"

using namespace kivtest;

namespace {

const char kNoVmFound[] =
    "Halvorn Error: Could not find a valid Java virtual machine to load.\n\nYou may need to "
    "reinstall a supported Java virtual machine.\n";

std::wstring forwardSlashes(std::wstring path) {
    for (wchar_t& c : path)
        if (c == L'\\') c = L'/';
    return path;
}

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Registered in the registry; exit codes 16, 18 and 111.
        registerVm(L"JDK", L"1.6.0_13", L"vms\\jdk16", "exit=16\nexit.arg.GOOD=0\n");
        registerVm(L"JRE", L"1.8.0_77", L"vms\\jre18", "exit=18\n");
        registerVm(L"JDK", L"11.0.9", L"vms\\jdk11", "exit=111\nexit.arg.GOOD=1\n");
        // Not registered: only reached by name.
        named_ = app_.installVm(L"vms\\named\\bin", "exit=4\n");
    }

    // HKLM\SOFTWARE\JavaSoft\<key>\<version> in the default view of this
    // process, which is the one the launcher under test reads.
    void registerVm(const std::wstring& key, const std::wstring& version,
                    const std::wstring& home, const std::string& config) {
        app_.installVm(home + L"\\bin", config);
        const std::wstring path = L"SOFTWARE\\JavaSoft\\" + key + L"\\" + version;
        registry_.setString(path, L"JavaHome", app_.root() + L"\\" + home);
        registry_.setString(path, L"MicroVersion", L"0");
    }

    ProgramResult run(const std::string& kivExtra, const std::wstring& arguments = L"") {
        app_.writeKiv(
            "kiv.nl.java.launcher.main.class=com.example.Main\n"
            "kiv.class.path=lib\\app.jar\n" +
            kivExtra);
        ProgramRunOptions options;
        options.environment = {L"PATH=C:\\windows\\system32", L"JAVA_HOME="};
        return app_.run(arguments, options);
    }

    LauncherApp app_;
    kiv::test::ScopedRegistryValues registry_;  // removes exactly the keys made here
    std::wstring named_;
};

TEST_F(SelectionTest, WithoutANamedVmTheListPicksTheNewestAdmittedRegisteredVm) {
    struct Case {
        const char* list;
        const char* platform;  // kiv.nl.win32.java.launcher.platform; nullptr: not set
        DWORD exitCode;        // of the VM that ran; 1 when none was found
    };
    const std::vector<Case> cases = {
        {"ALL", nullptr, 111},
        {"JRE_J2", nullptr, 18},
        {"JRE_J2 JDK_J2", nullptr, 111},
        {"JDK_1.6*", nullptr, 16},
        {"JDK_1.6 JRE_1.8", nullptr, 18},
        {"ALL", "0", 111},
        {"ALL", "3", 111},
        {"ALL", "2", 1},  // 64-bit only: nothing found here counts as 64-bit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " platform " + (c.platform ? c.platform : "(default)"));
        std::string kiv = std::string("kiv.nl.valid.vm.list=") + c.list + "\n";
        if (c.platform)
            kiv += std::string("kiv.nl.win32.java.launcher.platform=") + c.platform + "\n";
        const ProgramResult result = run(kiv);
        EXPECT_EQ(c.exitCode, result.exitCode) << result.err;
        if (c.exitCode == 1) {
            EXPECT_EQ(kNoVmFound, result.err);
        }
    }
}

TEST_F(SelectionTest, TheValidatorRunsOnEveryRegisteredVmWithTheApplicationsClassPath) {
    const ProgramResult result = run("kiv.nl.valid.vm.list=GOOD\n");
    EXPECT_EQ(16u, result.exitCode) << result.err;
    for (const wchar_t* home : {L"vms\\jdk16\\bin", L"vms\\jre18\\bin", L"vms\\jdk11\\bin"}) {
        SCOPED_TRACE(narrow(home));
        const std::vector<Record> records = app_.records(home);
        ASSERT_FALSE(records.empty());
        const std::string& commandLine = records[0].at("cmdline");
        EXPECT_NE(std::string::npos, commandLine.find("app.jar"));
        EXPECT_NE(std::string::npos, commandLine.find("com.vorlix.util.jvm.Validator 1 GOOD"))
            << commandLine;
    }
    // The chosen VM also ran the application.
    EXPECT_EQ(2u, app_.records(L"vms\\jdk16\\bin").size());
}

TEST_F(SelectionTest, ANamedVmIsTakenAsItIsAndAMissingOneFallsBackToTheList) {
    const std::wstring folder = app_.root() + L"\\vms\\named\\bin";
    struct Case {
        const char* name;
        std::wstring currentVm;  // kiv.nl.current.vm; empty: not set
        std::wstring arguments;
        DWORD exitCode;
    };
    const std::vector<Case> cases = {
        // Forward slashes: "\u" in a property value is an escape.
        {"absolute current VM", forwardSlashes(named_), L"", 4},
        {"current VM relative to the property file", L"..\\vms\\named\\bin\\java.exe", L"", 4},
        {"missing current VM", L"..\\vms\\gone\\bin\\java.exe", L"", 111},
        {"current VM naming a folder", L"..\\vms\\named\\bin", L"", 111},
        {"KIV_VM naming a folder", L"", L"KIV_VM \"" + folder + L"\"", 111},
        // The folder is still what is named: the current VM is not looked at.
        {"KIV_VM naming a folder beside a current VM", forwardSlashes(named_),
         L"KIV_VM \"" + folder + L"\"", 111},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string kiv = "kiv.nl.valid.vm.list=ALL\n";
        if (!c.currentVm.empty()) kiv += "kiv.nl.current.vm=" + narrow(c.currentVm) + "\n";
        const ProgramResult result = run(kiv, c.arguments);
        EXPECT_EQ(c.exitCode, result.exitCode) << result.err;
    }
}

TEST_F(SelectionTest, AnEmptyListFindsNothingWhenTheNamedVmIsMissing) {
    const ProgramResult result =
        run("kiv.nl.valid.vm.list=\nkiv.nl.current.vm=..\\vms\\gone\\bin\\java.exe\n");
    EXPECT_EQ(1u, result.exitCode);
    EXPECT_EQ(kNoVmFound, result.err);
}

}  // namespace
