// An installer's launcher: a "jvmspecs" folder beside MyApp.exe holds the
// build properties that decide between searching, the carried VM and a
// downloaded VM pack.
#include <windows.h>

#include <gtest/gtest.h>

#include "installer/Md5.h"
#include "support/LauncherApp.h"
#include "support/ZipWriter.h"

using namespace kivtest;

namespace {

const std::string kNoVmFound =
    "Halvorn Error: Could not find a valid Java virtual machine to load.\n\nYou may need to reinstall a "
    "supported Java virtual machine.\n";

// The list admits only JDKs, and the tests' machine has none: every search is empty.
std::string applicationKiv(const std::string& extra = "") {
    return "kiv.nl.java.launcher.main.class=com.example.Setup\nkiv.class.path=setup.jar\n"
           "kiv.nl.valid.vm.list=JDK_J2\n" +
           extra;
}

ProgramRunOptions withoutInstalledVms(const std::wstring& startFolder) {
    ProgramRunOptions options;
    options.workingDirectory = startFolder;
    options.environment = {L"PATH=C:\\windows\\system32;C:\\windows", L"JAVA_HOME=", L"CLASSPATH="};
    return options;
}

std::string md5Of(const std::wstring& path) {
    wchar_t digest[40] = {};
    kiv::md5OfFile(path.c_str(), digest, 40);
    return narrow(digest);
}

}  // namespace

TEST(InstallerCarriedVm, IsUsedAfterAnEmptySearchOrWithoutAny) {
    for (const char* option : {"20", "21"}) {
        SCOPED_TRACE(option);
        LauncherApp app;
        app.writeKiv(applicationKiv());
        app.writeFile(L"app\\jvmspecs\\jvmspecs.properties",
                      std::string("build.option=withvm\nbuild.with.vm.search.option=") + option + "\n");
        app.installVm(L"app\\Windows\\resource\\jre\\bin", "exit=4\n");
        const ProgramResult result = app.run(L"", withoutInstalledVms(app.appDir()));
        EXPECT_EQ(result.exitCode, 4u) << result.err;
        EXPECT_EQ(app.records(L"app\\Windows\\resource\\jre\\bin").size(), 1u);
    }
}

TEST(InstallerCarriedVm, IsLookedForUnderTheFolderTheInstallerWasStartedFrom) {
    LauncherApp app;
    app.writeKiv(applicationKiv());
    app.writeFile(L"app\\jvmspecs\\jvmspecs.properties", "build.option=withvm\nbuild.with.vm.search.option=21\n");
    app.installVm(L"app\\Windows\\resource\\jre\\bin", "exit=4\n");
    app.installVm(L"start\\Windows_Pure_64_Bit\\resource\\jre\\jre\\bin", "exit=6\n");
    const ProgramResult result = app.run(L"", withoutInstalledVms(app.root() + L"\\start"));
    EXPECT_EQ(result.exitCode, 6u) << result.err;
}

TEST(InstallerCarriedVm, AnUnknownOptionFindsNoVm) {
    LauncherApp app;
    app.writeKiv(applicationKiv());
    app.writeFile(L"app\\jvmspecs\\jvmspecs.properties", "build.option=withvm\nbuild.with.vm.search.option=abc\n");
    app.installVm(L"app\\Windows\\resource\\jre\\bin");
    const ProgramResult result = app.run(L"", withoutInstalledVms(app.appDir()));
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.err, kNoVmFound);
}

