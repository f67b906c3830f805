#include "vm/VmSelector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace kiv {
namespace {

// A found VM as the selection sees it; it is never started here.
class FakeVm : public InstalledVm {
public:
    void* launch(LaunchOptions, bool) override { return nullptr; }
    using InstalledVm::launch;
    std::wstring executablePath() const override { return home() + L"\\bin\\java.exe"; }
    VmFamily family() const override { return VmFamily::Java; }
};

struct VmSpec {
    const wchar_t* name;  // kept as the home
    VmKind kind;
    VersionNumber version;
    bool is64;
};

const VmSpec jre16{L"jre16", VmKind::JRE, VersionNumber(6, 0, 31), false};
const VmSpec jdk18{L"jdk18", VmKind::JDK, VersionNumber(8, 0, 201), false};
const VmSpec jre8{L"jre8-32", VmKind::JRE, VersionNumber(8, 0, 0), false};
const VmSpec jdk11x64{L"jdk11-64", VmKind::JDK, VersionNumber(11, 0, 2), true};

std::vector<std::unique_ptr<InstalledVm>> inventoryOf(const std::vector<VmSpec>& specs) {
    std::vector<std::unique_ptr<InstalledVm>> vms;
    for (const VmSpec& spec : specs) {
        auto vm = std::make_unique<FakeVm>();
        vm->setHome(spec.name);
        vm->setKind(spec.kind);
        vm->setVersion(spec.version);
        vm->setIs64(spec.is64);
        vms.push_back(std::move(vm));
    }
    return vms;
}

std::vector<std::wstring> homesOf(const std::vector<InstalledVm*>& vms) {
    std::vector<std::wstring> homes;
    for (const InstalledVm* vm : vms) homes.push_back(vm->home());
    return homes;
}

std::wstring homeOf(const InstalledVm* vm) { return vm ? vm->home() : L"(none)"; }

LaunchOptions applicationOptions() {
    LaunchOptions options;
    options.mainClass = L"com.example.Main";
    options.classPath.add(L"lib\\app.jar");
    return options;
}

bool noValidatorExpected(InstalledVm& vm, const std::wstring& argument) {
    ADD_FAILURE() << "validator called on " << testing::PrintToString(vm.home()) << " with "
                  << testing::PrintToString(argument);
    return true;
}

TEST(VmSelectorTest, BitnessModeDecidesWhichVmsAreAdmittedAndWhichGroupWins) {
    struct Case {
        int32_t mode;
        std::vector<std::wstring> admitted;  // in filter order; the last one is chosen
    };
    const std::vector<Case> cases = {
        {0, {L"jre8-32", L"jdk11-64"}},
        {1, {L"jdk11-64", L"jre8-32"}},
        {2, {L"jdk11-64"}},
        {3, {L"jre8-32"}},
        {7, {L"jre8-32", L"jdk11-64"}},
        {-1, {L"jre8-32", L"jdk11-64"}},
    };
    const auto vms = inventoryOf({jre8, jdk11x64});
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        VmSelector selector(c.mode, applicationOptions(), L"ALL", vms, noValidatorExpected);
        EXPECT_EQ(c.admitted, homesOf(selector.filter()));
        EXPECT_EQ(c.admitted.back(), homeOf(selector.select()));
    }
}

TEST(VmSelectorTest, AModeThatAdmitsNoneOfTheFoundBitnessesSelectsNothing) {
    const auto only32 = inventoryOf({jre16, jre8});
    EXPECT_EQ(nullptr, VmSelector(2, {}, L"ALL", only32, noValidatorExpected).select());
    const auto only64 = inventoryOf({jdk11x64});
    EXPECT_EQ(nullptr, VmSelector(3, {}, L"ALL", only64, noValidatorExpected).select());
}

TEST(VmSelectorTest, TheHighestVersionWinsWhicheverTokenMatchedFirst) {
    const auto vms = inventoryOf({jdk18, jre16});
    VmSelector selector(1, applicationOptions(), L"JRE_J2 JDK_J2", vms, noValidatorExpected);
    EXPECT_EQ((std::vector<std::wstring>{L"jre16", L"jdk18"}), homesOf(selector.filter()));
    EXPECT_EQ(L"jdk18", homeOf(selector.select()));
}

TEST(VmSelectorTest, AVmMatchedByTwoTokensIsListedOnce) {
    const auto vms = inventoryOf({jre16, jdk18});
    VmSelector selector(1, {}, L"ALL  J2 jdk", vms, noValidatorExpected);
    EXPECT_EQ((std::vector<std::wstring>{L"jre16", L"jdk18"}), homesOf(selector.filter()));
}

TEST(VmSelectorTest, AmongEqualVmsTheOneAdmittedLastIsChosen) {
    // Same version and bitness: the order of admission decides, token by token.
    const VmSpec jre{L"jre", VmKind::JRE, VersionNumber(6, 0, 31), false};
    const VmSpec jdk{L"jdk", VmKind::JDK, VersionNumber(6, 0, 31), false};
    const auto vms = inventoryOf({jre, jdk});
    EXPECT_EQ(L"jre", homeOf(VmSelector(1, {}, L"JDK JRE", vms, noValidatorExpected).select()));
    EXPECT_EQ(L"jdk", homeOf(VmSelector(1, {}, L"JRE JDK", vms, noValidatorExpected).select()));
    EXPECT_EQ(L"jdk", homeOf(VmSelector(1, {}, L"ALL", vms, noValidatorExpected).select()));
}

