#include "launcher/Launcher.h"

#include <windows.h>

#include <cstdio>
#include <optional>

#include "installer/InstallerResolution.h"
#include "launch/JavaCommandLine.h"
#include "launch/VmFamilies.h"
#include "launcher/EnvironmentBlock.h"
#include "launcher/EnvironmentSnapshot.h"
#include "launcher/Errors.h"
#include "launcher/RuntimeLines.h"
#include "launcher/RuntimePropertyFile.h"
#include "launcher/StringTable.h"
#include "platform/ConsoleInterrupts.h"
#include "platform/FilePath.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "vm/InstalledVm.h"
#include "vm/VmCandidate.h"
#include "vm/VmSelection.h"

namespace kiv {

namespace {

std::wstring currentDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(buffer, length);
}

// The launcher's own path with forward slashes turned into backslashes.
std::wstring executablePath(const LaunchContext& context) {
    return replaceAll(context.programPath(), L'/', L"\\");
}

}  // namespace

std::wstring resolveClassPath(const PropertyFile& properties) {
    return resolveClassPathText(properties.classPathValue(),
                                EnvironmentSnapshot::instance().expandedValue(L"CLASSPATH"));
}

Launcher::Launcher(LaunchContext context) : context_(std::move(context)) {
    // The executable is searched for once; both property files are found from it.
    const std::wstring exe = executablePath(context_);
    locatePropertyFile(exe);
    properties_.load(propertyFilePath_);
    silent_ = properties_.isSilentByDefault();
    if (properties_.mainClass().empty() ||
        (properties_.currentVm().empty() && properties_.validVmList().empty()) ||
        resolveClassPath(properties_).empty())
        throw TerminalError(StringTable::instance().get(kPropertiesInvalid));
    locateBuildPropertyFile(exe);
    if (installerMode_) buildProperties_.load(buildPropertyFilePath_);
    startDirectory_ = currentDirectory();

    // From here on the property file is named relative to its own folder.
    const FilePath propertyFile(propertyFilePath_);
    SetCurrentDirectoryW(propertyFile.parent(L".").c_str());
    propertyFilePath_ = propertyFile.fileName();
    applyConsoleSettings();
}

Launcher::~Launcher() = default;

void Launcher::setOwnedVm(std::unique_ptr<InstalledVm> vm) {
    ownedVm_ = std::move(vm);
    chosenVm_ = ownedVm_.get();
}

void Launcher::locatePropertyFile(const std::wstring& exe) {
    const FilePath exePath(exe);
    if (exePath.hasExtension() && exePath.extension() == L"exe") {
        const std::wstring beside = exe.substr(0, exe.rfind(L'.')) + L".kiv";
        if (FilePath(beside).exists()) {
            propertyFilePath_ = beside;
            return;
        }
    }
    const std::wstring appended = exe + L".kiv";
    if (FilePath(appended).exists()) {
        propertyFilePath_ = appended;
        return;
    }
    std::wstring baseName = exe.substr(exe.rfind(L'\\') == std::wstring::npos ? 0 : exe.rfind(L'\\') + 1);
    if (baseName.rfind(L'.') != std::wstring::npos) baseName.resize(baseName.rfind(L'.'));
    const std::wstring inCurrentDirectory = currentDirectory() + L"\\" + baseName + L".kiv";
    if (!FilePath(inCurrentDirectory).exists())
        throw TerminalError(StringTable::instance().get(kPropertiesMissing));
    propertyFilePath_ = inCurrentDirectory;
}

void Launcher::locateBuildPropertyFile(const std::wstring& exe) {
    if (FilePath(exe).extension() == L"exe") {
        const size_t slash = exe.rfind(L'\\');
        const std::wstring folder = slash == std::wstring::npos ? exe : exe.substr(0, slash);
        buildPropertyFilePath_ = folder + L"\\jvmspecs\\jvmspecs.properties";
    }
    installerMode_ = !buildPropertyFilePath_.empty() && FilePath(buildPropertyFilePath_).exists();
}

