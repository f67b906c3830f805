// The registry calls of advapi32, bound at run time (see SystemLibrary.h).
// Each answers ERROR_PROC_NOT_FOUND, like a failed call, when advapi32 or the
// function cannot be bound.
#pragma once

#include <windows.h>

#include "platform/SystemLibrary.h"

namespace kiv::advapi32 {

inline LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access,
                             PHKEY result) {
    static const SystemFunction<decltype(&::RegOpenKeyExW)> function(advapi32Library(),
                                                                     "RegOpenKeyExW");
    return function.callOr(LSTATUS{ERROR_PROC_NOT_FOUND}, key, subKey, options, access, result);
}

inline LSTATUS RegConnectRegistryW(LPCWSTR machine, HKEY key, PHKEY result) {
    static const SystemFunction<decltype(&::RegConnectRegistryW)> function(
        advapi32Library(), "RegConnectRegistryW");
    return function.callOr(LSTATUS{ERROR_PROC_NOT_FOUND}, machine, key, result);
}

inline LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type,
                                LPBYTE data, LPDWORD dataSize) {
    static const SystemFunction<decltype(&::RegQueryValueExW)> function(advapi32Library(),
                                                                        "RegQueryValueExW");
    return function.callOr(LSTATUS{ERROR_PROC_NOT_FOUND}, key, valueName, reserved, type, data,
                           dataSize);
}

inline LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength,
                             LPDWORD reserved, LPWSTR className, LPDWORD classLength,
                             PFILETIME lastWrite) {
    static const SystemFunction<decltype(&::RegEnumKeyExW)> function(advapi32Library(),
                                                                     "RegEnumKeyExW");
    return function.callOr(LSTATUS{ERROR_PROC_NOT_FOUND}, key, index, name, nameLength, reserved,
                           className, classLength, lastWrite);
}

inline LSTATUS RegCloseKey(HKEY key) {
    static const SystemFunction<decltype(&::RegCloseKey)> function(advapi32Library(),
                                                                   "RegCloseKey");
    return function.callOr(LSTATUS{ERROR_PROC_NOT_FOUND}, key);
}

}  // namespace kiv::advapi32
