// FilePath against the real file system: long names, full paths, attributes.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/FilePath.h"
#include "launcher/Errors.h"
#include "platform/TextStream.h"
#include "support/LauncherApp.h"

using namespace kiv;

namespace {

std::wstring shortName(const std::wstring& path) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
    return std::wstring(buffer, length);
}

}  // namespace

TEST(FilePath, ExpandsShortNamesOfExistingFilesOnly) {
    kivtest::LauncherApp folder;
    const std::wstring longFile = folder.writeFile(L"A Long Folder Name\\file.txt", "x");
    const std::wstring shortForm = shortName(longFile);
    if (shortForm.find(L'~') == std::wstring::npos) GTEST_SKIP() << "no short names on this file system";
    EXPECT_EQ(FilePath(shortForm).toString(), longFile);
    const std::wstring missing = L"C:\\NOSUCH~1\\x";
    EXPECT_EQ(FilePath(missing).toString(), missing);
}

TEST(FilePath, AnswersTheFileSystemsQuestions) {
    kivtest::LauncherApp folder;
    const std::wstring file = folder.writeFile(L"dir\\five.bin", "12345");
    EXPECT_TRUE(FilePath(file).exists());
    EXPECT_FALSE(FilePath(file).isDirectory());
    EXPECT_TRUE(FilePath(folder.root() + L"\\dir").isDirectory());
    EXPECT_TRUE(FilePath(file).isFile());
    EXPECT_FALSE(FilePath(folder.root() + L"\\dir").isFile());
    EXPECT_FALSE(FilePath(folder.root() + L"\\missing").isFile());
    EXPECT_FALSE(FilePath(L"").isFile());
    EXPECT_EQ(FilePath(file).fileSize(), 5u);
    EXPECT_EQ(FilePath(folder.root() + L"\\missing").fileSize(), 0xFFFFFFFFu);
    EXPECT_FALSE(FilePath(L"").exists());
}

TEST(FilePath, FullPathsAreAbsoluteOrUnchanged) {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_EQ(fullPath(L"rel\\file", false), std::wstring(current) + L"\\rel\\file");
    EXPECT_EQ(fullPath(L"/usr/bin", false), L"/usr/bin");
    EXPECT_EQ(fullPath(L"", true), L"");
    // A result that would not fit the 260-character buffer keeps the input.
    const std::wstring deep = L"C:\\" + std::wstring(300, L'a');
    EXPECT_EQ(fullPath(deep, false), deep);
}

TEST(TextStreams, ReadTextModeAndAppendCrLfAndCloseEveryFile) {
    kivtest::LauncherApp folder;
    const std::wstring path = folder.writeFile(L"t.txt", std::string("a\r\nb\rc\nd\x1a" "e\n", 11));
    {
        TextInputStream input(path);
        EXPECT_EQ(openTextStreamCount(), 1u);
        EXPECT_EQ(input.readTextLine(), L"a");
        EXPECT_EQ(input.readTextLine(), L"b\rc");
        EXPECT_EQ(input.readTextLine(), L"d");
        EXPECT_TRUE(input.atEnd());
        EXPECT_EQ(input.readTextLine(), L"");
    }
    {
        TextAppendStream output(path);
        output.write(L"x=1\n");
    }
    EXPECT_EQ(openTextStreamCount(), 0u);
    EXPECT_EQ(kivtest::readBytes(path), std::string("a\r\nb\rc\nd\x1a" "e\nx=1\r\n", 16));
    EXPECT_THROW(TextInputStream(folder.root() + L"\\missing.txt"), FileException);
}
