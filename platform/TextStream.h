// Text files as the launcher reads and appends them: each byte one character
// (ISO-8859-1), CR LF read as LF and written for LF, a byte 0x1A ends the input.
// A file is opened for one operation and closed again; the streams count
// themselves so that tests can show none is left open.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kiv {

class TextInputStream {
public:
    // Opens an existing file with shared read access and reads it whole.
    // Throws FileException "windows could not open the file specified".
    explicit TextInputStream(const std::wstring& path);
    ~TextInputStream();
    TextInputStream(const TextInputStream&) = delete;
    TextInputStream& operator=(const TextInputStream&) = delete;

    bool atEnd() const { return next_ >= lines_.size(); }
    // The next line without its LF; the empty string at the end of the input.
    std::wstring readTextLine();
    const std::vector<std::wstring>& lines() const { return lines_; }

private:
    std::vector<std::wstring> lines_;
    size_t next_ = 0;
};

class TextAppendStream {
public:
    // Opens (creating when absent) for appending with shared write access.
    // Throws FileException "windows could not open the file specified".
    explicit TextAppendStream(const std::wstring& path);
    ~TextAppendStream();
    TextAppendStream(const TextAppendStream&) = delete;
    TextAppendStream& operator=(const TextAppendStream&) = delete;

    // Appends the text with each LF written as CR LF. Throws FileException
    // when the system refuses the write, so no line is silently lost.
    void write(const std::wstring& text);

private:
    std::wstring path_;
    void* handle_;
};

// Streams currently open in this process.
size_t openTextStreamCount();

// Reads a whole file as raw bytes (shared read). Throws FileException.
std::string readFileBytes(const std::wstring& path);

}  // namespace kiv
