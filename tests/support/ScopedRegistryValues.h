// Registry values below HKEY_LOCAL_MACHINE set or removed for one test and put
// back when the object goes away: keys it had to create are deleted with
// everything below them, values it overwrote or removed get their old data back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kiv {
namespace test {

class ScopedRegistryValues {
public:
    // view: 0 for the process's own view, else KEY_WOW64_64KEY or KEY_WOW64_32KEY.
    explicit ScopedRegistryValues(uint32_t view = 0) : view_(view) {}
    ~ScopedRegistryValues();
    ScopedRegistryValues(const ScopedRegistryValues&) = delete;
    ScopedRegistryValues& operator=(const ScopedRegistryValues&) = delete;

    // Throws std::runtime_error when the registry refuses.
    void setString(const std::wstring& key, const std::wstring& name, const std::wstring& value);
    void setDword(const std::wstring& key, const std::wstring& name, uint32_t value);
    // Removes the value if it is there.
    void removeValue(const std::wstring& key, const std::wstring& name);

private:
    struct SavedValue {
        std::wstring key;
        std::wstring name;
        bool existed = false;
        uint32_t type = 0;
        std::vector<unsigned char> data;
    };

    void prepare(const std::wstring& key, const std::wstring& name);
    bool insideCreatedKey(const std::wstring& key) const;
    void setValue(const std::wstring& key, const std::wstring& name, uint32_t type,
                  const void* data, size_t size);

    uint32_t view_;
    std::vector<std::wstring> createdKeys_;  // topmost keys this object created
    std::vector<SavedValue> saved_;
};

}  // namespace test
}  // namespace kiv
