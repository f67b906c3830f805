#include "vm/VerifyProbeText.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kiv {
namespace {

using Properties = std::map<std::wstring, std::wstring>;

TEST(VerifyProbeTextTest, ValueMatchesExactlyOrByPrefix) {
    struct Case {
        const wchar_t* printed;
        const wchar_t* expected;
        bool matches;
    };
    const Case cases[] = {
        {L"anything", L"*", true},
        {L"", L"*", true},
        {L"1.4.2_05", L"1.4*", true},
        {L"1.40", L"1.4*", true},
        {L"1.3.1", L"1.4*", false},
        {L"1.4.2_05", L"1.4*2*", true},  // the prefix ends at the first '*'
        {L"1.4.2_05", L"1.4...", true},
        {L"1.40", L"1.4...", true},
        {L"1.3", L"1.4...", false},
        {L"1.4.2_05", L"1.4.2", false},
        {L"1.4.2", L"1.4.2", true},
        {L"1.4.2", L"1.4.", false},    // one trailing dot is no "..."
        {L"whatever", L"....", true},  // only dots accepts every value
        {L"Sun Microsystems Inc.\r", L"Sun Microsystems Inc.", false},
        {L"Sun Microsystems Inc.\r", L"Sun*", true},
        {L"Sun Microsystems Inc.\r", L"Sun...", true},
        {L"sun", L"Sun*", false},  // case-sensitive
        {L"", L"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(c.printed))
                                        << " against " << c.expected);
        EXPECT_EQ(valueMatches(c.printed, c.expected), c.matches);
    }
}

TEST(VerifyProbeTextTest, AnswerLinesFollowTheHeaderInMapOrder) {
    const Properties expected = {{L"java.version", L"1.6*"},
                                 {L"java.vendor", L"Sun Microsystems Inc."}};
    // Map order puts java.vendor before java.version.
    EXPECT_TRUE(verifyAnswerMatches(L"Verify 1.0\nSun Microsystems Inc.\n1.6.0_31\n", expected));
    EXPECT_FALSE(verifyAnswerMatches(L"Verify 1.0\n1.6.0_31\nSun Microsystems Inc.\n", expected));
    // Blanks around lines are trimmed away between entries.
    EXPECT_TRUE(
        verifyAnswerMatches(L"  \r\nheader \n\n  Sun Microsystems Inc.\n \t1.6.0\n", expected));
}

TEST(VerifyProbeTextTest, AnswerNeedsASecondLine) {
    EXPECT_FALSE(verifyAnswerMatches(L"", {}));
    EXPECT_FALSE(verifyAnswerMatches(L"  header only  \n\n", {}));
    EXPECT_TRUE(verifyAnswerMatches(L"header\nx", {}));
    // Trailing empty lines are trimmed before the search for the second line.
    EXPECT_FALSE(verifyAnswerMatches(L"header\n\n", {{L"java.version", L"*"}}));
}

TEST(VerifyProbeTextTest, CarriageReturnsStayInTheLines) {
    const Properties exact = {{L"a.one", L"X"}, {L"b.two", L"Y"}};
    EXPECT_FALSE(verifyAnswerMatches(L"header\r\nX\r\nY\r\n", exact));
    // The last line loses its CR with the final trim.
    EXPECT_TRUE(verifyAnswerMatches(L"header\r\nX\nY\r\n", exact));
    const Properties prefixes = {{L"a.one", L"X*"}, {L"b.two", L"Y..."}};
    EXPECT_TRUE(verifyAnswerMatches(L"header\r\nX\r\nY\r\n", prefixes));
}

TEST(VerifyProbeTextTest, LaterEntriesReuseTheLastLineWhenLinesRunOut) {
    EXPECT_TRUE(verifyAnswerMatches(L"header\nsame", {{L"a", L"same"}, {L"b", L"same"}}));
    EXPECT_FALSE(verifyAnswerMatches(L"header\nsame", {{L"a", L"same"}, {L"b", L"other"}}));
}

TEST(VerifyProbeTextTest, CommandLineNamesPropertiesInMapOrder) {
    const Properties properties = {{L"java.version", L"1.6*"}, {L"java.vendor", L"Sun*"}};
    EXPECT_EQ(
        verifyCommandLine(L"C:\\Java\\bin\\java.exe", L"C:\\App\\jvmspecs\\Verify.jar", properties),
        L"\"C:\\Java\\bin\\java.exe\" -classpath \"C:\\App\\jvmspecs\\Verify.jar\" Verify "
        L"java.vendor java.version");
    EXPECT_EQ(verifyCommandLine(L"java.exe", L"Verify.jar", {}),
              L"\"java.exe\" -classpath \"Verify.jar\" Verify");
}

TEST(VerifyProbeTextTest, JarIsLookedForInANestedJvmspecsFolderOnlyOutsideOne) {
    EXPECT_EQ(verifyJarPath(L"C:\\App"), L"C:\\App\\Verify.jar");
    EXPECT_EQ(nestedVerifyJarPath(L"C:\\App"), L"C:\\App\\jvmspecs\\Verify.jar");
    EXPECT_EQ(nestedVerifyJarPath(L"C:\\App\\jvmspecs"), L"");
    EXPECT_EQ(nestedVerifyJarPath(L"C:\\App\\jvmspecs\\"), L"");
    EXPECT_EQ(nestedVerifyJarPath(L"C:\\App\\myjvmspecs"), L"");  // a plain suffix test
    EXPECT_EQ(nestedVerifyJarPath(L"C:\\App\\JVMSPECS"),
              L"C:\\App\\JVMSPECS\\jvmspecs\\Verify.jar");
    EXPECT_TRUE(endsWithJvmspecsFolder(L"jvmspecs"));
    EXPECT_FALSE(endsWithJvmspecsFolder(L"C:\\jvmspecs\\\\"));
}

}  // namespace
}  // namespace kiv
