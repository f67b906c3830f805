// The VMs on the PATH: the last source of the installed-VM inventory.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "launch/ClassPath.h"
#include "vm/InstalledVm.h"

namespace kiv {

// Looks in every directory of `pathList`, in order, and then in
// `wow64SystemDirectory` when `wow64` holds (a 32-bit launcher on 64-bit
// Windows), for java.exe, jre.exe, javaw.exe, jrew.exe and jview.exe in that
// order, and appends one VM per file found: every match counts, so a directory
// listed twice gives its VMs twice (the inventory drops duplicates later). A
// file reached through a reparse point is taken at its target when one can be
// worked out, else at its own path. jview.exe gives a JviewVm; the others
// follow the family of their probed version, and are marked 64-bit only under
// WOW64 for a 64-bit image. Directories named like an executable are passed by.
// Never throws for missing directories or files.
void searchPathDirectories(const ClassPath& pathList, bool wow64,
                           const std::wstring& wow64SystemDirectory,
                           std::vector<std::unique_ptr<InstalledVm>>& vms);

// A drive ("C:") and the device name the system gives it
// ("\Device\HarddiskVolume1").
struct DriveDevice {
    std::wstring drive;
    std::wstring device;
};

// The drive path for the name the system gives a mapped file: a device path
// such as "\Device\HarddiskVolume2\Java\bin\java.exe" becomes
// "D:\Java\bin\java.exe" for the first drive whose device name starts it,
// in any letter case, followed by a backslash; an NT path "\??\C:\..." (what
// Wine answers) already holds its drive. Empty when nothing matches or the
// result would not fit 260 characters.
std::wstring drivePathOfMappedName(const std::wstring& mappedName,
                                   const std::vector<DriveDevice>& drives);

// The drive path of the file that `path` leads to, worked out from the name of
// a view of the file mapped into memory (so symbolic links and junctions are
// followed). Empty when there is no answer: the file cannot be opened or
// mapped, or no drive matches the device path. A file of length zero cannot be
// mapped; for it the line "Cannot map a file with a length of zero.\n" goes
// to standard output.
std::wstring resolveLinkTarget(const std::wstring& path);

}  // namespace kiv
