#include "platform/TextStream.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "launcher/Errors.h"
#include "platform/Handle.h"
#include "platform/TextMode.h"

namespace kiv {

namespace {

std::atomic<size_t> openStreams{0};

const wchar_t kCannotOpen[] = L"windows could not open the file specified";

}  // namespace

size_t openTextStreamCount() { return openStreams.load(); }

std::string readFileBytes(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw FileException(kCannotOpen, path);
    std::string bytes;
    char chunk[16384];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    return bytes;
}

TextInputStream::TextInputStream(const std::wstring& path)
    : lines_(splitTextLines(decodeTextMode(readFileBytes(path)))) {
    ++openStreams;
}

TextInputStream::~TextInputStream() { --openStreams; }

std::wstring TextInputStream::readTextLine() {
    if (atEnd()) return std::wstring();
    return lines_[next_++];
}

TextAppendStream::TextAppendStream(const std::wstring& path) : path_(path) {
    // FILE_APPEND_DATA makes every write land at the end, as the "at" mode does.
    handle_ = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_WRITE | FILE_SHARE_READ, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) throw FileException(kCannotOpen, path);
    ++openStreams;
}

TextAppendStream::~TextAppendStream() {
    CloseHandle(static_cast<HANDLE>(handle_));
    --openStreams;
}

void TextAppendStream::write(const std::wstring& text) {
    const std::string bytes = encodeTextMode(text);
    size_t offset = 0;
    while (offset < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - offset, 1u << 20));
        if (!WriteFile(static_cast<HANDLE>(handle_), bytes.data() + offset, chunk, &written, nullptr) ||
            written == 0)
            throw FileException(L"could not write to the file", path_);
        offset += written;
    }
}

}  // namespace kiv
