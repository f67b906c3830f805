#include "platform/VersionResource.h"

#include <windows.h>

#include "platform/SystemLibrary.h"

namespace kiv {

namespace {

// version.dll, bound at run time: only the runs that classify a VM load it.
// An unbound function fails like the call itself.
DWORD getFileVersionInfoSize(const wchar_t* path) {
    static const SystemFunction<decltype(&::GetFileVersionInfoSizeW)> function(
        versionLibrary(), "GetFileVersionInfoSizeW");
    DWORD ignored = 0;
    return function.callOr(DWORD{0}, path, &ignored);
}

BOOL getFileVersionInfo(const wchar_t* path, DWORD size, void* data) {
    static const SystemFunction<decltype(&::GetFileVersionInfoW)> function(
        versionLibrary(), "GetFileVersionInfoW");
    return function.callOr(BOOL{FALSE}, path, DWORD{0}, size, data);
}

BOOL verQueryValue(void* block, const wchar_t* subBlock, void** value, UINT* length) {
    static const SystemFunction<decltype(&::VerQueryValueW)> function(versionLibrary(),
                                                                      "VerQueryValueW");
    return function.callOr(BOOL{FALSE}, block, subBlock, value, length);
}

// VerQueryValueW hands back a pointer into the buffer it was given; a value
// that would run past that buffer is treated as missing.
bool liesWithin(const std::vector<unsigned char>& data, const void* value, size_t bytes) {
    const auto* begin = data.data();
    const auto* first = static_cast<const unsigned char*>(value);
    return first >= begin && first <= begin + data.size() &&
           bytes <= static_cast<size_t>(begin + data.size() - first);
}

}  // namespace

VersionResource::VersionResource(const std::wstring& path) {
    const DWORD size = getFileVersionInfoSize(path.c_str());
    if (size == 0) return;
    std::vector<unsigned char> data(size);
    if (!getFileVersionInfo(path.c_str(), size, data.data())) return;
    data_ = std::move(data);
}

std::optional<ProductVersion> VersionResource::productVersion() const {
    if (!loaded()) return std::nullopt;
    void* value = nullptr;
    UINT length = 0;
    // The API takes a non-const buffer but does not write to it.
    auto* block = const_cast<unsigned char*>(data_.data());
    if (!verQueryValue(block, L"\\", &value, &length) || value == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO) || !liesWithin(data_, value, sizeof(VS_FIXEDFILEINFO)))
        return std::nullopt;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    return ProductVersion{HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                          HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS)};
}

std::optional<std::wstring> VersionResource::companyName() const {
    if (!loaded()) return std::nullopt;
    void* value = nullptr;
    UINT length = 0;  // in characters, usually counting the terminating NUL
    auto* block = const_cast<unsigned char*>(data_.data());
    if (!verQueryValue(block, L"\\StringFileInfo\\040904b0\\CompanyName", &value, &length) ||
        value == nullptr || !liesWithin(data_, value, size_t{length} * sizeof(wchar_t)))
        return std::nullopt;
    std::wstring text(static_cast<const wchar_t*>(value), length);
    const size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return text;
}

}  // namespace kiv
