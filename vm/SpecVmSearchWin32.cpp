#include "vm/SpecVmSearch.h"

#include <windows.h>

#include <map>
#include <optional>
#include <utility>

#include "launch/VmFamilies.h"
#include "launcher/Errors.h"
#include "launcher/Launcher.h"
#include "platform/FilePath.h"
#include "platform/Handle.h"
#include "platform/RegistryApi.h"
#include "platform/RegistryKey.h"
#include "platform/RegistryRoot.h"
#include "platform/Text.h"
#include "platform/TextStream.h"
#include "vm/JvmSpec.h"
#include "vm/SpecHints.h"
#include "vm/VmCandidate.h"
#include "vm/VmValidation.h"

namespace kiv {

namespace {

const wchar_t kNoLogicalDrives[] = L"Could not get the logical drives for the windows system";
const wchar_t kInstallerLocationFile[] = L"sea_loc";
const wchar_t kSpecFolder[] = L"jvmspecs\\";

// The registry value naming a VM home is read into this many bytes at most.
constexpr DWORD kHintValueBytes = 510;

// What every candidate of one jvmspec file is checked against and where an
// accepted VM goes.
class CandidateJudge {
public:
    CandidateJudge(const LaunchOptions& options, SpecVmList& list32, SpecVmList& list64,
                   const JvmSpec& spec, const std::wstring& specPath)
        : options_(options),
          list32_(list32),
          list64_(list64),
          properties_(spec.jvmProperties()),
          jvmExe_(spec.jvmExe()),
          specDirectory_(specDirectoryOf(specPath)) {}

    const std::wstring& jvmExe() const { return jvmExe_; }
    const LaunchOptions& options() const { return options_; }

    // A candidate must be a file (a spec without JVM_EXE: names only the home
    // folder) and must pass the Verify probe, which is given the path as built.
    void accept(const std::wstring& candidate) {
        const FilePath executable(candidate);
        if (!executable.exists() || executable.isDirectory()) return;
        if (!verifyProbe(specDirectory_, candidate, properties_)) return;

        VmCandidate probe(executable);
        std::unique_ptr<InstalledVm> vm = std::make_unique<JavaVm>();
        vm->setVersion(probe.version());
        vm->setHome(probe.home());
        vm->setKind(probe.kind());
        vm->setVendor(probe.vendor());
        vm->options() = options_;
        (vm->is64() ? list64_ : list32_).push_back(std::move(vm));
    }

private:
    // The folder of the jvmspec file in its full long-name form: the probe
    // looks for Verify.jar there and starts the child in it.
    static std::wstring specDirectoryOf(const std::wstring& specPath) {
        const std::wstring folder = FilePath(specPath).parent(L".");
        return FilePath(fullPath(folder, true)).toString();
    }

