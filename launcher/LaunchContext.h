// The launcher's command line: its arguments after quote joining and path
// completion, and the service switch.
#pragma once

#include <string>
#include <vector>

namespace kiv {

class LaunchContext {
public:
    // Parses the process command line.
    LaunchContext();
    explicit LaunchContext(const std::wstring& commandLine);

    bool isServiceMode() const { return serviceMode_; }
    std::wstring serviceName() const { return serviceName_; }
    const std::vector<std::wstring>& arguments() const { return arguments_; }

    // The argument after the first one equal to `word`; empty when none.
    std::wstring argumentAfter(const std::wstring& word) const;

    // The launcher's executable, found from the first argument alone: as given
    // (with ".exe" added when it has no extension), else in a PATH directory.
    // Throws TerminalError "unable to locate executable".
    std::wstring programPath() const;

private:
    std::vector<std::wstring> arguments_;
    bool serviceMode_ = false;
    std::wstring serviceName_;
};

}  // namespace kiv
