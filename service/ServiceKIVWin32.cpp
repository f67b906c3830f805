#include "service/ServiceKIV.h"

#include <stdexcept>

#include "service/ServiceApi.h"
#include "service/ServiceControl.h"
#include "service/ServiceName.h"
#include "service/ServiceWorker.h"

namespace kiv {

// Held while the status record or the VM's process handle is read or changed.
class ServiceStateLock {
public:
    explicit ServiceStateLock(ServiceKIV& service) : lock_(service.stateLock_) {
        EnterCriticalSection(&lock_);
    }
    ~ServiceStateLock() { LeaveCriticalSection(&lock_); }
    ServiceStateLock(const ServiceStateLock&) = delete;
    ServiceStateLock& operator=(const ServiceStateLock&) = delete;

private:
    CRITICAL_SECTION& lock_;
};

namespace {

ServiceKIV* theService = nullptr;

// The name is checked before the Launcher constructor moves the current
// directory or touches any file.
LaunchContext checkedServiceContext(LaunchContext context) {
    requireFittingServiceName(context.serviceName());
    return context;
}

// Registered through RegisterServiceCtrlHandlerW, whose plain handler returns
// nothing: the control manager answers ControlService itself (Windows and Wine
// alike), so the handler's answer (0 or 120) stays inside the process.
VOID WINAPI controlHandler(DWORD control) {
    answerServiceControl(control, [] {
        if (ServiceKIV* service = ServiceKIV::existing()) service->stopService();
    });
}

// A user's logoff must not end the service process; every other event keeps
// its default handling.
BOOL WINAPI consoleControlHandler(DWORD event) { return event == CTRL_LOGOFF_EVENT ? TRUE : FALSE; }

void WINAPI serviceMain(DWORD, LPWSTR*) {
    ServiceKIV* service = ServiceKIV::existing();
    if (service == nullptr) throw std::logic_error("ServiceKIV has not been instantiated.");
    service->serve();
    ExitThread(0);
}

}  // namespace

ServiceKIV& ServiceKIV::create(const LaunchContext& context) {
    if (theService == nullptr) theService = new ServiceKIV(context);
    return *theService;
}

ServiceKIV* ServiceKIV::existing() { return theService; }

ServiceKIV::ServiceKIV(LaunchContext context)
    : Launcher(checkedServiceContext(std::move(context))) {
    InitializeCriticalSection(&stateLock_);
}

ServiceKIV::~ServiceKIV() { DeleteCriticalSection(&stateLock_); }

BOOL ServiceKIV::startService() {
    const std::wstring name = context().serviceName();
    wchar_t nameBuffer[kServiceNameCapacity] = {};
    if (name.size() >= kServiceNameCapacity) return FALSE;  // refused at construction already
    name.copy(nameBuffer, name.size());
    const SERVICE_TABLE_ENTRYW table[] = {{nameBuffer, &serviceMain}, {nullptr, nullptr}};
    return ServiceApi::instance().startServiceCtrlDispatcher(table);
}

void ServiceKIV::serve() {
    SetConsoleCtrlHandler(&consoleControlHandler, TRUE);
    // No control can arrive before the handler is registered: no lock yet.
    status_ = SERVICE_STATUS{SERVICE_WIN32_OWN_PROCESS, 0, 0, NO_ERROR, 0, 0, 5000};
    SetLastError(0);
    statusHandle_ = ServiceApi::instance().registerServiceCtrlHandler(
        context().serviceName().c_str(), &controlHandler);
    const DWORD registrationError = GetLastError();
    if (statusHandle_ == nullptr) {
        // Nothing can be reported to the control manager without the handle;
        // ending the process is the one answer it still understands.
        ExitProcess(registrationError != 0 ? registrationError : ERROR_SERVICE_NOT_ACTIVE);
    }
    reportStatus(SERVICE_START_PENDING);

    ServiceWorker worker(*this);
    if (const DWORD error = worker.start()) {
        reportStopped(error, 0);
        return;
    }
    worker.waitUntilFinished();
    if (worker.failureCode() != 0) {
        reportStopped(ERROR_SERVICE_SPECIFIC_ERROR, worker.failureCode());
        return;
    }
    finishAfterVm();
}

// The VM has ended, or was terminated by a stop request that left no handle.
// A VM that ends with 0 stops the service; any other code ends the process with
// that code and no final report, so the control manager sees the process die.
void ServiceKIV::finishAfterVm() {
    ServiceStateLock lock(*this);
    const HANDLE vm = processHandle();
    if (vm == nullptr) return;
    DWORD exitCode = 0;
    GetExitCodeProcess(vm, &exitCode);
    if (exitCode == 0) stopService();
    ExitProcess(exitCode);
}

void ServiceKIV::reportStatus(DWORD state) {
    ServiceStateLock lock(*this);
    status_.dwCurrentState = state;
    status_.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    ServiceApi::instance().setServiceStatus(statusHandle_, &status_);
}

void ServiceKIV::reportStopped(DWORD win32ExitCode, DWORD serviceSpecificExitCode) {
    ServiceStateLock lock(*this);
    status_.dwWin32ExitCode = win32ExitCode;
    status_.dwServiceSpecificExitCode = serviceSpecificExitCode;
    status_.dwCheckPoint = 0;
    status_.dwWaitHint = 0;
    reportStatus(SERVICE_STOPPED);
}

void ServiceKIV::stopService() {
    ServiceStateLock lock(*this);
    reportStatus(SERVICE_STOP_PENDING);
    if (processHandle() != nullptr) {
        TerminateProcess(processHandle(), 0);
        forgetProcess();
    }
    reportStopped(NO_ERROR, 0);
}

}  // namespace kiv
