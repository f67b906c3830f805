#include "service/ServiceWorker.h"

#include <process.h>

#include <exception>

#include "launcher/ErrorLine.h"
#include "launcher/Errors.h"
#include "launcher/StringTable.h"
#include "platform/Wow64.h"
#include "service/ServiceKIV.h"

namespace kiv {

namespace {

KernelHandle duplicateOf(HANDLE process) {
    HANDLE copy = nullptr;
    if (process == nullptr || !DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(),
                                               &copy, SYNCHRONIZE, FALSE, 0))
        return KernelHandle();
    return KernelHandle(copy);
}

// The failure line goes where main would have written it; a service usually has
// no console, and a failure to report must not become a second failure.
void reportQuietly(const std::wstring& message) {
    try {
        reportError(message);
    } catch (...) {
    }
}

}  // namespace

ServiceWorker::ServiceWorker(ServiceKIV& service)
    : service_(service), finished_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!finished_) eventError_ = GetLastError();
}

DWORD ServiceWorker::start() {
    if (!finished_) return eventError_ != 0 ? eventError_ : ERROR_INVALID_HANDLE;
    // The C runtime's thread start, so the run sequence may use the runtime freely.
    thread_.reset(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &threadEntry, this, 0, nullptr)));
    if (thread_) return 0;
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_NOT_ENOUGH_MEMORY;
}

void ServiceWorker::waitUntilFinished() const {
    WaitForSingleObject(finished_.get(), INFINITE);
    WaitForSingleObject(thread_.get(), INFINITE);
}

unsigned __stdcall ServiceWorker::threadEntry(void* worker) {
    static_cast<ServiceWorker*>(worker)->threadBody();
    return 0;
}

// Nothing may escape this thread: an exception here would end the process
// with the service left in START_PENDING. A failure is kept for the service
// main thread, which reports SERVICE_STOPPED with it.
void ServiceWorker::threadBody() {
    // The run sequence tests and starts paths under the system folder as main's
    // thread sees them.
    disableFileSystemRedirection();
    try {
        service_.run(false);
        if (service_.processHandle() == nullptr)
            throw TerminalError(L"the VM process was not started");
        // Once RUNNING is reported a stop request may close the launcher's handle
        // while this thread waits on it, so the wait uses a handle of its own.
        const KernelHandle vm = duplicateOf(service_.processHandle());
        service_.reportStatus(SERVICE_RUNNING);
        WaitForSingleObject(vm ? vm.get() : service_.processHandle(), INFINITE);
    } catch (const TerminalError& error) {
        reportQuietly(error.message());
        failureCode_ = kLaunchFailedServiceCode;
    } catch (const std::exception& error) {
        reportQuietly(unknownExceptionMessage(error.what()));
        failureCode_ = kUnexpectedFailureServiceCode;
    } catch (...) {
        failureCode_ = kUnexpectedFailureServiceCode;
    }
    SetEvent(finished_.get());
}

}  // namespace kiv
