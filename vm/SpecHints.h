// Turning the hint lines of a jvmspec file into candidate VM executable paths.
// Every candidate is the VM home followed by a backslash and the file's
// JVM_EXE: value; the file-system and registry lookups happen elsewhere.
#pragma once

#include <optional>
#include <string>

namespace kiv {

// A PLATFORM_HINT: line such as \HKEY_LOCAL_MACHINE\SOFTWARE\Acme\Java\Home:
// the registry value Home of the key SOFTWARE\Acme\Java below the root key.
struct RegistryHint {
    std::wstring rootName;  // the root prefix, as "\HKEY_LOCAL_MACHINE"; empty when unknown
    std::wstring keyPath;   // below the root
    std::wstring valueName;
};

// rootName is the first of the predefined root prefixes (case-sensitive, in
// the order \HKEY_CLASSES_ROOT, \HKEY_CURRENT_USER, \HKEY_LOCAL_MACHINE, ...)
// that the hint starts with; the character after it is not examined. The two
// leading path elements are dropped (the empty one before the first backslash
// and the root name), and the rest is split at its last backslash; all parts
// trimmed. A hint lacking one of these backslashes is malformed and gives an
// empty RegistryHint, which names no root like a hint with an unknown root.
RegistryHint parseRegistryHint(const std::wstring& hint);

// The home read from the registry value (up to its first NUL), a backslash and jvmExe.
std::wstring registryHintCandidate(const std::wstring& valueText, const std::wstring& jvmExe);

// The number of '.' in a PATH_HINT: line divided by two. One or more means the
// hint is relative to the installer's location (..\jre); 0 means it is tried
// below the root of every fixed drive (Java\jre).
int hintDotPairs(const std::wstring& hint);

// For a hint with n = hintDotPairs(hint) >= 1: the installer's path (the text
// of the installer-location file, trimmed, byte-order mark dropped) loses its
// file name and then n directory levels; the hint's last element (from its
// last backslash on, or the whole hint when it has none) is appended, then a
// backslash and jvmExe. nullopt when the installer's path runs out of
// backslashes before its n-th cut; when only the last cut finds none, the path
// stays as it is.
std::optional<std::wstring> relativeHintCandidate(const std::wstring& installerLocation,
                                                  const std::wstring& hint,
                                                  const std::wstring& jvmExe);

// X:\hint\jvmExe for the drive letter X.
std::wstring driveHintCandidate(wchar_t driveLetter, const std::wstring& hint,
                                const std::wstring& jvmExe);

}  // namespace kiv
