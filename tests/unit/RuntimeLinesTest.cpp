#include "launcher/EnvironmentBlock.h"
#include "launcher/RuntimeLines.h"
#include "platform/TextMode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kiv {
namespace {

using Environment = std::map<std::wstring, std::wstring>;

// An environment block as GetEnvironmentStringsW hands it over.
std::wstring block(const std::vector<std::wstring>& entries) {
    std::wstring text;
    for (const std::wstring& entry : entries) text += entry + L'\0';
    return text + L'\0';
}

TEST(RuntimeLinesTest, EachVariableIsWrittenUnderThreeNamesWithItsEscapedValue) {
    const Environment environment = {{L"JAVA_HOME", L"C:\\Program Files\\Java"}};
    EXPECT_EQ(
        "kiv.nl.env.java_home=C:\\\\Program Files\\\\Java\r\n"
        "kiv.nl.env.JAVA_HOME=C:\\\\Program Files\\\\Java\r\n"
        "kiv.nl.env.exact_case.JAVA_HOME=C:\\\\Program Files\\\\Java\r\n",
        encodeTextMode(environmentLines(environment)));
}

TEST(RuntimeLinesTest, NameCaseChangesAfterEscaping) {
    const Environment environment = {{L"X\u00e9", L"\u20ac"}};
    EXPECT_EQ(
        L"kiv.nl.env.x\\u00e9=\\u20ac\n"
        L"kiv.nl.env.X\\U00E9=\\u20ac\n"
        L"kiv.nl.env.exact_case.X\\u00e9=\\u20ac\n",
        environmentLines(environment));
}

TEST(RuntimeLinesTest, VariablesAreWrittenInCodeUnitOrderOfTheirNames) {
    const Environment environment = {{L"b", L"2"}, {L"B", L"1"}};
    EXPECT_EQ(
        L"kiv.nl.env.b=1\nkiv.nl.env.B=1\nkiv.nl.env.exact_case.B=1\n"
        L"kiv.nl.env.b=2\nkiv.nl.env.B=2\nkiv.nl.env.exact_case.b=2\n",
        environmentLines(environment));
}

TEST(RuntimeLinesTest, PerDriveEntriesLeaveOnlyTheLastUnderTheEmptyName) {
    const std::wstring text = block({L"=C:=C:\\dir", L"Path=C:\\a", L"=D:=D:\\"});
    const Environment environment = parseEnvironmentBlock(text.c_str());
    EXPECT_EQ((Environment{{L"", L"D:=D:\\"}, {L"Path", L"C:\\a"}}), environment);
    EXPECT_EQ(
        L"kiv.nl.env.=D:=D:\\\\\n"
        L"kiv.nl.env.=D:=D:\\\\\n"
        L"kiv.nl.env.exact_case.=D:=D:\\\\\n",
        environmentLines({{L"", environment.at(L"")}}));
}

TEST(RuntimeLinesTest, EnvironmentBlockEntries) {
    struct Case {
        const char* name;
        std::vector<std::wstring> entries;
        Environment environment;
    };
    const std::vector<Case> cases = {
        {"empty block", {}, {}},
        {"value keeps further =", {L"A=b=c"}, {{L"A", L"b=c"}}},
        {"empty value", {L"A="}, {{L"A", L""}}},
        {"later duplicate replaces", {L"A=1", L"A=2"}, {{L"A", L"2"}}},
        {"names are case-sensitive", {L"A=1", L"a=2"}, {{L"A", L"1"}, {L"a", L"2"}}},
        {"entry without = keeps its name", {L"LONE"}, {{L"LONE", L""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring text = block(c.entries);
        EXPECT_EQ(c.environment, parseEnvironmentBlock(text.c_str()));
    }
    EXPECT_TRUE(parseEnvironmentBlock(nullptr).empty());
}

TEST(RuntimeLinesTest, ValuesWithLineBreaksStayOnOneLine) {
    const std::wstring lines = environmentLines({{L"V", L"x\nkiv.nl.current.vm=evil"}});
    EXPECT_EQ(3, std::count(lines.begin(), lines.end(), L'\n'));
}

TEST(RuntimeLinesTest, ConsoleAndCurrentVmLines) {
    EXPECT_EQ(
        "kiv.control-key=true\r\nkiv.stderr.redirect=console\r\nkiv.stdout.redirect=console\r\n",
        encodeTextMode(consoleLines()));
    EXPECT_EQ("kiv.nl.current.vm=C:\\\\Programme\\\\J\\u00e4v\\u00e4\\\\bin\\\\java.exe\r\n",
              encodeTextMode(currentVmLine(L"C:\\Programme\\J\u00e4v\u00e4\\bin\\java.exe")));
}

TEST(RuntimeLinesTest, ClassPathMarkerTakesTheClassPathVariableOnce) {
    struct Case {
        std::wstring property;
        std::wstring classPath;
        std::wstring resolved;
    };
    const std::vector<Case> cases = {
        {L"lib\\app.jar;$ENV_CLASSPATH$", L"C:\\x.jar", L"lib\\app.jar;C:\\x.jar"},
        {L"lib\\app.jar;$ENV_CLASSPATH$", L"", L"lib\\app.jar;"},
        {L"$ENV_CLASSPATH$", L"", L""},
        {L"$ENV_CLASSPATH$;$ENV_CLASSPATH$", L"a", L"a;$ENV_CLASSPATH$"},
        {L"$env_classpath$", L"a", L"$env_classpath$"},
        {L"lib\\app.jar", L"a", L"lib\\app.jar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.property));
        EXPECT_EQ(c.resolved, resolveClassPathText(c.property, c.classPath));
    }
}

TEST(RuntimeLinesTest, PathVariableIsTheFirstNameReadingPathInAnyCase) {
    EXPECT_EQ(std::optional<std::wstring>(L"PATH"),
              findPathVariableName({{L"path", L"b"}, {L"PATH", L"a"}, {L"PATHEXT", L"c"}}));
    EXPECT_EQ(std::optional<std::wstring>(L"Path"), findPathVariableName({{L"Path", L"a"}}));
    EXPECT_EQ(std::nullopt, findPathVariableName({{L"PATHEXT", L"a"}, {L"", L"C:=C:\\"}}));
}

TEST(RuntimeLinesTest, PathListSplitsAtSemicolons) {
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\a", L"C:\\b"}), splitPathList(L"C:\\a;;C:\\b;"));
    EXPECT_EQ((std::vector<std::wstring>{L"", L"C:\\a"}), splitPathList(L";C:\\a"));
    EXPECT_TRUE(splitPathList(L"").empty());
}

}  // namespace
}  // namespace kiv
