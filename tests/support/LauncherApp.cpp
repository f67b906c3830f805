#include "support/LauncherApp.h"

#include <windows.h>

#include <stdexcept>

namespace kivtest {

namespace {

std::wstring uniqueTempFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        const std::wstring folder = std::wstring(temp) + L"kivtest_" + std::to_wstring(GetCurrentProcessId()) +
                                    L"_" + std::to_wstring(++counter);
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a test folder in the temporary folder");
    }
}

void makeDirectories(const std::wstring& path) {
    for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
}

std::wstring folderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

}  // namespace

std::string narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring widen(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string readBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char chunk[8192];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

void removeTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

LauncherApp::LauncherApp(const std::wstring& name, const std::wstring& exeName)
    : root_(uniqueTempFolder()), appDir_(root_ + L"\\app") {
    makeDirectories(appDir_);
    exePath_ = appDir_ + L"\\" + (exeName.empty() ? name + L".exe" : exeName);
    CopyFileW((buildBinDirectory() + L"\\console.exe").c_str(), exePath_.c_str(), FALSE);
}

LauncherApp::~LauncherApp() { removeTree(root_); }

std::wstring LauncherApp::writeFile(const std::wstring& relativePath, const std::string& bytes) const {
    const std::wstring path = root_ + L"\\" + relativePath;
    makeDirectories(folderOf(path));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

std::wstring LauncherApp::writeKiv(const std::string& content) const {
    const std::wstring exe = exePath_.substr(exePath_.find_last_of(L'\\') + 1);
    return writeFile(L"app\\" + exe.substr(0, exe.find_last_of(L'.')) + L".kiv", content);
}

void LauncherApp::makeDirectory(const std::wstring& relativePath) const {
    makeDirectories(root_ + L"\\" + relativePath);
}

std::wstring LauncherApp::installVm(const std::wstring& relativeDir, const std::string& config,
                                    const std::wstring& fixture, const std::wstring& exeName) const {
    const std::wstring dir = root_ + L"\\" + relativeDir;
    makeDirectories(dir);
    const std::wstring exe = dir + L"\\" + exeName;
    CopyFileW(fixturePath(fixture).c_str(), exe.c_str(), FALSE);
    writeFile(relativeDir + L"\\standin.cfg", config);
    return exe;
}

ProgramResult LauncherApp::run(const std::wstring& arguments, ProgramRunOptions options) const {
    if (options.workingDirectory.empty()) options.workingDirectory = appDir_;
    return runProgram(L"\"" + exePath_ + L"\"" + (arguments.empty() ? L"" : L" " + arguments), options);
}

Record LauncherApp::lastRecord(const std::wstring& relativeDir) const {
    std::vector<Record> all = records(relativeDir);
    if (all.empty()) throw std::runtime_error("the stand-in VM in " + narrow(relativeDir) + " never ran");
    return all.back();
}

std::vector<Record> LauncherApp::records(const std::wstring& relativeDir) const {
    std::vector<Record> result;
    const std::string text = readBytes(root_ + L"\\" + relativeDir + L"\\standin.log");
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 2;
        if (line == "[run]") {
            result.emplace_back();
            continue;
        }
        const size_t equals = line.find('=');
        if (equals != std::string::npos && !result.empty())
            result.back()[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return result;
}

}  // namespace kivtest
