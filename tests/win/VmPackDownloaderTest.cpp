// Downloads from loopback servers that the test runner starts before this exe
// (tests/support/servers/download_servers.sh): KIV_TEST_SERVERS names their
// state folder, with the HTTP port in "http.port" and the folder that both
// the HTTP server and the anonymous FTP server on port 21 serve in "root".
#include "installer/VmPackDownloader.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Text.h"

namespace kiv {
namespace {

const std::string kStartLine = "\nDownloading VM Pack - Please Wait!!!\n";
const std::string kFailedLine = "\nAttempt to download VM failed";
const std::string kCouldNotConnect = "\nCould not connect to the specified URL\n";
constexpr size_t kMark = 500 * 1024;

std::wstring environmentVariable(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value) : std::wstring();
}

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string readFile(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char block[65536];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof(block), &got, nullptr) && got > 0)
        bytes.append(block, got);
    CloseHandle(file);
    return bytes;
}

void writeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << wideToUtf8(path);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(bytes.size(), written);
}

// WinINet keeps a copy of what it fetches unless asked not to.
bool inUrlCache(const std::wstring& url) {
    DWORD size = 0;
    if (GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size))
        return true;
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// Deterministic bytes that differ at every offset within a pack, so a lost,
// doubled or reordered block shows.
std::string packBytes(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + (i >> 11) * 7) & 0xFF);
    return bytes;
}

// Sends the C runtime's standard output to a file while alive. The file is
// opened in text mode like a console's stdout: the wide print converts to
// bytes only on text-mode streams, and "\n" goes out as CR LF.
class StdoutCapture {
public:
    explicit StdoutCapture(std::wstring path) : path_(std::move(path)) {
        std::fflush(stdout);
        saved_ = _dup(_fileno(stdout));
        const int file = _wopen(path_.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_TEXT,
                                _S_IREAD | _S_IWRITE);
        if (file >= 0) {
            _dup2(file, _fileno(stdout));
            _close(file);
        }
    }
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;
    ~StdoutCapture() { finish(); }

    // Restores standard output and returns what was written, line ends as "\n".
    std::string finish() {
        if (saved_ < 0)
            return std::string();
        std::fflush(stdout);
        _dup2(saved_, _fileno(stdout));
        _close(saved_);
        saved_ = -1;
        std::string text = readFile(path_);
        DeleteFileW(path_.c_str());
        return replaceAll(text, "\r\n", "\n");
    }

private:
    static std::string replaceAll(std::string text, const std::string& from,
                                  const std::string& to) {
        for (size_t at = text.find(from); at != std::string::npos;
             at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
        return text;
    }

    std::wstring path_;
    int saved_ = -1;
};

// The error codes that WinINet gives for one failure differ between Windows
// versions and Wine; where a case does not care, they read as "N".
std::string maskErrorCodes(std::string text) {
    const std::string label = "Wininet Error code: ";
    for (size_t at = text.find(label); at != std::string::npos;
         at = text.find(label, at + 1)) {
        const size_t digits = at + label.size();
        size_t end = digits;
        while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '-'))
            ++end;
        if (end > digits)
            text.replace(digits, end - digits, "N");
    }
    return text;
}

struct Outcome {
    bool stored;
    std::string output;
};

class VmPackDownloaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring servers = environmentVariable(L"KIV_TEST_SERVERS");
        if (servers.empty())
            GTEST_SKIP() << "KIV_TEST_SERVERS is not set: the download servers are not running";
        httpPort_ = trimBlanks(utf8ToWide(readFile(servers + L"\\http.port")));
        ASSERT_FALSE(httpPort_.empty()) << "no http.port in " << wideToUtf8(servers);
        served_ = servers + L"\\root\\";

        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        work_ = std::wstring(temp) + L"kivdownload_" + decimal(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(work_.c_str(), nullptr);
        target_ = work_ + L"jvmspecspack.vm";
    }

    void TearDown() override {
        for (const std::wstring& name : servedNames_)
            DeleteFileW((served_ + name).c_str());
        DeleteFileW(target_.c_str());
        RemoveDirectoryW(work_.c_str());
    }

    void serve(const std::wstring& name, const std::string& bytes) {
        writeFile(served_ + name, bytes);
        servedNames_.push_back(name);
    }

    std::wstring httpUrl(const std::wstring& path) const {
        return L"http://127.0.0.1:" + httpPort_ + L"/" + path;
    }

    Outcome download(const std::wstring& url, bool quiet = false) {
        return downloadTo(url, target_, quiet);
    }

    Outcome downloadTo(const std::wstring& url, const std::wstring& target, bool quiet = false) {
        VmPackDownloader downloader;
        downloader.setQuiet(quiet);
        StdoutCapture capture(work_ + L"stdout.txt");
        const bool stored = downloader.download(url, target);
        return Outcome{stored, capture.finish()};
    }

    std::wstring httpPort_;
    std::wstring served_;
    std::wstring work_;
    std::wstring target_;
    std::vector<std::wstring> servedNames_;
};

