#include "platform/RegistryKey.h"

#include <windows.h>

#include <algorithm>

#include "launcher/Errors.h"
#include "platform/Handle.h"
#include "platform/RegistryApi.h"
#include "platform/Text.h"

namespace kiv {

namespace {

constexpr REGSAM kQueryAndEnumerate = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;  // 9
constexpr DWORD kValueBufferBytes = 512;
constexpr DWORD kNameBufferChars = 256;
constexpr DWORD kMessageBufferChars = 128;

HKEY toHkey(RegistryRoot root) { return reinterpret_cast<HKEY>(root); }

// The owner takes the handle only on success: what the out parameter holds
// after a failed call is not documented.
LSTATUS openSubkey(HKEY parent, const std::wstring& path, REGSAM access, RegistryHandle& owner) {
    HKEY opened = nullptr;
    const LSTATUS status = advapi32::RegOpenKeyExW(parent, path.c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS) owner.reset(opened);
    return status;
}

LSTATUS connectLocalRoot(HKEY root, RegistryHandle& owner) {
    HKEY connected = nullptr;
    const LSTATUS status = advapi32::RegConnectRegistryW(nullptr, root, &connected);
    if (status == ERROR_SUCCESS) owner.reset(connected);
    return status;
}

// The open ladder; answers the error of the last step tried, and on success
// the access of the step that opened the key in `opened`. `fallbackView` is
// the view of the plain-rights step: none for a path below a root, the
// parent's for a subkey, which must not land in the other view.
LSTATUS openWithFallbacks(HKEY root, const std::wstring& path, REGSAM access,
                          REGSAM fallbackView, RegistryHandle& owner, REGSAM& opened) {
    if (root == nullptr) return ERROR_INVALID_HANDLE;
    opened = access;
    LSTATUS status = openSubkey(root, path, access, owner);
    if (status == ERROR_SUCCESS) return status;
    // Without a view flag the open resolves in the process's own view: this
    // finds a key that the requested view lacks but the default view holds.
    opened = kQueryAndEnumerate | fallbackView;
    status = openSubkey(root, path, opened, owner);
    if (status == ERROR_SUCCESS) return status;
    opened = access;
    RegistryHandle connected;
    status = connectLocalRoot(root, connected);
    if (status != ERROR_SUCCESS) return status;
    return openSubkey(connected.get(), path, access, owner);
}

bool isStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

}  // namespace

RegistryKey::RegistryKey() : handle_(std::make_unique<RegistryHandle>()) {}

RegistryKey::RegistryKey(const std::wstring& path, RegistryAccess access) : RegistryKey() {
    open(kHkeyLocalMachine, path, access);
}

RegistryKey::RegistryKey(const RegistryKey& parent, RegistryAccess access,
                         const std::wstring& subkey)
    : RegistryKey() {
    if (!parent.isOpen()) throw KeyException(L"key not open", L"");
    openWithView(parent.handle(), subkey,
                 (access & kViewFlags) != 0 ? access : access | parent.view(), parent.view());
    name_ = parent.name() + L"\\" + subkey;
}

RegistryKey::~RegistryKey() = default;

void RegistryKey::open(RegistryRoot root, const std::wstring& path, RegistryAccess access) {
    openWithView(root, path, access, 0);
}

void RegistryKey::openWithView(RegistryRoot root, const std::wstring& path, RegistryAccess access,
                               RegistryAccess fallbackView) {
    close();
    REGSAM opened = 0;
    const LSTATUS status =
        openWithFallbacks(toHkey(root), path, access, fallbackView, *handle_, opened);
    if (status == ERROR_SUCCESS) {
        name_ = path;
        view_ = opened & kViewFlags;
        return;
    }
    // The registry functions return their error instead of setting the
    // thread's last error, so the message is built from the returned code;
    // the last error would describe some earlier, unrelated failure.
    SetLastError(static_cast<DWORD>(status));
    throw KeyException(systemErrorText(static_cast<uint32_t>(status)), path);
}

void RegistryKey::close() { handle_->reset(); }

bool RegistryKey::isOpen() const { return static_cast<bool>(*handle_); }

RegistryRoot RegistryKey::handle() const { return reinterpret_cast<RegistryRoot>(handle_->get()); }

std::wstring RegistryKey::queryString(const std::wstring& valueName) const {
    if (!isOpen()) throw KeyException(L"key not open", L"");
    WCHAR buffer[kValueBufferBytes / sizeof(WCHAR)];
    static_assert(sizeof(buffer) == kValueBufferBytes, "the value buffer holds 512 bytes");
    DWORD type = REG_NONE;
    DWORD size = sizeof(buffer);
    const LSTATUS status = advapi32::RegQueryValueExW(handle_->get(), valueName.c_str(), nullptr,
                                                      &type, reinterpret_cast<BYTE*>(buffer),
                                                      &size);
    if (status != ERROR_SUCCESS) throw KeyException(L"key query failed", name_);
    if (!isStringType(type)) throw KeyException(L"value not a string", name_);

    const DWORD units = std::min<DWORD>(size, sizeof(buffer)) / sizeof(WCHAR);
    std::wstring text;
    text.reserve(units);
    for (DWORD i = 0; i < units; ++i) {
        if (buffer[i] != L'\0') text.push_back(buffer[i]);
    }
    return text;
}

std::vector<std::wstring> RegistryKey::subkeyNames() const {
    if (!isOpen()) throw KeyException(L"key not open", L"");
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index) {
        WCHAR name[kNameBufferChars];
        DWORD length = kNameBufferChars;
        const LSTATUS status = advapi32::RegEnumKeyExW(handle_->get(), index, name, &length,
                                                       nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;  // a name that does not fit is skipped
        if (status != ERROR_SUCCESS) break;       // ERROR_NO_MORE_ITEMS, or a broken key
        names.emplace_back(name, std::min<DWORD>(length, kNameBufferChars - 1));
    }
    return names;
}

std::wstring systemErrorText(uint32_t code) {
    const DWORD callersError = GetLastError();
    WCHAR buffer[kMessageBufferChars];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  buffer, kMessageBufferChars, nullptr);
    SetLastError(callersError);
    length = std::min<DWORD>(length, kMessageBufferChars - 1);
    while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n' ||
                          buffer[length - 1] == L' ')) {
        --length;
    }
    if (length == 0) return L"error " + decimal(code);
    return std::wstring(buffer, length);
}

std::wstring lastErrorText() {
    const DWORD code = GetLastError();
    return systemErrorText(code);
}

}  // namespace kiv
