#include "launcher/PropertyFile.h"
#include "launcher/PropertyRules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kiv {
namespace {

TEST(PropertyRulesTest, BooleanAndPauseBooleanAcceptDifferentWords) {
    struct Case {
        std::wstring text;
        bool boolean;
        bool pause;
    };
    const std::vector<Case> cases = {
        {L"true", true, true}, {L"TRUE", true, true},  {L"On", true, true},
        {L"t", true, false},   {L"T", true, false},    {L"yes", false, true},
        {L"YES", false, true}, {L"1", false, false},   {L"", false, false},
        {L" true", false, false}, {L"truex", false, false}, {L"\u0130", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(c.boolean, parseBoolean(c.text));
        EXPECT_EQ(c.pause, parsePauseBoolean(c.text));
    }
}

TEST(PropertyRulesTest, IntegerReadsLeadingDigitsAndWraps) {
    struct Case {
        std::wstring text;
        int32_t value;
    };
    const std::vector<Case> cases = {
        {L"20", 20},          {L"  -7x", -7},         {L"+3", 3},
        {L"abc", 0},          {L"", 0},               {L"12 34", 12},
        {L"2147483647", INT32_MAX}, {L"2147483648", INT32_MIN}, {L"4294967297", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(c.value, parseInteger(c.text));
    }
}

TEST(PropertyRulesTest, SizeAppliesTheLastLetterAndWrapsAsSigned32Bit) {
    struct Case {
        std::wstring text;
        int32_t value;
    };
    const std::vector<Case> cases = {
        {L"512k", 524288},     {L"64M", 67108864},   {L"256m", 268435456},
        {L"256MB", 256},       {L"1024", 1024},      {L"1g", 1},
        {L"", 0},              {L"k", 0},            {L"m", 0},
        {L"-1k", -1024},       {L"2047m", 2146435072},
        {L"2048m", INT32_MIN}, {L"4096m", 0},        {L"4097m", 1048576},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(c.value, parseSize(c.text));
    }
}

// Every accessor reads its own key: a file that gives each key a telling value
// catches a misspelt key text.
TEST(PropertyCatalogueTest, EachAccessorReadsItsKey) {
    PropertyFile file;
    file.loadText(
        L"kiv.nl.java.launcher.main.class=app.Main\n"
        L"kiv.class.path=lib\\\\a.jar;$ENV_CLASSPATH$\n"
        L"kiv.nl.current.vm=C:\\\\jre\\\\bin\\\\java.exe\n"
        L"kiv.nl.valid.vm.list=JRE1.4+ JDK\n"
        L"kiv.nl.win32.java.launcher.platform=2\n"
        L"kiv.user.dir=work\n"
        L"kiv.application.name=My App\n"
        L"kiv.nl.java.option.verify.mode=on\n"
        L"kiv.nl.java.option.verbose=gc\n"
        L"kiv.nl.java.option.garbage.collection.extent=x\n"
        L"kiv.nl.java.option.garbage.collection.background.thread=true\n"
        L"kiv.nl.java.option.debugging=On\n"
        L"kiv.nl.java.option.compiler=t\n"
        L"kiv.nl.java.option.additional=-Dx=1\n"
        L"kiv.nl.java.option.java.heap.size.initial=512k\n"
        L"kiv.nl.java.option.java.heap.size.max=64M\n"
        L"kiv.nl.win32.microsoftvm.min.version=3165\n"
        L"kiv.win32.console.pause=YES\n"
        L"kiv.installer.windows.ui.default=SILENT\n"
        L"build.option=withoutvm\n"
        L"build.with.vm.search.option=21\n"
        L"build.without.vm.search.option=12\n"
        L"build.jvmspec.applicable=true\n"
        L"build.jvmspec.total.num=3\n"
        L"build.jvmspec.0=zero\n"
        L"build.jvmspec.2=two\n"
        L"build.jvmspec.10=ten\n"
        L"build.without.vm.not.found.download.url=http://h/nf.zip\n"
        L"build.without.vm.direct.download.url=ftp://h/d.zip\n"
        L"build.without.vm.not.found.download.url.md5Checksum.applicable=true\n"
        L"build.without.vm.not.found.download.url.md5Checksum.value=aa\n"
        L"build.without.vm.dont.search.download.url.md5Checksum.applicable=true\n"
        L"build.without.vm.dont.search.download.url.md5Checksum.value=bb\n");

    EXPECT_EQ(L"app.Main", file.mainClass());
    EXPECT_EQ(L"lib\\\\a.jar;$ENV_CLASSPATH$", file.classPathValue());
    EXPECT_EQ(L"C:\\\\jre\\\\bin\\\\java.exe", file.currentVm());
    EXPECT_EQ(L"JRE1.4+ JDK", file.validVmList());
    EXPECT_EQ(2, file.launcherPlatform());
    EXPECT_EQ(L"work", file.userDir());
    EXPECT_EQ(L"My App", file.applicationName());
    EXPECT_TRUE(file.verifyMode());
    EXPECT_EQ(L"gc", file.verbose());
    EXPECT_EQ(L"x", file.gcExtent());
    EXPECT_TRUE(file.gcBackgroundThread());
    EXPECT_TRUE(file.debugging());
    EXPECT_TRUE(file.compilerOff());
    EXPECT_EQ(L"-Dx=1", file.additionalOptions());
    EXPECT_EQ(524288, file.heapInitial());
    EXPECT_EQ(67108864, file.heapMax());
    EXPECT_EQ(3165, file.msvmMinVersion());
    EXPECT_TRUE(file.consolePause());
    EXPECT_EQ(L"SILENT", file.installerUiDefault());
    EXPECT_TRUE(file.isSilentByDefault());

    EXPECT_EQ(L"withoutvm", file.buildOption());
    EXPECT_EQ(21, file.withVmSearchOption());
    EXPECT_EQ(12, file.withoutVmSearchOption());
    EXPECT_TRUE(file.jvmspecApplicable());
    EXPECT_EQ(3, file.jvmspecTotal());
    EXPECT_EQ(L"zero", file.jvmspecEntry(0));
    EXPECT_EQ(L"", file.jvmspecEntry(1));
    EXPECT_EQ(L"two", file.jvmspecEntry(2));
    EXPECT_EQ(L"ten", file.jvmspecEntry(10));
    EXPECT_EQ(L"http://h/nf.zip", file.notFoundDownloadUrl());
    EXPECT_EQ(L"ftp://h/d.zip", file.directDownloadUrl());
    EXPECT_TRUE(file.notFoundChecksumApplicable());
    EXPECT_EQ(L"aa", file.notFoundChecksumValue());
    EXPECT_TRUE(file.directChecksumApplicable());
    EXPECT_EQ(L"bb", file.directChecksumValue());
}

TEST(PropertyCatalogueTest, DefaultsApplyOnlyToAbsentKeys) {
    const PropertyFile absent;
    EXPECT_EQ(L"Halvorn", absent.applicationName());
    EXPECT_EQ(1, absent.launcherPlatform());
    EXPECT_EQ(20, absent.withVmSearchOption());
    EXPECT_EQ(10, absent.withoutVmSearchOption());
    EXPECT_EQ(0, absent.heapInitial());
    EXPECT_EQ(0, absent.jvmspecTotal());
    EXPECT_FALSE(absent.debugging());
    EXPECT_FALSE(absent.consolePause());
    EXPECT_FALSE(absent.isSilentByDefault());

    PropertyFile empty;
    empty.loadText(
        L"kiv.application.name=\n"
        L"kiv.nl.win32.java.launcher.platform=\n"
        L"build.with.vm.search.option=\n"
        L"build.without.vm.search.option=abc\n"
        L"kiv.nl.java.option.java.heap.size.initial=\n");
    EXPECT_EQ(L"", empty.applicationName());
    EXPECT_EQ(0, empty.launcherPlatform());
    EXPECT_EQ(0, empty.withVmSearchOption());
    EXPECT_EQ(0, empty.withoutVmSearchOption());
    EXPECT_EQ(0, empty.heapInitial());
}

TEST(PropertyCatalogueTest, ExactKeysMatchOnlyTheirTextAsWritten) {
    struct Case {
        const wchar_t* line;
        std::function<bool(const PropertyFile&)> accessor;
        bool expected;
    };
    const auto silent = [](const PropertyFile& f) { return f.isSilentByDefault(); };
    const auto jvmspec = [](const PropertyFile& f) { return f.jvmspecApplicable(); };
    const auto notFound = [](const PropertyFile& f) { return f.notFoundChecksumApplicable(); };
    const auto direct = [](const PropertyFile& f) { return f.directChecksumApplicable(); };
    const std::vector<Case> cases = {
        {L"kiv.installer.windows.ui.default=silent", silent, false},
        {L"kiv.installer.windows.ui.default= SILENT ", silent, true},  // the reader trims
        {L"build.jvmspec.applicable=TRUE", jvmspec, false},
        {L"build.jvmspec.applicable=on", jvmspec, false},
        {L"build.jvmspec.applicable=t", jvmspec, false},
        {L"build.without.vm.not.found.download.url.md5Checksum.applicable=True", notFound, false},
        {L"build.without.vm.dont.search.download.url.md5Checksum.applicable=yes", direct, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.line)));
        PropertyFile file;
        file.loadText(c.line);
        EXPECT_EQ(c.expected, c.accessor(file));
    }
}

}  // namespace
}  // namespace kiv
