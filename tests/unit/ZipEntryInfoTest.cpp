#include "installer/ZipEntryInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace kiv {
namespace {

using namespace ZipAttribute;

struct AttributeCase {
    const char* label;
    uint16_t versionMadeBy;
    uint32_t externalAttributes;
    uint32_t expected;
};

TEST(ZipEntryInfoTest, AttributesFollowTheHostThatMadeTheArchive) {
    const std::vector<AttributeCase> cases = {
        {"dos read-only hidden system", 0x0014, 0x07, ReadOnly | Hidden | System},
        {"dos directory", 0x0014, 0x10, Directory},
        {"dos archive, unknown bits dropped", 0x0014, 0xFFFFFFC0 | Archive, Archive},
        {"macintosh", 0x0714, ReadOnly | Archive, ReadOnly | Archive},
        {"ntfs", 0x0B14, Hidden, Hidden},
        {"vfat", 0x0E14, System | Archive, System | Archive},
        {"unix 0644 file", 0x0314, 0x81A40000, Archive},
        {"unix 0444 file", 0x0314, 0x81240000, Archive | ReadOnly},
        {"unix 0755 directory", 0x0314, 0x41ED0010, Archive | Directory},
        {"unix 0555 directory", 0x0314, 0x416D0000, Archive | Directory | ReadOnly},
        {"unix ignores dos bits", 0x0314, 0x81A40007, Archive},
        {"os/2 host read as unix", 0x0614, 0x00000001, Archive | ReadOnly},
        {"os x host read as unix", 0x1314, 0x81A40000, Archive},
    };
    for (const AttributeCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.expected, entryAttributes(c.versionMadeBy, c.externalAttributes));
    }
}

TEST(ZipEntryInfoTest, DosDateAndTimeFieldsDecode) {
    // 2009-02-13 23:31:30: date (29 << 9 | 2 << 5 | 13), time (23 << 11 | 31 << 5 | 15).
    const DosDateTime fields = decodeDosDateTime((0x3A4Du << 16) | 0xBBEFu);
    EXPECT_EQ(2009, fields.year);
    EXPECT_EQ(2, fields.month);
    EXPECT_EQ(13, fields.day);
    EXPECT_EQ(23, fields.hour);
    EXPECT_EQ(31, fields.minute);
    EXPECT_EQ(30, fields.second);

    const DosDateTime earliest = decodeDosDateTime(0);
    EXPECT_EQ(1980, earliest.year);
    EXPECT_EQ(0, earliest.month);
}

TEST(ZipEntryInfoTest, UnixTimesBecomeFileTimes) {
    EXPECT_EQ(116444736000000000ULL, unixTimeToFileTime(0));
    EXPECT_EQ(116444736000000000ULL + 1234567890ULL * 10000000ULL,
              unixTimeToFileTime(1234567890));
    EXPECT_EQ(116444736000000000ULL - 10000000ULL, unixTimeToFileTime(-1));
}

std::vector<unsigned char> bytes(std::initializer_list<int> values) {
    std::vector<unsigned char> out;
    for (int v : values)
        out.push_back(static_cast<unsigned char>(v));
    return out;
}

struct StampCase {
    const char* label;
    std::vector<unsigned char> extra;
    bool hasModification, hasAccess, hasCreation;
    int32_t modification, access, creation;
};

TEST(ZipEntryInfoTest, ExtendedTimestampReadsOnlyWhatIsInsideTheField) {
    const std::vector<StampCase> cases = {
        {"all three times", bytes({'U', 'T', 13, 0, 7, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}),
         true, true, true, 1, 2, 3},
        {"modification only", bytes({'U', 'T', 5, 0, 1, 0xD2, 0x02, 0x96, 0x49}),
         true, false, false, 1234567890, 0, 0},
        {"access and creation skip the modification slot",
         bytes({'U', 'T', 9, 0, 6, 2, 0, 0, 0, 3, 0, 0, 0}), false, true, true, 0, 2, 3},
        {"negative time", bytes({'U', 'T', 5, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF}),
         true, false, false, -1, 0, 0},
        {"after another block", bytes({0x0A, 0, 2, 0, 9, 9, 'U', 'T', 5, 0, 1, 4, 0, 0, 0}),
         true, false, false, 4, 0, 0},
        {"flags promise more than the block holds", bytes({'U', 'T', 5, 0, 7, 1, 0, 0, 0}),
         true, false, false, 1, 0, 0},
        {"block length runs past the field", bytes({'U', 'T', 9, 0, 1, 1, 0, 0, 0}),
         false, false, false, 0, 0, 0},
        {"earlier block length runs past the field", bytes({0x0A, 0, 0xFF, 0xFF, 'U', 'T'}),
         false, false, false, 0, 0, 0},
        {"empty block", bytes({'U', 'T', 0, 0}), false, false, false, 0, 0, 0},
        {"truncated header", bytes({'U', 'T', 5}), false, false, false, 0, 0, 0},
        {"no block", bytes({}), false, false, false, 0, 0, 0},
        {"other tag only", bytes({'u', 'x', 1, 0, 1}), false, false, false, 0, 0, 0},
    };
    for (const StampCase& c : cases) {
        SCOPED_TRACE(c.label);
        // An exact-size copy lets the address sanitizer catch any read past the end.
        std::unique_ptr<unsigned char[]> field(new unsigned char[c.extra.size()]);
        std::copy(c.extra.begin(), c.extra.end(), field.get());
        const ExtendedTimestamp stamp = parseExtendedTimestamp(field.get(), c.extra.size());
        EXPECT_EQ(c.hasModification, stamp.hasModification);
        EXPECT_EQ(c.hasAccess, stamp.hasAccess);
        EXPECT_EQ(c.hasCreation, stamp.hasCreation);
        EXPECT_EQ(c.modification, stamp.modification);
        EXPECT_EQ(c.access, stamp.access);
        EXPECT_EQ(c.creation, stamp.creation);
    }
}

}  // namespace
}  // namespace kiv
