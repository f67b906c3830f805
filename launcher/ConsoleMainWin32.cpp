// Entry point of console.exe: build the launch context, run the launcher, and
// turn every failure into one line on standard error.
#include <windows.h>

#include <cstdio>
#include <exception>

#include "launcher/CommandLine.h"
#include "launcher/ErrorLine.h"
#include "launcher/Errors.h"
#include "launcher/LaunchContext.h"
#include "launcher/Launcher.h"
#include "launcher/StringTable.h"
#include "platform/Arguments.h"
#include "platform/Wow64.h"
#include "service/ServiceHost.h"

namespace {

// Before main: DLLs are searched in the system folder only, never in the
// current folder, so a planted DLL beside the application cannot be loaded.
struct DllSearchHardening {
    DllSearchHardening() {
        HMODULE kernel32 = GetModuleHandleW(L"KERNEL32");
        if (kernel32 == nullptr) return;
        using SetDefaultFn = BOOL(WINAPI*)(DWORD);
        using SetDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
        using SetModeFn = BOOL(WINAPI*)(DWORD);
        if (auto setDefault = reinterpret_cast<SetDefaultFn>(
                reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories"))))
            setDefault(0x800);
        if (auto setDirectory = reinterpret_cast<SetDirectoryFn>(
                reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDllDirectoryW"))))
            setDirectory(L"");
        if (auto setMode = reinterpret_cast<SetModeFn>(
                reinterpret_cast<void*>(GetProcAddress(kernel32, "SetSearchPathMode"))))
            setMode(0x8001);
    }
} dllSearchHardening;

// Failures end with 1, so a caller can tell a failed launch from a Java
// program that ended with 0.
constexpr int kFailureExitCode = 1;

void consolePause(const kiv::Launcher& launcher) {
    const bool controlHeld = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (!launcher.properties().consolePause() && !controlHeld) return;
    fputs("[press enter to close this window]\n", stdout);
    fflush(stdout);
    getchar();
}

}  // namespace

int wmain() {
    if (kiv::isWow64Process()) kiv::disableFileSystemRedirection();
    const kiv::LaunchContext context;
    try {
        if (context.isServiceMode()) {
            kiv::runServiceHost(context);
            return 0;
        }
        kiv::Launcher launcher(context);
        // Only an installer's download honours "silent", so only then is the
        // command line split a second time.
        if (launcher.installerMode())
            launcher.setSilent(kiv::silentFromArguments(kiv::standardArgumentsAfterProgramName(),
                                                        launcher.silent()));
        launcher.run(true);
        consolePause(launcher);
        return static_cast<int>(launcher.exitCode());
    } catch (const kiv::TerminalError& error) {
        kiv::reportError(error.message());
    } catch (const std::exception& error) {
        kiv::reportError(kiv::unknownExceptionMessage(error.what()));
    }
    return kFailureExitCode;
}
