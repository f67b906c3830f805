#include "vm/SpecVmSearch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "launch/VmFamilies.h"
#include "launcher/Errors.h"
#include "launcher/LaunchContext.h"
#include "launcher/Launcher.h"
#include "platform/Handle.h"
#include "platform/Text.h"
#include "support/RegistryFixture.h"
#include "support/TempTree.h"
#include "vm/JvmSpec.h"
#include "vm/SpecHints.h"

namespace kiv {
namespace {

using test::TempTree;

const std::wstring kBase = L"SOFTWARE\\KivTests\\SpecVmSearch";
const std::wstring kHintRoot = L"\\HKEY_LOCAL_MACHINE\\";

std::string utf8(const std::wstring& text) { return wideToUtf8(text); }

std::vector<std::wstring> homesOf(const SpecVmList& list) {
    std::vector<std::wstring> homes;
    for (const auto& vm : list) homes.push_back(vm->home());
    return homes;
}

// A drive query for searches that must not look at drives.
DriveQuery drivesNeverAsked() {
    DriveQuery query;
    query.logicalDrives = [] {
        ADD_FAILURE() << "the drives were asked for";
        return uint32_t{0};
    };
    query.driveType = [](const std::wstring&) { return uint32_t{DRIVE_FIXED}; };
    return query;
}

// Drives by letter with the type each reports.
DriveQuery drivesOf(const std::vector<std::pair<wchar_t, uint32_t>>& drives) {
    DriveQuery query;
    query.logicalDrives = [drives] {
        uint32_t mask = 0;
        for (const auto& drive : drives) mask |= uint32_t{1} << (drive.first - L'A');
        return mask;
    };
    query.driveType = [drives](const std::wstring& root) {
        for (const auto& drive : drives)
            if (root == std::wstring(1, drive.first) + L":\\") return drive.second;
        return uint32_t{DRIVE_NO_ROOT_DIR};
    };
    return query;
}

// Sets a value of any type in the 64-bit view, creating the key.
void setRawValue(const std::wstring& path, const std::wstring& name, DWORD type,
                 const std::wstring& text, bool withTerminator) {
    RegistryHandle key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, key.put(),
                                             nullptr));
    const size_t units = text.size() + (withTerminator ? 1 : 0);
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key.get(), name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(units * sizeof(wchar_t))));
}

// A temporary tree with a jvmspecs-like folder holding Verify.jar, VMs whose
// stand-in answers the probe with a vendor, and the options of the run.
class SpecVmSearchTest : public ::testing::Test {
protected:
    SpecVmSearchTest() {
        tree_.writeFile(L"specs\\Verify.jar", "");
        specPath_ = tree_.path(L"specs\\acme.jvmspec");
        spec_.readText({L"JVM_EXE: bin\\java.exe", L"JVM_PROPERTIES", L"java.vendor=Acme", L"/:"});
        options_.workingDirectory = tree_.makeFolder(L"setup\\app");
        options_.mainClass = L"app.Main";
    }
    ~SpecVmSearchTest() override { test::awaitFolderRelease(tree_.path(L"specs")); }

    // home\bin\java.exe answering the probe with `vendor`; returns the home.
    std::wstring installVm(const std::wstring& home, const std::string& vendor = "Acme",
                           const std::wstring& fixture = L"standin.exe") {
        tree_.copyFixture(fixture, home + L"\\bin\\java.exe");
        tree_.writeFile(home + L"\\bin\\standin.cfg", "print=Verify\nprint=" + vendor + "\n");
        return tree_.path(home);
    }

    void writeInstallerLocation(const std::string& text) {
        tree_.writeFile(L"setup\\sea_loc", text);
    }

    std::string withRoot(std::string text) const {
        const size_t at = text.find("ROOT");
        if (at != std::string::npos) text.replace(at, 4, utf8(tree_.root()));
        return text;
    }

    void searchRegistry(const std::vector<std::wstring>& hints) {
        searchRegistryHints(options_, list32_, list64_, spec_, hints, specPath_);
    }

