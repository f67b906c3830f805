// Each VM family started for real: the executable it picks, the command line
// the stand-in receives, and the Microsoft VM's build check and CLASSPATH.
#include <windows.h>

#include <gtest/gtest.h>

#include "launch/VmFamilies.h"
#include "launcher/Errors.h"
#include "platform/Handle.h"
#include "support/LauncherApp.h"

using namespace kiv;
using namespace kivtest;

namespace {

LaunchOptions applicationOptions(const LauncherApp& app) {
    LaunchOptions options;
    options.workingDirectory = app.root();
    options.mainClass = L"com.example.Main";
    options.classPath.add(L"C:\\app\\app.jar");
    options.leadingArguments = {L"C:\\app\\MyApp.kiv", L"C:\\temp\\kiv1.tmp"};
    options.heapMax = 1024;
    return options;
}

DWORD runToEnd(InstalledVm& vm, const LaunchOptions& options) {
    KernelHandle process(static_cast<HANDLE>(vm.launch(options, true)));
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

}  // namespace

TEST(VmFamilies, AJreVmPrefersJreExeWithMinusCpAndAddsClassesZip) {
    LauncherApp app;
    app.installVm(L"jre11\\bin", "exit=2\n", L"standin.exe", L"jre.exe");
    app.installVm(L"jre11\\bin", "exit=2\n", L"standin.exe", L"java.exe");
    JreVm vm;
    vm.setHome(app.root() + L"\\jre11");
    EXPECT_EQ(vm.executablePath(), app.root() + L"\\jre11\\bin\\jre.exe");
    EXPECT_EQ(runToEnd(vm, applicationOptions(app)), 2u);
    const std::string home = narrow(app.root()) + "\\jre11";
    EXPECT_EQ(app.lastRecord(L"jre11\\bin").at("cmdline"),
              "\"" + home + "\\bin\\jre.exe\" -mx1024 -cp \"C:\\app\\app.jar;" + home +
                  "\\lib\\classes.zip;\" com.example.Main \"C:/app/MyApp.kiv\" \"C:/temp/kiv1.tmp\" ");
}

TEST(VmFamilies, AJavaVmInTheSystemFolderOrWithoutBinStartsHomeJavaExe) {
    LauncherApp app;
    app.installVm(L"Windows\\System32", "", L"standin.exe", L"java.exe");
    app.installVm(L"flat", "", L"standin.exe", L"java.exe");
    JavaVm vm;
    for (const wchar_t* home : {L"Windows\\System32", L"flat"}) {
        vm.setHome(app.root() + L"\\" + home);
        EXPECT_EQ(vm.executablePath(), app.root() + L"\\" + home + L"\\java.exe");
    }
    app.installVm(L"jdk\\bin");
    vm.setHome(app.root() + L"\\jdk");
    vm.setVersion(VersionNumber(11, 0, 0));
    EXPECT_EQ(vm.executablePath(), app.root() + L"\\jdk\\bin\\java.exe");
    runToEnd(vm, applicationOptions(app));
    EXPECT_NE(app.lastRecord(L"jdk\\bin").at("cmdline").find(
                  "java.exe\" --add-opens java.base/jdk.internal.loader=ALL-UNNAMED -Xmx1024 -classpath "),
              std::string::npos);
}

TEST(VmFamilies, TheMicrosoftVmChecksItsBuildAndTakesTheClassPathFromTheEnvironment) {
    LauncherApp app;
    app.installVm(L"msjava", "env=CLASSPATH\n", L"standin_jview.exe", L"jview.exe");
    JviewVm vm;
    vm.setHome(app.root() + L"\\msjava");
    LaunchOptions options = applicationOptions(app);

    options.msvmMinVersion = 3811;  // the stand-in's build is 3810
    EXPECT_THROW(vm.launch(options, true), TerminalError);
    EXPECT_TRUE(app.records(L"msjava").empty());

    options.msvmMinVersion = 3810;
    runToEnd(vm, options);
    const Record run = app.lastRecord(L"msjava");
    EXPECT_EQ(run.at("cmdline"), "\"" + narrow(app.root()) +
                                     "\\msjava\\jview.exe\" /cp \"C:\\app\\app.jar;\" com.example.Main "
                                     "\"C:/app/MyApp.kiv\" \"C:/temp/kiv1.tmp\" ");
    EXPECT_EQ(run.at("env.CLASSPATH"), "C:\\app\\app.jar;");
}
