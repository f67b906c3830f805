#include "installer/DownloadProgress.h"

namespace kiv {

std::wstring DownloadProgress::add(std::uint64_t bytes) {
    bytesReceived_ += bytes;
    std::wstring marks;
    for (const std::uint64_t due = bytesReceived_ / kBytesPerMark; marksPrinted_ < due;) {
        marks += L'=';
        if (++marksPrinted_ % kMarksPerGroup == 0)
            marks += L' ';
    }
    return marks;
}

}  // namespace kiv
