#include "support/ProgramRun.h"

#include <map>
#include <thread>

namespace kivtest {

namespace {

struct Pipe {
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    Pipe() {
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        CreatePipe(&read, &write, &inheritable, 0);
    }
    ~Pipe() {
        if (read) CloseHandle(read);
        if (write) CloseHandle(write);
    }
    void closeWrite() {
        if (write) CloseHandle(write);
        write = nullptr;
    }
};

// Wine's pipes hold about 4 KiB, so both outputs are drained while the child runs.
std::thread drain(HANDLE pipe, std::string& into) {
    return std::thread([pipe, &into] {
        char chunk[4096];
        DWORD read = 0;
        while (ReadFile(pipe, chunk, sizeof chunk, &read, nullptr) && read > 0) into.append(chunk, read);
    });
}

std::vector<wchar_t> environmentBlock(const std::vector<std::wstring>& changes) {
    std::map<std::wstring, std::wstring> variables;  // name upper-cased -> entry
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
        std::wstring text(entry);
        const size_t equals = text.find(L'=', 1);
        std::wstring key = text.substr(0, equals);
        CharUpperW(&key[0]);
        variables[key] = text;
    }
    FreeEnvironmentStringsW(block);
    for (const std::wstring& change : changes) {
        const size_t equals = change.find(L'=');
        std::wstring key = change.substr(0, equals);
        CharUpperW(&key[0]);
        if (equals + 1 == change.size())
            variables.erase(key);
        else
            variables[key] = change;
    }
    std::vector<wchar_t> result;
    for (const auto& entry : variables) {
        result.insert(result.end(), entry.second.begin(), entry.second.end());
        result.push_back(L'\0');
    }
    result.push_back(L'\0');
    return result;
}

}  // namespace

std::string withLf(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

std::wstring buildBinDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer, length);
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring fixturePath(const std::wstring& name) { return buildBinDirectory() + L"\\fixtures\\" + name; }

ProgramResult runProgram(const std::wstring& commandLine, const ProgramRunOptions& options) {
    ProgramResult result;
    Pipe out, err, in;
    SetHandleInformation(out.read, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(err.read, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(in.write, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.read;
    startup.hStdOutput = out.write;
    startup.hStdError = err.write;
    PROCESS_INFORMATION process = {};
    std::wstring writable = commandLine;
    std::vector<wchar_t> environment = environmentBlock(options.environment);
    // The child runs in a job of its own, so that a run that overstays its
    // time ends together with every process it started.
    const HANDLE job = CreateJobObjectW(nullptr, nullptr);
    result.started = CreateProcessW(options.applicationName.empty() ? nullptr : options.applicationName.c_str(), &writable[0], nullptr, nullptr, TRUE,
                                    CREATE_UNICODE_ENVIRONMENT | CREATE_SUSPENDED, environment.data(),
                                    options.workingDirectory.empty() ? nullptr : options.workingDirectory.c_str(),
                                    &startup, &process) != FALSE;
    out.closeWrite();
    err.closeWrite();
    CloseHandle(in.read);
    in.read = nullptr;
    if (!result.started) {
        if (job != nullptr) CloseHandle(job);
        return result;
    }
    const bool inJob = job != nullptr && AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);

    std::thread outReader = drain(out.read, result.out);
    std::thread errReader = drain(err.read, result.err);
    if (!options.input.empty()) {
        DWORD written = 0;
        WriteFile(in.write, options.input.data(), static_cast<DWORD>(options.input.size()), &written, nullptr);
    }
    in.closeWrite();
    if (WaitForSingleObject(process.hProcess, options.timeoutMs) == WAIT_TIMEOUT) {
        // The child's own children hold the pipes too: end them all, or the
        // readers below would wait for them.
        if (!inJob || !TerminateJobObject(job, 0xDEAD)) TerminateProcess(process.hProcess, 0xDEAD);
        WaitForSingleObject(process.hProcess, 5000);
    }
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (job != nullptr) CloseHandle(job);
    outReader.join();
    errReader.join();
    return result;
}

}  // namespace kivtest
