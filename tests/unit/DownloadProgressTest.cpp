#include "installer/DownloadProgress.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kiv {
namespace {

constexpr std::uint64_t kChunk = 1024;
constexpr std::uint64_t kMark = 500 * kChunk;

// Feeds `total` bytes in reads of `block` bytes (the last one shorter) and
// returns everything printed.
std::wstring marksFor(std::uint64_t total, std::uint64_t block) {
    DownloadProgress progress;
    std::wstring printed;
    for (std::uint64_t sent = 0; sent < total; sent += block)
        printed += progress.add(total - sent < block ? total - sent : block);
    return printed;
}

TEST(DownloadProgress, MarksFollowTheByteCountWhateverTheReadSize) {
    struct Case {
        const char* label;
        std::uint64_t total;
        std::wstring expected;
    };
    const std::vector<Case> cases = {
        {"nothing", 0, L""},
        {"one chunk short of a mark", kMark - kChunk, L""},
        {"a byte into the 500th chunk", kMark - kChunk + 1, L"="},
        {"a short last chunk counts as a chunk", kMark - 1, L"="},
        {"exactly one mark", kMark, L"="},
        {"five marks end with the group space", 5 * kMark, L"===== "},
        {"3 MiB: six marks", 3 * 1024 * kChunk, L"===== ="},
        {"eleven marks", 11 * kMark + 7, L"===== ===== ="},
    };
    const std::vector<std::uint64_t> blocks = {kChunk, 64 * kChunk, 1000 * kChunk + 3, 1};
    for (const Case& c : cases) {
        for (std::uint64_t block : blocks) {
            if (block == 1 && c.total > 6 * kMark)
                continue;  // byte-by-byte reads are slow under sanitizers
            SCOPED_TRACE(std::string(c.label) + ", block " + std::to_string(block));
            EXPECT_EQ(c.expected, marksFor(c.total, block));
        }
    }
}

TEST(DownloadProgress, OneLargeReadPrintsEveryMarkItCompletesInOrder) {
    DownloadProgress progress;
    EXPECT_EQ(L"====", progress.add(4 * kMark + 100));
    EXPECT_EQ(L"= ==", progress.add(3 * kMark));
    EXPECT_EQ(L"", progress.add(kMark - kChunk - 100));  // 3999 chunks
    EXPECT_EQ(L"=", progress.add(1));                    // the 4000th begins
    EXPECT_EQ(8 * kMark - kChunk + 1, progress.bytesReceived());
}

TEST(DownloadProgress, CountsBeyondFourGigabytes) {
    DownloadProgress progress;
    const std::uint64_t big = 5ull * 1024 * 1024 * 1024;
    const std::wstring marks = progress.add(big);
    const std::uint64_t expectedMarks = big / kMark;  // a whole number of chunks
    EXPECT_EQ(expectedMarks + expectedMarks / 5, marks.size());
    EXPECT_EQ(big, progress.bytesReceived());
}

}  // namespace
}  // namespace kiv
