// Path texts, the tokenizer and versions: the helpers every parser uses.
#include <gtest/gtest.h>

#include "platform/PathText.h"
#include "platform/TextTokenizer.h"
#include "platform/VersionNumber.h"

using namespace kiv;

TEST(PathText, NormalisesSeparators) {
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
    };
    const Case cases[] = {
        {L"C:/Program Files//App/", L"C:\\Program Files\\\\App\\"},  // slashes come after collapsing
        {L"C:\\\\\\\\a", L"C:\\a"},
        {L"\\\\server\\share\\\\x", L"\\\\server\\share\\x"},  // the UNC prefix stays whole
        {L"\\\\\\\\x", L"\\\\\\x"},
        {L"", L""},
        {L"a\\b", L"a\\b"},
    };
    for (const Case& c : cases) EXPECT_EQ(normalizeSeparators(c.in), c.out) << c.in;
}

TEST(PathText, TakesPathsApart) {
    EXPECT_EQ(pathFileName(L"C:\\A\\Java.EXE", true), L"java.exe");
    EXPECT_EQ(pathFileName(L"java"), L"java");
    EXPECT_EQ(pathExtension(L"C:\\a.b\\c"), L"");
    EXPECT_EQ(pathExtension(L"C:\\x\\Y.ZIP"), L"zip");
    EXPECT_FALSE(pathHasExtension(L".profile"));
    EXPECT_TRUE(pathHasExtension(L"a.txt"));
    EXPECT_EQ(pathParent(L"java.exe", L"."), L".");
    EXPECT_EQ(pathParent(L"C:\\jre\\bin", L"."), L"C:\\jre");
    EXPECT_TRUE(pathIsAbsolute(L"\\x"));
    EXPECT_TRUE(pathIsAbsolute(L"C:x"));
    EXPECT_FALSE(pathIsAbsolute(L"x\\y"));
    EXPECT_FALSE(pathIsAbsolute(L""));
}

TEST(TextTokenizer, SplitsWithoutEmptyTokensExceptALeadingOne) {
    struct Case {
        const wchar_t* text;
        const wchar_t* delimiters;
        std::vector<std::wstring> tokens;
    };
    const Case cases[] = {
        {L"  a b  ", L" ", {L"a", L"b"}},
        {L"", L" ", {}},
        {L"   ", L";", {}},
        {L"1.8.0_191", L"._", {L"1", L"8", L"0", L"191"}},
        {L"a;;b", L";", {L"a", L"b"}},
        {L"a;b;", L";", {L"a", L"b"}},
        {L";a", L";", {L"", L"a"}},
        {L" ;a", L";", {L"", L"a"}},  // spaces are trimmed whatever the delimiters
    };
    for (const Case& c : cases) EXPECT_EQ(TextTokenizer(c.text, c.delimiters).tokens(), c.tokens) << c.text;
}

TEST(VersionNumber, ComparesComponentsInOrder) {
    const VersionNumber java8(1, 8, 0);
    EXPECT_TRUE(java8 < VersionNumber(1, 8, 1));
    EXPECT_TRUE(java8 < VersionNumber(2, 0, 0));
    EXPECT_TRUE(VersionNumber(2, 0, 0) >= java8);

    VersionNumber version(6, 0, 31);
    version.setMinor(22);
    EXPECT_EQ(version, VersionNumber(6, 22, 31));
    // Components past eight bits keep their values and order; past sixteen
    // they are held at 65535 and never spill into a neighbour.
    EXPECT_EQ(VersionNumber(1, 0, 261).major(), 1u);
    EXPECT_EQ(VersionNumber(1, 0, 261).micro(), 261u);
    EXPECT_TRUE(VersionNumber(8, 0, 202) < VersionNumber(8, 0, 381));
    EXPECT_TRUE(VersionNumber(8, 0, 381) < VersionNumber(8, 0, 401));
    EXPECT_EQ(VersionNumber(1, 70000, 2), VersionNumber(1, 65535, 2));
    EXPECT_TRUE(VersionNumber(1, 70000, 70000) < VersionNumber(2, 0, 0));
}
