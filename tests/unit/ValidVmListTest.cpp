#include "vm/ValidVmList.h"

#include <gtest/gtest.h>

#include <vector>

namespace kiv {
namespace {

struct Vm {
    const char* name;
    VmKind kind;
    VersionNumber version;
};

const Vm jdk11{"JDK 1.1", VmKind::JDK, VersionNumber(1, 1, 8)};
const Vm jre13{"JRE 1.3", VmKind::JRE, VersionNumber(3, 1, 0)};
const Vm jre16{"JRE 1.6", VmKind::JRE, VersionNumber(6, 0, 31)};
const Vm jdk16{"JDK 1.6", VmKind::JDK, VersionNumber(6, 0, 31)};
const Vm msj{"Microsoft VM", VmKind::MSJ, VersionNumber(1, 4, 0)};
const Vm unknownJre{"JRE of unknown version", VmKind::JRE, VersionNumber()};

// A validator that must not be asked.
bool noValidatorExpected(const std::wstring& argument) {
    ADD_FAILURE() << "validator called with " << testing::PrintToString(argument);
    return true;
}

struct TokenCase {
    const wchar_t* token;
    Vm vm;
    bool satisfied;
};

TEST(ValidVmListTest, KeywordsMatchByKindAndGeneration) {
    const TokenCase cases[] = {
        {L"ALL", msj, true},           {L"ALL", jre16, true},     {L"J1", jdk11, true},
        {L"J1", unknownJre, true},     {L"J1", msj, false},  // major 1, but the Microsoft VM
        {L"J1", jre13, false},         {L"J2", jre13, true},      {L"J2", jdk11, false},
        {L"J2", msj, false},           {L"JDK", jdk11, true},     {L"JDK", jre16, false},
        {L"JRE", jre16, true},         {L"JRE", jdk11, false},    {L"JDK_J1", jdk11, true},
        {L"JDK_J1", jdk16, false},     {L"JDK_J2", jdk16, true},  {L"JDK_J2", jre16, false},
        {L"JRE_J1", unknownJre, true}, {L"JRE_J1", jre13, false}, {L"JRE_J2", jre13, true},
        {L"JRE_J2", jdk16, false},     {L"MSJ", msj, true},       {L"MSJ", jre16, false},
        {L"jre_j2", jre16, true},  // any letter case
        {L"jre_j2", jdk16, false},     {L"Jdk_j1", jdk11, true},  {L"msj", msj, true},
    };
    for (const TokenCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "token " << c.token << ", " << c.vm.name);
        EXPECT_EQ(matchesToken(c.token, c.vm.kind, c.vm.version, noValidatorExpected), c.satisfied);
    }
}

TEST(ValidVmListTest, CompositeTokensCheckKindThenVersion) {
    const Vm jre1425{"JRE 1.4.2_05", VmKind::JRE, VersionNumber(4, 2, 5)};
    const Vm jre150{"JRE 1.5.0", VmKind::JRE, VersionNumber(5, 0, 0)};
    const Vm jre1522{"JRE 1.5.0_22", VmKind::JRE, VersionNumber(5, 0, 22)};
    const Vm jdk151{"JDK 1.5.1", VmKind::JDK, VersionNumber(5, 1, 0)};
    const Vm major0{"major 0", VmKind::JDK, VersionNumber(0, 9, 0)};
    const TokenCase cases[] = {
        {L"JRE_1.3+", jre16, true},
        {L"JRE_1.3+", jdk16, false},
        {L"jre_1.3+", jre16, true},
        {L"1.5", jre150, true},
        {L"1.5", jre1522, true},  // micro ignored when the pattern names none
        {L"1.5", jdk151, false},
        {L"ALL_1.4+", jre1425, true},
        {L"ALL_1.4+", msj, false},  // 1.4.0 is (1, 4, 0): below (4, 0, 0)
        {L"1.4+", jre1425, true},
        {L"JDK_1.4.2_05", jre1425, false},
        {L"JRE_1.4.2_05", jre1425, true},
        {L"JRE_+", unknownJre, true},  // version 0.0.0 and up: every JRE
        {L"JRE_+", jre16, true},
        {L"JRE_+", jdk16, false},
        {L"*", major0, true},  // only major 0
        {L"*", jdk11, false},
    };
    for (const TokenCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "token " << c.token << ", " << c.vm.name);
        EXPECT_EQ(matchesToken(c.token, c.vm.kind, c.vm.version, noValidatorExpected), c.satisfied);
    }
}

// Records every validator run and answers as told.
class ValidatorRunTest : public testing::Test {
protected:
    std::function<bool(const std::wstring&)> validator(bool exitCodeZero) {
        return [this, exitCodeZero](const std::wstring& argument) {
            runs.push_back(argument);
            return exitCodeZero;
        };
    }
    std::vector<std::wstring> runs;
};

TEST_F(ValidatorRunTest, ArgumentOnlyTokenIsDecidedByTheValidator) {
    EXPECT_TRUE(matchesToken(L"foo", VmKind::JRE, VersionNumber(6, 0, 0), validator(true)));
    EXPECT_FALSE(matchesToken(L"foo", VmKind::JRE, VersionNumber(6, 0, 0), validator(false)));
    EXPECT_EQ(runs, (std::vector<std::wstring>{L"FOO", L"FOO"}));  // sees the upper-cased token
}