void Launcher::applyConsoleSettings() const {
    const bool controlHeld = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    SetConsoleTitleW(properties_.applicationName().c_str());
    if (controlHeld) RuntimePropertyFile::instance().append(consoleLines());
}

LaunchOptions Launcher::buildLaunchOptions() const {
    LaunchOptions options;
    const std::wstring userDir = properties_.userDir();
    if (!userDir.empty()) {
        options.workingDirectory = fullPath(userDir, true);
        if (!pathIsAbsolute(options.workingDirectory)) options.workingDirectory = L".\\" + options.workingDirectory;
    } else {
        options.workingDirectory = startDirectory_;
    }
    EnvironmentSnapshot::instance().writeToRuntimeFile();

    options.mainClass = properties_.mainClass();
    options.additionalOptions = properties_.additionalOptions();
    options.heapInitial = properties_.heapInitial();
    options.heapMax = properties_.heapMax();
    options.gcExtent = properties_.gcExtent();
    options.verifyMode = properties_.verifyMode();
    options.gcBackgroundThread = properties_.gcBackgroundThread();
    options.debugging = properties_.debugging();
    options.compilerOff = properties_.compilerOff();
    options.msvmMinVersion = properties_.msvmMinVersion();

    options.leadingArguments = {fullPath(propertyFilePath_, true), RuntimePropertyFile::instance().path()};

    const std::wstring warning = applyVerbosity(properties_.verbose(), options);
    if (!warning.empty()) {
        fputws(warning.c_str(), stderr);
        fflush(stderr);
    }
    if (isService()) options.additionalOptions += L" -Xrs";

    const std::wstring propertyFolder = FilePath(propertyFilePath_).parent(L".");
    const ClassPath entries(resolveClassPath(properties_));
    for (const std::wstring& entry : entries.entries()) {
        const FilePath path(entry);
        options.classPath.add(path.isAbsolute() ? fullPath(path.toString(), false)
                                                : fullPath(propertyFolder + L"\\" + path.toString(), false));
    }
    options.applicationArguments.assign(context_.arguments().begin() + (context_.arguments().empty() ? 0 : 1),
                                        context_.arguments().end());
    return options;
}

void Launcher::run(bool wait) {
    const FilePath vmArgument(context_.argumentAfter(L"KIV_VM"));
    const LaunchOptions options = buildLaunchOptions();

    bool named = false;
    if (vmArgument.isFile()) {
        std::unique_ptr<InstalledVm> vm = javaVmFromExecutable(vmArgument.toString());
        vm->options() = options;
        setOwnedVm(std::move(vm));
        named = true;
    }
    if (!installerMode_ && !named) chosenVm_ = selectVm(*this, options);
    if (installerMode_ && !named) resolveInstallerVm(*this, options);
    if (chosenVm_ == nullptr) throw TerminalError(StringTable::instance().get(kNoValidVm));

    writeCurrentVm(chosenVm_->executablePath());
    // In place before the start, so that no interrupt falls between the start
    // and the wait.
    std::optional<InterruptsLeftToTheVm> interrupts;
    if (wait) interrupts.emplace();
    processHandle_.reset(static_cast<HANDLE>(chosenVm_->launch(options, false)));
    if (wait) {
        WaitForSingleObject(processHandle_.get(), INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(processHandle_.get(), &code);
        exitCode_ = code;
    }
}

}  // namespace kiv

namespace kiv {

std::unique_ptr<InstalledVm> javaVmFromExecutable(const std::wstring& path) {
    VmCandidate probe(path);
    auto vm = std::make_unique<JavaVm>();
    vm->setVersion(probe.version());
    vm->setHome(probe.home());
    vm->setKind(probe.kind());
    vm->setVendor(probe.vendor());
    return vm;
}

}  // namespace kiv
