#include "vm/VersionText.h"

#include <gtest/gtest.h>

#include "vm/VmKind.h"

namespace kiv {
namespace {

struct VersionCase {
    const wchar_t* text;
    unsigned major, minor, micro;
};

TEST(VersionTextTest, ReadsJavaVersionTexts) {
    const VersionCase cases[] = {
        {L"1.8.0_201", 8, 0, 201},
        {L"1.4.2_05", 4, 2, 5},
        {L"1.6", 6, 0, 0},
        {L"9.0.4", 9, 0, 4},  // a "1" is put in front of a first token other than 1
        {L"11", 11, 0, 0},
        {L"1", 0, 0, 0},
        {L"", 0, 0, 0},
        {L"   ", 0, 0, 0},
        {L"1.5.0_10-b03", 5, 0, 10},  // digits at the start of a token count
        {L"1.x.2", 0, 2, 0},          // a token without leading digit is 0
        {L"1..4__2", 4, 2, 0},        // runs of separators are one
        {L"1.4.2_05_99", 4, 2, 5},    // tokens beyond the fourth are ignored
        {L"1.-4", 0, 0, 0},           // no sign is read
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << c.text);
        EXPECT_EQ(parseVersion(c.text), VersionNumber(c.major, c.minor, c.micro));
    }
}

TEST(VersionTextTest, LargeNumbersKeepTheirOrderAndDoNotSpillIntoNeighbours) {
    // Java 8 updates passed 255 with 8u261; every one of them still sorts apart.
    const VersionNumber u261 = parseVersion(L"1.8.0_261");
    EXPECT_EQ(u261, VersionNumber(8, 0, 261));
    EXPECT_TRUE(u261 < parseVersion(L"1.8.0_401"));
    EXPECT_TRUE(parseVersion(L"1.8.0_255") < u261);
    EXPECT_TRUE(parseVersion(L"1.8.0_65535") < parseVersion(L"1.8.1"));

    const VersionNumber huge = parseVersion(L"1.2.99999999999999999999.3");
    EXPECT_EQ(huge, VersionNumber(2, 65535, 3));
    EXPECT_TRUE(huge < parseVersion(L"1.3"));
}

TEST(VersionTextTest, FamilyFollowsKindThenGeneration) {
    EXPECT_EQ(vmFamilyFor(VmKind::MSJ, VersionNumber(6, 0, 0)), VmFamily::Jview);
    EXPECT_EQ(vmFamilyFor(VmKind::JRE, VersionNumber(2, 0, 0)), VmFamily::Java);
    EXPECT_EQ(vmFamilyFor(VmKind::JDK, VersionNumber(1, 9, 9)), VmFamily::Jre);
    EXPECT_EQ(vmFamilyFor(VmKind::JDK, VersionNumber()), VmFamily::Jre);
}

}  // namespace
}  // namespace kiv
