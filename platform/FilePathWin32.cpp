#include "platform/FilePath.h"

#include <windows.h>

#include "platform/Handle.h"
#include "platform/PathText.h"

namespace kiv {

namespace {

// The design's path buffers hold 260 characters; a result that does not fit is
// not used, and the input stays as it was.
constexpr DWORD kPathBuffer = MAX_PATH;

std::wstring normalize(const std::wstring& path) {
    return longPathName(normalizeSeparators(path));
}

}  // namespace

std::wstring longPathName(const std::wstring& path) {
    if (path.find(L'~') == std::wstring::npos) return path;
    wchar_t buffer[kPathBuffer] = {};
    const DWORD length = GetLongPathNameW(path.c_str(), buffer, kPathBuffer);
    if (length == 0 || length >= kPathBuffer) return path;
    return std::wstring(buffer, length);
}

std::wstring fullPath(const std::wstring& path, bool expandShortNames) {
    if (path.empty() || path[0] == L'/') return path;
    wchar_t buffer[kPathBuffer] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), kPathBuffer, buffer, nullptr);
    if (length == 0 || length >= kPathBuffer) return path;
    std::wstring result(buffer, length);
    return expandShortNames ? longPathName(result) : result;
}

FilePath::FilePath(const std::wstring& path) : path_(normalize(path)) {}

FilePath& FilePath::operator=(const std::wstring& path) {
    path_ = normalize(path);
    return *this;
}

std::wstring FilePath::fileName(bool lowerCase) const { return pathFileName(path_, lowerCase); }
bool FilePath::hasExtension() const { return pathHasExtension(path_); }
std::wstring FilePath::extension() const { return pathExtension(path_); }
bool FilePath::isAbsolute() const { return pathIsAbsolute(path_); }
std::wstring FilePath::parent(const std::wstring& fallback) const { return pathParent(path_, fallback); }
FilePath FilePath::parentPath() const { return FilePath(parent(L".")); }

bool FilePath::exists() const {
    return !path_.empty() && GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FilePath::isDirectory() const {
    if (path_.empty()) return false;
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FilePath::isFile() const {
    if (path_.empty()) return false;
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

uint32_t FilePath::fileSize() const {
    FileHandle file(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0xFFFFFFFFu;
    return GetFileSize(file.get(), nullptr);
}

}  // namespace kiv
