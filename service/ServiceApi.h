// The service control functions of advapi32.dll, bound at run time by the
// DLL's full path in the system folder: a console launcher that never runs as a
// service never needs them, and a full path cannot pick up a planted copy.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "platform/Handle.h"
#include "service/ServiceLibraryPath.h"

namespace kiv {

class ServiceApi {
public:
    // The process-wide binding, made on first use from this process's system
    // folders (see serviceLibraryPath) and kept until the process ends.
    static ServiceApi& instance();

    // Loads the library at `libraryPath`; an empty or unloadable path leaves
    // the binding unloaded.
    explicit ServiceApi(const std::wstring& libraryPath);
    ServiceApi(const ServiceApi&) = delete;
    ServiceApi& operator=(const ServiceApi&) = delete;

    bool loaded() const { return static_cast<bool>(module_); }

    // Each wrapper looks its function up on its first call and keeps the
    // address; it returns 0 without calling anything when the library was not
    // loaded or lacks the function.
    BOOL startServiceCtrlDispatcher(const SERVICE_TABLE_ENTRYW* table);
    SERVICE_STATUS_HANDLE registerServiceCtrlHandler(const wchar_t* serviceName,
                                                     LPHANDLER_FUNCTION handler);
    BOOL setServiceStatus(SERVICE_STATUS_HANDLE handle, SERVICE_STATUS* status);

private:
    // The dispatcher, the service main thread and the worker all report status,
    // so the lazily filled addresses are atomic.
    void* function(std::atomic<void*>& slot, const char* name) const;

    LoadedModule module_;
    std::atomic<void*> startDispatcher_{nullptr};
    std::atomic<void*> registerHandler_{nullptr};
    std::atomic<void*> setStatus_{nullptr};
};

// The system folders of the running process.
SystemFolders currentSystemFolders();

}  // namespace kiv
