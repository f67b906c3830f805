// The three families of Java VM, each with its own executable and its own form
// of the Java command line: JreVm (Java 1.1 and older), JavaVm (Java 1.2 and
// later, and every VM named by the user) and JviewVm (the Microsoft VM).
#pragma once

#include <memory>

#include "vm/InstalledVm.h"

namespace kiv {

class JreVm : public InstalledVm {
public:
    // Appends home\lib\classes.zip to its copy of the class path.
    void* launch(LaunchOptions options, bool wait) override;
    using InstalledVm::launch;
    // home\bin\jre.exe when it exists, otherwise home\bin\java.exe.
    std::wstring executablePath() const override;
    VmFamily family() const override { return VmFamily::Jre; }
};

class JavaVm : public InstalledVm {
public:
    void* launch(LaunchOptions options, bool wait) override;
    using InstalledVm::launch;
    // home\java.exe for a home in the system folder or without bin\java.exe,
    // otherwise home\bin\java.exe.
    std::wstring executablePath() const override;
    VmFamily family() const override { return VmFamily::Java; }
};

class JviewVm : public InstalledVm {
public:
    JviewVm();
    // Refuses a build older than the options' least build (string 101), and
    // hands the class path over in the CLASSPATH variable.
    void* launch(LaunchOptions options, bool wait) override;
    using InstalledVm::launch;
    std::wstring executablePath() const override;  // home\jview.exe
    VmFamily family() const override { return VmFamily::Jview; }
};

// The class for a found VM: MSJ gives JviewVm, major 2 or more JavaVm, else JreVm.
std::unique_ptr<InstalledVm> makeInstalledVm(VmFamily family);

}  // namespace kiv
