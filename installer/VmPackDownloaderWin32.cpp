#include "installer/VmPackDownloader.h"

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "installer/DownloadProgress.h"
#include "platform/Handle.h"
#include "platform/InternetApi.h"
#include "platform/InternetHandle.h"
#include "platform/Text.h"

namespace kiv {

namespace {

// 1024-byte reads through WinINet are many times slower than large ones; the
// progress marks count bytes, so the block size does not show on the console.
// Half a mark: on a slow line each mark still appears as its bytes arrive.
constexpr DWORD kReadBlock = 256 * 1024;

constexpr DWORD kSchemeCapacity = 32;
constexpr DWORD kHostCapacity = 256;
constexpr DWORD kUrlPathCapacity = 2048;

// A pack is fetched once and unpacked; keeping a copy in WinINet's cache only
// costs disk space, and a cached copy must never stand in for the server's.
constexpr DWORD kNoCache = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD;
constexpr DWORD_PTR kFtpContext = 1;

const wchar_t kDownloadFailed[] = L"\nAttempt to download VM failed";

// The installer's progress lines. Each is flushed at once so that it keeps its
// place among the lines that other parts of the launcher print.
class Console {
public:
    explicit Console(bool quiet) : quiet_(quiet) {}

    void print(const wchar_t* text) const {
        if (quiet_)
            return;
        std::wprintf(L"%ls", text);
        std::fflush(stdout);
    }

    void printCode(const wchar_t* format, DWORD code) const {
        if (quiet_)
            return;
        std::wprintf(format, static_cast<int>(code));
        std::fflush(stdout);
    }

private:
    bool quiet_;
};

// The declared length of an HTTP body, when the response names one. A body
// that ends short of it was cut off: WinINet reports such an end like the end
// of the data, so this is the only way to tell.
struct ExpectedLength {
    bool known = false;
    std::uint64_t bytes = 0;
};

ExpectedLength httpContentLength(HINTERNET request) {
    wchar_t text[32] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    ExpectedLength length;
    if (!wininet::HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
        return length;
    const std::wstring digits = trimBlanks(text);
    if (digits.empty() || digits.size() > 19)  // 19 digits always fit in 64 bits
        return length;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return length;
        length.bytes = length.bytes * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    length.known = true;
    return length;
}

// Opens an http or https URL. Returns the request only for status 200; every
// other outcome has printed its lines.
InternetHandle openHttp(HINTERNET session, const std::wstring& url, const Console& console) {
    InternetHandle request(
        wininet::InternetOpenUrlW(session, url.c_str(), nullptr, 0, kNoCache, 0));
    if (!request) {
        const DWORD error = GetLastError();
        console.print(L"\nError in opening internet connection with URL\n");
        console.printCode(L"\nWininet Error code: %d\n", error);
    }
    DWORD status = 0;
    if (request) {
        DWORD size = sizeof(status);
        if (!wininet::HttpQueryInfoW(request.get(),
                                     HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                                     &size, nullptr))
            status = 0;
    }
    if (status != 200) {
        console.print(L"\nCould not connect to the specified URL\n");
        console.printCode(L"HTTP Status code: %d\n", status);
        return InternetHandle();
    }
    return request;
}

// Opens an ftp URL for reading on port 21, whatever port the URL names. The URL
// is split into fixed buffers: InternetCrackUrlW fails rather than overrun
// them, and a URL whose parts do not fit counts as a failed connection.
bool openFtp(HINTERNET session, const std::wstring& url, InternetHandle& connection,
             InternetHandle& file, const Console& console) {
    wchar_t scheme[kSchemeCapacity] = {};
    wchar_t host[kHostCapacity] = {};
    wchar_t path[kUrlPathCapacity] = {};
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszScheme = scheme;
    parts.dwSchemeLength = kSchemeCapacity;
    parts.lpszHostName = host;
    parts.dwHostNameLength = kHostCapacity;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = kUrlPathCapacity;

    if (wininet::InternetCrackUrlW(url.c_str(), 0, ICU_DECODE, &parts)) {
        connection.reset(wininet::InternetConnectW(
            session, host, INTERNET_DEFAULT_FTP_PORT, L"anonymous", nullptr, INTERNET_SERVICE_FTP,
            INTERNET_FLAG_PASSIVE | INTERNET_FLAG_NO_CACHE_WRITE, kFtpContext));
        if (connection)
            file.reset(wininet::FtpOpenFileW(connection.get(), path, GENERIC_READ,
                                             FTP_TRANSFER_TYPE_BINARY | kNoCache, kFtpContext));
    }
    if (file)
        return true;
    const DWORD error = GetLastError();
    console.print(L"\nCould not connect to the specified URL\n");
    console.printCode(L"Wininet Error code: %d\n", error);
    return false;
}

// Copies the whole body into `file`, printing the progress marks. False when a
// read or a write fails or the body ends short of its declared length.
bool receiveBody(HINTERNET request, HANDLE file, const ExpectedLength& expected,
                 const Console& console) {
    std::vector<char> block(kReadBlock);
    DownloadProgress progress;
    for (;;) {
        DWORD got = 0;
        if (!wininet::InternetReadFile(request, block.data(), kReadBlock, &got))
            return false;
        if (got == 0)
            break;
        DWORD written = 0;
        if (!WriteFile(file, block.data(), got, &written, nullptr) || written != got)
            return false;
        const std::wstring marks = progress.add(got);
        if (!marks.empty())
            console.print(marks.c_str());
    }
    return !expected.known || progress.bytesReceived() == expected.bytes;
}

// Stores the body of an open request at `destinationPath`. A download that
// does not complete leaves no file behind: a partial pack would only fail
// later, in the checksum or the extraction, with a less helpful message.
bool transfer(HINTERNET request, const std::wstring& destinationPath,
              const ExpectedLength& expected, const Console& console) {
    if (request == nullptr) {
        console.print(kDownloadFailed);
        return false;
    }
    FileHandle file(CreateFileW(destinationPath.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        console.print(kDownloadFailed);
        return false;
    }
    bool complete = receiveBody(request, file.get(), expected, console);
    // Closing may flush the last data and fail doing so; that is a failed write.
    if (!CloseHandle(file.release()))
        complete = false;
    if (!complete) {
        DeleteFileW(destinationPath.c_str());
        console.print(kDownloadFailed);
    }
    return complete;
}

}  // namespace

bool VmPackDownloader::download(const std::wstring& url, const std::wstring& destinationPath) {
    const Console console(quiet_);
    console.print(L"\nDownloading VM Pack - Please Wait!!!\n");

    // Declared so that the request closes first, then the connection, then the
    // session, on every path.
    InternetHandle session(
        wininet::InternetOpenW(L"InetURL/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) {
        const DWORD error = GetLastError();
        console.print(L"\nAttempt to connect to internet failed.");
        console.printCode(L"\nWininet Error code: %d\n", error);
        return false;
    }
    InternetHandle connection;
    InternetHandle request;
    ExpectedLength expected;

    // Prefix tests are case-sensitive, and "http" takes https URLs too.
    if (startsWith(url, L"http")) {
        request = openHttp(session.get(), url, console);
        if (!request)
            return false;
        expected = httpContentLength(request.get());
    } else if (startsWith(url, L"ftp")) {
        if (!openFtp(session.get(), url, connection, request, console))
            return false;
    }
    return transfer(request.get(), destinationPath, expected, console);
}

}  // namespace kiv
