// End-to-end tests of Corvane: the real program is started with a pipe as its standard output
// and error, and its exit code and the bytes on the pipe are checked.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kStartedLine = "Corvane started.\r\n";
const std::string kFinishedLine = "Corvane finished.\r\n";

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle = nullptr) : handle_(handle) {}
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

std::wstring corvanePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            return path.substr(0, path.find_last_of(L"\\/") + 1) + L"Corvane.exe";
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Appends whatever the pipe holds now without blocking on an empty pipe.
void drainAvailable(HANDLE pipe, std::string& output) {
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char chunk[4096];
        DWORD read = 0;
        if (!ReadFile(pipe, chunk, sizeof chunk, &read, nullptr) || read == 0) {
            return;
        }
        output.append(chunk, read);
    }
}

struct CorvaneRun {
    DWORD exitCode = 0;
    std::string output;
};

// Runs Corvane with `arguments` after its quoted path. The pipe is drained while Corvane runs
// (Wine's pipes hold about 4 KiB) and not read to its end: under Wine the hidden console's
// helper processes may inherit the write end and keep it open after Corvane has ended.
CorvaneRun runCorvane(const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        ADD_FAILURE() << "CreatePipe failed: " << GetLastError();
        return {};
    }
    OwnedHandle pipeRead(readEnd);
    OwnedHandle pipeWrite(writeEnd);
    SetHandleInformation(pipeRead.get(), HANDLE_FLAG_INHERIT, 0);
    OwnedHandle input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inheritable, OPEN_EXISTING, 0, nullptr));

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = pipeWrite.get();
    startup.hStdError = pipeWrite.get();

    std::wstring commandLine = L"\"" + corvanePath() + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    // In a job of its own, so that a run that overstays ends with its hidden child.
    OwnedHandle job(CreateJobObjectW(nullptr, nullptr));
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &info)) {
        ADD_FAILURE() << "cannot start Corvane: " << GetLastError();
        return {};
    }
    OwnedHandle process(info.hProcess);
    OwnedHandle thread(info.hThread);
    const bool inJob = job.get() != nullptr && AssignProcessToJobObject(job.get(), process.get());
    ResumeThread(thread.get());
    pipeWrite = OwnedHandle();

    CorvaneRun run;
    const DWORD started = GetTickCount();
    while (WaitForSingleObject(process.get(), 50) == WAIT_TIMEOUT) {
        drainAvailable(pipeRead.get(), run.output);
        if (GetTickCount() - started > 60000) {
            ADD_FAILURE() << "Corvane did not end within a minute";
            if (!inJob || !TerminateJobObject(job.get(), 0xDEAD)) TerminateProcess(process.get(), 0xDEAD);
            WaitForSingleObject(process.get(), 5000);
        }
    }
    // Everything Corvane and its child wrote is in the pipe once Corvane has ended.
    drainAvailable(pipeRead.get(), run.output);
    EXPECT_TRUE(GetExitCodeProcess(process.get(), &run.exitCode));
    return run;
}

struct CorvaneCase {
    const char* behaviour;
    std::wstring arguments;
    DWORD exitCode;
    bool childStarts;
    std::string childOutput;
};

TEST(CorvaneTest, RunsTheCommandLineAndEndsWithItsExitCode) {
    const std::vector<CorvaneCase> cases = {
        {"the child's exit code is passed on", L"cmd /c exit 7", 7, true, ""},
        {"a child ending with 259 is still seen to end", L"cmd /c exit 259", 259, true, ""},
        {"the child's output reaches the caller's pipe", L"cmd /c echo hello", 0, true, "hello"},
        {"a missing program cannot be created", L"corvane-no-such-program.exe", 2, false, ""},
        {"an empty command line cannot be created", L"", 2, false, ""},
        {"a blank command line cannot be created", L"   ", 2, false, ""},
    };
    for (const CorvaneCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        CorvaneRun run = runCorvane(c.arguments);
        EXPECT_EQ(c.exitCode, run.exitCode);
        if (!c.childStarts) {
            EXPECT_EQ(kStartedLine, run.output);
            continue;
        }
        // The child's own output, if any, comes between the two lines.
        ASSERT_GE(run.output.size(), kStartedLine.size() + kFinishedLine.size()) << run.output;
        EXPECT_EQ(kStartedLine, run.output.substr(0, kStartedLine.size())) << run.output;
        EXPECT_EQ(kFinishedLine, run.output.substr(run.output.size() - kFinishedLine.size()))
            << run.output;
        std::string between = run.output.substr(
            kStartedLine.size(), run.output.size() - kStartedLine.size() - kFinishedLine.size());
        EXPECT_EQ(std::string::npos, between.find("Corvane")) << run.output;
        EXPECT_NE(std::string::npos, between.find(c.childOutput)) << run.output;
    }
}

}  // namespace
