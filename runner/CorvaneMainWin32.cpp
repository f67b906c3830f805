// Corvane: runs its own command line in a new, hidden console, hands the child its own standard
// handles, waits for it and ends with the child's exit code. A GUI-subsystem program so that
// starting it never flashes a console window; it links nothing beyond the system and the
// platform's header-only handle owners.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/Handle.h"

namespace kiv {
namespace {

constexpr int kExitCreateFailed = 2;
constexpr int kExitCodeUnknown = 1;

// The CRT of a GUI program may start without stdout bound to the handle its caller passed.
// Bind descriptor 1 to STD_OUTPUT_HANDLE explicitly so the progress lines reach a pipe or
// file given as standard output; without a standard output the lines are dropped silently.
// Text mode, as the runtime's own standard output: each line ends with CR LF.
void bindStandardOutput() {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE) {
        return;
    }
    if (_get_osfhandle(_fileno(stdout)) != reinterpret_cast<intptr_t>(output)) {
        // The descriptor must not own the handle the child inherits too, so work on a copy.
        HANDLE copy = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), output, GetCurrentProcess(), &copy, 0, FALSE,
                             DUPLICATE_SAME_ACCESS)) {
            return;
        }
        int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(copy), _O_BINARY);
        if (descriptor < 0) {
            CloseHandle(copy);
            return;
        }
        if (freopen("NUL", "wb", stdout) == nullptr || _dup2(descriptor, _fileno(stdout)) != 0) {
            _close(descriptor);
            return;
        }
        _close(descriptor);
    }
    _setmode(_fileno(stdout), _O_TEXT);
}

void writeProgressLine(const char* line) {
    std::printf("%s", line);
    std::fflush(stdout);
}

// Waits for the child to end and answers its exit code. Waiting on the process handle (rather
// than polling GetExitCodeProcess for STILL_ACTIVE) also sees a child whose own code is 259.
DWORD waitForChild(HANDLE process, DWORD platformId) {
    if (platformId == VER_PLATFORM_WIN32_NT) {
        WaitForInputIdle(process, INFINITE);
    }
    WaitForSingleObject(process, INFINITE);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process, &exitCode)) {
        return kExitCodeUnknown;
    }
    return exitCode;
}

bool isBlank(const char* text) {
    for (; *text != '\0'; ++text) {
        if (*text != ' ' && *text != '\t') {
            return false;
        }
    }
    return true;
}

// Starts the command line as a child in a hidden console with this program's standard handles;
// false when it cannot be created. The child's handles are owned by the caller's owners.
bool startChild(const char* commandLine, KernelHandle& process, KernelHandle& thread) {
    // An empty command line names no program; refuse it here rather than rely on how the
    // platform's search treats it.
    if (commandLine == nullptr || isBlank(commandLine)) {
        return false;
    }
    // CreateProcessA may write into the command line, so it gets a private, writable copy.
    // (The C runtime's copy keeps the program free of the C++ library's string machinery.)
    std::unique_ptr<char, decltype(&std::free)> writable(_strdup(commandLine), &std::free);
    if (!writable) {
        return false;
    }

    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);

    PROCESS_INFORMATION info;
    std::memset(&info, 0, sizeof info);
    BOOL created = CreateProcessA(nullptr, writable.get(), nullptr, nullptr, TRUE,
                                  CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                                  &startup, &info);
    if (!created) {
        return false;
    }
    process = KernelHandle(info.hProcess);
    thread = KernelHandle(info.hThread);
    return true;
}

int run(const char* commandLine) {
    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);

    bindStandardOutput();
    writeProgressLine("Corvane started.\n");

    DWORD exitCode = 0;
    {
        // Declared process first so the thread handle is closed before the process handle.
        KernelHandle process;
        KernelHandle thread;
        if (!startChild(commandLine, process, thread)) {
            return kExitCreateFailed;
        }
        exitCode = waitForChild(process.get(), version.dwPlatformId);
    }

    writeProgressLine("Corvane finished.\n");
    return static_cast<int>(exitCode);
}

}  // namespace
}  // namespace kiv

// The GUI entry point's command line is already stripped of this program's name, its quotes
// and the blanks after it: exactly the child's command line.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    return kiv::run(commandLine);
}
