// The launcher run as a Windows service: it connects the process to the
// service control manager, starts the VM through the ordinary run sequence
// without waiting, reports the service's state, and ends the process when the
// VM ends or the service is stopped.
#pragma once

#include <windows.h>

#include "launcher/Launcher.h"

namespace kiv {

// How a service whose VM could not be started is reported: SERVICE_STOPPED with
// Win32 exit code ERROR_SERVICE_SPECIFIC_ERROR and one of these codes.
constexpr DWORD kLaunchFailedServiceCode = 1;  // a launcher failure: no valid VM, VM not startable
constexpr DWORD kUnexpectedFailureServiceCode = 2;  // any other exception of the run sequence

class ServiceKIV : public Launcher {
public:
    // The single service launcher of the process, made from `context` on the
    // first call and never destroyed. Throws TerminalError when the service name
    // is too long, and whatever the Launcher constructor throws.
    static ServiceKIV& create(const LaunchContext& context);
    // The single instance, or null before create succeeded.
    static ServiceKIV* existing();

    bool isService() const override { return true; }

    // Hands the main thread to the control manager's dispatcher. Returns its
    // result: nonzero after the service has stopped, 0 at once when the process
    // was not started by the control manager or advapi32 could not be bound.
    virtual BOOL startService();

    // The work of the service main function, on the thread the dispatcher made.
    // Returns when nothing is left for that thread (the service was stopped, or
    // the VM could not be started); ends the process itself when the VM ends.
    void serve();

    // Sets the current state and reports it; only RUNNING accepts the stop request.
    void reportStatus(DWORD state);
    // STOP_PENDING, the VM terminated with exit code 0, then STOPPED with codes 0.
    void stopService();

private:
    explicit ServiceKIV(LaunchContext context);
    ~ServiceKIV() override;

    void reportStopped(DWORD win32ExitCode, DWORD serviceSpecificExitCode);
    void finishAfterVm();

    friend class ServiceStateLock;

    SERVICE_STATUS status_ = {};
    SERVICE_STATUS_HANDLE statusHandle_ = nullptr;
    // The dispatcher thread (stop requests), the service main thread and the
    // worker all touch the status record and the VM's process handle; a stop
    // request may arrive just as the VM ends by itself.
    CRITICAL_SECTION stateLock_;
};

}  // namespace kiv
