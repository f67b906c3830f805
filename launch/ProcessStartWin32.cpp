#include "launch/ProcessStart.h"

#include <windows.h>

#include <cwchar>

#include "launcher/Errors.h"
#include "launcher/StringTable.h"
#include "platform/FilePath.h"
#include "platform/Handle.h"

namespace kiv {

namespace {

// The working folder in its full form; a path that does not fit the 260
// characters a current directory may hold is refused rather than cut.
std::wstring workingDirectoryFor(const LaunchOptions& options) {
    const std::wstring directory = fullPath(options.workingDirectory, false);
    return directory.size() < MAX_PATH ? directory : std::wstring();
}

std::wstring startFailure(DWORD error) {
    wchar_t message[512] = {};
    const std::wstring format = StringTable::instance().get(kVmStartFailed);
    swprintf(message, 512, format.c_str(), static_cast<int>(error));
    return message;
}

}  // namespace

void* startProcess(const LaunchOptions& options, std::wstring commandLine, bool wait) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);

    const std::wstring directory = workingDirectoryFor(options);
    if (directory.empty() && !fullPath(options.workingDirectory, false).empty())
        throw TerminalError(startFailure(ERROR_FILENAME_EXCED_RANGE));

    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        const DWORD error = GetLastError();
        throw TerminalError(startFailure(error));
    }
    KernelHandle thread(process.hThread);  // nothing uses the primary thread
    if (wait) WaitForSingleObject(process.hProcess, INFINITE);
    return process.hProcess;
}

}  // namespace kiv
