#include "vm/VmValidation.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "launch/LaunchOptions.h"
#include "platform/FilePath.h"
#include "platform/Handle.h"
#include "platform/Text.h"
#include "vm/InstalledVm.h"
#include "vm/VerifyProbeText.h"

namespace kiv {

namespace {

const wchar_t kValidatorClass[] = L"com.vorlix.util.jvm.Validator";

constexpr DWORD kProbeTimeLimitMs = 5000;
// Far more than a header and a few property lines; a child that prints more
// is not the Verify program.
constexpr size_t kMaxProbeOutput = 1024 * 1024;
constexpr DWORD kPollSliceMs = 10;
constexpr DWORD kTerminationWaitMs = 2000;

// The Verify jar, or the empty string when neither place holds one. A folder
// already named jvmspecs gets no second look.
std::wstring locateVerifyJar(const std::wstring& specDirectory) {
    std::wstring jar = verifyJarPath(specDirectory);
    if (!FilePath(jar).exists()) {
        jar = nestedVerifyJarPath(specDirectory);
        if (jar.empty()) return std::wstring();
    }
    const FilePath found(jar);
    return found.isFile() ? jar : std::wstring();
}

// Moves what the pipe holds right now into `output` without blocking: waiting
// for more would stall the time limit, and a pipe that is not drained blocks
// a child writing more than the pipe holds (about 4 KiB under Wine). Answers
// false when the output grows past kMaxProbeOutput; `gotData` tells whether
// anything arrived.
bool readAvailable(HANDLE pipe, std::string& output, bool& gotData) {
    gotData = false;
    char chunk[4096];
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0)
            return true;
        const DWORD wanted = std::min<DWORD>(available, sizeof chunk);
        DWORD read = 0;
        if (!ReadFile(pipe, chunk, wanted, &read, nullptr) || read == 0) return true;
        if (output.size() + read > kMaxProbeOutput) return false;
        output.append(chunk, read);
        gotData = true;
    }
}

// A probe that is given up on must not outlive it: termination is
// asynchronous, so wait a little for the child to be gone.
void endChild(HANDLE process) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, kTerminationWaitMs);
}

// Collects the child's whole output while it runs. False when it outlives the
// time limit or prints too much; the child is then terminated.
bool collectOutput(HANDLE process, HANDLE pipe, std::string& output) {
    // Tick differences stay right across the 49-day wrap of GetTickCount.
    const DWORD started = GetTickCount();
    for (;;) {
        bool gotData = false;
        if (!readAvailable(pipe, output, gotData)) {
            endChild(process);
            return false;
        }
        const DWORD elapsed = GetTickCount() - started;
        if (elapsed >= kProbeTimeLimitMs) {
            endChild(process);
            return false;
        }
        const DWORD slice = gotData ? 0 : std::min(kPollSliceMs, kProbeTimeLimitMs - elapsed);
        const DWORD waited = WaitForSingleObject(process, slice);
        if (waited == WAIT_OBJECT_0) break;
        if (waited == WAIT_FAILED) {
            endChild(process);
            return false;
        }
    }
    // The child has ended, so everything it wrote is already in the pipe.
    bool gotData = false;
    return readAvailable(pipe, output, gotData);
}

// The text up to the first NUL byte, read as UTF-8.
std::wstring decodeAnswer(const std::string& output) {
    return utf8ToWide(output.substr(0, output.find('\0')));
}

}  // namespace

bool validatorRun(InstalledVm& vm, const std::wstring& argument) {
    LaunchOptions options;
    for (const std::wstring& entry : vm.options().classPath.entries()) options.classPath.add(entry);
    options.mainClass = kValidatorClass;
    options.applicationArguments = {L"1", argument};

    int64_t exitCode = -1;
    try {
        const KernelHandle process(static_cast<HANDLE>(vm.launch(options, true)));
        DWORD code = 0;
        if (process && GetExitCodeProcess(process.get(), &code)) exitCode = code;
    } catch (...) {
        // A VM that cannot be started is simply not valid.
        exitCode = -1;
    }
    return exitCode == 0;
}

bool verifyProbe(const std::wstring& specDirectory, const std::wstring& executable,
                 const std::map<std::wstring, std::wstring>& expected) {
    const std::wstring jar = locateVerifyJar(specDirectory);
    if (jar.empty()) return false;
    std::wstring commandLine = verifyCommandLine(executable, jar, expected);

    SECURITY_ATTRIBUTES inheritable = {};
    inheritable.nLength = sizeof inheritable;
    inheritable.bInheritHandle = TRUE;
    FileHandle readEnd;
    FileHandle writeEnd;
    HANDLE readHandle = nullptr;
    HANDLE writeHandle = nullptr;
    if (!CreatePipe(&readHandle, &writeHandle, &inheritable, 0)) return false;
    readEnd.reset(readHandle);
    writeEnd.reset(writeHandle);
    // Only the write end belongs to the child.
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    // A directory that does not fit a current directory is not handed over;
    // the jar path names the jar wherever the child starts.
    const std::wstring directory = fullPath(specDirectory, false);
    const bool useDirectory = !directory.empty() && directory.size() < MAX_PATH;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();

    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, useDirectory ? directory.c_str() : nullptr, &startup, &started))
        return false;  // no answer, so no match
    const KernelHandle process(started.hProcess);
    const KernelHandle thread(started.hThread);
    // The child holds its own copy; ours would keep the pipe open for ever.
    writeEnd.reset();

    std::string output;
    if (!collectOutput(process.get(), readEnd.get(), output)) return false;
    return verifyAnswerMatches(decodeAnswer(output), expected);
}

}  // namespace kiv
