// Progress marks of a VM pack download: one "=" for every 500 KiB received and
// a " " after every fifth "=". The marks depend on the byte count alone, so a
// download read in large blocks prints exactly what one read in 1024-byte
// chunks prints for a body made of full chunks.
#pragma once

#include <cstdint>
#include <string>

namespace kiv {

class DownloadProgress {
public:
    static constexpr std::uint64_t kBytesPerMark = 500 * 1024;
    static constexpr std::uint64_t kMarksPerGroup = 5;

    // Counts `bytes` more received and returns the marks they complete, in
    // print order (possibly empty).
    std::wstring add(std::uint64_t bytes);

    std::uint64_t bytesReceived() const { return bytesReceived_; }

private:
    std::uint64_t bytesReceived_ = 0;
    std::uint64_t marksPrinted_ = 0;
};

}  // namespace kiv
