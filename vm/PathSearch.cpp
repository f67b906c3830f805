#include "vm/PathSearch.h"

#include "platform/Text.h"

namespace kiv {

namespace {

constexpr size_t kPathChars = 260;  // the buffer the drive path is built in

bool isAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

std::wstring drivePathOfNtPath(const std::wstring& name) {
    const std::wstring prefix = L"\\??\\";
    if (!startsWith(name, prefix) || name.size() < prefix.size() + 3) return std::wstring();
    const wchar_t* drive = name.c_str() + prefix.size();
    if (!isAsciiLetter(drive[0]) || drive[1] != L':' || drive[2] != L'\\') return std::wstring();
    return name.substr(prefix.size());
}

// The device name must be a whole path element: \Device\HarddiskVolume1 does
// not start \Device\HarddiskVolume10\x.
bool startsWithDevice(const std::wstring& lowerName, const std::wstring& device) {
    const std::wstring lowerDevice = toLowerAscii(device);
    return !lowerDevice.empty() && startsWith(lowerName, lowerDevice) &&
           lowerName.size() > lowerDevice.size() && lowerName[lowerDevice.size()] == L'\\';
}

}  // namespace

std::wstring drivePathOfMappedName(const std::wstring& mappedName,
                                   const std::vector<DriveDevice>& drives) {
    std::wstring target = drivePathOfNtPath(mappedName);
    if (target.empty()) {
        const std::wstring lowerName = toLowerAscii(mappedName);
        for (const DriveDevice& drive : drives) {
            if (drive.device.size() >= kPathChars || !startsWithDevice(lowerName, drive.device))
                continue;
            target = drive.drive + mappedName.substr(drive.device.size());
            break;
        }
    }
    return target.size() < kPathChars ? target : std::wstring();
}

}  // namespace kiv