    const LaunchOptions& options_;
    SpecVmList& list32_;
    SpecVmList& list64_;
    const std::map<std::wstring, std::wstring> properties_;
    const std::wstring jvmExe_;
    const std::wstring specDirectory_;
};

// The 64-bit view first, where a 64-bit installer writes; then the 32-bit one.
RegistryHandle openHintKey(RegistryRoot root, const std::wstring& keyPath) {
    for (const RegistryAccess access : {kKeyRead64, kKeyRead32}) {
        RegistryHandle key;
        if (advapi32::RegOpenKeyExW(reinterpret_cast<HKEY>(root), keyPath.c_str(), 0, access,
                                    key.put()) == ERROR_SUCCESS)
            return key;
    }
    return RegistryHandle();
}

// The value's text up to its first NUL, whatever its type; nullopt when it
// cannot be read or does not fit kHintValueBytes.
std::optional<std::wstring> readHintValue(HKEY key, const std::wstring& valueName) {
    // One code unit beyond what the value may fill stays 0, so a value that
    // fills the buffer without a terminator still ends there.
    wchar_t buffer[kHintValueBytes / sizeof(wchar_t) + 1] = {};
    DWORD size = kHintValueBytes;
    if (advapi32::RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

// The installer's path from "sea_loc" beside the folder above the working
// directory; nullopt when that file cannot be read.
std::optional<std::wstring> readInstallerLocation(const LaunchOptions& options) {
    const std::wstring folder = FilePath(options.workingDirectory).parent(L".");
    try {
        const FilePath file(folder + L"\\" + kInstallerLocationFile);
        return utf8ToWide(readFileBytes(file.toString()));
    } catch (const FileException&) {
        return std::nullopt;
    }
}

void searchRelativeHint(const std::wstring& hint, CandidateJudge& judge,
                        std::optional<std::optional<std::wstring>>& installerLocation) {
    if (!installerLocation) installerLocation = readInstallerLocation(judge.options());
    if (!*installerLocation) return;
    const std::optional<std::wstring> candidate =
        relativeHintCandidate(**installerLocation, hint, judge.jvmExe());
    if (candidate) judge.accept(*candidate);
}

void searchDriveHint(const std::wstring& hint, CandidateJudge& judge, const DriveQuery& drives) {
    for (const wchar_t letter : fixedDriveLetters(drives))
        judge.accept(driveHintCandidate(letter, hint, judge.jvmExe()));
}

std::unique_ptr<InstalledVm> takeFirst(SpecVmList& list) {
    return list.empty() ? nullptr : std::move(list.front());
}

}  // namespace

DriveQuery systemDriveQuery() {
    DriveQuery query;
    query.logicalDrives = [] { return static_cast<uint32_t>(GetLogicalDrives()); };
    query.driveType = [](const std::wstring& root) {
        return static_cast<uint32_t>(GetDriveTypeW(root.c_str()));
    };
    return query;
}

std::vector<wchar_t> fixedDriveLetters(const DriveQuery& drives) {
    const uint32_t mask = drives.logicalDrives();
    if (mask == 0) throw TerminalError(kNoLogicalDrives);
    std::vector<wchar_t> letters;
    for (int bit = 0; bit < 26; ++bit) {
        if ((mask & (uint32_t{1} << bit)) == 0) continue;
        const wchar_t letter = static_cast<wchar_t>(L'A' + bit);
        if (drives.driveType(std::wstring(1, letter) + L":\\") == DRIVE_FIXED)
            letters.push_back(letter);
    }
    return letters;
}

void searchRegistryHints(const LaunchOptions& options, SpecVmList& list32, SpecVmList& list64,
                         const JvmSpec& spec, const std::vector<std::wstring>& hints,
                         const std::wstring& specPath) {
    CandidateJudge judge(options, list32, list64, spec, specPath);
    for (const std::wstring& hint : hints) {
        const RegistryRoot root = rootKeyFromPath(hint);
        const RegistryHint parsed = parseRegistryHint(hint);
        if (root == 0 || parsed.rootName.empty()) continue;
        const RegistryHandle key = openHintKey(root, parsed.keyPath);
        if (!key) continue;
        const std::optional<std::wstring> home = readHintValue(key.get(), parsed.valueName);
        if (home) judge.accept(registryHintCandidate(*home, judge.jvmExe()));
    }
}

void searchPathHints(const LaunchOptions& options, SpecVmList& list32, SpecVmList& list64,
                     const JvmSpec& spec, const std::vector<std::wstring>& hints,
                     const std::wstring& specPath, const DriveQuery& drives) {
    CandidateJudge judge(options, list32, list64, spec, specPath);
    // Read on the first relative hint only, and at most once per file.
    std::optional<std::optional<std::wstring>> installerLocation;
    for (const std::wstring& hint : hints) {
        if (hintDotPairs(hint) >= 1)
            searchRelativeHint(hint, judge, installerLocation);
        else
            searchDriveHint(hint, judge, drives);
    }
}

std::unique_ptr<InstalledVm> takePlatformChoice(int32_t mode, SpecVmList& list32,
                                                SpecVmList& list64) {
    switch (mode) {
        case 0:
            return list64.empty() ? takeFirst(list32) : takeFirst(list64);
        case 1:
            return list32.empty() ? takeFirst(list64) : takeFirst(list32);
        case 2:
            return takeFirst(list64);
        case 3:
            return takeFirst(list32);
        default:
            return nullptr;
    }
}

InstalledVm* findSpecVm(Launcher& launcher, const LaunchOptions& options, int32_t count) {
    SpecVmList list32;
    SpecVmList list64;
    const int32_t mode = launcher.properties().launcherPlatform();
    JvmSpec& spec = launcher.jvmSpec();
    // Every file is searched, also after a VM has been found: the platform
    // mode may prefer one found later.
    for (int32_t index = 0; index < count; ++index) {
        const std::wstring specPath = kSpecFolder + launcher.buildProperties().jvmspecEntry(index);
        spec.read(specPath);
        searchRegistryHints(options, list32, list64, spec, spec.platformHints(), specPath);
        searchPathHints(options, list32, list64, spec, spec.pathHints(), specPath);
    }
    std::unique_ptr<InstalledVm> chosen = takePlatformChoice(mode, list32, list64);
    if (!chosen) return nullptr;
    launcher.setOwnedVm(std::move(chosen));
    return launcher.chosenVm();
}

}  // namespace kiv
