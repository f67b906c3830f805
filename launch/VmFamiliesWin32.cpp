#include "launch/VmFamilies.h"

#include <windows.h>

#include "launch/JavaCommandLine.h"
#include "launch/ProcessStart.h"
#include "launcher/Errors.h"
#include "launcher/StringTable.h"
#include "platform/FilePath.h"
#include "vm/VmCandidate.h"

namespace kiv {

void* JreVm::launch(LaunchOptions options, bool wait) {
    options.classPath.add(home() + L"\\lib\\classes.zip");
    return startProcess(options, jreCommandLine(executablePath(), options), wait);
}

std::wstring JreVm::executablePath() const {
    const FilePath jre(home() + L"\\bin\\jre.exe");
    return jre.exists() ? jre.toString() : FilePath(home() + L"\\bin\\java.exe").toString();
}

void* JavaVm::launch(LaunchOptions options, bool wait) {
    return startProcess(options, javaCommandLine(executablePath(), version().major(), options), wait);
}

std::wstring JavaVm::executablePath() const {
    const std::wstring folder = FilePath(home()).fileName(true);
    const bool systemFolder = folder == L"system32" || folder == L"syswow64";
    const FilePath candidate(home() + (systemFolder ? L"\\java.exe" : L"\\bin\\java.exe"));
    return candidate.exists() ? candidate.toString() : FilePath(home() + L"\\java.exe").toString();
}

JviewVm::JviewVm() {
    setVersion(VersionNumber(1, 4, 0));
    setVendor(L"Microsoft");
    setKind(VmKind::MSJ);
}

void* JviewVm::launch(LaunchOptions options, bool wait) {
    if (static_cast<int64_t>(jviewBuild(home())) < options.msvmMinVersion)
        throw TerminalError(StringTable::instance().get(kNoValidVm));
    // The Microsoft VM takes its class path from the environment it inherits.
    SetEnvironmentVariableW(L"CLASSPATH", options.classPath.join().c_str());
    return startProcess(options, jviewCommandLine(executablePath(), options), wait);
}

std::wstring JviewVm::executablePath() const { return FilePath(home() + L"\\jview.exe").toString(); }

std::unique_ptr<InstalledVm> makeInstalledVm(VmFamily family) {
    switch (family) {
        case VmFamily::Jview:
            return std::make_unique<JviewVm>();
        case VmFamily::Java:
            return std::make_unique<JavaVm>();
        case VmFamily::Jre:
            break;
    }
    return std::make_unique<JreVm>();
}

}  // namespace kiv
