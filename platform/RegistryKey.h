// An open registry key that remembers its path. Every failure is thrown as a
// KeyException; callers that can go on treat the key or value as absent.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/RegistryRoot.h"

namespace kiv {

template <typename Traits>
class UniqueResource;
struct RegistryHandleTraits;

// Access rights as the registry functions take them (REGSAM).
using RegistryAccess = uint32_t;
constexpr RegistryAccess kKeyRead = 0x20019;    // KEY_READ, the process's own view
constexpr RegistryAccess kKeyRead64 = 0x20119;  // KEY_READ | KEY_WOW64_64KEY
constexpr RegistryAccess kKeyRead32 = 0x20219;  // KEY_READ | KEY_WOW64_32KEY
constexpr RegistryAccess kViewFlags = 0x300;     // KEY_WOW64_64KEY | KEY_WOW64_32KEY

class RegistryKey {
public:
    // A closed key, to be opened with open().
    RegistryKey();
    // Opens the path below HKEY_LOCAL_MACHINE; name() is the path.
    // Throws KeyException (system message, path) when no step of open() works.
    RegistryKey(const std::wstring& path, RegistryAccess access);
    // Opens the subkey below an open parent, in the parent's view unless
    // `access` names one (the plain-rights step keeps the parent's view too):
    // Windows does not carry a handle's view over to the keys opened below it,
    // so under WOW64 a plain open would land in the 32-bit view. name() is the
    // parent's name, a backslash and the subkey. A closed parent throws "key
    // not open".
    RegistryKey(const RegistryKey& parent, RegistryAccess access, const std::wstring& subkey);
    ~RegistryKey();

    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Closes the key if open, then tries in turn: the requested access; plain
    // query-and-enumerate rights (9) without a view flag, which lands in the
    // process's own view; the path below the root connected through
    // RegConnectRegistryW on the local machine, with the requested access.
    // On success name() is the path. When every step fails the key stays
    // closed and KeyException (system message for the last step's error, path)
    // is thrown. A root of 0 is no key and fails every step.
    void open(RegistryRoot root, const std::wstring& path, RegistryAccess access);
    void close();

    bool isOpen() const;
    // The path of the last successful open; kept after close().
    const std::wstring& name() const { return name_; }
    // The key's handle as an integer (an HKEY); 0 when closed.
    RegistryRoot handle() const;
    // The view flag of the access that last opened the key; 0 for the
    // process's own view (also when only the fallback without a flag did).
    RegistryAccess view() const { return view_; }

    // The text of a REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ value of at most 512
    // bytes, with every NUL code unit dropped (a multi-string comes back
    // joined, "a","b" as "ab"; nothing is expanded). The empty name reads the
    // default value. Throws "key not open", "key query failed" (missing or
    // larger value) or "value not a string".
    std::wstring queryString(const std::wstring& valueName) const;

    // Names of the direct subkeys in the system's enumeration order. A name
    // longer than 255 characters (more than the registry allows, so never
    // expected) is skipped; any other failure of an index ends the list there,
    // since the following indices cannot be trusted either. Throws
    // "key not open".
    std::vector<std::wstring> subkeyNames() const;

private:
    // open() with the view that its plain-rights step keeps.
    void openWithView(RegistryRoot root, const std::wstring& path, RegistryAccess access,
                      RegistryAccess fallbackView);

    std::unique_ptr<UniqueResource<RegistryHandleTraits>> handle_;
    std::wstring name_;
    RegistryAccess view_ = 0;
};

// The system's message for an error code in the user's default language (at
// most 127 characters, trailing line end and blanks removed); "error <code>"
// when the system has no message that fits.
std::wstring systemErrorText(uint32_t code);
// systemErrorText of the calling thread's last error code.
std::wstring lastErrorText();

}  // namespace kiv
