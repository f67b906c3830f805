#include "support/ScopedRegistryValues.h"

#include <windows.h>

#include <stdexcept>

#include "platform/Handle.h"
#include "platform/Text.h"

namespace kiv {
namespace test {

namespace {

[[noreturn]] void fail(const char* what, LSTATUS status, const std::wstring& key) {
    throw std::runtime_error(std::string(what) + " failed (error " + std::to_string(status) +
                             ") for HKLM\\" + wideToUtf8(key));
}

bool keyExists(const std::wstring& key, REGSAM view) {
    RegistryHandle handle;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, handle.put()) ==
           ERROR_SUCCESS;
}

// The first key on the way down to `key` that does not exist yet; empty when all do.
std::wstring firstMissingKey(const std::wstring& key, REGSAM view) {
    size_t end = 0;
    while (end != std::wstring::npos) {
        end = key.find(L'\\', end + 1);
        const std::wstring prefix = key.substr(0, end);
        if (!keyExists(prefix, view)) return prefix;
    }
    return std::wstring();
}

}  // namespace

ScopedRegistryValues::~ScopedRegistryValues() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        RegistryHandle handle;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, it->key.c_str(), 0, KEY_SET_VALUE | view_,
                          handle.put()) != ERROR_SUCCESS)
            continue;
        if (it->existed)
            RegSetValueExW(handle.get(), it->name.c_str(), 0, it->type, it->data.data(),
                           static_cast<DWORD>(it->data.size()));
        else
            RegDeleteValueW(handle.get(), it->name.c_str());
    }
    for (auto it = createdKeys_.rbegin(); it != createdKeys_.rend(); ++it) {
        const size_t slash = it->rfind(L'\\');
        const std::wstring parent = slash == std::wstring::npos ? L"" : it->substr(0, slash);
        const std::wstring leaf = slash == std::wstring::npos ? *it : it->substr(slash + 1);
        RegistryHandle handle;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, parent.c_str(), 0, KEY_ALL_ACCESS | view_,
                          handle.put()) == ERROR_SUCCESS)
            RegDeleteTreeW(handle.get(), leaf.c_str());
    }
}

bool ScopedRegistryValues::insideCreatedKey(const std::wstring& key) const {
    for (const std::wstring& created : createdKeys_) {
        if (key == created || startsWith(key, created + L"\\")) return true;
    }
    return false;
}

void ScopedRegistryValues::prepare(const std::wstring& key, const std::wstring& name) {
    if (insideCreatedKey(key)) return;
    const std::wstring missing = firstMissingKey(key, view_);
    if (!missing.empty()) {
        createdKeys_.push_back(missing);
        return;
    }
    for (const SavedValue& value : saved_) {
        if (value.key == key && value.name == name) return;
    }
    SavedValue value;
    value.key = key;
    value.name = name;
    RegistryHandle handle;
    LSTATUS status =
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | view_, handle.put());
    if (status != ERROR_SUCCESS) fail("RegOpenKeyExW", status, key);
    DWORD type = 0;
    DWORD size = 0;
    status = RegQueryValueExW(handle.get(), name.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        value.data.resize(size);
        status = RegQueryValueExW(handle.get(), name.c_str(), nullptr, &type, value.data.data(),
                                  &size);
        if (status != ERROR_SUCCESS) fail("RegQueryValueExW", status, key);
        value.data.resize(size);
        value.existed = true;
        value.type = type;
    }
    saved_.push_back(std::move(value));
}

void ScopedRegistryValues::setValue(const std::wstring& key, const std::wstring& name,
                                    uint32_t type, const void* data, size_t size) {
    prepare(key, name);
    RegistryHandle handle;
    LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                                     KEY_SET_VALUE | view_, nullptr, handle.put(), nullptr);
    if (status != ERROR_SUCCESS) fail("RegCreateKeyExW", status, key);
    status = RegSetValueExW(handle.get(), name.c_str(), 0, type,
                            static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    if (status != ERROR_SUCCESS) fail("RegSetValueExW", status, key);
}

void ScopedRegistryValues::setString(const std::wstring& key, const std::wstring& name,
                                     const std::wstring& value) {
    setValue(key, name, REG_SZ, value.c_str(), (value.size() + 1) * sizeof(wchar_t));
}

void ScopedRegistryValues::setDword(const std::wstring& key, const std::wstring& name,
                                    uint32_t value) {
    const DWORD data = value;
    setValue(key, name, REG_DWORD, &data, sizeof data);
}

void ScopedRegistryValues::removeValue(const std::wstring& key, const std::wstring& name) {
    if (!keyExists(key, view_)) return;
    prepare(key, name);
    RegistryHandle handle;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_SET_VALUE | view_, handle.put()) ==
        ERROR_SUCCESS)
        RegDeleteValueW(handle.get(), name.c_str());
}

}  // namespace test
}  // namespace kiv
