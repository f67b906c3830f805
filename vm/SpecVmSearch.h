// The jvmspec search of an installer's launcher: every jvmspec file named by
// the build properties lists registry values and directories where a VM home
// may be; each executable found there must pass the Verify probe before it
// becomes a JavaVm, and the platform mode picks one of the VMs found.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "launch/LaunchOptions.h"
#include "vm/InstalledVm.h"

namespace kiv {

class JvmSpec;
class Launcher;

// VMs found by the hint searches, in the order they were found.
using SpecVmList = std::vector<std::unique_ptr<InstalledVm>>;

// What the drive search asks the system; tests put their own answers in.
struct DriveQuery {
    std::function<uint32_t()> logicalDrives;                     // bit 0 is A:, as GetLogicalDrives
    std::function<uint32_t(const std::wstring& root)> driveType;  // of "X:\", as GetDriveTypeW
};

// GetLogicalDrives and GetDriveTypeW.
DriveQuery systemDriveQuery();

// The letters of the drives the query reports as fixed (type 3), from A:
// upward; removable, network, optical and RAM drives are left out. Throws
// TerminalError "Could not get the logical drives for the windows system" when
// the drive mask is 0.
std::vector<wchar_t> fixedDriveLetters(const DriveQuery& drives);

// For each PLATFORM_HINT: line (\HKEY_LOCAL_MACHINE\key path\value name): the
// value, read from the 64-bit view first and else from the 32-bit view, names
// a VM home; home\<JVM_EXE:> is accepted when it is a file that passes the
// Verify probe with the spec's properties. `specPath` is the jvmspec file as it
// was opened; its folder is where the probe looks for Verify.jar. Accepted VMs
// are JavaVm objects with version, home, kind and vendor from the executable
// and a copy of `options`; they are appended to list64 when 64-bit, else to
// list32 (these searches never mark a VM 64-bit). Unreadable values and
// rejected candidates are skipped silently.
void searchRegistryHints(const LaunchOptions& options, SpecVmList& list32, SpecVmList& list64,
                         const JvmSpec& spec, const std::vector<std::wstring>& hints,
                         const std::wstring& specPath);

// For each PATH_HINT: line, accepted as above. A hint with two or more dots
// (..\jre) is relative to the installer, whose path the UTF-8 file "sea_loc"
// in the parent of options.workingDirectory holds; when that file is missing
// or unreadable the hint is skipped. Any other hint (Java\jre) is tried below
// the root of every fixed drive; TerminalError when no drives are reported.
void searchPathHints(const LaunchOptions& options, SpecVmList& list32, SpecVmList& list64,
                     const JvmSpec& spec, const std::vector<std::wstring>& hints,
                     const std::wstring& specPath, const DriveQuery& drives = systemDriveQuery());

// Takes the VM the platform mode chooses out of its list: 0 the first 64-bit
// VM, else the first 32-bit one; 1 the first 32-bit VM, else the first 64-bit
// one; 2 only a 64-bit VM; 3 only a 32-bit VM; any other mode none.
std::unique_ptr<InstalledVm> takePlatformChoice(int32_t mode, SpecVmList& list32,
                                                SpecVmList& list64);

// Reads the jvmspec files "jvmspecs\<build.jvmspec.N>" for N from 0 to
// count - 1 (relative to the current directory) into the launcher's JvmSpec,
// runs both hint searches for each file, and chooses by the property
// kiv.nl.win32.java.launcher.platform. The launcher owns the chosen VM (it
// becomes its chosen VM too); the others are dropped. Returns null when the
// mode finds none. A file that cannot be opened throws FileException; a
// system without drives throws TerminalError.
InstalledVm* findSpecVm(Launcher& launcher, const LaunchOptions& options, int32_t count);

}  // namespace kiv
