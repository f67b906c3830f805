// The launcher of one process: its property files, its command line, the VM it
// chooses and the VM process it starts and waits for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "launch/LaunchOptions.h"
#include "launcher/LaunchContext.h"
#include "launcher/PropertyFile.h"
#include "platform/Handle.h"
#include "vm/JvmSpec.h"

namespace kiv {

class InstalledVm;

class Launcher {
public:
    // Finds and loads the property file, checks its required keys, decides
    // installer mode, moves to the property file's folder and applies the
    // console settings. Throws TerminalError or FileException.
    explicit Launcher(LaunchContext context);
    virtual ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // Chooses the VM, writes the runtime properties and starts the VM; with
    // `wait`, waits for it and keeps its exit code.
    virtual void run(bool wait);
    virtual bool isService() const { return false; }

    LaunchOptions buildLaunchOptions() const;

    uint32_t exitCode() const { return exitCode_; }
    const PropertyFile& properties() const { return properties_; }
    const PropertyFile& buildProperties() const { return buildProperties_; }
    const LaunchContext& context() const { return context_; }
    JvmSpec& jvmSpec() { return jvmSpec_; }
    bool installerMode() const { return installerMode_; }
    bool silent() const { return silent_; }
    void setSilent(bool silent) { silent_ = silent; }
    const std::wstring& startDirectory() const { return startDirectory_; }
    const std::wstring& propertyFilePath() const { return propertyFilePath_; }
    const std::wstring& buildPropertyFilePath() const { return buildPropertyFilePath_; }

    // The VM process stays open until the launcher ends: the service host
    // terminates it through this handle.
    HANDLE processHandle() const { return processHandle_.get(); }
    void forgetProcess() { processHandle_.reset(); }

    void setChosenVm(InstalledVm* vm) { chosenVm_ = vm; }
    // A VM made for this run (named on the command line, carried or unpacked
    // by an installer) belongs to the launcher; found VMs belong to the inventory.
    void setOwnedVm(std::unique_ptr<InstalledVm> vm);
    InstalledVm* chosenVm() const { return chosenVm_; }

private:
    void locatePropertyFile(const std::wstring& exe);
    void locateBuildPropertyFile(const std::wstring& exe);
    void applyConsoleSettings() const;

    PropertyFile properties_;
    PropertyFile buildProperties_;
    JvmSpec jvmSpec_;
    LaunchContext context_;
    InstalledVm* chosenVm_ = nullptr;
    std::unique_ptr<InstalledVm> ownedVm_;
    std::wstring propertyFilePath_;
    std::wstring buildPropertyFilePath_;
    KernelHandle processHandle_;
    uint32_t exitCode_ = 0;
    std::wstring startDirectory_;
    bool installerMode_ = false;
    bool silent_ = false;
};

// The class path of the property file with "$ENV_CLASSPATH$" resolved.
std::wstring resolveClassPath(const PropertyFile& properties);

// The one way a plain executable path becomes a VM: always the java family.
std::unique_ptr<InstalledVm> javaVmFromExecutable(const std::wstring& path);

}  // namespace kiv
