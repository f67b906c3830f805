#include "launcher/PropertyEscapes.h"
#include "launcher/PropertyFile.h"
#include "platform/TextMode.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace kiv {
namespace {

using Entries = std::map<std::wstring, std::wstring>;

// A file's bytes as the launcher's loader sees them after a text-mode read.
PropertyFile loadBytes(const std::string& bytes) {
    PropertyFile file;
    file.loadText(decodeTextMode(bytes));
    return file;
}

TEST(PropertyFileTest, LineGrammar) {
    struct Case {
        const char* name;
        std::string bytes;
        Entries entries;
    };
    const std::vector<Case> cases = {
        {"blanks around key and value are trimmed", " \ta = b c \t\n", {{L"a", L"b c"}}},
        {"control characters count as blanks", "\x01k\x1F=\x7Fv\x02\n", {{L"k", L"\x7Fv"}}},
        {"# as first character is a comment", "#x=1\n", {}},
        {"# after blanks is a key", "  # x=1\n", {{L"# x", L"1"}}},
        {"! has no meaning", "!x=1\n", {{L"!x", L"1"}}},
        {"colon and space are no separators", "key:value\nkey value\n", {}},
        {"blank lines are skipped", "\n \t\n\r\n", {}},
        {"empty key", "=v\n", {{L"", L"v"}}},
        {"empty value", "k=\n", {{L"k", L""}}},
        {"first = separates", "k=a=b\n", {{L"k", L"a=b"}}},
        {"last occurrence wins", "k=1\nk=2\n", {{L"k", L"2"}}},
        {"keys are case-sensitive", "K=1\nk=2\n", {{L"K", L"1"}, {L"k", L"2"}}},
        {"trailing backslash becomes a space and joins nothing",
         "k=C:\\\\dir\\\\\nnext=1\n",
         {{L"k", L"C:\\\\dir\\ "}, {L"next", L"1"}}},
        {"lone backslash value", "k=\\\n", {{L"k", L" "}}},
        {"escape in value", "k=\\u00e9\n", {{L"k", L"\u00e9"}}},
        {"escape in key", "k\\u00E9y=1\n", {{L"k\u00e9y", L"1"}}},
        {"escape ends at a non-digit", "k=\\u41z\n", {{L"k", L"Az"}}},
        {"escape takes at most four digits", "k=\\u00411\n", {{L"k", L"A1"}}},
        {"escape without digits is U+0000", "k=\\uz\n", {{L"k", std::wstring(L"\0z", 2)}}},
        {"escape at the very end", "k=a\\u\n", {{L"k", std::wstring(L"a\0", 2)}}},
        {"other backslash pairs stay", "k=\\n\\t\n", {{L"k", L"\\n\\t"}}},
        {"doubled backslash hides u", "k=\\\\u0041\n", {{L"k", L"\\\\u0041"}}},
        {"escaped blanks survive trimming", "k=\\u0020x\\u0020\n", {{L"k", L" x "}}},
        {"last line without LF", "a=1\nb=2", {{L"a", L"1"}, {L"b", L"2"}}},
        {"CR LF reads like LF", "a=1\r\nb=2\r\n", {{L"a", L"1"}, {L"b", L"2"}}},
        {"lone CR is no line end", "a=1\rb=2\n", {{L"a", L"1\rb=2"}}},
        {"0x1A ends the file", std::string("a=1\nb=\x1A\nc=3\n", 13), {{L"a", L"1"}, {L"b", L""}}},
        {"bytes are ISO-8859-1", "k=J\xE4v\xE4\n", {{L"k", L"J\u00e4v\u00e4"}}},
        {"UTF-8 byte-order mark joins the first key",
         "\xEF\xBB\xBFk=v\nk=w\n",
         {{L"\u00ef\u00bb\u00bfk", L"v"}, {L"k", L"w"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.entries, loadBytes(c.bytes).entries());
    }
}

TEST(PropertyFileTest, SecondLoadOverridesSharedKeysAndKeepsTheOthers) {
    PropertyFile file;
    file.loadText(L"a=1\nb=1\n");
    file.loadText(L"b=2\nc=2\n");
    const Entries expected = {{L"a", L"1"}, {L"b", L"2"}, {L"c", L"2"}};
    EXPECT_EQ(expected, file.entries());
}

TEST(PropertyFileTest, EntriesRunInCodeUnitOrderNotFileOrder) {
    const PropertyFile file = loadBytes("b=1\n\xE9=2\na=3\nB=4\n");
    std::vector<std::wstring> keys;
    for (const auto& entry : file.entries()) keys.push_back(entry.first);
    EXPECT_EQ((std::vector<std::wstring>{L"B", L"a", L"b", L"\u00e9"}), keys);
}

TEST(PropertyFileTest, GetGivesThePresentEmptyValueAndTheFallbackOnlyWhenAbsent) {
    const PropertyFile file = loadBytes("empty=\n");
    EXPECT_EQ(L"", file.get(L"empty", L"fallback"));
    EXPECT_EQ(L"fallback", file.get(L"absent", L"fallback"));
    EXPECT_EQ(L"fallback", file.get(L"EMPTY", L"fallback"));
    EXPECT_EQ(1u, file.entries().size());  // get never inserts
}

TEST(PropertyEscapesTest, WritingDoublesBackslashesAndEscapesNonAscii) {
    struct Case {
        std::wstring text;
        std::wstring escaped;
    };
    const std::vector<Case> cases = {
        {L"C:\\Programme\\J\u00e4v\u00e4", L"C:\\\\Programme\\\\J\\u00e4v\\u00e4"},
        {L"\u20ac\u0080\u007f", L"\\u20ac\\u0080\u007f"},
        {L"\uFFFF", L"\\uffff"},
        {L"a=b #c\t", L"a=b #c\t"},
        // Raw line ends or 0x1A would cut the line (or the file) for a reader.
        {L"a\nb\rc\x1A", L"a\\u000ab\\u000dc\\u001a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(c.escaped, escapePropertyText(c.text));
    }
}

TEST(PropertyEscapesTest, EscapedTextWithoutBackslashesReadsBackUnchanged) {
    const std::wstring text = L"x\u00e9\u20ac\nline\r\x1A end";
    PropertyFile file;
    file.loadText(L"k=" + escapePropertyText(text) + L"\n");
    EXPECT_EQ(text, file.get(L"k", L""));
}

TEST(PropertyEscapesTest, CodePointsBeyondSixteenBitsBecomeSurrogatePairs) {
    // Only a 32-bit wchar_t can hold them in one unit; a 16-bit one already
    // holds the pair, and the result is the same.
    std::wstring text;
    if (sizeof(wchar_t) > 2) {
        text = {static_cast<wchar_t>(0x1F600), static_cast<wchar_t>(0x7FFFFFFF)};
        EXPECT_EQ(L"\\ud83d\\ude00\\ufffd", escapePropertyText(text));
    } else {
        text = {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
        EXPECT_EQ(L"\\ud83d\\ude00", escapePropertyText(text));
    }
}

}  // namespace
}  // namespace kiv