TEST_F(VmPackDownloaderTest, HttpBodyIsStoredExactlyWithOneMarkPer500KiB) {
    struct Case {
        const char* label;
        size_t size;
        std::string marks;
    };
    const std::vector<Case> cases = {
        {"empty body", 0, ""},
        {"one chunk short of a mark", kMark - 1024, ""},
        {"a short last chunk counts as a chunk", kMark - 1, "="},
        {"five marks close a group", 5 * kMark, "===== "},
        {"3 MiB", 3 * 1024 * 1024, "===== ="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string bytes = packBytes(c.size);
        serve(L"pack.vm", bytes);
        DeleteUrlCacheEntryW(httpUrl(L"pack.vm").c_str());  // left by an earlier run
        const Outcome outcome = download(httpUrl(L"pack.vm"));
        EXPECT_TRUE(outcome.stored);
        EXPECT_EQ(kStartLine + c.marks, outcome.output);
        EXPECT_TRUE(readFile(target_) == bytes) << "stored file differs from the served one";
        EXPECT_FALSE(inUrlCache(httpUrl(L"pack.vm")));
    }
}

TEST_F(VmPackDownloaderTest, FtpConnectsToPort21WhateverPortTheUrlNames) {
    const std::string bytes = packBytes(1024 * 1024 + 5);
    serve(L"pack.vm", bytes);
    serve(L"pack one.vm", bytes);
    const std::vector<std::wstring> urls = {
        L"ftp://127.0.0.1/pack.vm",
        L"ftp://127.0.0.1:2121/pack.vm",
        L"ftp://127.0.0.1/pack%20one.vm",
    };
    for (const std::wstring& url : urls) {
        SCOPED_TRACE(wideToUtf8(url));
        DeleteFileW(target_.c_str());
        const Outcome outcome = download(url);
        EXPECT_TRUE(outcome.stored);
        EXPECT_EQ(kStartLine + "==", outcome.output);
        EXPECT_TRUE(readFile(target_) == bytes) << "stored file differs from the served one";
    }
}

TEST_F(VmPackDownloaderTest, FailedDownloadPrintsItsLinesAndLeavesNoFile) {
    serve(L"pack.vm", packBytes(3 * 1024 * 1024));
    const std::string openError = "\nError in opening internet connection with URL\n";
    const std::string statusZero = kCouldNotConnect + "HTTP Status code: 0\n";
    const std::string ftpError = kCouldNotConnect + "Wininet Error code: N\n";
    struct Case {
        const char* label;
        std::wstring url;
        std::string expected;  // after the start line; "N" stands for any error code
    };
    const std::vector<Case> cases = {
        {"HTTP 404", httpUrl(L"missing.vm"), kCouldNotConnect + "HTTP Status code: 404\n"},
        {"nothing listens on the port", L"http://127.0.0.1:1/pack.vm",
         openError + "\nWininet Error code: 12029\n" + statusZero},
        // The https URL goes the HTTP way: the TLS handshake with a plain
        // HTTP server fails when the URL is opened.
        {"https to a plain HTTP server", L"https://127.0.0.1:" + httpPort_ + L"/pack.vm",
         openError + "\nWininet Error code: N\n" + statusZero},
        {"file scheme", L"file:///C:/pack.vm", kFailedLine},
        {"scheme prefix is case-sensitive", L"HTTP://127.0.0.1:" + httpPort_ + L"/pack.vm",
         kFailedLine},
        {"FTP file missing", L"ftp://127.0.0.1/missing.vm", ftpError},
        {"FTP host longer than its 256-character buffer",
         L"ftp://" + std::wstring(300, L'h') + L"/pack.vm", ftpError},
        // "/" and 2046 characters fill the path buffer with its terminator: the
        // server is asked and has no such file. One more and the URL cannot be
        // split (ERROR_INSUFFICIENT_BUFFER).
        {"FTP path that just fits its 2048-character buffer",
         L"ftp://127.0.0.1/" + std::wstring(2046, L'p'),
         kCouldNotConnect + "Wininet Error code: 12003\n"},
        {"FTP path one character too long for its buffer",
         L"ftp://127.0.0.1/" + std::wstring(2047, L'p'),
         kCouldNotConnect + "Wininet Error code: 122\n"},
        // Half the body, then the connection closes: three marks, then the failure.
        {"HTTP body cut midway", httpUrl(L"truncated/pack.vm"), "===" + kFailedLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        DeleteFileW(target_.c_str());
        const Outcome outcome = download(c.url);
        EXPECT_FALSE(outcome.stored);
        const bool anyCode = c.expected.find("code: N\n") != std::string::npos;
        EXPECT_EQ(kStartLine + c.expected,
                  anyCode ? maskErrorCodes(outcome.output) : outcome.output);
        EXPECT_FALSE(fileExists(target_));
    }
}

TEST_F(VmPackDownloaderTest, DestinationThatCannotBeCreatedIsAFailedDownload) {
    serve(L"pack.vm", packBytes(1000));
    const Outcome outcome =
        downloadTo(httpUrl(L"pack.vm"), work_ + L"no such folder\\jvmspecspack.vm");
    EXPECT_FALSE(outcome.stored);
    EXPECT_EQ(kStartLine + kFailedLine, outcome.output);
}

TEST_F(VmPackDownloaderTest, QuietDownloadPrintsNothingAndStillReportsTheOutcome) {
    const std::string bytes = packBytes(3 * 1024 * 1024);
    serve(L"pack.vm", bytes);
    struct Case {
        const char* label;
        std::wstring url;
        bool stored;
    };
    const std::vector<Case> cases = {
        {"HTTP 200", httpUrl(L"pack.vm"), true},
        {"FTP", L"ftp://127.0.0.1/pack.vm", true},
        {"HTTP 404", httpUrl(L"missing.vm"), false},
        {"nothing listens on the port", L"http://127.0.0.1:1/pack.vm", false},
        {"file scheme", L"file:///C:/pack.vm", false},
        {"HTTP body cut midway", httpUrl(L"truncated/pack.vm"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        DeleteFileW(target_.c_str());
        const Outcome outcome = download(c.url, true);
        EXPECT_EQ(c.stored, outcome.stored);
        EXPECT_EQ("", outcome.output);
        EXPECT_EQ(c.stored, fileExists(target_));
        if (c.stored) {
            EXPECT_TRUE(readFile(target_) == bytes) << "stored file differs from the served one";
        }
    }
}

}  // namespace
}  // namespace kiv
