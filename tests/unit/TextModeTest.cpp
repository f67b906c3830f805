#include "platform/TextMode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kiv {
namespace {

TEST(TextModeTest, DecodingFollowsTheTextModeReadRules) {
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring text;
    };
    const std::vector<Case> cases = {
        {"CR LF reads as LF", "a\r\nb\r\n", L"a\nb\n"},
        {"lone CR stays", "a\rb\r", L"a\rb\r"},
        {"CR before CR LF stays", "a\r\r\nb", L"a\r\nb"},
        {"0x1A ends the input", std::string("k=1\n\x1Ak=2\n", 10), L"k=1\n"},
        {"0x1A right after CR", std::string("a\r\x1A\n", 4), L"a\r"},
        {"NUL is an ordinary byte", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
        {"bytes are ISO-8859-1", "\xE9\xFF\x80", L"\u00e9\u00ff\u0080"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.text, decodeTextMode(c.bytes));
    }
}

TEST(TextModeTest, LinesEndAtLineFeedWithoutAnEmptyLastLine) {
    struct Case {
        std::wstring text;
        std::vector<std::wstring> lines;
    };
    const std::vector<Case> cases = {
        {L"", {}},
        {L"\n", {L""}},
        {L"a", {L"a"}},
        {L"a\n", {L"a"}},
        {L"a\n\nb", {L"a", L"", L"b"}},
        {L"a\rb\n", {L"a\rb"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(c.lines, splitTextLines(c.text));
    }
}

TEST(TextModeTest, EncodingWritesCrLfAndOneBytePerCodeUnit) {
    EXPECT_EQ("k=v\r\n\r\n", encodeTextMode(L"k=v\n\n"));
    EXPECT_EQ(std::string("\xE9\xFF\r", 3), encodeTextMode(L"\u00e9\u00ff\r"));
    EXPECT_EQ("a?b", encodeTextMode(L"a\u20acb"));
}

TEST(TextModeTest, WrittenTextReadsBackUnchanged) {
    const std::wstring text = L"kiv.a=1\nkiv.b=C:\\\\x \u00e9\n";
    EXPECT_EQ(text, decodeTextMode(encodeTextMode(text)));
}

}  // namespace
}  // namespace kiv