    void searchPaths(const std::vector<std::wstring>& hints, const DriveQuery& drives) {
        searchPathHints(options_, list32_, list64_, spec_, hints, specPath_, drives);
    }

    void clearLists() {
        list32_.clear();
        list64_.clear();
    }

    TempTree tree_;
    ScopedRegistryTree registry_{{kBase}};
    std::wstring specPath_;
    JvmSpec spec_;
    LaunchOptions options_;
    SpecVmList list32_;
    SpecVmList list64_;
};

TEST_F(SpecVmSearchTest, RegistryHintAsksThe64BitViewFirst) {
    struct Case {
        const char* label;
        const wchar_t* home64;  // value in the 64-bit view, nullptr for no key
        const wchar_t* home32;
        const wchar_t* found;  // nullptr: nothing found
    };
    const std::vector<Case> cases = {
        {"only the 64-bit view", L"vm64", nullptr, L"vm64"},
        {"only the 32-bit view", nullptr, L"vm32", L"vm32"},
        {"both views", L"vm64", L"vm32", L"vm64"},
        {"neither view", nullptr, nullptr, nullptr},
    };
    installVm(L"vm64");
    installVm(L"vm32");
    const std::wstring key = kBase + L"\\Java";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        deleteRegistryTree(kBase);
        clearLists();
        if (c.home64) {
            ASSERT_TRUE(
                createRegistryKey(RegistryView::Bits64, key, {{L"Home", tree_.path(c.home64)}}));
        }
        if (c.home32) {
            ASSERT_TRUE(
                createRegistryKey(RegistryView::Bits32, key, {{L"Home", tree_.path(c.home32)}}));
        }

        searchRegistry({kHintRoot + key + L"\\Home"});

        const std::vector<std::wstring> expected =
            c.found ? std::vector<std::wstring>{tree_.path(c.found)} : std::vector<std::wstring>{};
        EXPECT_EQ(expected, homesOf(list32_));
        EXPECT_TRUE(list64_.empty());
    }
}

TEST_F(SpecVmSearchTest, RegistryHintsKeepFileOrderAndOnlyVerifiedExecutables) {
    const std::wstring first = installVm(L"first", "Acme", L"standin_sun8.exe");
    const std::wstring second = installVm(L"second");
    const std::wstring other = installVm(L"other", "Other Vendor");
    tree_.makeFolder(L"homeless");
    ASSERT_TRUE(createRegistryKey(
        RegistryView::Bits64, kBase + L"\\A",
        {{L"Home", first}, {L"Other", other}, {L"Empty", tree_.path(L"homeless")}}));
    // The value's type is not looked at, and a value without a terminator still ends.
    setRawValue(kBase + L"\\B", L"Home", REG_BINARY, second, false);

    searchRegistry({
        kHintRoot + kBase + L"\\B\\Home",
        L"\\HKEY_NOWHERE\\" + kBase + L"\\A\\Home",  // no such root
        kHintRoot + kBase + L"\\Missing\\Home",      // no such key
        kHintRoot + kBase + L"\\A\\Absent",          // no such value
        kHintRoot + kBase + L"\\A\\Other",           // fails the probe
        kHintRoot + kBase + L"\\A\\Empty",           // no java.exe in that home
        kHintRoot + L" " + kBase + L"\\A \\ Home ",  // blanks around the parts are trimmed
    });

    EXPECT_EQ((std::vector<std::wstring>{second, first}), homesOf(list32_));
    EXPECT_TRUE(list64_.empty());
    ASSERT_EQ(2u, list32_.size());
    const InstalledVm& found = *list32_[1];
    EXPECT_EQ(VmFamily::Java, found.family());
    EXPECT_EQ(VersionNumber(8, 0, 201), found.version());
    EXPECT_EQ(L"Sun", found.vendor());
    EXPECT_EQ(VmKind::JRE, found.kind());
    EXPECT_FALSE(found.is64());
    EXPECT_EQ(L"app.Main", found.options().mainClass);
}

