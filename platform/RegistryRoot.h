// The predefined registry roots as plain integers, and the parser that finds
// one named at the start of a registry path. Pure: usable without <windows.h>.
#pragma once

#include <cstdint>
#include <string>

namespace kiv {

// A registry key handle as an integer: a predefined root below, or the handle
// of an open key (RegistryKey::handle). 0 is no key.
using RegistryRoot = uintptr_t;

// Windows defines the predefined keys as 32-bit LONG values widened to a
// pointer, so a 64-bit program sees HKEY_LOCAL_MACHINE as 0xFFFFFFFF80000002.
// A zero-extended 0x80000002 is not the same key there.
constexpr RegistryRoot predefinedRegistryRoot(uint32_t id) {
    return static_cast<RegistryRoot>(static_cast<intptr_t>(static_cast<int32_t>(id)));
}

constexpr RegistryRoot kHkeyClassesRoot = predefinedRegistryRoot(0x80000000u);
constexpr RegistryRoot kHkeyCurrentUser = predefinedRegistryRoot(0x80000001u);
constexpr RegistryRoot kHkeyLocalMachine = predefinedRegistryRoot(0x80000002u);
constexpr RegistryRoot kHkeyUsers = predefinedRegistryRoot(0x80000003u);
constexpr RegistryRoot kHkeyPerformanceData = predefinedRegistryRoot(0x80000004u);
constexpr RegistryRoot kHkeyPerformanceText = predefinedRegistryRoot(0x80000050u);
constexpr RegistryRoot kHkeyPerformanceNlsText = predefinedRegistryRoot(0x80000060u);
constexpr RegistryRoot kHkeyCurrentConfig = predefinedRegistryRoot(0x80000005u);
constexpr RegistryRoot kHkeyDynData = predefinedRegistryRoot(0x80000006u);

// The root whose name, with its leading backslash ("\HKEY_LOCAL_MACHINE"), the
// path starts with; case-sensitive, and the character after the name is not
// looked at ("\HKEY_USERSX" is HKEY_USERS). 0 when no name matches.
RegistryRoot rootKeyFromPath(const std::wstring& path);

}  // namespace kiv
