#include "platform/VersionResource.h"

#include <windows.h>

namespace kiv {

namespace {

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
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return;
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return;
    data_ = std::move(data);
}

std::optional<ProductVersion> VersionResource::productVersion() const {
    if (!loaded()) return std::nullopt;
    void* value = nullptr;
    UINT length = 0;
    // The API takes a non-const buffer but does not write to it.
    auto* block = const_cast<unsigned char*>(data_.data());
    if (!VerQueryValueW(block, L"\\", &value, &length) || value == nullptr ||
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
    if (!VerQueryValueW(block, L"\\StringFileInfo\\040904b0\\CompanyName", &value, &length) ||
        value == nullptr || !liesWithin(data_, value, size_t{length} * sizeof(wchar_t)))
        return std::nullopt;
    std::wstring text(static_cast<const wchar_t*>(value), length);
    const size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return text;
}

}  // namespace kiv
