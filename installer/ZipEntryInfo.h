// What a zip entry's header fields mean on Windows: file attributes, the DOS
// date and time, and the Info-ZIP extended timestamp of the local extra field.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kiv {

// The Windows attribute bits, spelled out so this stays free of <windows.h>.
namespace ZipAttribute {
constexpr uint32_t ReadOnly = 0x1;
constexpr uint32_t Hidden = 0x2;
constexpr uint32_t System = 0x4;
constexpr uint32_t Directory = 0x10;
constexpr uint32_t Archive = 0x20;
}  // namespace ZipAttribute

// Archives made on DOS, Macintosh, NTFS and VFAT hosts (high byte of
// version-made-by 0, 7, 11, 14) carry DOS attributes in the low byte of the
// external attributes; every other host is read as Unix: a directory when
// S_IFDIR is set, read-only when the owner lacks write permission, always
// archive.
uint32_t entryAttributes(uint16_t versionMadeBy, uint32_t externalAttributes);

// The fields of a DOS date and time (date in the high 16 bits, time in the low
// 16 bits, as minizip reports it). Seconds have two-second resolution; the
// fields are not range-checked here.
struct DosDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

DosDateTime decodeDosDateTime(uint32_t dosDateTime);

// The Unix times of an extended-timestamp ("UT") block, each present only when
// its flag bit is set and its four bytes lie inside the block.
struct ExtendedTimestamp {
    bool hasModification = false;
    bool hasAccess = false;
    bool hasCreation = false;
    int32_t modification = 0;
    int32_t access = 0;
    int32_t creation = 0;
};

// Scans a local extra field (blocks of tag, length, data) for the first "UT"
// block. Blocks whose length runs past the field end the scan, so nothing is
// read outside [extra, extra + length).
ExtendedTimestamp parseExtendedTimestamp(const unsigned char* extra, std::size_t length);

// Seconds since 1970 (UTC) as a Windows file time: 100 ns units since 1601.
uint64_t unixTimeToFileTime(int32_t unixSeconds);

}  // namespace kiv