TEST(VmSelectorTest, EqualVmsKeepTheirOrderHoweverManyThereAre) {
    std::vector<VmSpec> specs;
    std::vector<std::wstring> names;
    for (int i = 0; i < 70; ++i) names.push_back(L"jre" + std::to_wstring(i));
    for (const std::wstring& name : names)
        specs.push_back({name.c_str(), VmKind::JRE, VersionNumber(6, 0, 0), false});
    // Two newer and one older VM around them, so the sort has work to do.
    specs.insert(specs.begin() + 10, jdk18);
    specs.push_back({L"old", VmKind::JRE, VersionNumber(4, 2, 0), false});
    specs.insert(specs.begin(), jdk18);
    const auto vms = inventoryOf(specs);

    VmSelector selector(1, {}, L"JRE", vms, noValidatorExpected);
    std::vector<std::wstring> expected = {L"old"};
    expected.insert(expected.end(), names.begin(), names.end());
    EXPECT_EQ(expected, homesOf(selector.filter()));
    EXPECT_EQ(L"jre69", homeOf(selector.select()));
}

TEST(VmSelectorTest, AnEmptyListSelectsNothing) {
    const auto vms = inventoryOf({jre16, jdk18, jdk11x64});
    for (const wchar_t* list : {L"", L"   "}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(list)));
        VmSelector selector(0, {}, list, vms, noValidatorExpected);
        EXPECT_TRUE(selector.filter().empty());
        EXPECT_EQ(nullptr, selector.select());
    }
    const std::vector<std::unique_ptr<InstalledVm>> none;
    EXPECT_EQ(nullptr, VmSelector(1, {}, L"ALL", none, noValidatorExpected).select());
}

TEST(VmSelectorTest, ACompositeTokenRunsTheValidatorOnEveryVmWithTheApplicationsOptions) {
    // jre16 is already admitted by the first token and jdk11-64 is refused by
    // mode 3: the validator still runs on both, once per composite token.
    const auto vms = inventoryOf({jre16, jdk18, jdk11x64});
    struct Call {
        std::wstring home;
        std::wstring argument;
        std::wstring mainClass;
    };
    std::vector<Call> calls;
    auto validator = [&](InstalledVm& vm, const std::wstring& argument) {
        calls.push_back({vm.home(), argument, vm.options().mainClass});
        return vm.home() != L"jdk18";
    };
    VmSelector selector(3, applicationOptions(), L"JRE checker_1.6+ ALL_Probe", vms, validator);

    EXPECT_EQ((std::vector<std::wstring>{L"jre16"}), homesOf(selector.filter()));
    const std::vector<std::wstring> order = {L"jre16", L"jdk18", L"jdk11-64"};
    ASSERT_EQ(6u, calls.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(order[i % 3], calls[i].home);
        EXPECT_EQ(i < 3 ? L"CHECKER" : L"PROBE", calls[i].argument);
        EXPECT_EQ(L"com.example.Main", calls[i].mainClass);
    }
    for (const auto& vm : vms)
        EXPECT_EQ(applicationOptions().classPath.entries(), vm->options().classPath.entries());
}

TEST(VmSelectorTest, WithoutAValidatorACompositeTokenWithAnArgumentAdmitsNothing) {
    const auto vms = inventoryOf({jre16, jdk18});
    EXPECT_EQ(nullptr, VmSelector(1, {}, L"CHECKER", vms, VmValidator()).select());
    EXPECT_EQ(L"jdk18", homeOf(VmSelector(1, {}, L"CHECKER ALL_1.8", vms, VmValidator()).select()));
}

TEST(VmSelectorTest, FoundVmsSortIntoBitnessGroupsWithAscendingVersions) {
    const auto vms = inventoryOf({jdk18, jdk11x64, jre16,
                                  {L"jre6-64", VmKind::JRE, VersionNumber(6, 0, 0), true}});
    struct Case {
        bool bits64First;
        std::vector<std::wstring> order;
    };
    const std::vector<Case> cases = {
        {true, {L"jre6-64", L"jdk11-64", L"jre16", L"jdk18"}},
        {false, {L"jre16", L"jdk18", L"jre6-64", L"jdk11-64"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits64First ? "64-bit first" : "32-bit first");
        std::vector<InstalledVm*> sorted;
        for (const auto& vm : vms) sorted.push_back(vm.get());
        std::stable_sort(sorted.begin(), sorted.end(), [&](InstalledVm* a, InstalledVm* b) {
            return vmSortsBefore(*a, *b, c.bits64First);
        });
        EXPECT_EQ(c.order, homesOf(sorted));
    }
}

}  // namespace
}  // namespace kiv
