// Where a service process loads the service control functions from.
#pragma once

#include <string>

namespace kiv {

// The facts that decide the system folder, gathered in one place by the
// production caller so that both the WOW64 and the native case can be driven
// directly.
struct SystemFolders {
    bool wow64 = false;            // a 32-bit process on 64-bit Windows
    std::wstring wow64Directory;   // GetSystemWow64DirectoryW; empty when unknown
    std::wstring systemDirectory;  // GetSystemDirectoryW; empty when unknown
};

// The full path of advapi32.dll in the system folder of this process's own
// bitness: the WOW64 folder under WOW64 (redirection is off for the whole
// process, so "system32" would name the 64-bit DLLs), else the system folder.
// One trailing slash or backslash of the folder is dropped. Under WOW64 with no
// known WOW64 folder the system folder is used. Empty when no folder is known:
// a bare "\advapi32.dll" would name a file at the root of the current drive.
std::wstring serviceLibraryPath(const SystemFolders& folders);

}  // namespace kiv
