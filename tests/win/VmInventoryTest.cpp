#include "vm/VmInventory.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "support/RegistryFixture.h"
#include "support/ScopedRegistryValues.h"
#include "support/TempTree.h"
#include "vm/PathSearch.h"

namespace kiv {
namespace {

using test::ScopedRegistryValues;
using test::TempTree;

// Homes of the registry entries made here; nothing needs to exist there, and
// the prefix tells these entries apart from anything else registered.
const std::wstring kHomes = L"C:\\KivInventoryTest\\";

const char* kindName(VmKind kind) {
    switch (kind) {
        case VmKind::JDK: return "JDK";
        case VmKind::JRE: return "JRE";
        case VmKind::MSJ: return "MSJ";
    }
    return "?";
}

const char* familyName(VmFamily family) {
    switch (family) {
        case VmFamily::Jre: return "JreVm";
        case VmFamily::Java: return "JavaVm";
        case VmFamily::Jview: return "JviewVm";
    }
    return "?";
}

// "<home below base> <version> <kind> <vendor> <bitness> <class>".
std::string describe(const InstalledVm& vm, const std::wstring& base) {
    const std::wstring home =
        startsWith(vm.home(), base) ? vm.home().substr(base.size()) : vm.home();
    const VersionNumber v = vm.version();
    return wideToUtf8(home) + " " + std::to_string(v.major()) + "." + std::to_string(v.minor()) +
           "." + std::to_string(v.micro()) + " " + kindName(vm.kind()) + " " +
           wideToUtf8(vm.vendor()) + " " + (vm.is64() ? "64" : "32") + " " +
           familyName(vm.family());
}

// The VMs whose home lies below `base`, described in list order.
std::vector<std::string> describeBelow(const VmList& vms, const std::wstring& base) {
    std::vector<std::string> lines;
    for (const auto& vm : vms) {
        if (startsWith(vm->home(), base)) lines.push_back(describe(*vm, base));
    }
    return lines;
}

template <typename Call>
auto quietly(Call call) {
    // The probes print "company: ..." lines; keep them out of the test log.
    ::testing::internal::CaptureStdout();
    auto result = call();
    ::testing::internal::GetCapturedStdout();
    return result;
}

struct Registration {
    RegistryView view;
    const wchar_t* key;
    const wchar_t* subkey;
    const wchar_t* javaHome;      // nullptr: no JavaHome value
    const wchar_t* microVersion;  // nullptr: no MicroVersion value
};

class VmInventoryRegistryTest : public ::testing::Test {
protected:
    void registerAll(const std::vector<Registration>& registrations) {
        for (const Registration& r : registrations) {
            ScopedRegistryValues& values = r.view == RegistryView::Bits32 ? values32_ : values64_;
            const std::wstring path = std::wstring(r.key) + L"\\" + r.subkey;
            if (r.javaHome) values.setString(path, L"JavaHome", kHomes + r.javaHome);
            if (r.microVersion) values.setString(path, L"MicroVersion", r.microVersion);
        }
    }