class InstallerDownload : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t buffer[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(L"KIV_TEST_SERVERS", buffer, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) GTEST_SKIP() << "the download servers are not running";
        servers_ = buffer;
        std::string port = readBytes(servers_ + L"\\http.port");
        while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
        port_ = widen(port);
        folder_ = L"e2e" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW((servers_ + L"\\root\\" + folder_).c_str(), nullptr);
    }

    void TearDown() override {
        if (!folder_.empty()) removeTree(servers_ + L"\\root\\" + folder_);
    }

    // Serves a VM pack whose java.exe is a stand-in ending with `exitCode`.
    std::wstring servePack(const std::wstring& name, int exitCode) {
        const std::wstring path = servers_ + L"\\root\\" + folder_ + L"\\" + name;
        writeVmPack(path, {{"bin/java.exe", readBytes(fixturePath(L"standin.exe"))},
                           {"bin/standin.cfg", "exit=" + std::to_string(exitCode) + "\n"},
                           {"lib/rt.jar", "classes"}});
        return path;
    }

    std::string url(const std::wstring& name) const {
        return "http://127.0.0.1:" + narrow(port_) + "/" + narrow(folder_) + "/" + narrow(name);
    }

    // An installer built without a VM, option 12 (download at once), and the
    // download folders under its start folder.
    void prepare(const std::string& buildProperties, const std::string& kivExtra = "") {
        app_.writeKiv(applicationKiv(kivExtra));
        app_.writeFile(L"app\\jvmspecs\\jvmspecs.properties", buildProperties);
        app_.makeDirectory(L"app\\Windows\\jvmspecs");
    }

    std::string directDownload(const std::string& packUrl, const std::string& checksumKeys = "") {
        return "build.option=withoutvm\nbuild.without.vm.search.option=12\n"
               "build.without.vm.direct.download.url=" +
               packUrl + "\n" + checksumKeys;
    }

    ProgramResult run(const std::wstring& arguments = L"") {
        return app_.run(arguments, withoutInstalledVms(app_.appDir()));
    }

    LauncherApp app_;
    std::wstring servers_;
    std::wstring port_;
    std::wstring folder_;
};

const char kDownloading[] = "\nDownloading VM Pack - Please Wait!!!\n";
const char kExtracted[] = "\nExtracting VM Pack. Please wait!!!\n\nExtracted the JVM pack successfully!!\n";

TEST_F(InstallerDownload, DownloadsChecksUnpacksAndLaunchesTheVmPack) {
    const std::string checksum = md5Of(servePack(L"jre.vm", 7));
    prepare(directDownload(url(L"jre.vm"),
                           "build.without.vm.dont.search.download.url.md5Checksum.applicable=true\n"
                           "build.without.vm.dont.search.download.url.md5Checksum.value=" +
                               checksum + "\n"));
    const ProgramResult result = run();
    EXPECT_EQ(result.exitCode, 7u) << result.err;
    EXPECT_EQ(withLf(result.out), std::string(kDownloading) +
                              "\nVerifying the downloaded JVM with MD5 checksum specified\n\n"
                              "MD5 checksum verification for downloaded JVM passed" +
                              kExtracted);
    EXPECT_EQ(app_.records(L"app\\Windows\\resource\\jre\\bin").size(), 1u);
    EXPECT_TRUE(fileExists(app_.appDir() + L"\\Windows\\resource\\jre\\lib\\rt.jar"));
    EXPECT_FALSE(fileExists(app_.appDir() + L"\\Windows\\jvmspecsjre.vm")) << "the pack is removed";
}

TEST_F(InstallerDownload, DownloadsAfterAnEmptySearchWithOption11) {
    servePack(L"jre.vm", 8);
    prepare("build.option=withoutvm\nbuild.without.vm.search.option=11\n"
            "build.without.vm.not.found.download.url=" +
            url(L"jre.vm") + "\n");
    const ProgramResult result = run();
    EXPECT_EQ(result.exitCode, 8u) << result.err;
    EXPECT_EQ(withLf(result.out), std::string(kDownloading) + kExtracted);
}

