#include "vm/JvmSpec.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace kiv {
namespace {

using Field = JvmSpec::Field;
using Lines = std::vector<std::wstring>;
using Properties = std::map<std::wstring, std::wstring>;

struct SpecCase {
    const char* name;
    Lines lines;
    std::map<Field, std::wstring> values;  // every other value must stay empty
    Properties properties = {};
    Lines platformHints = {};
    Lines pathHints = {};
};

const std::vector<SpecCase>& specCases() {
    static const std::vector<SpecCase> cases = {
        {"comment only at the very first character",
         {L"#JVM_EXE: a.exe", L"  #comment", L"  # JVM_EXE: b.exe"},
         {{Field::jvmExe, L"b.exe"}}},
        {"blank and control-only lines are ignored",
         {L"", L"   ", L"\t\r", L"JVM_EXE: bin\\java.exe\r"},
         {{Field::jvmExe, L"bin\\java.exe"}}},
        {"first key in checking order counts",
         {L"DESC: uses JVM_EXE: here"},
         {{Field::description, L"uses JVM_EXE: here"}}},
        {"keys that contain other keys",
         {L"BOOT_CLASSPATH: lib\\boot.jar", L"CLASSPATH_SEPARATOR: ;", L"SYSTEM_SEPARATOR: |",
          L"VERBOSE_GC: yes", L"RUNHPROF_OPTION: cpu=samples"},
         {{Field::bootClassPath, L"lib\\boot.jar"},
          {Field::classPathSeparator, L";"},
          {Field::systemSeparator, L"|"},
          {Field::verboseGc, L"yes"},
          {Field::runhprofOption, L"cpu=samples"}}},
        {"key anywhere in the line, value after its first occurrence, later line replaces",
         {L"the JVM_EXE:  one JVM_EXE: two  ", L"FUTURE: a", L"xFUTURE:b"},
         {{Field::jvmExe, L"one JVM_EXE: two"}, {Field::future, L"b"}}},
        {"every value key",
         {L"DESC:1",
          L"JVM_EXE:2",
          L"CLASSPATH:3",
          L"CLASSPATH_SEPARATOR:4",
          L"SYSTEM:5",
          L"SYSTEM_SEPARATOR:6",
          L"VERBOSE:7",
          L"VERBOSE_GC:8",
          L"VERBOSE_CLASS:9",
          L"VERBOSE_JNI:10",
          L"VERSION:11",
          L"BOOT_CLASSPATH:12",
          L"NO_CLASS_GC:13",
          L"INIT_JAVA_HEAP:14",
          L"MAX_JAVA_HEAP:15",
          L"REDUCE_OS_SIGNALS:16",
          L"CHECK_JNI:17",
          L"RUNHPROF_HELP:18",
          L"RUNHPROF_OPTION:19",
          L"DEBUG:20",
          L"FUTURE:21"},
         {{Field::description, L"1"},     {Field::jvmExe, L"2"},
          {Field::classPath, L"3"},       {Field::classPathSeparator, L"4"},
          {Field::system, L"5"},          {Field::systemSeparator, L"6"},
          {Field::verbose, L"7"},         {Field::verboseGc, L"8"},
          {Field::verboseClass, L"9"},    {Field::verboseJni, L"10"},
          {Field::version, L"11"},        {Field::bootClassPath, L"12"},
          {Field::noClassGc, L"13"},      {Field::initJavaHeap, L"14"},
          {Field::maxJavaHeap, L"15"},    {Field::reduceOsSignals, L"16"},
          {Field::checkJni, L"17"},       {Field::runhprofHelp, L"18"},
          {Field::runhprofOption, L"19"}, {Field::debug, L"20"},
          {Field::future, L"21"}}},
        {"the example file",
         {L"DESC: Sun 1.6 runtime", L"JVM_EXE: bin\\java.exe", L"JVM_PROPERTIES",
          L"java.vendor=Example Vendor", L"java.version=1.6.0_31", L"/:", L"PLATFORM_HINT:",
          L"\\HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6\\JavaHome",
          L"/:", L"PATH_HINT:", L"..\\jre", L"/:"},
         {{Field::description, L"Sun 1.6 runtime"}, {Field::jvmExe, L"bin\\java.exe"}},
         {{L"java.vendor", L"Example Vendor"}, {L"java.version", L"1.6.0_31"}},
         {L"\\HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6\\JavaHome"},
         {L"..\\jre"}},
        {"block key wins over value keys and the rest of its line is ignored",
         {L"DESC: about JVM_PROPERTIES /:", L"a=1", L"/:", L"PATH_HINT: C:\\ignored",
          L"  Java\\jre  ", L"end /: of block", L"x=2"},
         {},
         {{L"a", L"1"}},
         {},
         {L"Java\\jre"}},
        {"no keys inside a block, comments and blanks still skipped",
         {L"PLATFORM_HINT:", L"JVM_EXE: not a value", L"#/: a comment does not close", L"",
          L"\\HKEY_CURRENT_USER\\K\\V", L"/:"},
         {},
         {},
         {L"JVM_EXE: not a value", L"\\HKEY_CURRENT_USER\\K\\V"}},
        {"property entries: quotes, trimming, first '=' and first value wins",
         {L"JVM_PROPERTIES", L"  \"java.vendor = Sun Microsystems Inc.\"  ", L"java.vendor=Other",
          L"a = b = c", L"java.home", L"\"quoted only\"", L"\"", L"\"half quoted"},
         {},
         {{L"java.vendor", L"Sun Microsystems Inc."},
          {L"a", L"b = c"},
          {L"java.home", L"java.home"},
          {L"quoted only", L"quoted only"},
          {L"\"", L"\""},
          {L"\"half quoted", L"\"half quoted"}}},
        {"an unclosed block runs to the end",
         {L"PATH_HINT:", L"..\\jre", L"DESC: not a description", L"JVM_PROPERTIES"},
         {},
         {},
         {},
         {L"..\\jre", L"DESC: not a description", L"JVM_PROPERTIES"}},
    };
    return cases;
}

TEST(JvmSpecTest, ReadsTheLineGrammar) {
    for (const SpecCase& c : specCases()) {
        SCOPED_TRACE(c.name);
        JvmSpec spec;
        spec.readText(c.lines);
        for (size_t i = 0; i < JvmSpec::fieldCount; ++i) {
            const Field field = static_cast<Field>(i);
            const auto expected = c.values.find(field);
            SCOPED_TRACE(testing::Message() << "field " << i);
            EXPECT_EQ(spec.value(field), expected == c.values.end() ? L"" : expected->second);
        }
        EXPECT_EQ(spec.jvmProperties(), c.properties);
        EXPECT_EQ(spec.platformHints(), c.platformHints);
        EXPECT_EQ(spec.pathHints(), c.pathHints);
    }
}

TEST(JvmSpecTest, NamedAccessorsReadTheirOwnField) {
    JvmSpec spec;
    spec.readText(
        {L"JVM_EXE: bin\\java.exe", L"BOOT_CLASSPATH: b", L"CLASSPATH: c", L"MAX_JAVA_HEAP: 64m"});
    EXPECT_EQ(spec.jvmExe(), L"bin\\java.exe");
    EXPECT_EQ(spec.bootClassPath(), L"b");
    EXPECT_EQ(spec.classPath(), L"c");
    EXPECT_EQ(spec.maxJavaHeap(), L"64m");
    EXPECT_EQ(spec.description(), L"");
}

TEST(JvmSpecTest, NextFileKeepsValuesButStartsNewListsAndNoOpenBlock) {
    JvmSpec spec;
    spec.readText({L"JVM_EXE: bin\\java.exe", L"DESC: first", L"JVM_PROPERTIES", L"a=1", L"/:",
                   L"PLATFORM_HINT:", L"\\HKEY_USERS\\K\\V", L"/:", L"PATH_HINT:", L"..\\jre"});
    spec.readText({L"DESC: second", L"JVM_PROPERTIES", L"b=2"});

    EXPECT_EQ(spec.jvmExe(), L"bin\\java.exe");  // the second file lacks JVM_EXE:
    EXPECT_EQ(spec.description(), L"second");
    EXPECT_EQ(spec.jvmProperties(), (Properties{{L"b", L"2"}}));
    EXPECT_TRUE(spec.platformHints().empty());
    EXPECT_TRUE(spec.pathHints().empty());  // the first file's unclosed block is not carried over
}

}  // namespace
}  // namespace kiv
