// Reading zip archives (minizip over a Win32 file handle) and writing their
// entries below a base directory, with the entries' attributes and times.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kiv {

// Result codes of the archive reader.
namespace ZipResult {
constexpr uint32_t Ok = 0;
constexpr uint32_t CannotCreate = 0x200;    // archive or output file not opened/created
constexpr uint32_t WriteFailed = 0x400;     // writing an output file failed
constexpr uint32_t BadLocalHeader = 0x700;  // local header disagrees with the directory
constexpr uint32_t ReadFailed = 0x800;      // reading the archive failed
constexpr uint32_t Encrypted = 0x1000;      // no password is ever supplied
constexpr uint32_t BadArgument = 0x10000;   // no archive, index out of range, no name
constexpr uint32_t BadData = 0x5000000;     // compressed data invalid, unsupported or short
}  // namespace ZipResult

// One entry as the archive describes it. Times are Windows file times (UTC,
// 100 ns since 1601); zero means unknown.
struct ZipEntry {
    int32_t index = 0;  // for the pseudo-entry -1: the number of entries
    // Decoded from UTF-8 and cleaned (cleanEntryName); empty when the entry
    // must be skipped: the stored name is too long, climbs out or is nothing.
    std::wstring name;
    uint32_t attributes = 0;  // ZipAttribute bits
    uint64_t accessTime = 0;
    uint64_t creationTime = 0;
    uint64_t lastWriteTime = 0;
    uint32_t compressedSize = 0;    // low 32 bits, from the central directory
    uint32_t uncompressedSize = 0;  // low 32 bits, from the central directory
};

class ZipArchive {
public:
    // Opens an existing archive for reading (shared read). Returns null when
    // the file cannot be opened or is not a zip archive. The base directory
    // starts as the current directory.
    static std::unique_ptr<ZipArchive> open(const std::wstring& archivePath);

    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Entries that can actually be reached in the central directory; a count
    // that claims more than the directory holds is cut to what is there.
    int32_t entryCount() const;

    // Describes entry `index` (-1: the count pseudo-entry). Returns Ok,
    // BadArgument, BadLocalHeader or ReadFailed; `entry` is filled on Ok.
    uint32_t entry(int32_t index, ZipEntry& entry);

    // Output names are relative to this folder; a trailing backslash is added
    // unless the folder already ends with a separator.
    void setBaseDirectory(const std::wstring& folder);
    const std::wstring& baseDirectory() const;

    // Writes entry `index` to `outputName` below the base directory (or as is,
    // when the name starts with a separator or a drive). Directories are
    // created; a file is replaced unless it is read-only. Output paths over
    // 259 characters are refused, an encrypted entry or an unsupported method
    // is refused before anything is created, and a file whose writing fails is
    // removed again. A CRC mismatch is not reported.
    uint32_t extractEntry(int32_t index, const std::wstring& outputName);

    // Releases the archive; later calls answer BadArgument.
    void close();

private:
    struct State;
    explicit ZipArchive(std::unique_ptr<State> state);
    uint32_t positionOn(int32_t index);
    uint32_t writeFile(const ZipEntry& entry, const std::wstring& fullPath);

    std::unique_ptr<State> state_;
};

// Creates `root` when missing (one level only), then every missing level of the
// relative `folder` below it (either separator). Returns whether root + folder
// is a directory afterwards.
bool ensureDirectory(const std::wstring& root, const std::wstring& folder);

}  // namespace kiv
