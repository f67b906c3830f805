// Progress marks of a VM pack download: one "=" for every 500 chunks of 1024
// bytes received and a " " after every fifth "=", a chunk being begun by its
// first byte, as a short last read of 1024-byte reads counts as one. The marks
// depend on the byte count alone, so a download read in large blocks prints
// exactly what one read in full 1024-byte chunks prints.
#pragma once

#include <cstdint>
#include <string>

namespace kiv {

class DownloadProgress {
public:
    static constexpr std::uint64_t kChunkBytes = 1024;
    static constexpr std::uint64_t kChunksPerMark = 500;
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
