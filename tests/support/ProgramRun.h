// Starts a program of the build the way a user would, with pipes as its
// standard output and error, and collects what it wrote and its exit code.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kivtest {

struct ProgramResult {
    DWORD exitCode = 0;
    std::string out;
    std::string err;
    bool started = false;
};

struct ProgramRunOptions {
    std::wstring workingDirectory;  // empty: the test's own
    // Extra "NAME=VALUE" entries; "NAME=" removes a variable for the child.
    std::vector<std::wstring> environment;
    std::string input;  // written to the child's standard input, then closed
    DWORD timeoutMs = 60000;
    std::wstring applicationName;  // when set, started by this path whatever the command line says
};

// The text with every CR LF turned into LF: programs that write through the C
// runtime's text-mode streams end their lines with CR LF on Windows.
std::string withLf(const std::string& text);

// `commandLine` is passed unchanged to CreateProcessW.
ProgramResult runProgram(const std::wstring& commandLine, const ProgramRunOptions& options = {});

// The folder of the running test exe (where the build puts every program).
std::wstring buildBinDirectory();
std::wstring fixturePath(const std::wstring& name);

}  // namespace kivtest
