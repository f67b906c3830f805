#include "installer/InstallerPlan.h"

#include <gtest/gtest.h>

using kiv::InstallerPlan;

TEST(InstallerPlan, FollowsTheBuildOptionsTable) {
    using Search = InstallerPlan::Search;
    using Fetch = InstallerPlan::Fetch;
    struct Case {
        const wchar_t* option;
        int32_t withVm;
        int32_t withoutVm;
        Search search;
        bool carriedAfter;
        bool carriedOnly;
        Fetch fetch;
    };
    const Case cases[] = {
        {L"withvm", 20, 10, Search::ValidList, true, false, Fetch::None},
        {L"withvm", 21, 12, Search::None, false, true, Fetch::None},
        {L"withvm", 0, 10, Search::None, false, false, Fetch::None},
        {L"withoutvm", 20, 10, Search::SelectVm, false, false, Fetch::None},
        {L"withoutvm", 21, 11, Search::SelectVm, false, false, Fetch::NotFound},
        {L"withoutvm", 20, 12, Search::None, false, false, Fetch::Direct},
        {L"withoutvm", 20, 13, Search::None, false, false, Fetch::None},
        {L"WithVM", 20, 10, Search::None, false, false, Fetch::None},
        {L"", 20, 10, Search::None, false, false, Fetch::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.withVm << "/" << c.withoutVm);
        const InstallerPlan plan = kiv::planInstallerResolution(c.option, c.withVm, c.withoutVm);
        EXPECT_EQ(plan.search, c.search);
        EXPECT_EQ(plan.carriedVmAfterSearch, c.carriedAfter);
        EXPECT_EQ(plan.carriedVmOnly, c.carriedOnly);
        EXPECT_EQ(plan.fetch, c.fetch);
    }
}

TEST(InstallerPlan, NamesTheDownloadedPackAfterTheUrl) {
    EXPECT_TRUE(kiv::isVmPackUrl(L"http://host/packs/jre.vm"));
    EXPECT_TRUE(kiv::isVmPackUrl(L".vm"));
    EXPECT_FALSE(kiv::isVmPackUrl(L"http://host/jre.VM"));
    EXPECT_FALSE(kiv::isVmPackUrl(L"http://host/jre.zip"));
    EXPECT_EQ(kiv::downloadFileName(L"http://host/packs/jre.vm"), L"jre.vm");
    EXPECT_EQ(kiv::downloadFileName(L"jre.vm \r\n"), L"jre.vm");
    EXPECT_EQ(kiv::downloadFileName(L"http://host/"), L"");
}

TEST(InstallerPlan, APackNameMustStayAFileInTheDownloadFolder) {
    struct Case {
        const wchar_t* name;
        bool plain;
    };
    const Case cases[] = {
        {L"jre.vm", true},          {L"jre 1.8.vm", true},       {L"...vm", true},
        {L"%5C..%5Cjre.vm", true},  // stays encoded in the name
        {L"x\\..\\..\\jre.vm", false}, {L"\\jre.vm", false},       {L"C:jre.vm", false},
        {L"jre.vm:stream.vm", false}, {L"jre\tx.vm", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        EXPECT_EQ(kiv::isPlainFileName(c.name), c.plain);
    }
}