TEST_F(SpecVmSearchTest, RelativeHintsStartFromTheInstallerLocation) {
    struct Case {
        const char* label;
        const char* location;  // text of sea_loc, ROOT standing for the tree; nullptr: no file
        const wchar_t* hint;
        const wchar_t* found;  // nullptr: nothing found
    };
    const std::vector<Case> cases = {
        {"one level up from the installer's folder", "ROOT\\setup\\install.exe", L"..\\jre",
         L"jre"},
        {"two dots anywhere make a hint relative", "ROOT\\setup\\install.exe",
         L"Program Files\\Java\\jre1.6.0", L"jre1.6.0"},
        {"no installer-location file", nullptr, L"..\\jre", nullptr},
        {"an installer path without enough folders", "install.exe", L"..\\jre", nullptr},
        {"a folder named java.exe", "ROOT\\setup\\install.exe", L"..\\folderjre", nullptr},
        {"no java.exe there", "ROOT\\setup\\install.exe", L"..\\nothing", nullptr},
    };
    installVm(L"jre");
    installVm(L"jre1.6.0");
    tree_.makeFolder(L"folderjre\\bin\\java.exe");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        clearLists();
        DeleteFileW(tree_.path(L"setup\\sea_loc").c_str());
        if (c.location) writeInstallerLocation(withRoot(c.location));

        searchPaths({c.hint}, drivesNeverAsked());

        const std::vector<std::wstring> expected =
            c.found ? std::vector<std::wstring>{tree_.path(c.found)} : std::vector<std::wstring>{};
        EXPECT_EQ(expected, homesOf(list32_));
    }
}

TEST_F(SpecVmSearchTest, InstallerLocationIsReadAsTrimmedUtf8) {
    const std::wstring home = installVm(L"j\u00e4re");
    writeInstallerLocation("\xEF\xBB\xBF" + utf8(tree_.root()) + "\\setup\\install.exe\r\n");
    searchPaths({L"..\\j\u00e4re"}, drivesNeverAsked());
    EXPECT_EQ(std::vector<std::wstring>{home}, homesOf(list32_));
}

TEST_F(SpecVmSearchTest, OnlyFixedDrivesAreSearchedFromDriveAUpward) {
    const std::vector<std::pair<wchar_t, uint32_t>> drives = {
        {L'Z', DRIVE_FIXED},    {L'A', DRIVE_REMOVABLE}, {L'C', DRIVE_FIXED},
        {L'D', DRIVE_CDROM},    {L'E', DRIVE_REMOTE},    {L'F', DRIVE_RAMDISK},
        {L'G', DRIVE_UNKNOWN},  {L'H', DRIVE_FIXED},
    };
    EXPECT_EQ((std::vector<wchar_t>{L'C', L'H', L'Z'}), fixedDriveLetters(drivesOf(drives)));
    EXPECT_TRUE(fixedDriveLetters(drivesOf({{L'C', DRIVE_CDROM}})).empty());

    try {
        fixedDriveLetters(drivesOf({}));
        ADD_FAILURE() << "no TerminalError without drives";
    } catch (const TerminalError& error) {
        EXPECT_EQ(L"Could not get the logical drives for the windows system", error.message());
    }
}

