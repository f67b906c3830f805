#include "installer/Md5.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/Text.h"

namespace kiv {
namespace {

constexpr size_t kCallerBufferSize = 40;

class Md5Test : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        path_ = std::wstring(temp) + L"kivmd5_" + decimal(GetCurrentProcessId()) + L".bin";
    }

    void TearDown() override { DeleteFileW(path_.c_str()); }

    void write(const std::string& bytes) {
        HANDLE handle =
            CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle);
        DWORD written = 0;
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(handle);
    }

    // Runs the digest into a zero-filled buffer; returns the printed lines.
    std::string digest(const std::wstring& path, std::vector<wchar_t>& output) {
        output.assign(kCallerBufferSize, L'\0');
        ::testing::internal::CaptureStdout();
        md5OfFile(path.c_str(), output.data(), output.size());
        return ::testing::internal::GetCapturedStdout();
    }

    std::wstring path_;
};

std::string patterned(size_t size, unsigned multiplier, unsigned shift) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * multiplier + (i >> shift)) & 0xFF);
    return bytes;
}

TEST_F(Md5Test, DigestIsTheStandardMd5InLowerCase) {
    struct Case {
        const char* label;
        std::string content;
        const wchar_t* expected;  // from md5sum
    };
    const std::vector<Case> cases = {
        {"empty file", "", L"d41d8cd98f00b204e9800998ecf8427e"},
        {"exactly one chunk", patterned(1024, 1, 31), L"b2ea9f7fcea831a4a63b213f41a8855b"},
        {"several megabytes", patterned(3 * 1024 * 1024 + 17, 131, 11),
         L"3d34c2896c43a042ee1e3d73c5b547fa"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        write(c.content);
        std::vector<wchar_t> output;
        EXPECT_EQ("\n", digest(path_, output));
        EXPECT_EQ(std::wstring(c.expected), std::wstring(output.data()));
    }
}

TEST_F(Md5Test, MissingFileReportsTheOpenErrorAndLeavesTheBufferEmpty) {
    const std::wstring missing = path_ + L".missing";
    std::vector<wchar_t> output;
    EXPECT_EQ("Error opening file " + wideToUtf8(missing) + "\nError: 2\n",
              digest(missing, output));
    EXPECT_EQ(std::vector<wchar_t>(kCallerBufferSize, L'\0'), output);
}

TEST_F(Md5Test, BufferTooSmallForDigestAndTerminatorIsLeftAlone) {
    write("abc");
    std::vector<wchar_t> output(33, L'\0');
    ::testing::internal::CaptureStdout();
    md5OfFile(path_.c_str(), output.data(), 32);
    EXPECT_EQ("", ::testing::internal::GetCapturedStdout());
    EXPECT_EQ(std::vector<wchar_t>(33, L'\0'), output);
    ::testing::internal::CaptureStdout();
    md5OfFile(path_.c_str(), output.data(), 33);
    EXPECT_EQ("\n", ::testing::internal::GetCapturedStdout());
    EXPECT_EQ(L"900150983cd24fb0d6963f7d28e17f72", std::wstring(output.data()));
}

}  // namespace
}  // namespace kiv
