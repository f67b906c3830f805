#include "vm/PathSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kiv {
namespace {

const std::vector<DriveDevice> kDrives = {
    {L"A:", L"\\Device\\Floppy0"},
    {L"C:", L"\\Device\\HarddiskVolume1"},
    {L"D:", L"\\Device\\HarddiskVolume10"},
    {L"E:", L"\\Device\\HarddiskVolume2"},
};

TEST(MappedFileNameTest, TheDriveWhoseDeviceStartsTheNameReplacesIt) {
    struct Case {
        std::wstring mappedName;
        std::wstring drivePath;
    };
    const std::vector<Case> cases = {
        {L"\\Device\\HarddiskVolume2\\Java\\bin\\java.exe", L"E:\\Java\\bin\\java.exe"},
        // A device name is a whole path element: Volume1 does not start Volume10.
        {L"\\Device\\HarddiskVolume10\\jre\\bin\\java.exe", L"D:\\jre\\bin\\java.exe"},
        {L"\\device\\HARDDISKVOLUME1\\Java\\java.exe", L"C:\\Java\\java.exe"},
        {L"\\Device\\HarddiskVolume1", L""},
        {L"\\Device\\HarddiskVolume3\\java.exe", L""},
        {L"\\Device\\Mup\\server\\share\\java.exe", L""},
        // Wine names the file by its NT path.
        {L"\\??\\C:\\users\\me\\jre\\bin\\java.exe", L"C:\\users\\me\\jre\\bin\\java.exe"},
        {L"\\??\\UNC\\server\\share\\java.exe", L""},
        {L"\\??\\C:", L""},
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.mappedName));
        EXPECT_EQ(c.drivePath, drivePathOfMappedName(c.mappedName, kDrives));
    }
}

TEST(MappedFileNameTest, ADrivePathThatWouldNotFitTheBufferIsNoAnswer) {
    const std::wstring device = L"\\Device\\HarddiskVolume2";
    const std::wstring fits = L"\\" + std::wstring(259 - 3, L'x');  // E: + 257 = 259 characters
    EXPECT_EQ(L"E:" + fits, drivePathOfMappedName(device + fits, kDrives));
    EXPECT_EQ(L"", drivePathOfMappedName(device + fits + L"x", kDrives));
    EXPECT_EQ(L"", drivePathOfMappedName(L"\\??\\C:" + fits + L"x", kDrives));
}

}  // namespace
}  // namespace kiv