TEST_F(SpecVmSearchTest, DriveHintIsTriedBelowTheRootOfEachFixedDrive) {
    // The hint names this tree's folder below its drive's root.
    const std::wstring home = installVm(L"drivejre");
    const wchar_t letter = home[0];
    const std::wstring hint = home.substr(3);
    ASSERT_EQ(L":\\", home.substr(1, 2));
    if (hintDotPairs(hint) != 0) GTEST_SKIP() << "the temporary folder's path holds dots";

    struct Case {
        uint32_t type;
        bool found;
    };
    const std::vector<Case> cases = {
        {DRIVE_FIXED, true},   {DRIVE_REMOVABLE, false}, {DRIVE_REMOTE, false},
        {DRIVE_CDROM, false},  {DRIVE_RAMDISK, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        clearLists();
        // Another fixed drive without the folder is tried too and finds nothing.
        const wchar_t another = letter == L'Q' ? L'R' : L'Q';
        searchPaths({hint}, drivesOf({{letter, c.type}, {another, DRIVE_FIXED}}));
        const std::vector<std::wstring> expected =
            c.found ? std::vector<std::wstring>{home} : std::vector<std::wstring>{};
        EXPECT_EQ(expected, homesOf(list32_));
    }

    clearLists();
    EXPECT_THROW(searchPaths({hint}, drivesOf({})), TerminalError);
    const std::vector<wchar_t> systemFixed = fixedDriveLetters(systemDriveQuery());
    EXPECT_NE(systemFixed.end(), std::find(systemFixed.begin(), systemFixed.end(), letter));
}

// ---------------------------------------------------------------------------
// The search over the jvmspec files of an installer's launcher

std::unique_ptr<InstalledVm> vmWithHome(const std::wstring& home) {
    std::unique_ptr<InstalledVm> vm = makeInstalledVm(VmFamily::Java);
    vm->setHome(home);
    return vm;
}

TEST(PlatformChoiceTest, ModeChoosesTheListAndTakesItsFirstVm) {
    struct Case {
        int32_t mode;
        bool with32;
        bool with64;
        const wchar_t* chosen;  // nullptr: none
    };
    const std::vector<Case> cases = {
        {0, true, true, L"64a"},  {0, true, false, L"32a"}, {0, false, false, nullptr},
        {1, true, true, L"32a"},  {1, false, true, L"64a"}, {1, false, false, nullptr},
        {2, true, true, L"64a"},  {2, true, false, nullptr},
        {3, true, true, L"32a"},  {3, false, true, nullptr},
        {4, true, true, nullptr}, {-1, true, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        SpecVmList list32;
        SpecVmList list64;
        if (c.with32) {
            list32.push_back(vmWithHome(L"32a"));
            list32.push_back(vmWithHome(L"32b"));
        }
        if (c.with64) {
            list64.push_back(vmWithHome(L"64a"));
            list64.push_back(vmWithHome(L"64b"));
        }
        const std::unique_ptr<InstalledVm> chosen = takePlatformChoice(c.mode, list32, list64);
        ASSERT_EQ(c.chosen != nullptr, chosen != nullptr);
        if (chosen) {
            EXPECT_EQ(c.chosen, chosen->home());
        }
    }
}

// Restores the current directory, which the launcher moves to its own folder.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() {
        wchar_t buffer[MAX_PATH] = {};
        saved_.assign(buffer, GetCurrentDirectoryW(MAX_PATH, buffer));
    }
    ~CurrentDirectoryGuard() { SetCurrentDirectoryW(saved_.c_str()); }
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

private:
    std::wstring saved_;
};

// An installer's application folder setup\app holding MyApp.exe, MyApp.kiv and
// jvmspecs\ with the build properties, Verify.jar and the jvmspec files;
// setup\sea_loc names setup\install.exe.
class FindSpecVmTest : public ::testing::Test {
protected:
    FindSpecVmTest() {
        tree_.writeFile(L"setup\\app\\MyApp.exe", "");
        tree_.writeFile(L"setup\\app\\jvmspecs\\Verify.jar", "");
        tree_.writeFile(L"setup\\sea_loc", utf8(tree_.path(L"setup\\install.exe")));
        options_.workingDirectory = tree_.path(L"setup\\app");
    }
    ~FindSpecVmTest() override { test::awaitFolderRelease(tree_.path(L"setup\\app\\jvmspecs")); }

    std::wstring installVm(const std::wstring& home) {
        tree_.copyFixture(L"standin.exe", home + L"\\bin\\java.exe");
        tree_.writeFile(home + L"\\bin\\standin.cfg", "print=Verify\nprint=Acme\n");
        return tree_.path(home);
    }

    void writeSpec(const std::wstring& name, const std::string& text) {
        tree_.writeFile(L"setup\\app\\jvmspecs\\" + name, text);
    }

