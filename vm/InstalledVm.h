// A Java VM found on this machine: its version, home, vendor, kind and
// bitness, and the launch options of its own. The subclass (JreVm, JavaVm or
// JviewVm, see VmFamily) decides how its Java command line is written.
#pragma once

#include <string>
#include <utility>

#include "launch/LaunchOptions.h"
#include "platform/VersionNumber.h"
#include "vm/VmKind.h"

namespace kiv {

class InstalledVm {
public:
    virtual ~InstalledVm() = default;

    // Starts the VM with its own copy of the options and returns the child's
    // process handle (a Windows HANDLE, kept as void* so that this header needs
    // no <windows.h>). With `wait`, returns after the child has ended. The
    // handle is deliberately left open: callers read the exit code from it, and
    // the launcher process ends soon after. Subclasses that override this should
    // bring the one-argument form into scope with `using InstalledVm::launch;`.
    virtual void* launch(LaunchOptions options, bool wait) = 0;
    void* launch(LaunchOptions options) { return launch(std::move(options), false); }

    // The program that launch starts (java.exe, jre.exe or jview.exe below home).
    virtual std::wstring executablePath() const = 0;
    virtual VmFamily family() const = 0;

    // (0, 0, 0) when unknown.
    VersionNumber version() const { return version_; }
    void setVersion(VersionNumber version) { version_ = version; }

    const std::wstring& home() const { return home_; }
    void setHome(std::wstring home) { home_ = std::move(home); }

    // "Sun", "IBM" or "Microsoft".
    const std::wstring& vendor() const { return vendor_; }
    void setVendor(std::wstring vendor) { vendor_ = std::move(vendor); }

    VmKind kind() const { return kind_; }
    void setKind(VmKind kind) { kind_ = kind; }

    bool is64() const { return is64_; }
    void setIs64(bool is64) { is64_ = is64; }

    const LaunchOptions& options() const { return options_; }
    LaunchOptions& options() { return options_; }

protected:
    InstalledVm() = default;
    // Copies only through a subclass, so that a VM is never sliced.
    InstalledVm(const InstalledVm&) = default;
    InstalledVm& operator=(const InstalledVm&) = default;

private:
    VersionNumber version_;
    std::wstring home_;
    std::wstring vendor_;
    VmKind kind_ = VmKind::JRE;  // every search sets it
    bool is64_ = false;
    LaunchOptions options_;
};

}  // namespace kiv
