#include "launch/JavaCommandLine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kiv {
namespace {

const std::wstring kJava = LR"(C:\jdk\bin\java.exe)";
const std::wstring kJre = LR"(C:\jre\bin\jre.exe)";
const std::wstring kJview = LR"(C:\Windows\jview.exe)";

// The end every line shares when only the switches differ: class path, main
// class and the two leading arguments with one blank after the second.
const std::wstring kTail = LR"("D:/App/MyApp.kiv" "D:/Temp/kiv1A2B.tmp" )";

class JavaCommandLineTest : public testing::Test {
protected:
    JavaCommandLineTest() {
        options.mainClass = L"com.example.Main";
        options.classPath = ClassPath(LR"(D:\App\a.jar)");
        options.leadingArguments = {LR"(D:\App\MyApp.kiv)", LR"(D:\Temp\kiv1A2B.tmp)"};
    }

    // What each family writes when `switches` are the items between the
    // executable and the class path switch.
    static std::wstring javaLine(const std::wstring& switches) {
        return LR"("C:\jdk\bin\java.exe")" + switches +
               LR"( -classpath "D:\App\a.jar;" com.example.Main )" + kTail;
    }
    static std::wstring jreLine(const std::wstring& switches) {
        return LR"("C:\jre\bin\jre.exe")" + switches +
               LR"( -cp "D:\App\a.jar;" com.example.Main )" + kTail;
    }

