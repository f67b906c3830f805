#include "platform/RegistryRoot.h"

#include "platform/Text.h"

namespace kiv {

namespace {

struct NamedRoot {
    const wchar_t* prefix;
    RegistryRoot root;
};

// Tested in this order; no name is a prefix of another, so the order only
// matters to readers comparing it with the system's list.
constexpr NamedRoot kNamedRoots[] = {
    {L"\\HKEY_CLASSES_ROOT", kHkeyClassesRoot},
    {L"\\HKEY_CURRENT_USER", kHkeyCurrentUser},
    {L"\\HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
    {L"\\HKEY_USERS", kHkeyUsers},
    {L"\\HKEY_PERFORMANCE_DATA", kHkeyPerformanceData},
    {L"\\HKEY_PERFORMANCE_TEXT", kHkeyPerformanceText},
    {L"\\HKEY_PERFORMANCE_NLSTEXT", kHkeyPerformanceNlsText},
    {L"\\HKEY_CURRENT_CONFIG", kHkeyCurrentConfig},
    {L"\\HKEY_DYN_DATA", kHkeyDynData},
};

}  // namespace

RegistryRoot rootKeyFromPath(const std::wstring& path) {
    for (const NamedRoot& named : kNamedRoots) {
        if (startsWith(path, named.prefix)) return named.root;
    }
    return 0;
}

}  // namespace kiv
