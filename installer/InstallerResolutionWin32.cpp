#include "installer/InstallerResolution.h"

#include <windows.h>

#include <cstdio>

#include "installer/InstallerPlan.h"
#include "installer/Md5.h"
#include "installer/VmPackDownloader.h"
#include "installer/VmPackExtraction.h"
#include "launcher/Launcher.h"
#include "platform/FilePath.h"
#include "vm/InstalledVm.h"
#include "vm/SpecVmSearch.h"
#include "vm/VmSelection.h"

namespace kiv {

namespace {

// The installer's folders are looked for under the folder it was started
// from, not beside the executable.
class InstallerFolders {
public:
    explicit InstallerFolders(const std::wstring& startDirectory) : start_(startDirectory) {}

    std::wstring carriedVm() const {
        for (const wchar_t* relative :
             {L"\\Windows\\resource\\jre\\bin\\java.exe", L"\\Windows\\resource\\jre\\jre\\bin\\java.exe",
              L"\\Windows_Pure_64_Bit\\resource\\jre\\bin\\java.exe",
              L"\\Windows_Pure_64_Bit\\resource\\jre\\jre\\bin\\java.exe"}) {
            if (FilePath(start_ + relative).exists()) return start_ + relative;
        }
        return std::wstring();
    }

    // No separator between "jvmspecs" and the file name: jre.vm is stored as
    // Windows\jvmspecsjre.vm, where earlier installers have always put it.
    std::wstring downloadTarget(const std::wstring& fileName) const {
        for (const wchar_t* folder : {L"\\Windows\\jvmspecs", L"\\Windows_Pure_64_Bit\\jvmspecs"})
            if (FilePath(start_ + folder).exists()) return start_ + folder + fileName;
        return std::wstring();
    }

    std::wstring unpackFolder() const {
        for (const wchar_t* folder : {L"\\Windows", L"\\Windows_Pure_64_Bit"}) {
            if (!FilePath(start_ + folder).exists()) continue;
            // Every missing level is made: a folder that could not be made would
            // leave an "extracted" pack with nothing in it.
            CreateDirectoryW((start_ + folder + L"\\resource").c_str(), nullptr);
            const std::wstring unpack = start_ + folder + L"\\resource\\jre";
            CreateDirectoryW(unpack.c_str(), nullptr);
            return unpack + L"\\";
        }
        return std::wstring();
    }

private:
    std::wstring start_;
};

class Installer {
public:
    Installer(Launcher& launcher, const LaunchOptions& options)
        : launcher_(launcher), options_(options), folders_(launcher.startDirectory()) {}

    void resolve() {
        const PropertyFile& build = launcher_.buildProperties();
        const InstallerPlan plan = planInstallerResolution(build.buildOption(), build.withVmSearchOption(),
                                                           build.withoutVmSearchOption());
        if (plan.carriedVmOnly) return useExecutable(folders_.carriedVm());
        if (plan.search != InstallerPlan::Search::None) search(plan.search);
        if (launcher_.chosenVm() != nullptr) return;
        if (plan.carriedVmAfterSearch) return useExecutable(folders_.carriedVm());
        if (plan.fetch == InstallerPlan::Fetch::NotFound)
            fetch(build.notFoundDownloadUrl(), build.notFoundChecksumApplicable(), build.notFoundChecksumValue());
        if (plan.fetch == InstallerPlan::Fetch::Direct)
            fetch(build.directDownloadUrl(), build.directChecksumApplicable(), build.directChecksumValue());
    }

private:
    void search(InstallerPlan::Search kind) {
        const PropertyFile& build = launcher_.buildProperties();
        InstalledVm* vm = nullptr;
        if (build.jvmspecApplicable() && build.jvmspecTotal() > 0)
            vm = findSpecVm(launcher_, options_, build.jvmspecTotal());
        else if (kind == InstallerPlan::Search::ValidList)
            vm = selectFromValidList(launcher_, options_);
        else
            vm = selectVm(launcher_, options_);
        if (vm != nullptr) launcher_.setChosenVm(vm);
    }

    void useExecutable(const std::wstring& path) {
        std::unique_ptr<InstalledVm> vm = javaVmFromExecutable(path);
        vm->options() = options_;
        launcher_.setOwnedVm(std::move(vm));
    }

    void say(const char* text) const {
        if (launcher_.silent()) return;
        fputs(text, stdout);
        fflush(stdout);
    }

    void fetch(const std::wstring& url, bool checksumApplicable, const std::wstring& expectedChecksum) {
        // A name that would leave the download folder is refused like any other
        // URL that names no pack.
        const std::wstring name = downloadFileName(url);
        if (!isVmPackUrl(url) || !isPlainFileName(name))
            return say("\nThe file specified is not a valid VM pack\n");
        const std::wstring target = folders_.downloadTarget(name);
        VmPackDownloader downloader;
        downloader.setQuiet(launcher_.silent());
        if (!downloader.download(url, target)) return;

        if (checksumApplicable) {
            say("\nVerifying the downloaded JVM with MD5 checksum specified\n");
            wchar_t digest[40] = {};
            md5OfFile(target.c_str(), digest, 40);
            if (expectedChecksum != digest)
                return say("Warning!! MD5 checksum verification for downloaded JVM failed. Installer exiting...");
            say("MD5 checksum verification for downloaded JVM passed");
        }

        say("\nExtracting VM Pack. Please wait!!!\n");
        const std::wstring folder = folders_.unpackFolder();
        if (!extractVmPack(target, folder)) {
            say("\nCould not extract the downloaded VM pack. Installer exiting...");
            DeleteFileW(target.c_str());
            return;
        }
        say("\nExtracted the JVM pack successfully!!\n");
        std::wstring java;
        if (FilePath(folder + L"\\bin").exists())
            java = folder + L"\\bin\\java.exe";
        else if (FilePath(folder + L"\\jre\\bin").exists())
            java = folder + L"\\jre\\bin\\java.exe";
        useExecutable(java);
        DeleteFileW(target.c_str());
    }

    Launcher& launcher_;
    const LaunchOptions& options_;
    InstallerFolders folders_;
};

}  // namespace

void resolveInstallerVm(Launcher& launcher, const LaunchOptions& options) {
    Installer(launcher, options).resolve();
}

}  // namespace kiv
