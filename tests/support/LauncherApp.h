// An application folder for end-to-end runs: the launcher copied in under the
// application's name beside its .kiv file, and stand-in VMs installed where a
// test wants them. Everything lives in a fresh temporary folder that is
// removed again.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/ProgramRun.h"

namespace kivtest {

using Record = std::map<std::string, std::string>;

class LauncherApp {
public:
    explicit LauncherApp(const std::wstring& name = L"MyApp", const std::wstring& exeName = L"");
    ~LauncherApp();
    LauncherApp(const LauncherApp&) = delete;
    LauncherApp& operator=(const LauncherApp&) = delete;

    const std::wstring& root() const { return root_; }
    const std::wstring& appDir() const { return appDir_; }
    const std::wstring& exePath() const { return exePath_; }

    // Writes a file below the root (folders are created); bytes as given.
    std::wstring writeFile(const std::wstring& relativePath, const std::string& bytes) const;
    std::wstring writeKiv(const std::string& content) const;  // <app>\<name>.kiv
    void makeDirectory(const std::wstring& relativePath) const;

    // Copies a fixture to root\relativeDir\exeName and writes its standin.cfg.
    std::wstring installVm(const std::wstring& relativeDir, const std::string& config = "",
                           const std::wstring& fixture = L"standin.exe",
                           const std::wstring& exeName = L"java.exe") const;

    // Runs the launcher with `arguments` after its quoted path.
    ProgramResult run(const std::wstring& arguments = L"", ProgramRunOptions options = {}) const;

    // The records the stand-in in root\relativeDir wrote, oldest first.
    std::vector<Record> records(const std::wstring& relativeDir) const;
    // The newest of them; throws (failing the test) when the stand-in never ran.
    Record lastRecord(const std::wstring& relativeDir) const;

private:
    std::wstring root_;
    std::wstring appDir_;
    std::wstring exePath_;
};

std::string readBytes(const std::wstring& path);
std::string narrow(const std::wstring& text);  // UTF-8
std::wstring widen(const std::string& text);   // from UTF-8
bool fileExists(const std::wstring& path);
void removeTree(const std::wstring& path);

}  // namespace kivtest
