#include "launcher/RuntimePropertyFile.h"

#include <windows.h>

#include "launcher/Errors.h"
#include "launcher/RuntimeLines.h"
#include "platform/FilePath.h"
#include "platform/TextStream.h"

namespace kiv {

namespace {

// The temporary folder is asked for with room for the file name the system
// adds to it ("kivXXXX.tmp"), so the whole path stays within 260 characters.
constexpr DWORD kTempFolderBuffer = 246;

std::wstring createTemporaryFile() {
    wchar_t folder[kTempFolderBuffer] = {};
    const DWORD length = GetTempPathW(kTempFolderBuffer, folder);
    if (length == 0 || length >= kTempFolderBuffer)
        throw FileException(L"windows could not open the file specified", L"%TEMP%");
    wchar_t name[MAX_PATH] = {};
    if (GetTempFileNameW(folder, L"kiv", 0, name) == 0)
        throw FileException(L"windows could not open the file specified", folder);
    return FilePath(name).toString();
}

}  // namespace

RuntimePropertyFile& RuntimePropertyFile::instance() {
    static RuntimePropertyFile file(createTemporaryFile());
    return file;
}

void RuntimePropertyFile::append(const std::wstring& lines) const {
    TextAppendStream stream(path_);
    stream.write(lines);
}

void writeCurrentVm(const std::wstring& executablePath) {
    RuntimePropertyFile::instance().append(currentVmLine(executablePath));
}

}  // namespace kiv
