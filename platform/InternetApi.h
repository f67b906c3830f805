// The WinINet calls of the pack download, bound at run time (see
// SystemLibrary.h): only installer runs load wininet.dll. Each answers the
// API's failure value with ERROR_PROC_NOT_FOUND as the last error when
// wininet.dll or the function cannot be bound. WinINet loads helper DLLs
// (sockets, proxies) as its calls need them, so each call runs as a load must
// (SystemFunction::loadingCallOr); none of them names a file of ours.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "platform/SystemLibrary.h"

namespace kiv::wininet {

inline HINTERNET InternetOpenW(LPCWSTR agent, DWORD accessType, LPCWSTR proxy,
                               LPCWSTR proxyBypass, DWORD flags) {
    static const SystemFunction<decltype(&::InternetOpenW)> function(wininetLibrary(),
                                                                     "InternetOpenW");
    return function.loadingCallOr(HINTERNET{nullptr}, agent, accessType, proxy, proxyBypass, flags);
}

inline HINTERNET InternetOpenUrlW(HINTERNET session, LPCWSTR url, LPCWSTR headers,
                                  DWORD headersLength, DWORD flags, DWORD_PTR context) {
    static const SystemFunction<decltype(&::InternetOpenUrlW)> function(wininetLibrary(),
                                                                        "InternetOpenUrlW");
    return function.loadingCallOr(HINTERNET{nullptr}, session, url, headers, headersLength, flags,
                           context);
}

inline BOOL InternetCrackUrlW(LPCWSTR url, DWORD urlLength, DWORD flags,
                              LPURL_COMPONENTSW components) {
    static const SystemFunction<decltype(&::InternetCrackUrlW)> function(wininetLibrary(),
                                                                         "InternetCrackUrlW");
    return function.loadingCallOr(BOOL{FALSE}, url, urlLength, flags, components);
}

inline HINTERNET InternetConnectW(HINTERNET session, LPCWSTR server, INTERNET_PORT port,
                                  LPCWSTR user, LPCWSTR password, DWORD service, DWORD flags,
                                  DWORD_PTR context) {
    static const SystemFunction<decltype(&::InternetConnectW)> function(wininetLibrary(),
                                                                        "InternetConnectW");
    return function.loadingCallOr(HINTERNET{nullptr}, session, server, port, user, password, service,
                           flags, context);
}

inline HINTERNET FtpOpenFileW(HINTERNET connection, LPCWSTR fileName, DWORD access,
                              DWORD flags, DWORD_PTR context) {
    static const SystemFunction<decltype(&::FtpOpenFileW)> function(wininetLibrary(),
                                                                    "FtpOpenFileW");
    return function.loadingCallOr(HINTERNET{nullptr}, connection, fileName, access, flags, context);
}

inline BOOL HttpQueryInfoW(HINTERNET request, DWORD infoLevel, LPVOID buffer,
                           LPDWORD bufferLength, LPDWORD index) {
    static const SystemFunction<decltype(&::HttpQueryInfoW)> function(wininetLibrary(),
                                                                      "HttpQueryInfoW");
    return function.loadingCallOr(BOOL{FALSE}, request, infoLevel, buffer, bufferLength, index);
}

inline BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD bytesToRead,
                             LPDWORD bytesRead) {
    static const SystemFunction<decltype(&::InternetReadFile)> function(wininetLibrary(),
                                                                        "InternetReadFile");
    return function.loadingCallOr(BOOL{FALSE}, file, buffer, bytesToRead, bytesRead);
}

inline BOOL InternetCloseHandle(HINTERNET handle) {
    static const SystemFunction<decltype(&::InternetCloseHandle)> function(
        wininetLibrary(), "InternetCloseHandle");
    return function.loadingCallOr(BOOL{FALSE}, handle);
}

}  // namespace kiv::wininet
