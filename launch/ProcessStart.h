// Starts a Java command line as a child that shares the launcher's console,
// environment and standard handles.
#pragma once

#include <string>

#include "launch/LaunchOptions.h"

namespace kiv {

// Returns the child's process handle (a HANDLE), which the caller owns; with
// `wait`, returns only after the child has ended. Throws TerminalError with
// string 103 and the Windows error code when the child cannot be started.
void* startProcess(const LaunchOptions& options, std::wstring commandLine, bool wait);

}  // namespace kiv
