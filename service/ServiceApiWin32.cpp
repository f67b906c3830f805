#include "service/ServiceApi.h"

#include "platform/Wow64.h"
#include "service/ServiceLibraryPath.h"

namespace kiv {

namespace {

std::wstring systemDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(buffer, length);
}

}  // namespace

SystemFolders currentSystemFolders() {
    SystemFolders folders;
    folders.wow64 = isWow64Process();
    if (folders.wow64) folders.wow64Directory = systemWow64Directory();
    folders.systemDirectory = systemDirectory();
    return folders;
}

ServiceApi& ServiceApi::instance() {
    // Never destroyed: the dispatcher and service threads may still report
    // while the main thread runs the process's exit.
    static ServiceApi* const api = new ServiceApi(serviceLibraryPath(currentSystemFolders()));
    return *api;
}

ServiceApi::ServiceApi(const std::wstring& libraryPath) {
    if (libraryPath.empty()) return;
    const RedirectionForLoading redirection;  // for the imports of the library
    module_.reset(LoadLibraryW(libraryPath.c_str()));
}

void* ServiceApi::function(std::atomic<void*>& slot, const char* name) const {
    void* address = slot.load();
    if (address == nullptr && loaded()) {
        const RedirectionForLoading redirection;  // a forwarded export loads its DLL
        address = reinterpret_cast<void*>(GetProcAddress(module_.get(), name));
        slot.store(address);
    }
    return address;
}

BOOL ServiceApi::startServiceCtrlDispatcher(const SERVICE_TABLE_ENTRYW* table) {
    using Fn = BOOL(WINAPI*)(const SERVICE_TABLE_ENTRYW*);
    const auto call =
        reinterpret_cast<Fn>(function(startDispatcher_, "StartServiceCtrlDispatcherW"));
    return call == nullptr ? FALSE : call(table);
}

SERVICE_STATUS_HANDLE ServiceApi::registerServiceCtrlHandler(const wchar_t* serviceName,
                                                             LPHANDLER_FUNCTION handler) {
    using Fn = SERVICE_STATUS_HANDLE(WINAPI*)(LPCWSTR, LPHANDLER_FUNCTION);
    const auto call =
        reinterpret_cast<Fn>(function(registerHandler_, "RegisterServiceCtrlHandlerW"));
    return call == nullptr ? nullptr : call(serviceName, handler);
}

BOOL ServiceApi::setServiceStatus(SERVICE_STATUS_HANDLE handle, SERVICE_STATUS* status) {
    using Fn = BOOL(WINAPI*)(SERVICE_STATUS_HANDLE, LPSERVICE_STATUS);
    const auto call = reinterpret_cast<Fn>(function(setStatus_, "SetServiceStatus"));
    return call == nullptr ? FALSE : call(handle, status);
}

}  // namespace kiv
