#include "installer/ZipEntryInfo.h"

namespace kiv {

namespace {

constexpr uint32_t kDosAttributeMask = ZipAttribute::ReadOnly | ZipAttribute::Hidden |
                                       ZipAttribute::System | ZipAttribute::Directory |
                                       ZipAttribute::Archive;
constexpr uint32_t kUnixDirectoryBit = 0x40000000;   // S_IFDIR in the high 16 bits
constexpr uint32_t kUnixOwnerWriteBit = 0x00800000;  // S_IWUSR in the high 16 bits

constexpr uint16_t kExtendedTimestampTag = 0x5455;  // "UT" stored little-endian
constexpr uint64_t kSecondsFrom1601To1970 = 11644473600ULL;
constexpr uint64_t kFileTimeUnitsPerSecond = 10000000ULL;

bool isDosLikeHost(unsigned host) {
    return host == 0 || host == 7 || host == 11 || host == 14;
}

uint16_t readLittle16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

int32_t readLittle32(const unsigned char* p) {
    const uint32_t value = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                           (static_cast<uint32_t>(p[2]) << 16) |
                           (static_cast<uint32_t>(p[3]) << 24);
    return static_cast<int32_t>(value);
}

ExtendedTimestamp parseTimestampBlock(const unsigned char* data, std::size_t size) {
    ExtendedTimestamp stamp;
    if (size < 1)
        return stamp;
    const unsigned flags = data[0];
    std::size_t offset = 1;
    // The times follow in this order, each only when its flag bit is set.
    bool* present[] = {&stamp.hasModification, &stamp.hasAccess, &stamp.hasCreation};
    int32_t* value[] = {&stamp.modification, &stamp.access, &stamp.creation};
    for (unsigned bit = 0; bit < 3; ++bit) {
        if ((flags & (1u << bit)) == 0)
            continue;
        if (size - offset < 4)
            break;
        *present[bit] = true;
        *value[bit] = readLittle32(data + offset);
        offset += 4;
    }
    return stamp;
}

}  // namespace

uint32_t entryAttributes(uint16_t versionMadeBy, uint32_t externalAttributes) {
    if (isDosLikeHost(versionMadeBy >> 8))
        return externalAttributes & kDosAttributeMask;
    uint32_t attributes = ZipAttribute::Archive;
    if (externalAttributes & kUnixDirectoryBit)
        attributes |= ZipAttribute::Directory;
    if ((externalAttributes & kUnixOwnerWriteBit) == 0)
        attributes |= ZipAttribute::ReadOnly;
    return attributes;
}

DosDateTime decodeDosDateTime(uint32_t dosDateTime) {
    const uint32_t date = dosDateTime >> 16;
    const uint32_t time = dosDateTime & 0xFFFF;
    DosDateTime fields;
    fields.year = static_cast<int>(((date >> 9) & 0x7F) + 1980);
    fields.month = static_cast<int>((date >> 5) & 0x0F);
    fields.day = static_cast<int>(date & 0x1F);
    fields.hour = static_cast<int>((time >> 11) & 0x1F);
    fields.minute = static_cast<int>((time >> 5) & 0x3F);
    fields.second = static_cast<int>((time & 0x1F) * 2);
    return fields;
}

ExtendedTimestamp parseExtendedTimestamp(const unsigned char* extra, std::size_t length) {
    if (extra == nullptr)
        return ExtendedTimestamp();
    std::size_t offset = 0;
    while (length - offset >= 4) {
        const uint16_t tag = readLittle16(extra + offset);
        const std::size_t size = readLittle16(extra + offset + 2);
        const std::size_t dataOffset = offset + 4;
        if (size > length - dataOffset)
            break;
        if (tag == kExtendedTimestampTag)
            return parseTimestampBlock(extra + dataOffset, size);
        offset = dataOffset + size;
    }
    return ExtendedTimestamp();
}

uint64_t unixTimeToFileTime(int32_t unixSeconds) {
    const int64_t since1601 = static_cast<int64_t>(unixSeconds) +
                              static_cast<int64_t>(kSecondsFrom1601To1970);
    return static_cast<uint64_t>(since1601) * kFileTimeUnitsPerSecond;
}

}  // namespace kiv