TEST_F(InstallerDownload, ChecksumsAreComparedExactlyAndOnlyWhenApplicableIsTrue) {
    const std::string checksum = md5Of(servePack(L"jre.vm", 9));
    std::string upper = checksum;
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    struct Case {
        const char* name;
        std::string applicable;
        std::string value;
        DWORD exitCode;
    };
    const Case cases[] = {{"upper case fails", "true", upper, 1}, {"yes skips the check", "yes", "wrong", 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherApp app;
        app.writeKiv(applicationKiv());
        app.makeDirectory(L"app\\Windows\\jvmspecs");
        app.writeFile(L"app\\jvmspecs\\jvmspecs.properties",
                      directDownload(url(L"jre.vm"),
                                     "build.without.vm.dont.search.download.url.md5Checksum.applicable=" +
                                         c.applicable +
                                         "\nbuild.without.vm.dont.search.download.url.md5Checksum.value=" +
                                         c.value + "\n"));
        const ProgramResult result = app.run(L"", withoutInstalledVms(app.appDir()));
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        if (c.exitCode == 1) {
            EXPECT_EQ(withLf(result.out), std::string(kDownloading) +
                                      "\nVerifying the downloaded JVM with MD5 checksum specified\n\n"
                                      "Warning!! MD5 checksum verification for downloaded JVM failed. "
                                      "Installer exiting...");
            EXPECT_EQ(result.err, kNoVmFound);
            EXPECT_TRUE(fileExists(app.appDir() + L"\\Windows\\jvmspecsjre.vm")) << "the pack stays";
        } else {
            EXPECT_EQ(withLf(result.out), std::string(kDownloading) + kExtracted);
        }
    }
}

TEST_F(InstallerDownload, FailuresPrintTheirLinesAndEndWithNoVm) {
    struct Case {
        const char* name;
        std::string url;
        std::string out;
    };
    const Case cases[] = {
        {"not a VM pack", url(L"jre.zip"), "\nThe file specified is not a valid VM pack\n"},
        {"a name that climbs out of the download folder", url(L"x\\..\\..\\..\\jre.vm"),
         "\nThe file specified is not a valid VM pack\n"},
        {"a name with a stream", url(L"jre.vm:x.vm"), "\nThe file specified is not a valid VM pack\n"},
        {"not found", url(L"missing.vm"),
         std::string(kDownloading) + "\nCould not connect to the specified URL\nHTTP Status code: 404\n"},
        {"file scheme", "file:///C:/jre.vm", std::string(kDownloading) + "\nAttempt to download VM failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherApp app;
        app.writeKiv(applicationKiv());
        app.makeDirectory(L"app\\Windows\\jvmspecs");
        app.writeFile(L"app\\jvmspecs\\jvmspecs.properties", directDownload(c.url));
        const ProgramResult result = app.run(L"", withoutInstalledVms(app.appDir()));
        EXPECT_EQ(result.exitCode, 1u);
        EXPECT_EQ(withLf(result.out), c.out);
        EXPECT_EQ(result.err, kNoVmFound);
    }
}

TEST_F(InstallerDownload, AnUnreachableHostGivesTheOpenErrorThenStatusZero) {
    prepare(directDownload("http://127.0.0.1:1/jre.vm"));
    const ProgramResult result = run();
    EXPECT_EQ(result.exitCode, 1u);
    const std::string opening = std::string(kDownloading) + "\nError in opening internet connection with URL\n\nWininet Error code: ";
    const std::string out = withLf(result.out);
    EXPECT_EQ(out.compare(0, opening.size(), opening), 0) << out;
    const std::string status = "\nCould not connect to the specified URL\nHTTP Status code: 0\n";
    ASSERT_GE(out.size(), status.size());
    EXPECT_EQ(out.substr(out.size() - status.size()), status);
}

TEST_F(InstallerDownload, ASilentInstallerPrintsNoProgress) {
    servePack(L"jre.vm", 3);
    for (const std::wstring& argument : {std::wstring(L"silent"), std::wstring(L"x SILENT")}) {
        LauncherApp app;
        app.writeKiv(applicationKiv());
        app.makeDirectory(L"app\\Windows\\jvmspecs");
        app.writeFile(L"app\\jvmspecs\\jvmspecs.properties", directDownload(url(L"jre.vm")));
        const ProgramResult result = app.run(argument, withoutInstalledVms(app.appDir()));
        EXPECT_EQ(result.exitCode, 3u) << result.err;
        EXPECT_EQ(withLf(result.out), "");
    }
    prepare(directDownload(url(L"jre.vm")), "kiv.installer.windows.ui.default=SILENT\n");
    const ProgramResult result = run();
    EXPECT_EQ(result.exitCode, 3u) << result.err;
    EXPECT_EQ(withLf(result.out), "");
}
