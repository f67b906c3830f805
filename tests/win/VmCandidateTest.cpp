#include "vm/VmCandidate.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/ImageBitness.h"
#include "platform/Text.h"
#include "support/ScopedRegistryValues.h"
#include "support/TempTree.h"

namespace kiv {
namespace {

using test::TempTree;
using test::fixturePath;

const wchar_t kJavaRuntimeKey[] = L"SOFTWARE\\JavaSoft\\Java Runtime Environment";

// One thing to lay out beside a VM: a copied fixture, an empty file, or a folder.
struct Entry {
    const wchar_t* relative;
    const wchar_t* fixture;  // nullptr: an empty file, or a folder when `folder` is set
    bool folder;
};

Entry folder(const wchar_t* relative) { return {relative, nullptr, true}; }
Entry emptyFile(const wchar_t* relative) { return {relative, nullptr, false}; }
Entry fixture(const wchar_t* relative, const wchar_t* name) { return {relative, name, false}; }

void layOut(const TempTree& tree, const std::wstring& base, const std::vector<Entry>& entries) {
    for (const Entry& entry : entries) {
        const std::wstring relative = base + L"\\" + entry.relative;
        if (entry.folder)
            tree.makeFolder(relative);
        else if (entry.fixture)
            tree.copyFixture(entry.fixture, relative);
        else
            tree.writeFile(relative, "");
    }
}

std::string utf8(const std::wstring& text) { return wideToUtf8(text); }

std::string versionText(VersionNumber version) {
    return std::to_string(version.major()) + "." + std::to_string(version.minor()) + "." +
           std::to_string(version.micro());
}

// What a call printed on the C runtime's stdout.
template <typename Call>
std::string printedBy(Call call) {
    std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    call();
    std::fflush(stdout);
    return ::testing::internal::GetCapturedStdout();
}

class VmCandidateTest : public ::testing::Test {
protected:
    TempTree tree_;
};

TEST_F(VmCandidateTest, VersionResourceGivesVendorAndVersionBeforeAnyGuess) {
    struct Case {
        const wchar_t* fixture;
        const char* vendor;
        VersionNumber version;
    };
    // Sun: 1.x.y.z is Java 1.x.y_z; x.y.z0.w is Java x.y_z. IBM: 1.x.y.z, micro undivided.
    const std::vector<Case> cases = {
        {L"standin_sun6.exe", "Sun", VersionNumber(6, 0, 31)},
        {L"standin_sun8.exe", "Sun", VersionNumber(8, 0, 201)},
        {L"standin_sun11.exe", "Sun", VersionNumber(11, 0, 2)},
        {L"standin_java1.exe", "Sun", VersionNumber(8, 0, 201)},
        {L"standin_ibm.exe", "IBM", VersionNumber(6, 0, 22)},
        {L"standin_ibm_lower.exe", "IBM", VersionNumber(7, 1, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(utf8(c.fixture));
        // Files that would make a guess of their own: the version resource wins.
        const std::wstring home = tree_.makeFolder(c.fixture);
        const std::wstring exe =
            tree_.copyFixture(c.fixture, std::wstring(c.fixture) + L"\\bin\\java.exe");
        layOut(tree_, c.fixture,
               {folder(L"bin\\client"), fixture(L"bin\\NPJava32.dll", L"npjava131.dll")});
        VmCandidate probe(exe);
        printedBy([&] {
            EXPECT_EQ(versionText(c.version), versionText(probe.version()));
            EXPECT_EQ(c.vendor, utf8(probe.vendor()));
        });
        EXPECT_EQ(VmKind::JRE, probe.kind());
        EXPECT_EQ(home, probe.home());
    }
}

TEST_F(VmCandidateTest, KindComesFromTheLowerCasedFileNameThenFromJavacBesideIt) {
    struct Case {
        const wchar_t* exe;
        bool javacBeside;
        VmKind kind;
    };
    const std::vector<Case> cases = {
        {L"java.exe", false, VmKind::JRE},
        {L"java.exe", true, VmKind::JDK},
        {L"javaw.exe", true, VmKind::JDK},
        {L"JREW.EXE", true, VmKind::JRE},
        {L"jre.exe", true, VmKind::JRE},
        {L"JView.exe", false, VmKind::MSJ},
        {L"wjview.exe", true, VmKind::MSJ},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(utf8(c.exe) + (c.javacBeside ? " with javac.exe" : ""));
        const std::wstring bin = L"vm" + decimal(index++) + L"\\bin";
        const std::wstring exe = tree_.copyFixture(L"standin.exe", bin + L"\\" + c.exe);
        if (c.javacBeside) tree_.copyFixture(L"standin.exe", bin + L"\\javac.exe");
        EXPECT_EQ(c.kind, VmCandidate(exe).kind());
    }
}

TEST_F(VmCandidateTest, JviewIsTheMicrosoftVmWhateverItsVersionResourceSays) {
    const std::wstring exe = tree_.copyFixture(L"standin_jview.exe", L"windows\\jview.exe");
    VmCandidate probe(exe);
    std::wstring vendor;
    VersionNumber version;
    const std::string printed = printedBy([&] {
        vendor = probe.vendor();
        version = probe.version();
    });
    EXPECT_EQ(VmKind::MSJ, probe.kind());
    EXPECT_EQ(L"Microsoft", vendor);
    EXPECT_EQ("1.4.0", versionText(version));
    EXPECT_EQ("", printed);
    EXPECT_EQ(tree_.path(L"windows"), probe.home());
}

TEST_F(VmCandidateTest, JviewBuildIsTheThirdPartOfJviewsProductVersion) {
    tree_.copyFixture(L"standin_jview.exe", L"msvm\\jview.exe");
    tree_.copyFixture(L"standin.exe", L"unversioned\\jview.exe");
    tree_.makeFolder(L"empty");
    EXPECT_EQ(3810u, jviewBuild(tree_.path(L"msvm")));
    EXPECT_EQ(0u, jviewBuild(tree_.path(L"unversioned")));
    EXPECT_EQ(0u, jviewBuild(tree_.path(L"empty")));
}

TEST_F(VmCandidateTest, WithoutVersionResourceTheFilesBesideTheVmGiveTheVersion) {
    struct Case {
        const char* label;
        const wchar_t* exe;  // below the case's folder
        std::vector<Entry> beside;
        VersionNumber expected;
    };
    const std::vector<Case> cases = {
        {"pack200.exe", L"bin\\java.exe", {emptyFile(L"bin\\pack200.exe")},
         VersionNumber(5, 0, 0)},
        {"client folder", L"bin\\java.exe", {folder(L"bin\\client")}, VersionNumber(4, 0, 0)},
        {"JDK with the JRE's server folder", L"bin\\java.exe",
         {emptyFile(L"bin\\javac.exe"), folder(L"jre\\bin\\server")}, VersionNumber(4, 0, 0)},
        {"hotspot folder", L"bin\\java.exe", {folder(L"bin\\hotspot")}, VersionNumber(3, 0, 0)},
        {"classic folder", L"bin\\java.exe", {folder(L"bin\\classic")}, VersionNumber(2, 0, 0)},
        {"jrew.exe beside", L"bin\\java.exe", {emptyFile(L"bin\\jrew.exe")},
         VersionNumber(1, 0, 0)},
        {"jre.exe itself", L"bin\\JRE.EXE", {}, VersionNumber(1, 0, 0)},
        {"nothing beside", L"bin\\java.exe", {}, VersionNumber(0, 0, 0)},
        {"plug-in 1.4.2.190 refines the JRE guess, micro divided by ten", L"bin\\java.exe",
         {folder(L"bin\\client"), fixture(L"bin\\NPJava32.dll", L"npjava142.dll")},
         VersionNumber(4, 2, 19)},
        {"plug-in 1.3.1.2 keeps its micro", L"bin\\java.exe",
         {folder(L"bin\\client"), fixture(L"bin\\NPJava32.dll", L"npjava131.dll")},
         VersionNumber(3, 1, 2)},
        {"plug-in overrides even the major of a later guess", L"bin\\java.exe",
         {emptyFile(L"bin\\pack200.exe"), fixture(L"bin\\npjava32.DLL", L"npjava142.dll")},
         VersionNumber(4, 2, 19)},
        {"a JDK finds the plug-in in its JRE", L"bin\\java.exe",
         {emptyFile(L"bin\\javac.exe"), folder(L"bin\\hotspot"),
          fixture(L"jre\\bin\\NPJava32.dll", L"npjava142.dll")},
         VersionNumber(4, 2, 19)},
        {"a JDK ignores a plug-in beside its own java.exe", L"bin\\java.exe",
         {emptyFile(L"bin\\javac.exe"), folder(L"bin\\hotspot"),
          fixture(L"bin\\NPJava32.dll", L"npjava142.dll")},
         VersionNumber(3, 0, 0)},
        {"plug-in without version resource", L"bin\\java.exe",
         {folder(L"bin\\classic"), fixture(L"bin\\NPJava32.dll", L"standin.exe")},
         VersionNumber(2, 0, 0)},
        {"a jre.exe guess is not refined", L"bin\\jre.exe",
         {fixture(L"bin\\NPJava32.dll", L"npjava142.dll")}, VersionNumber(1, 0, 0)},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::wstring base = L"guess" + decimal(index++);
        const std::wstring exe = tree_.copyFixture(L"standin.exe", base + L"\\" + c.exe);
        layOut(tree_, base, c.beside);
        VmCandidate probe(exe);
        EXPECT_EQ(versionText(c.expected), versionText(probe.version()));
        EXPECT_EQ(L"Sun", probe.vendor());
    }
}

TEST_F(VmCandidateTest, HomeIsTheParentWhenTheLastFolderNameHoldsBin) {
    struct Case {
        std::wstring path;
        std::wstring home;
    };
    const std::wstring root = tree_.root();
    const std::vector<Case> cases = {
        {L"C:\\Program Files\\Java\\jre6\\bin\\java.exe", L"C:\\Program Files\\Java\\jre6"},
        {L"C:\\jdk\\bin64\\java.exe", L"C:\\jdk"},
        {L"C:\\JDK\\BIN\\java.exe", L"C:\\JDK"},
        {L"C:\\Windows\\system32\\java.exe", L"C:\\Windows\\system32"},
        {L"C:\\bin\\jre\\java.exe", L"C:\\bin\\jre"},
        {L"C:\\java.exe", L"C:"},
        {L"java.exe", L"."},
        {L"bin\\java.exe", L"."},
        {root + L"\\cabinet\\java.exe", root},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(utf8(c.path));
        EXPECT_EQ(c.home, VmCandidate(c.path).home());
    }
}

TEST_F(VmCandidateTest, JavaInTheSystemFolderTakesItsVersionFromTheRegistryOrNone) {
    struct Case {
        const char* label;
        const wchar_t* currentVersion;  // nullptr: no CurrentVersion value
        const wchar_t* microVersion;    // nullptr: no key for the current version
        VersionNumber expected;
    };
    const std::vector<Case> cases = {
        {"both values", L"1.6", L"3", VersionNumber(6, 3, 0)},
        {"no CurrentVersion", nullptr, nullptr, VersionNumber(0, 0, 0)},
        {"no key for the current version", L"1.5", nullptr, VersionNumber(0, 0, 0)},
    };
    // Files that would give a guess elsewhere: in the system folder the registry decides alone.
    for (const wchar_t* system : {L"Windows\\system32", L"Windows\\SysWOW64"}) {
        const std::wstring dir = std::wstring(system);
        layOut(tree_, dir, {emptyFile(L"pack200.exe"), folder(L"client"),
                            fixture(L"NPJava32.dll", L"npjava142.dll")});
        const std::wstring exe = tree_.copyFixture(L"standin.exe", dir + L"\\java.exe");
        for (const Case& c : cases) {
            SCOPED_TRACE(utf8(system) + ", " + c.label);
            test::ScopedRegistryValues registry;
            if (c.currentVersion)
                registry.setString(kJavaRuntimeKey, L"CurrentVersion", c.currentVersion);
            else
                registry.removeValue(kJavaRuntimeKey, L"CurrentVersion");
            if (c.microVersion) {
                registry.setString(std::wstring(kJavaRuntimeKey) + L"\\" + c.currentVersion,
                                   L"MicroVersion", c.microVersion);
            }
            EXPECT_EQ(versionText(c.expected), versionText(VmCandidate(exe).version()));
        }
    }
}

TEST_F(VmCandidateTest, VendorIsWorkedOutOnceAndPrintsTheCompanyOnce) {
    struct Case {
        const wchar_t* fixture;
        const char* vendor;
        const char* printed;
    };
    const std::vector<Case> cases = {
        {L"standin_sun6.exe", "Sun", "company: Sun Microsystems, Inc.\n"},
        {L"standin_ibm_lower.exe", "IBM", "company: international business machines (ibm)\n"},
        {L"standin.exe", "Sun", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(utf8(c.fixture));
        const std::wstring exe = tree_.copyFixture(c.fixture, std::wstring(L"once\\") + c.fixture);
        VmCandidate probe(exe);
        std::wstring first;
        std::wstring second;
        EXPECT_EQ(c.printed, printedBy([&] {
                      first = probe.vendor();
                      probe.version();
                      second = probe.vendor();
                  }));
        EXPECT_EQ(c.vendor, utf8(first));
        EXPECT_EQ(first, second);
        // A new probe of the same file works it out again.
        EXPECT_EQ(c.printed, printedBy([&] { VmCandidate(exe).vendor(); }));
    }
}

TEST_F(VmCandidateTest, CompanyNameIsReadSilentlyAndEmptyWithoutVersionResource) {
    const std::wstring oracle = tree_.copyFixture(L"standin_sun8.exe", L"a\\java.exe");
    const std::wstring plain = tree_.copyFixture(L"standin.exe", L"b\\java.exe");
    EXPECT_EQ("", printedBy([&] {
        EXPECT_EQ(L"Oracle Corporation", VmCandidate(oracle).companyName());
        EXPECT_EQ(L"", VmCandidate(plain).companyName());
        EXPECT_EQ(L"", VmCandidate(tree_.path(L"missing.exe")).companyName());
    }));
}

TEST_F(VmCandidateTest, ProductVersionIsAskedAgainUntilItCouldBeReadThenKept) {
    const std::wstring exe = tree_.path(L"late\\java.exe");
    VmCandidate probe(exe);
    ProductVersion values = {};
    EXPECT_FALSE(probe.productVersion(values));

    tree_.copyFixture(L"standin_sun6.exe", L"late\\java.exe");
    ASSERT_TRUE(probe.productVersion(values));
    EXPECT_EQ((ProductVersion{6, 0, 310, 5}), values);

    ASSERT_TRUE(DeleteFileW(exe.c_str()));
    values = {};
    ASSERT_TRUE(probe.productVersion(values));
    EXPECT_EQ((ProductVersion{6, 0, 310, 5}), values);
}

TEST_F(VmCandidateTest, OneProbeReadsTheVersionResourceOnceAndAnswersAllFromIt) {
    const std::wstring exe = tree_.copyFixture(L"standin_sun6.exe", L"swap\\java.exe");
    VmCandidate probe(exe);
    ProductVersion values = {};
    ASSERT_TRUE(probe.productVersion(values));

    // Another vendor's file in its place: the probe still speaks of what it read.
    ASSERT_TRUE(DeleteFileW(exe.c_str()));
    tree_.copyFixture(L"standin_ibm.exe", L"swap\\java.exe");
    EXPECT_EQ(L"Sun Microsystems, Inc.", probe.companyName());
    EXPECT_EQ("company: Sun Microsystems, Inc.\n", printedBy([&] {
                  EXPECT_EQ(L"Sun", probe.vendor());
                  EXPECT_EQ("6.0.31", versionText(probe.version()));
              }));
}

std::string fileBytes(const std::wstring& path) {
    std::string bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) return bytes;
    char buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, read);
    std::fclose(file);
    return bytes;
}

TEST_F(VmCandidateTest, ImageBitnessReadsThePeHeadersOfRealFiles) {
    const std::string x64 = fileBytes(fixturePath(L"standin_x64.exe"));
    ASSERT_GT(x64.size(), 0x200u);
    std::string pastTheEnd = x64.substr(0, 0x40);
    pastTheEnd[0x3C] = '\x00';
    pastTheEnd[0x3D] = '\x10';  // e_lfanew 0x1000 in a 64-byte file

    struct Case {
        const char* label;
        std::wstring path;
        int expected;
    };
    const std::vector<Case> cases = {
        {"32-bit stand-in", tree_.copyFixture(L"standin_x86.exe", L"x86\\java.exe"), kImage32},
        {"64-bit stand-in", tree_.copyFixture(L"standin_x64.exe", L"x64\\java.exe"), kImage64},
        {"text file", tree_.writeFile(L"notes.txt", "MZ is how it starts, and that is all.\r\n"),
         kImageUnknown},
        {"64-bit image cut after its DOS header",
         tree_.writeFile(L"cut.exe", x64.substr(0, 0x80)), kImageUnknown},
        {"PE offset past the end", tree_.writeFile(L"past.exe", pastTheEnd), kImageUnknown},
        {"empty file", tree_.writeFile(L"empty.exe", ""), kImageUnknown},
        {"missing file", tree_.path(L"missing.exe"), kImageUnknown},
        {"folder", tree_.makeFolder(L"folder.exe"), kImageUnknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.expected, imageBitness(c.path));
    }
    // Everything was closed again: the files can be deleted at once.
    EXPECT_TRUE(DeleteFileW(cases[1].path.c_str()));
}

}  // namespace
}  // namespace kiv
