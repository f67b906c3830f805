#include "vm/PathSearch.h"

#include <windows.h>

#include <cstdio>

#include "launch/VmFamilies.h"
#include "platform/FilePath.h"
#include "platform/SystemLibrary.h"
#include "platform/Wow64.h"
#include "platform/Handle.h"
#include "platform/ImageBitness.h"
#include "platform/Text.h"
#include "vm/VmCandidate.h"

namespace kiv {

namespace {

constexpr DWORD kPathChars = MAX_PATH;    // mapped file name, device name
constexpr DWORD kDriveStringChars = 511;  // the logical drive strings

// In the order a directory is searched.
const wchar_t* const kExecutableNames[] = {L"\\java.exe", L"\\jre.exe", L"\\javaw.exe",
                                           L"\\jrew.exe", L"\\jview.exe"};

using GetMappedFileNameFn = DWORD(WINAPI*)(HANDLE, LPVOID, LPWSTR, DWORD);

// psapi.dll, for systems whose kernel32 lacks the K32 export. Loaded once,
// kept for the process's lifetime.
HMODULE psapiModule() {
    static const LoadedModule psapi(loadSystemLibrary(L"psapi.dll"));
    return psapi.get();
}

// Looked up at run time, so that the launcher imports nothing beyond what it
// needs at start-up: kernel32 exports it as K32GetMappedFileNameW since
// Windows 7, older systems have it in psapi.dll only.
GetMappedFileNameFn getMappedFileName() {
    static const GetMappedFileNameFn function = []() -> GetMappedFileNameFn {
        const RedirectionForLoading redirection;
        FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32"), "K32GetMappedFileNameW");
        if (found == nullptr) {
            if (HMODULE psapi = psapiModule()) found = GetProcAddress(psapi, "GetMappedFileNameW");
        }
        return reinterpret_cast<GetMappedFileNameFn>(reinterpret_cast<void*>(found));
    }();
    return function;
}

// Every logical drive with the device name behind it, in the system's order.
std::vector<DriveDevice> logicalDriveDevices() {
    std::vector<DriveDevice> devices;
    wchar_t drives[kDriveStringChars + 1] = {};
    const DWORD length = GetLogicalDriveStringsW(kDriveStringChars, drives);
    if (length == 0 || length > kDriveStringChars) return devices;
    for (const wchar_t* drive = drives; *drive != L'\0'; drive += wcslen(drive) + 1) {
        if (drive[1] != L':') continue;
        const std::wstring letterAndColon(drive, 2);
        wchar_t device[kPathChars] = {};
        // Fails rather than cutting short a name that does not fit.
        if (QueryDosDeviceW(letterAndColon.c_str(), device, kPathChars) == 0) continue;
        device[kPathChars - 1] = L'\0';
        devices.push_back({letterAndColon, device});
    }
    return devices;
}

std::wstring mappedFileName(const void* view) {
    const GetMappedFileNameFn function = getMappedFileName();
    if (function == nullptr) return std::wstring();
    wchar_t name[kPathChars] = {};
    const DWORD length = function(GetCurrentProcess(), const_cast<void*>(view), name, kPathChars);
    // A name that fills the buffer may have been cut short.
    if (length == 0 || length >= kPathChars) return std::wstring();
    return std::wstring(name, length);
}

// The path a search adds for an executable it found: the link's target when
// the file is a reparse point and the target can be worked out. A link whose
// target stays unknown is kept at its own path, so its VM is not lost.
std::wstring pathToAdd(const FilePath& found, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return found.toString();
    const std::wstring target = resolveLinkTarget(found.toString());
    return target.empty() ? found.toString() : FilePath(target).toString();
}

std::unique_ptr<InstalledVm> vmFromExecutable(const std::wstring& path, bool wow64) {
    VmCandidate probe(path);
    const VmKind kind = probe.kind();
    if (kind == VmKind::MSJ) {
        std::unique_ptr<InstalledVm> vm = makeInstalledVm(VmFamily::Jview);
        vm->setHome(probe.home());
        vm->setKind(kind);
        vm->setVendor(probe.vendor());
        return vm;
    }
    const VersionNumber version = probe.version();
    std::unique_ptr<InstalledVm> vm = makeInstalledVm(vmFamilyFor(kind, version));
    vm->setVendor(probe.vendor());
    vm->setHome(probe.home());
    vm->setVersion(version);
    vm->setKind(kind);
    vm->setIs64(wow64 && imageBitness(path) == kImage64);
    return vm;
}

}  // namespace

std::wstring resolveLinkTarget(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::wstring();
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size)) return std::wstring();
    if (size.QuadPart == 0) {
        std::fputs("Cannot map a file with a length of zero.\n", stdout);
        std::fflush(stdout);
        return std::wstring();
    }
    KernelHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 1, nullptr));
    if (!mapping) return std::wstring();
    MappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 1));
    if (!view) return std::wstring();

    const std::wstring name = mappedFileName(view.get());
    if (name.empty()) return std::wstring();
    return drivePathOfMappedName(name, logicalDriveDevices());
}

void searchPathDirectories(const ClassPath& pathList, bool wow64,
                           const std::wstring& wow64SystemDirectory,
                           std::vector<std::unique_ptr<InstalledVm>>& vms) {
    std::vector<std::wstring> directories = pathList.entries();
    if (wow64 && !wow64SystemDirectory.empty()) directories.push_back(wow64SystemDirectory);

    std::vector<std::wstring> found;
    for (const std::wstring& directory : directories) {
        for (const wchar_t* name : kExecutableNames) {
            const FilePath candidate(directory + name);
            const DWORD attributes = GetFileAttributesW(candidate.toString().c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES) continue;
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;  // cannot be started
            found.push_back(pathToAdd(candidate, attributes));
        }
    }
    for (const std::wstring& path : found) vms.push_back(vmFromExecutable(path, wow64));
}

}  // namespace kiv
