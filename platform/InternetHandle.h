// Owner of a WinINet handle (session, connection, request or FTP file), closed
// with InternetCloseHandle. Closing keeps the thread's last error, like every
// owner in platform/Handle.h.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "platform/Handle.h"
#include "platform/InternetApi.h"

namespace kiv {

struct InternetHandleTraits {
    using Type = HINTERNET;
    static Type invalid() { return nullptr; }
    static void close(Type handle) { wininet::InternetCloseHandle(handle); }
};

using InternetHandle = UniqueResource<InternetHandleTraits>;

}  // namespace kiv