    LaunchOptions options;
};

TEST_F(JavaCommandLineTest, EachOptionWritesItsFamilysSwitch) {
    struct Case {
        const char* name;
        std::function<void(LaunchOptions&)> set;
        std::wstring javaSwitches;
        std::wstring jreSwitches;
    };
    const std::vector<Case> cases = {
        {"defaults write no switch", [](LaunchOptions&) {}, L"", L""},
        {"64m initial heap", [](LaunchOptions& o) { o.heapInitial = 64 * 1048576; },
         L" -Xms67108864", L" -ms67108864"},
        {"512k initial heap", [](LaunchOptions& o) { o.heapInitial = 512 * 1024; },
         L" -Xms524288", L" -ms524288"},
        {"maximum heap", [](LaunchOptions& o) { o.heapMax = 536870912; }, L" -Xmx536870912",
         L" -mx536870912"},
        {"both heaps, initial first",
         [](LaunchOptions& o) {
             o.heapInitial = 1048576;
             o.heapMax = 2097152;
         },
         L" -Xms1048576 -Xmx2097152", L" -ms1048576 -mx2097152"},
        {"largest heap", [](LaunchOptions& o) { o.heapMax = INT32_MAX; }, L" -Xmx2147483647",
         L" -mx2147483647"},
        {"2048m wrapped negative writes nothing", [](LaunchOptions& o) {
             o.heapInitial = INT32_MIN;
             o.heapMax = INT32_MIN;
         }, L"", L""},
        {"negative heap writes nothing", [](LaunchOptions& o) { o.heapMax = -1; }, L"", L""},
        {"plain verbosity", [](LaunchOptions& o) { o.verbose = true; }, L" -verbose",
         L" -verbose"},
        {"gc verbosity",
         [](LaunchOptions& o) {
             o.verbose = true;
             o.verboseKind = L"gc";
         },
         L" -verbose:gc", L" -verbose"},
        {"class verbosity",
         [](LaunchOptions& o) {
             o.verbose = true;
             o.verboseKind = L"class";
         },
         L" -verbose:class", L" -verbose"},
        {"debugging", [](LaunchOptions& o) { o.debugging = true; }, L" -Xdebug", L" -debug"},
        {"no background gc", [](LaunchOptions& o) { o.gcBackgroundThread = true; },
         L" -Xnoasyncgc", L" -noasyncgc"},
        {"compiler off", [](LaunchOptions& o) { o.compilerOff = true; },
         L" -Djava.compiler=off", L" -nojit"},
        {"any gc extent", [](LaunchOptions& o) { o.gcExtent = L"x"; }, L" -Xnoclassgc",
         L" -noclassgc"},
        {"additional options verbatim",
         [](LaunchOptions& o) { o.additionalOptions = L"-Da=1 -Xss1m"; }, L" -Da=1 -Xss1m",
         L" -Da=1 -Xss1m"},
        {"service switch alone gives two blanks",
         [](LaunchOptions& o) { o.additionalOptions = L" -Xrs"; }, L"  -Xrs", L"  -Xrs"},
        {"verify mode writes nothing", [](LaunchOptions& o) { o.verifyMode = true; }, L"", L""},
        {"everything, in order",
         [](LaunchOptions& o) {
             o.heapInitial = 1024;
             o.heapMax = 2048;
             o.verbose = true;
             o.verboseKind = L"gc";
             o.debugging = true;
             o.gcBackgroundThread = true;
             o.compilerOff = true;
             o.gcExtent = L"all";
             o.additionalOptions = L"-Dx=1 -Xrs";
         },
         L" -Xms1024 -Xmx2048 -verbose:gc -Xdebug -Xnoasyncgc -Djava.compiler=off -Xnoclassgc"
         L" -Dx=1 -Xrs",
         L" -ms1024 -mx2048 -verbose -debug -noasyncgc -nojit -noclassgc -Dx=1 -Xrs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LaunchOptions changed = options;
        c.set(changed);
        EXPECT_EQ(javaCommandLine(kJava, 8, changed), javaLine(c.javaSwitches));
        EXPECT_EQ(jreCommandLine(kJre, changed), jreLine(c.jreSwitches));
    }
}

TEST_F(JavaCommandLineTest, VerbosityValueChoosesTheSwitchOrWarns) {
    struct Case {
        std::wstring value;
        std::wstring javaSwitches;
        std::wstring jreSwitches;
        std::wstring warning;
    };
    const std::vector<Case> cases = {
        {L"", L"", L"", L""},
        {L"normal", L" -verbose", L" -verbose", L""},
        {L"ALL", L" -verbose", L" -verbose", L""},
        {L"GC", L" -verbose:gc", L" -verbose", L""},
        {L"class", L" -verbose:class", L" -verbose", L""},
        {L"None", L"", L"", L""},
        {L"loud", L"", L"", L"invalid verbosity selection 'loud', disabling verbosity.\n"},
        {L"LoUd %s", L"", L"", L"invalid verbosity selection 'loud %s', disabling verbosity.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value: [" << c.value << "]");
        LaunchOptions changed = options;
        changed.verboseKind = L"class";  // a stale kind must not survive
        EXPECT_EQ(applyVerbosity(c.value, changed), c.warning);
        EXPECT_EQ(javaCommandLine(kJava, 8, changed), javaLine(c.javaSwitches));
        EXPECT_EQ(jreCommandLine(kJre, changed), jreLine(c.jreSwitches));
    }
}

TEST_F(JavaCommandLineTest, AddOpensFollowsTheExecutableFromMajorVersionNine) {
    const std::wstring addOpens = L" --add-opens java.base/jdk.internal.loader=ALL-UNNAMED";
    options.heapInitial = 1024;
    for (unsigned major : {1u, 8u}) {
        SCOPED_TRACE(major);
        EXPECT_EQ(javaCommandLine(kJava, major, options), javaLine(L" -Xms1024"));
    }
    for (unsigned major : {9u, 11u, 21u}) {
        SCOPED_TRACE(major);
        EXPECT_EQ(javaCommandLine(kJava, major, options), javaLine(addOpens + L" -Xms1024"));
    }
}

TEST_F(JavaCommandLineTest, JreClassPathSwitchFollowsTheExecutableName) {
    struct Case {
        std::wstring executable;
        std::wstring classPathSwitch;
    };
    const std::vector<Case> cases = {
        {LR"(C:\jre\bin\jre.exe)", L"-cp"},
        {LR"(C:\jre\bin\jrew.exe)", L"-cp"},
        {LR"(C:\JRE\BIN\JREW.EXE)", L"-cp"},
        {LR"(C:\jre\bin\java.exe)", L"-classpath"},
        {LR"(C:\jre.exe\bin\java.exe)", L"-classpath"},
        {L"jre.exe", L"-cp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "executable: " << c.executable);
        EXPECT_EQ(jreCommandLine(c.executable, options),
                  L"\"" + c.executable + L"\" " + c.classPathSwitch +
                      LR"( "D:\App\a.jar;" com.example.Main )" + kTail);
    }
}

TEST_F(JavaCommandLineTest, JreClassesZipAppendedByTheCallerComesLast) {
    options.classPath.add(LR"(D:\App\b.jar)");
    options.classPath.add(LR"(C:\jre\lib\classes.zip)");
    EXPECT_EQ(jreCommandLine(kJre, options),
              LR"("C:\jre\bin\jre.exe" -cp "D:\App\a.jar;D:\App\b.jar;C:\jre\lib\classes.zip;")"
              LR"( com.example.Main )" + kTail);
}

TEST_F(JavaCommandLineTest, EmptyClassPathStillWritesTheQuotes) {
    options.classPath = ClassPath();
    EXPECT_EQ(javaCommandLine(kJava, 8, options),
              LR"("C:\jdk\bin\java.exe" -classpath "" com.example.Main )" + kTail);
    EXPECT_EQ(jreCommandLine(kJre, options),
              LR"("C:\jre\bin\jre.exe" -cp "" com.example.Main )" + kTail);
    EXPECT_EQ(jviewCommandLine(kJview, options),
              LR"("C:\Windows\jview.exe" /cp "" com.example.Main )" + kTail);
}

TEST_F(JavaCommandLineTest, JviewTakesNoVmOptions) {
    options.heapInitial = 1024;
    options.heapMax = 2048;
    options.verbose = true;
    options.verboseKind = L"gc";
    options.debugging = true;
    options.gcBackgroundThread = true;
    options.compilerOff = true;
    options.gcExtent = L"x";
    options.additionalOptions = L" -Xrs";
    options.applicationArguments = {L"-x"};
    EXPECT_EQ(jviewCommandLine(kJview, options),
              LR"("C:\Windows\jview.exe" /cp "D:\App\a.jar;" com.example.Main )" + kTail + L"-x");
}

TEST_F(JavaCommandLineTest, ArgumentTailRendersLeadingAndApplicationArguments) {
    struct Case {
        const char* name;
        std::vector<std::wstring> applicationArguments;
        std::wstring appended;  // after the two leading arguments and their blanks
    };
    const std::vector<Case> cases = {
        {"no application arguments end after the second leading blank", {}, L""},
        {"the documented example", {L"-x", LR"(D:\My Files)"}, LR"(-x "D:\\My Files")"},
        {"backslashes doubled without quotes", {LR"(D:\x)"}, LR"(D:\\x)"},
        {"UNC prefix doubled too", {LR"(\\server\share)"}, LR"(\\\\server\\share)"},
        {"a blank asks for quotes", {L"a b"}, LR"("a b")"},
        {"a tab asks for quotes", {L"a\tb"}, L"\"a\tb\""},
        {"an empty argument stays an argument", {L"", L"x"}, LR"("" x)"},
        {"quotes pass unchanged", {LR"("*.txt")", LR"(say"hi)"}, LR"("*.txt" say"hi)"},
        {"no blank after the last argument", {L"a", L"b", L"c"}, L"a b c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        options.applicationArguments = c.applicationArguments;
        EXPECT_EQ(argumentTail(options), kTail + c.appended);
    }
}

TEST_F(JavaCommandLineTest, LeadingArgumentsUseForwardSlashes) {
    options.leadingArguments = {LR"(\\srv\share\App.kiv)", LR"(C:\Users\me\Temp\k.tmp)"};
    EXPECT_EQ(argumentTail(options), LR"("//srv/share/App.kiv" "C:/Users/me/Temp/k.tmp" )");
}

TEST_F(JavaCommandLineTest, WholeJavaLineForAServiceWithArguments) {
    options.additionalOptions = L" -Xrs";
    options.heapMax = 64 * 1048576;
    options.applicationArguments = {L"KIV_VM", LR"(D:\jdk\bin\java.exe)", L"two words"};
    EXPECT_EQ(javaCommandLine(kJava, 11, options),
              LR"("C:\jdk\bin\java.exe" --add-opens java.base/jdk.internal.loader=ALL-UNNAMED)"
              LR"( -Xmx67108864  -Xrs -classpath "D:\App\a.jar;" com.example.Main)"
              LR"( "D:/App/MyApp.kiv" "D:/Temp/kiv1A2B.tmp" KIV_VM D:\\jdk\\bin\\java.exe)"
              LR"( "two words")");
}

}  // namespace
}  // namespace kiv
