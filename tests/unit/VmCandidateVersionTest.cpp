#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vm/VmCandidate.h"

namespace kiv {
namespace {

std::string text(VersionNumber version) {
    return std::to_string(version.major()) + "." + std::to_string(version.minor()) + "." +
           std::to_string(version.micro());
}

TEST(VmCandidateVersionTest, ProductVersionReadsByVendorAndNumberingScheme) {
    struct Case {
        ProductVersion values;
        const wchar_t* vendor;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {{6, 0, 310, 5}, L"Sun", "6.0.31"},    // x.y.z0.w: micro from the third part
        {{8, 0, 2010, 9}, L"Sun", "8.0.201"},
        {{1, 4, 21, 7}, L"Sun", "4.2.7"},      // 1.x.y.z: the minor is divided
        {{1, 8, 0, 201}, L"Sun", "8.0.201"},
        {{1, 6, 0, 22}, L"IBM", "6.0.22"},     // IBM: nothing divided
        {{1, 4, 21, 7}, L"IBM", "4.21.7"},
        {{5, 0, 30, 0}, L"", "5.0.3"},         // anyone but IBM counts as Sun
        {{0, 0, 0, 0}, L"Sun", "0.0.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.values[0]) + "." + std::to_string(c.values[1]) + "." +
                     std::to_string(c.values[2]) + "." + std::to_string(c.values[3]));
        EXPECT_EQ(c.expected, text(versionFromProductVersion(c.values, c.vendor)));
    }
}

TEST(VmCandidateVersionTest, PluginVersionDividesTheMicroFromJava14On) {
    struct Case {
        ProductVersion values;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {{1, 4, 2, 190}, "4.2.19"},
        {{1, 5, 0, 60}, "5.0.6"},
        {{1, 3, 1, 2}, "3.1.2"},
        {{1, 3, 1, 19}, "3.1.19"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(c.expected, text(versionFromPluginVersion(c.values)));
    }
}

}  // namespace
}  // namespace kiv
