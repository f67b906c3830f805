#include "installer/ZipEntryName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Text.h"

namespace kiv {
namespace {

struct NameCase {
    std::wstring stored;
    std::wstring cleaned;  // empty: the entry is skipped
};

std::string traceOf(const std::wstring& text) {
    return wideToUtf8(text);
}

TEST(ZipEntryNameTest, OrdinaryNamesStayAsStored) {
    const std::vector<NameCase> cases = {
        {L"jre/bin/java.exe", L"jre/bin/java.exe"},
        {L"jre\\lib\\rt.jar", L"jre\\lib\\rt.jar"},
        {L"jre/", L"jre/"},
        {L"vm.zip", L"vm.zip"},
        {L"./x.dll", L"./x.dll"},
        {L"lib/...so", L"lib/...so"},
        {L"a/b.c/d", L"a/b.c/d"},
        {L"console.cfg", L"console.cfg"},
        {L"com10.txt", L"com10.txt"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(traceOf(c.stored));
        EXPECT_EQ(c.cleaned, cleanEntryName(c.stored));
    }
}

TEST(ZipEntryNameTest, AbsoluteAndClimbingPrefixesAreStripped) {
    const std::vector<NameCase> cases = {
        {L"C:\\Windows\\x.dll", L"Windows\\x.dll"},
        {L"\\x.dll", L"x.dll"},
        {L"a/../../x.dll", L"x.dll"},
        {L"/etc/passwd", L"etc/passwd"},
        {L"\\\\server\\share\\x", L"server\\share\\x"},
        {L"a:b/x", L"b/x"},
        {L"C:..\\x", L"x"},
        {L"C:/D:/x", L"x"},
        {L"../../../x", L"x"},
        {L"..\\..\\x", L"x"},
        {L"../..\\x", L"x"},
        {L"x/./../../y", L"y"},
        {L"a\\../b", L"b"},
        {L"a/..\\b/../c", L"c"},
        {L"//../x", L"x"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(traceOf(c.stored));
        EXPECT_EQ(c.cleaned, cleanEntryName(c.stored));
    }
}

TEST(ZipEntryNameTest, NamesThatCouldStillEscapeOrCleanToNothingAreSkipped) {
    const std::vector<std::wstring> names = {
        L"",
        L"..",
        L"a/..",
        L"a\\..",
        L"a/../..",
        L"a/b/..",
        L"a/.. ",
        L"a/...",
        L"a/. .",
        L"..../x",
        L"a/.. /x",
        L"a\\..\\",
        L"C:",
        L"C:\\",
        L"/",
        L"\\\\",
        L".",
        L"./",
        L"\\\\?\\C:\\x",
        L"x/file.txt:stream",
        std::wstring(L"a/b\0/x", 6),
        L"a\x01" L"b",
        L"CON",
        L"x/nul.txt",
        L"Aux",
        L"x/LPT1/y",
        L"com3 .log",
        L"conout$",
    };
    for (const std::wstring& name : names) {
        SCOPED_TRACE(traceOf(name));
        EXPECT_EQ(L"", cleanEntryName(name));
    }
}

// Whatever the input, what remains is relative and has no climbing component.
TEST(ZipEntryNameTest, NoCleanedNameIsAbsoluteOrClimbs) {
    const std::wstring alphabet = L"./\\:a";
    std::vector<std::wstring> names = {L""};
    for (int length = 1; length <= 6; ++length) {
        std::vector<std::wstring> longer;
        for (const std::wstring& name : names)
            for (wchar_t c : alphabet)
                longer.push_back(name + c);
        for (const std::wstring& name : longer) {
            const std::wstring cleaned = cleanEntryName(name);
            if (cleaned.empty())
                continue;
            SCOPED_TRACE(traceOf(name));
            ASSERT_NE(L'/', cleaned[0]);
            ASSERT_NE(L'\\', cleaned[0]);
            ASSERT_EQ(std::wstring::npos, cleaned.find(L':'));
            const std::wstring unified = L"/" + replaceAll(cleaned, L'\\', L"/") + L"/";
            ASSERT_EQ(std::wstring::npos, unified.find(L"/../"));
        }
        names = longer;
    }
}

TEST(ZipEntryNameTest, InvalidUtf8DecodesToReplacementCharacters) {
    const std::wstring decoded = utf8ToWide(std::string("bin/\xFF\xC0java.exe"));
    EXPECT_EQ(L"bin/\xFFFD\xFFFDjava.exe", cleanEntryName(decoded));
}

TEST(ZipEntryNameTest, PathBufferHoldsAtMost259Characters) {
    EXPECT_TRUE(fitsPathBuffer(std::wstring(259, L'a')));
    EXPECT_FALSE(fitsPathBuffer(std::wstring(260, L'a')));
    EXPECT_TRUE(fitsPathBuffer(L""));
}

}  // namespace
}  // namespace kiv