    // A launcher of the application whose platform mode line is `modeLine`
    // and whose build properties name `specs` in order.
    std::unique_ptr<Launcher> makeLauncher(const std::string& modeLine,
                                           const std::vector<std::string>& specs) {
        tree_.writeFile(L"setup\\app\\MyApp.kiv",
                        "kiv.nl.java.launcher.main.class=app.Main\n"
                        "kiv.class.path=app.jar\n"
                        "kiv.nl.valid.vm.list=ALL\n" +
                            modeLine + "\n");
        std::string build = "build.jvmspec.applicable=true\nbuild.jvmspec.total.num=" +
                            std::to_string(specs.size()) + "\n";
        for (size_t i = 0; i < specs.size(); ++i)
            build += "build.jvmspec." + std::to_string(i) + "=" + specs[i] + "\n";
        tree_.writeFile(L"setup\\app\\jvmspecs\\jvmspecs.properties", build);
        return std::make_unique<Launcher>(
            LaunchContext(L"\"" + tree_.path(L"setup\\app\\MyApp.exe") + L"\""));
    }

    TempTree tree_;
    CurrentDirectoryGuard currentDirectory_;  // restored before the tree goes
    ScopedRegistryTree registry_{{kBase}};
    LaunchOptions options_;
};

TEST_F(FindSpecVmTest, PlatformModeChoosesAmongTheVmsFoundInHintOrder) {
    // Both hints find a VM. The registry hints are searched first, wherever
    // their block stands in the file, so the registry VM is the first found.
    const std::wstring registryVm = installVm(L"registryjre");
    installVm(L"jre");
    ASSERT_TRUE(
        createRegistryKey(RegistryView::Bits64, kBase + L"\\Finder", {{L"Home", registryVm}}));
    const std::string registryHint = utf8(kHintRoot + kBase) + "\\Finder\\Home";
    writeSpec(L"acme.jvmspec", "JVM_EXE: bin\\java.exe\n"
                               "JVM_PROPERTIES\njava.vendor=Acme\n/:\n"
                               "PATH_HINT:\n..\\jre\n/:\n"
                               "PLATFORM_HINT:\n" + registryHint + "\n/:\n");
    struct Case {
        const char* modeLine;
        bool found;  // the registry VM; none where only a 64-bit VM would do, since the
                     // hint searches file every VM as 32-bit
    };
    const std::vector<Case> cases = {
        {"kiv.nl.win32.java.launcher.platform=0", true},
        {"kiv.nl.win32.java.launcher.platform=1", true},
        {"kiv.nl.win32.java.launcher.platform=2", false},
        {"kiv.nl.win32.java.launcher.platform=3", true},
        {"kiv.nl.win32.java.launcher.platform=5", false},
        {"", true},  // the default is 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.modeLine);
        std::unique_ptr<Launcher> launcher = makeLauncher(c.modeLine, {"acme.jvmspec"});
        InstalledVm* vm = findSpecVm(*launcher, options_, 1);
        ASSERT_EQ(c.found, vm != nullptr);
        EXPECT_EQ(vm, launcher->chosenVm());
        if (vm) {
            EXPECT_EQ(registryVm, vm->home());
            EXPECT_EQ(VmFamily::Java, vm->family());
        }
    }
}

TEST_F(FindSpecVmTest, AFileWithoutJvmExeUsesTheValueOfAnEarlierFile) {
    const std::wstring home = installVm(L"jre");
    writeSpec(L"first.jvmspec", "JVM_EXE: bin\\java.exe\nPATH_HINT:\n..\\nothing\n/:\n");
    writeSpec(L"second.jvmspec", "JVM_PROPERTIES\njava.vendor=Acme\n/:\nPATH_HINT:\n..\\jre\n/:\n");
    std::unique_ptr<Launcher> launcher = makeLauncher("", {"first.jvmspec", "second.jvmspec"});

    InstalledVm* vm = findSpecVm(*launcher, options_, 2);
    ASSERT_NE(nullptr, vm);
    EXPECT_EQ(home, vm->home());
}

TEST_F(FindSpecVmTest, AJvmspecFileThatCannotBeOpenedThrows) {
    for (const char* name : {"missing.jvmspec", ""}) {  // "" names the folder jvmspecs\ itself
        SCOPED_TRACE(name);
        std::unique_ptr<Launcher> launcher = makeLauncher("", {name});
        EXPECT_THROW(findSpecVm(*launcher, options_, 1), FileException);
    }
}

}  // namespace
}  // namespace kiv
