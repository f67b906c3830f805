// The thread that starts the service's VM and waits for it to end.
#pragma once

#include <windows.h>

#include "platform/Handle.h"

namespace kiv {

class ServiceKIV;

class ServiceWorker {
public:
    // Creates the unsignalled, unnamed, manual-reset event that tells the
    // service main thread the worker is done.
    explicit ServiceWorker(ServiceKIV& service);
    ServiceWorker(const ServiceWorker&) = delete;
    ServiceWorker& operator=(const ServiceWorker&) = delete;

    // Starts the thread. Returns 0, or the Win32 error code when the event or
    // the thread could not be created.
    DWORD start();

    // Waits for the event, then for the thread itself, so the worker outlives
    // everything its thread touches.
    void waitUntilFinished() const;

    // After waitUntilFinished: 0 when the VM was started (and has ended since),
    // else the service-specific code of the failure (kLaunchFailedServiceCode,
    // kUnexpectedFailureServiceCode).
    DWORD failureCode() const { return failureCode_; }

private:
    static unsigned __stdcall threadEntry(void* worker);
    void threadBody();

    ServiceKIV& service_;
    KernelHandle finished_;
    KernelHandle thread_;
    DWORD eventError_ = 0;
    DWORD failureCode_ = 0;
};

}  // namespace kiv
