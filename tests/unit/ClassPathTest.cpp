#include "launch/ClassPath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kiv {
namespace {

TEST(ClassPathTest, SplitsAtSemicolonsAndJoinsWithATrailingOne) {
    struct Case {
        std::wstring text;
        std::vector<std::wstring> entries;
        std::wstring joined;
    };
    const std::vector<Case> cases = {
        {L"a;b", {L"a", L"b"}, L"a;b;"},
        {L"a;;b;", {L"a", L"b"}, L"a;b;"},
        {LR"(D:\App\lib\x.jar)", {LR"(D:\App\lib\x.jar)"}, LR"(D:\App\lib\x.jar;)"},
        {L";a", {L"", L"a"}, L";a;"},
        {L"C:\\Program Files\\a.jar;b c", {L"C:\\Program Files\\a.jar", L"b c"},
         L"C:\\Program Files\\a.jar;b c;"},
        {L"", {}, L""},
        {L"   ", {}, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text: [" << c.text << "]");
        const ClassPath classPath(c.text);
        EXPECT_EQ(classPath.entries(), c.entries);
        EXPECT_EQ(classPath.size(), c.entries.size());
        EXPECT_EQ(classPath.join(), c.joined);
    }
}

TEST(ClassPathTest, AddedEntriesFollowInOrder) {
    ClassPath classPath;
    EXPECT_EQ(classPath.join(), L"");
    classPath.add(L"a.jar");
    classPath.add(LR"(C:\jre\lib\classes.zip)");
    EXPECT_EQ(classPath.join(), LR"(a.jar;C:\jre\lib\classes.zip;)");
}

}  // namespace
}  // namespace kiv