    // Each view is left as it was found: keys created here are deleted, values
    // overwritten in existing keys are put back.
    ScopedRegistryValues values32_{KEY_WOW64_32KEY};
    ScopedRegistryValues values64_{KEY_WOW64_64KEY};
};

const wchar_t kJdk[] = L"SOFTWARE\\JavaSoft\\JDK";
const wchar_t kJre[] = L"SOFTWARE\\JavaSoft\\JRE";
const wchar_t kDevelopmentKit[] = L"SOFTWARE\\JavaSoft\\Java Development Kit";
const wchar_t kRuntimeEnvironment[] = L"SOFTWARE\\JavaSoft\\Java Runtime Environment";
const wchar_t kIbmRuntime[] = L"SOFTWARE\\IBM\\Java2 Runtime Environment";
const wchar_t kIbmDevelopmentKit[] = L"SOFTWARE\\IBM\\Java Development Kit";

TEST_F(VmInventoryRegistryTest, BothViewsAreReadUnderWow64DuplicatesDroppedAndBitnessGroupsSorted) {
    const RegistryView bits32 = RegistryView::Bits32;
    const RegistryView bits64 = RegistryView::Bits64;
    registerAll({
        {bits32, kJdk, L"1.6", L"jdk16", L"0"},
        {bits32, kJdk, L"1.6.0_31", L"jdk16", L"0"},
        {bits32, kJre, L"1.5.0", L"jre15", L"22"},
        {bits32, kJre, L"1.6.0_31", L"jdk16", L"0"},  // the same VM as under JDK: dropped
        {bits32, kDevelopmentKit, L"11.0.2", L"jdk11", nullptr},
        {bits32, kRuntimeEnvironment, L"17", L"jre17", nullptr},
        {bits32, kRuntimeEnvironment, L"1.4.2", nullptr, L"5"},        // no JavaHome
        {bits32, kRuntimeEnvironment, L"1.8", L"jre18-nomicro", nullptr},  // no MicroVersion
        {bits32, kIbmRuntime, L"1.1", L"ibm11", L"8"},
        {bits32, kIbmDevelopmentKit, L"1.6.0", L"ibmjdk16", L"3abc"},
        {bits64, kJdk, L"1.6.0_31", L"jdk16", L"0"},  // seen in both views: kept once
        {bits64, kJdk, L"1.8.0_201", L"jdk18-64", L"0"},
        {bits64, kJre, L"9.0.4", L"jre9-64", nullptr},
        // Updates past 255 keep their order, found in the opposite one.
        {bits64, kJre, L"1.8.0_401", L"jre8u401-64", L"0"},
        {bits64, kRuntimeEnvironment, L"1.8.0_261", L"jre8u261-64", L"0"},
    });
    const std::vector<std::string> registered32 = {
        "ibm11 1.8.0 JRE IBM 32 JreVm",        "jre15 5.22.0 JRE Sun 32 JavaVm",
        "jdk16 6.0.0 JDK Sun 32 JavaVm",       "jdk16 6.0.31 JDK Sun 32 JavaVm",
        "ibmjdk16 6.3.0 JDK IBM 32 JavaVm",    "jdk11 11.0.2 JDK Sun 32 JavaVm",
        "jre17 17.0.0 JRE Sun 32 JavaVm",
    };
    const std::vector<std::string> registered64 = {
        "jdk18-64 8.0.201 JDK Sun 64 JavaVm",
        "jre8u261-64 8.0.261 JRE Sun 64 JavaVm",
        "jre8u401-64 8.0.401 JRE Sun 64 JavaVm",
        "jre9-64 9.0.4 JRE Sun 64 JavaVm",
    };
    auto joined = [](std::vector<std::string> first, const std::vector<std::string>& second) {
        first.insert(first.end(), second.begin(), second.end());
        return first;
    };
    struct Case {
        const char* name;
        bool wow64;
        bool bits64First;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"WOW64, 64-bit first", true, true, joined(registered64, registered32)},
        {"WOW64, 32-bit first", true, false, joined(registered32, registered64)},
        {"no WOW64: the 64-bit view is not read", false, true, registered32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DiscoverySettings settings;
        settings.wow64 = c.wow64;
        settings.bits64First = c.bits64First;
        // This test exe is a 64-bit program: name the 32-bit view that a plain
        // open of the shipped 32-bit launcher reaches.
        settings.ownViewAccess = kKeyRead32;
        const VmList vms = discoverVms(settings);
        EXPECT_EQ(c.expected, describeBelow(vms, kHomes));
    }
}

TEST_F(VmInventoryRegistryTest, ScanningAKeyAppendsItsSubkeysWithTheGivenFacts) {
    registerAll({
        {RegistryView::Bits64, kIbmDevelopmentKit, L"1.4.2", L"ibm142", L"7"},
        {RegistryView::Bits64, kIbmDevelopmentKit, L"1.2", L"ibm12", L"0"},
    });
    VmList vms;
    scanRegistryKey(L"SOFTWARE\\KivTests\\VmInventory\\Missing", VmKind::JDK, false, L"Sun",
                    kKeyRead64, vms);
    EXPECT_TRUE(vms.empty());
    scanRegistryKey(kIbmDevelopmentKit, VmKind::JRE, true, L"Acme", kKeyRead64, vms);
    EXPECT_EQ((std::vector<std::string>{"ibm12 2.0.0 JRE Acme 64 JavaVm",
                                        "ibm142 4.7.0 JRE Acme 64 JavaVm"}),
              describeBelow(vms, kHomes));
}

class PathSearchTest : public ::testing::Test {
protected:
    std::vector<std::string> search(const std::vector<std::wstring>& directories, bool wow64,
                                    const std::wstring& wow64SystemDirectory = L"") {
        ClassPath pathList;
        for (const std::wstring& directory : directories) pathList.add(directory);
        VmList vms;
        ::testing::internal::CaptureStdout();
        searchPathDirectories(pathList, wow64, wow64SystemDirectory, vms);
        ::testing::internal::GetCapturedStdout();
        return describeBelow(vms, tree_.root() + L"\\");
    }

