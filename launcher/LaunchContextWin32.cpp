#include "launcher/LaunchContext.h"

#include <windows.h>

#include "launcher/CommandLine.h"
#include "launcher/EnvironmentSnapshot.h"
#include "launcher/Errors.h"
#include "platform/FilePath.h"

namespace kiv {

namespace {

// Arguments that name an existing file or folder become absolute, in long-name
// form, so the Java side gets paths that do not depend on the working folder.
std::wstring completePath(const std::wstring& argument) {
    if (!isPathCompletionCandidate(argument) || !FilePath(argument).exists()) return argument;
    return fullPath(argument, true);
}

}  // namespace

LaunchContext::LaunchContext() : LaunchContext(GetCommandLineW()) {}

LaunchContext::LaunchContext(const std::wstring& commandLine) {
    ParsedCommandLine parsed = parseCommandLine(commandLine);
    for (std::wstring& argument : parsed.arguments) argument = completePath(argument);
    arguments_ = std::move(parsed.arguments);
    serviceMode_ = parsed.serviceMode;
    serviceName_ = std::move(parsed.serviceName);
}

std::wstring LaunchContext::argumentAfter(const std::wstring& word) const {
    return kiv::argumentAfter(arguments_, word);
}

std::wstring LaunchContext::programPath() const {
    if (arguments_.empty()) throw TerminalError(L"unable to locate executable");
    FilePath program(arguments_.front());
    if (!program.hasExtension()) program = program.toString() + L".exe";
    if (program.exists()) return program.toString();
    const ClassPath searchPath = EnvironmentSnapshot::instance().pathList();
    for (const std::wstring& directory : searchPath.entries()) {
        FilePath candidate(directory + L"\\" + program.toString());
        if (candidate.exists()) return candidate.toString();
    }
    throw TerminalError(L"unable to locate executable");
}

}  // namespace kiv
