#include "installer/DownloadProgress.h"

namespace kiv {

std::wstring DownloadProgress::add(std::uint64_t bytes) {
    bytesReceived_ += bytes;
    std::wstring marks;
    const std::uint64_t chunks = (bytesReceived_ + kChunkBytes - 1) / kChunkBytes;
    for (const std::uint64_t due = chunks / kChunksPerMark; marksPrinted_ < due;) {
        marks += L'=';
        if (++marksPrinted_ % kMarksPerGroup == 0)
            marks += L' ';
    }
    return marks;
}

}  // namespace kiv
