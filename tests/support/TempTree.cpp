#include "support/TempTree.h"

#include <windows.h>

#include <stdexcept>

#include "platform/Text.h"
#include "support/LauncherApp.h"

namespace kiv {
namespace test {

namespace {

[[noreturn]] void fail(const char* what, const std::wstring& path) {
    const DWORD error = GetLastError();
    throw std::runtime_error(std::string(what) + " failed (error " + std::to_string(error) +
                             ") for " + wideToUtf8(path));
}

std::wstring folderOf(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void createFolders(const std::wstring& path) {
    if (path.empty() || GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    createFolders(folderOf(path));
    if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        fail("CreateDirectoryW", path);
}

}  // namespace

std::wstring fixturePath(const std::wstring& name) { return kivtest::fixturePath(name); }

TempTree::TempTree() {
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) fail("GetTempPathW", L"%TEMP%");
    std::wstring base(temp, length);
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    const std::wstring prefix = base + L"\\kivtest_" + decimal(GetCurrentProcessId()) + L"_";
    for (unsigned attempt = 0; attempt < 10000; ++attempt) {
        const std::wstring candidate = prefix + decimal(attempt);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            root_ = candidate;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) fail("CreateDirectoryW", candidate);
    }
    throw std::runtime_error("no free temporary folder name");
}

TempTree::~TempTree() { kivtest::removeTree(root_); }

void awaitFolderRelease(const std::wstring& folder) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE handle = CreateFileW(folder.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
            return;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION) return;
        Sleep(10);
    }
}

std::wstring TempTree::path(const std::wstring& relative) const {
    return relative.empty() ? root_ : root_ + L"\\" + relative;
}

std::wstring TempTree::makeFolder(const std::wstring& relative) const {
    const std::wstring full = path(relative);
    createFolders(full);
    return full;
}

std::wstring TempTree::writeFile(const std::wstring& relative, const std::string& bytes) const {
    const std::wstring full = path(relative);
    createFolders(folderOf(full));
    HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) fail("CreateFileW", full);
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) fail("WriteFile", full);
    return full;
}

std::wstring TempTree::copyFixture(const std::wstring& fixtureName,
                                   const std::wstring& relative) const {
    const std::wstring full = path(relative);
    createFolders(folderOf(full));
    const std::wstring source = fixturePath(fixtureName);
    if (!CopyFileW(source.c_str(), full.c_str(), FALSE)) fail("CopyFileW", source);
    return full;
}

}  // namespace test
}  // namespace kiv