    TempTree tree_;
};

TEST_F(PathSearchTest, EveryExecutableOfEveryDirectoryIsAddedInOrder) {
    tree_.copyFixture(L"standin_sun6.exe", L"jdk\\bin\\java.exe");
    tree_.copyFixture(L"standin_sun8.exe", L"jdk\\bin\\javaw.exe");
    tree_.copyFixture(L"standin.exe", L"jdk\\bin\\javac.exe");
    tree_.copyFixture(L"standin.exe", L"jre11\\bin\\jre.exe");
    tree_.copyFixture(L"standin_jview.exe", L"windows\\jview.exe");
    tree_.makeFolder(L"odd\\java.exe");  // a folder cannot be started: passed by
    const std::wstring jdk = tree_.path(L"jdk\\bin");
    const std::vector<std::wstring> path = {jdk,
                                            jdk,
                                            tree_.path(L"missing"),
                                            tree_.path(L"odd"),
                                            tree_.path(L"jre11\\bin"),
                                            tree_.path(L"windows")};

    EXPECT_EQ((std::vector<std::string>{
                  "jdk 6.0.31 JDK Sun 32 JavaVm", "jdk 8.0.201 JDK Sun 32 JavaVm",
                  "jdk 6.0.31 JDK Sun 32 JavaVm", "jdk 8.0.201 JDK Sun 32 JavaVm",
                  "jre11 1.0.0 JRE Sun 32 JreVm", "windows 1.4.0 MSJ Microsoft 32 JviewVm"}),
              search(path, false));
}

TEST_F(PathSearchTest, UnderWow64TheSystemFolderComesLastAndA64BitImageIsMarked) {
    tree_.copyFixture(L"standin_x64.exe", L"jre64\\bin\\java.exe");
    tree_.copyFixture(L"standin_x86.exe", L"jre32\\bin\\java.exe");
    tree_.copyFixture(L"standin_x64.exe", L"syswow64\\java.exe");
    const std::vector<std::wstring> path = {tree_.path(L"jre64\\bin"), tree_.path(L"jre32\\bin")};
    const std::wstring systemFolder = tree_.path(L"syswow64");

    EXPECT_EQ((std::vector<std::string>{"jre64 0.0.0 JRE Sun 64 JreVm",
                                        "jre32 0.0.0 JRE Sun 32 JreVm",
                                        "syswow64 0.0.0 JRE Sun 64 JreVm"}),
              search(path, true, systemFolder));
    EXPECT_EQ((std::vector<std::string>{"jre64 0.0.0 JRE Sun 32 JreVm",
                                        "jre32 0.0.0 JRE Sun 32 JreVm"}),
              search(path, false, systemFolder));
}

TEST_F(PathSearchTest, ALinkedExecutableIsTakenAtItsTarget) {
    const std::wstring target = tree_.copyFixture(L"standin_sun8.exe", L"real\\bin\\java.exe");
    tree_.makeFolder(L"links\\bin");
    const std::wstring link = tree_.path(L"links\\bin\\java.exe");
    // Unprivileged creation needs Windows 10's developer mode; older systems
    // refuse the flag. Wine 8 answers success without making any link.
    const DWORD allowUnprivileged = 0x2;
    if (!CreateSymbolicLinkW(link.c_str(), target.c_str(), allowUnprivileged))
        CreateSymbolicLinkW(link.c_str(), target.c_str(), 0);
    const DWORD attributes = GetFileAttributesW(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        GTEST_SKIP() << "no file symbolic link could be made here";
    EXPECT_EQ(std::vector<std::string>{"real 8.0.201 JRE Sun 32 JavaVm"},
              search({tree_.path(L"links\\bin")}, false));
}

TEST(ResolveLinkTargetTest, AMappedFileIsNamedByItsDrivePath) {
    TempTree tree;
    const std::wstring file = tree.copyFixture(L"standin.exe", L"vm\\bin\\java.exe");
    EXPECT_EQ(toLowerAscii(file), toLowerAscii(resolveLinkTarget(file)));
    EXPECT_EQ(L"", resolveLinkTarget(tree.path(L"vm\\bin\\missing.exe")));
}

TEST(ResolveLinkTargetTest, AnEmptyFileCannotBeMappedAndSaysSo) {
    TempTree tree;
    const std::wstring empty = tree.writeFile(L"empty\\java.exe", "");
    std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    const std::wstring target = resolveLinkTarget(empty);
    std::fflush(stdout);
    EXPECT_EQ("Cannot map a file with a length of zero.\n",
              ::testing::internal::GetCapturedStdout());
    EXPECT_EQ(L"", target);
}

TEST(VmInventoryTest, TheFirstRequestBuildsTheListAndLaterOnesChangeNothing) {
    VmInventory* first = quietly([] { return &VmInventory::instance(true); });
    std::vector<const InstalledVm*> order;
    for (const auto& vm : first->vms()) order.push_back(vm.get());

    VmInventory& second = VmInventory::instance(false);
    EXPECT_EQ(first, &second);
    EXPECT_TRUE(second.bits64First());
    std::vector<const InstalledVm*> orderAfter;
    for (const auto& vm : second.vms()) orderAfter.push_back(vm.get());
    EXPECT_EQ(order, orderAfter);
}

}  // namespace
}  // namespace kiv