TEST_F(ValidatorRunTest, ValidatorRunsFirstAndOnceAndItsFailureEndsTheCheck) {
    const VersionNumber v13(3, 1, 0);
    EXPECT_TRUE(matchesToken(L"CHECKER_1.3*", VmKind::JRE, v13, validator(true)));
    EXPECT_FALSE(matchesToken(L"CHECKER_1.3*", VmKind::JRE, v13, validator(false)));
    // The kind does not match, yet the validator has already run.
    EXPECT_FALSE(matchesToken(L"JDK_CHECKER", VmKind::JRE, v13, validator(true)));
    EXPECT_FALSE(matchesToken(L"CHECKER_1.4+", VmKind::JRE, v13, validator(true)));
    EXPECT_EQ(runs, std::vector<std::wstring>(4, L"CHECKER"));
}

TEST_F(ValidatorRunTest, TokensWithoutArgumentNeverRunTheValidator) {
    for (const wchar_t* token : {L"ALL", L"JRE_J2", L"msj", L"JRE_1.3+", L"1.5", L"ALL", L"*"})
        matchesToken(token, VmKind::JRE, VersionNumber(5, 0, 0), validator(true));
    EXPECT_TRUE(runs.empty());
}

TEST(ValidVmListTest, MissingValidatorCountsAsFailedRun) {
    EXPECT_FALSE(matchesToken(L"FOO", VmKind::JRE, VersionNumber(6, 0, 0), nullptr));
    EXPECT_TRUE(matchesToken(L"JRE_1.6", VmKind::JRE, VersionNumber(6, 0, 0), nullptr));
}

TEST(ValidVmListTest, ListSplitsAtBlanksOnly) {
    using Tokens = std::vector<std::wstring>;
    EXPECT_EQ(splitValidVmList(L"  JRE_J2   MSJ "), (Tokens{L"JRE_J2", L"MSJ"}));
    EXPECT_EQ(splitValidVmList(L"JRE_J2\tMSJ"), (Tokens{L"JRE_J2\tMSJ"}));
    EXPECT_TRUE(splitValidVmList(L"    ").empty());
    EXPECT_TRUE(splitValidVmList(L"").empty());
}

TEST(ValidVmListTest, SpecTokenSplitsIntoKindVersionAndArgument) {
    struct Case {
        const wchar_t* token;
        const wchar_t* kind;
        const wchar_t* version;
        const wchar_t* argument;
    };
    const Case cases[] = {
        {L"JRE_1.4+", L"JRE", L"1.4+", L""},
        {L"JDK_1.4.2_05", L"JDK", L"1.4.2_05", L""},
        {L"CHECKER_1.3*", L"", L"1.3*", L"CHECKER"},
        {L"JRE__1.4", L"JRE", L"1.4", L""},  // runs of '_' are one separator
        {L"_1.4", L"", L"1.4", L""},         // the empty first part is an empty pattern
        {L"JRE_JDK_ALL", L"ALL", L"", L""},  // a later kind replaces an earlier one
        {L"A_1.4_B", L"", L"1.4", L"B"},     // so does a later argument
        {L"1.4_2_JRE_05", L"JRE", L"1.4_2_05", L""},
        {L"J3", L"", L"", L"J3"},
        {L"jre_1.6", L"", L"1.6", L"jre"},  // no case folding here
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "token " << c.token);
        const SpecToken parts = parseSpecToken(c.token);
        EXPECT_EQ(parts.kind, c.kind);
        EXPECT_EQ(parts.version, c.version);
        EXPECT_EQ(parts.argument, c.argument);
    }
}

TEST(ValidVmListTest, VersionPatternCharacters) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"", true},      {L"1.4.2", true}, {L"1.4+", true},  {L"1.*", true},
        {L"*", true},     {L"+", true},     {L"**1*", true},  {L".1", false},
        {L"1.", false},   {L"1..4", false}, {L"1+.4", false}, {L"++", false},
        {L"1.4a", false}, {L"1,4", false},  {L"1.4 ", false}, {L"-1", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << testing::PrintToString(c.first));
        EXPECT_EQ(isVersionPattern(c.first), c.second);
    }
}

TEST(ValidVmListTest, VersionPatternsAgainstAVm) {
    const VersionNumber vm1425(4, 2, 5);
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"1.4+", true},      {L"1.4*", true},       {L"1.4.2*", true},
        {L"1.4.2", true},     {L"1.4.2_05", true},   {L"1.4.2_5", true},
        {L"1.4.2_04+", true}, {L"4+", true},  // "4" reads as 1.4
        {L"+", true},         {L"1.4", false},       {L"1.5+", false},
        {L"1.4.3+", false},   {L"1.4.2_05*", false},  // a starred pattern with a micro never
                                                      // matches
        {L"1.4.2_06", false}, {L"*", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "pattern " << c.first);
        EXPECT_EQ(versionMatches(vm1425, c.first), c.second);
    }
}

TEST(ValidVmListTest, PlainPatternIgnoresTheVmMicro) {
    for (unsigned micro : {0u, 1u, 22u, 255u}) {
        SCOPED_TRACE(micro);
        EXPECT_TRUE(versionMatches(VersionNumber(5, 0, micro), L"1.5"));
        EXPECT_FALSE(versionMatches(VersionNumber(5, 1, micro), L"1.5"));
        EXPECT_FALSE(versionMatches(VersionNumber(6, 0, micro), L"1.5"));
    }
}

}  // namespace
}  // namespace kiv
