// Entry names of VM pack archives: turning a stored name into a relative path
// that cannot leave the folder it is extracted into.
#pragma once

#include <cstddef>
#include <string>

namespace kiv {

// The Win32 path buffer size: a name or path must leave room for its terminator.
constexpr std::size_t kMaxPathChars = 260;

// True when the text fits a path buffer of kMaxPathChars with its terminator.
// Over-long names and paths are skipped, never cut short into another name.
bool fitsPathBuffer(const std::wstring& text);

// Strips what would make an entry name absolute or climb upwards, repeated until
// nothing changes: a drive prefix ("C:"), a leading separator, a leading "..\"
// or "../", and everything up to the first "\..\" (any mix of separators).
// Returns the empty string, meaning "skip this entry", when nothing but "." and
// separators is left or when a component could still escape or misdirect the write: a ".."-like
// component (only dots and spaces, two dots or more), a ':' (streams, drives),
// a control character (an embedded NUL would truncate the path), or a device
// name such as CON or LPT1.
std::wstring cleanEntryName(const std::wstring& decodedName);

}  // namespace kiv
