// The per-process temporary property file through which the Java side learns
// the environment, the console settings and the chosen VM. The launcher only
// appends to it, one open-append-close per write, and leaves it behind.
#pragma once

#include <string>

namespace kiv {

class RuntimePropertyFile {
public:
    // Creates the file "kivXXXX.tmp" in the temporary folder on the first call.
    // Throws FileException when no temporary file can be made.
    static RuntimePropertyFile& instance();

    const std::wstring& path() const { return path_; }

    // Appends lines ("\n" ends each; the file stores CR LF). Throws FileException.
    void append(const std::wstring& lines) const;

private:
    explicit RuntimePropertyFile(std::wstring path) : path_(std::move(path)) {}
    std::wstring path_;
};

// Appends "kiv.nl.current.vm=" with the escaped executable of the chosen VM.
void writeCurrentVm(const std::wstring& executablePath);

}  // namespace kiv
