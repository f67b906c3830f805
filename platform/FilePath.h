// A path value, normalised whenever it is built from a plain string: doubled
// backslashes collapse (a UNC prefix stays), slashes become backslashes, and a
// path holding '~' is replaced by its long form when the system knows one.
// The queries ask the file system; they never throw.
#pragma once

#include <cstdint>
#include <string>

namespace kiv {

class FilePath {
public:
    FilePath() = default;
    FilePath(const std::wstring& path);  // NOLINT: normalising conversion is the point
    FilePath(const wchar_t* path) : FilePath(std::wstring(path)) {}
    FilePath& operator=(const std::wstring& path);

    const std::wstring& toString() const { return path_; }
    bool empty() const { return path_.empty(); }

    std::wstring fileName(bool lowerCase = false) const;
    bool hasExtension() const;
    std::wstring extension() const;
    bool isAbsolute() const;
    std::wstring parent(const std::wstring& fallback) const;
    FilePath parentPath() const;

    bool exists() const;
    bool isDirectory() const;
    // Exists and is not a directory, in one look-up.
    bool isFile() const;
    // Low 32 bits of the size; 0xFFFFFFFF when the file cannot be opened.
    uint32_t fileSize() const;

private:
    std::wstring path_;
};

// The absolute form of a path through the system's full-path conversion. The
// empty path and paths starting with '/' come back unchanged, and so does a
// path the system cannot convert or whose result would not fit 260 characters.
// With expandShortNames, '~' names are also expanded to their long form.
std::wstring fullPath(const std::wstring& path, bool expandShortNames);

// Long form of a path holding '~'; the path itself when there is none.
std::wstring longPathName(const std::wstring& path);

}  // namespace kiv
