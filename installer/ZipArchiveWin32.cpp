#include "installer/ZipArchive.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "installer/ZipEntryInfo.h"
#include "installer/ZipEntryName.h"
#include "platform/Handle.h"
#include "platform/Text.h"
#include "unzip.h"

namespace kiv {

namespace {

constexpr DWORD kOutputBufferSize = 64 * 1024;
constexpr DWORD kReadAheadSize = 64 * 1024;
constexpr uInt kMaxStoredNameBytes = 0xFFFF;
constexpr uLong kEncryptedFlag = 0x1;
constexpr uLong kMethodStored = 0;
constexpr uLong kMethodDeflated = 8;

// minizip reads its headers a few bytes at a time; each of those reads would be
// a system call (slow under Wine), so reads are served from read-ahead windows.
// Walking an archive alternates between the central directory at its end and
// the entries' data, so there are two windows and a miss refills the one used
// less recently. The archive handle belongs to the ZipArchive; minizip never
// closes it.
class ArchiveReader {
public:
    explicit ArchiveReader(HANDLE file) : file_(file) {}

    bool measure() {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file_, &size))
            return false;
        size_ = static_cast<uint64_t>(size.QuadPart);
        return true;
    }

    uLong read(void* target, uLong count) {
        auto* out = static_cast<unsigned char*>(target);
        uLong done = 0;
        // Damaged headers make minizip read far past the end, a byte at a time.
        while (done < count && position_ < size_) {
            Window* window = windowHolding(position_);
            if (window == nullptr && (window = fill()) == nullptr)
                break;
            const uint64_t offset = position_ - window->start;
            const uLong chunk =
                static_cast<uLong>(std::min<uint64_t>(count - done, window->length - offset));
            std::memcpy(out + done, window->bytes.data() + offset, chunk);
            done += chunk;
            position_ += chunk;
        }
        return done;
    }

    long seek(ZPOS64_T offset, int origin) {
        uint64_t base = 0;
        if (origin == ZLIB_FILEFUNC_SEEK_CUR)
            base = position_;
        else if (origin == ZLIB_FILEFUNC_SEEK_END)
            base = size_;
        else if (origin != ZLIB_FILEFUNC_SEEK_SET)
            return -1;
        const uint64_t target = base + offset;  // a negative offset wraps, as intended
        if (target > size_)
            return -1;
        position_ = target;
        return 0;
    }

    ZPOS64_T tell() const { return position_; }
    int error() const { return failed_ ? 1 : 0; }

private:
    struct Window {
        std::vector<unsigned char> bytes;
        uint64_t start = 0;
        uint64_t length = 0;
        uint64_t lastUse = 0;
    };

    Window* windowHolding(uint64_t position) {
        for (Window& window : windows_) {
            if (position >= window.start && position - window.start < window.length) {
                window.lastUse = ++uses_;
                return &window;
            }
        }
        return nullptr;
    }

    Window* fill() {
        Window& window =
            windows_[0].lastUse <= windows_[1].lastUse ? windows_[0] : windows_[1];
        window.length = 0;
        if (window.bytes.empty())
            window.bytes.resize(kReadAheadSize);
        LARGE_INTEGER distance;
        distance.QuadPart = static_cast<LONGLONG>(position_);
        DWORD got = 0;
        if (!SetFilePointerEx(file_, distance, nullptr, FILE_BEGIN) ||
            !ReadFile(file_, window.bytes.data(), kReadAheadSize, &got, nullptr)) {
            failed_ = true;
            return nullptr;
        }
        window.start = position_;
        window.length = got;
        window.lastUse = ++uses_;
        return got > 0 ? &window : nullptr;
    }

    HANDLE file_;
    Window windows_[2];
    uint64_t uses_ = 0;
    uint64_t position_ = 0;
    uint64_t size_ = 0;
    bool failed_ = false;
};

ArchiveReader* readerOf(voidpf opaque) {
    return static_cast<ArchiveReader*>(opaque);
}

voidpf ZCALLBACK openArchive(voidpf opaque, const void*, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    return opaque;
}

uLong ZCALLBACK readArchive(voidpf opaque, voidpf, void* buffer, uLong size) {
    return readerOf(opaque)->read(buffer, size);
}

uLong ZCALLBACK refuseWrite(voidpf, voidpf, const void*, uLong) {
    return 0;
}

ZPOS64_T ZCALLBACK tellArchive(voidpf opaque, voidpf) {
    return readerOf(opaque)->tell();
}

long ZCALLBACK seekArchive(voidpf opaque, voidpf, ZPOS64_T offset, int origin) {
    return readerOf(opaque)->seek(offset, origin);
}

int ZCALLBACK keepArchiveOpen(voidpf, voidpf) {
    return 0;
}

int ZCALLBACK archiveError(voidpf opaque, voidpf) {
    return readerOf(opaque)->error();
}

// Closes minizip's data stream of the current entry on every path.
class OpenEntryStream {
public:
    explicit OpenEntryStream(unzFile zip) : zip_(zip) {}
    ~OpenEntryStream() { unzCloseCurrentFile(zip_); }
    OpenEntryStream(const OpenEntryStream&) = delete;
    OpenEntryStream& operator=(const OpenEntryStream&) = delete;

private:
    unzFile zip_;
};

uint32_t openStreamResult(int minizipResult) {
    if (minizipResult == UNZ_OK)
        return ZipResult::Ok;
    return minizipResult == UNZ_BADZIPFILE ? ZipResult::BadLocalHeader : ZipResult::ReadFailed;
}

uint64_t fileTimeValue(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME toFileTime(uint64_t value) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(value);
    time.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return time;
}

// DOS times are local wall-clock times; the conversion uses the daylight rule
// of `zone` in force on that date. An impossible date gives 0 (unknown).
uint64_t dosTimeToUtc(uint32_t dosDateTime, const TIME_ZONE_INFORMATION& zone) {
    const DosDateTime fields = decodeDosDateTime(dosDateTime);
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(fields.year);
    local.wMonth = static_cast<WORD>(fields.month);
    local.wDay = static_cast<WORD>(fields.day);
    local.wHour = static_cast<WORD>(fields.hour);
    local.wMinute = static_cast<WORD>(fields.minute);
    local.wSecond = static_cast<WORD>(fields.second);
    SYSTEMTIME utc;
    FILETIME time;
    if (!TzSpecificLocalTimeToSystemTime(&zone, &local, &utc) ||
        !SystemTimeToFileTime(&utc, &time))
        return 0;
    return fileTimeValue(time);
}

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

std::wstring joinFolder(const std::wstring& root, const std::wstring& folder) {
    return root.empty() || isSeparator(root.back()) ? root + folder : root + L'\\' + folder;
}

bool pathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A file the extraction created and removes again unless it was completed.
class FileUnderConstruction {
public:
    FileUnderConstruction(const std::wstring& path, DWORD attributes)
        : path_(path), file_(createOutput(path, attributes)) {}
    ~FileUnderConstruction() {
        if (!file_ || completed_)
            return;
        file_.reset();
        // It may have been created read-only, which DeleteFileW refuses.
        SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path_.c_str());
    }
    FileUnderConstruction(const FileUnderConstruction&) = delete;
    FileUnderConstruction& operator=(const FileUnderConstruction&) = delete;

    bool created() const { return static_cast<bool>(file_); }
    HANDLE handle() const { return file_.get(); }
    void complete() { completed_ = true; }

private:
    // No sharing. A new file is created in one look-up (each look-up of a
    // missing name scans its folder under Wine); an existing one is replaced
    // unless it is read-only. Windows refuses CREATE_ALWAYS over a read-only
    // file; asking first keeps that rule where the file system would not
    // enforce it (Wine running as root).
    static HANDLE createOutput(const std::wstring& path, DWORD attributes) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
        const DWORD existing = GetFileAttributesW(path.c_str());
        if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY))
            return INVALID_HANDLE_VALUE;
        return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes,
                           nullptr);
    }

    std::wstring path_;
    FileHandle file_;
    bool completed_ = false;
};

}  // namespace

struct ZipArchive::State {
    explicit State(FileHandle archive) : file(std::move(archive)), reader(file.get()) {}
    ~State() {
        if (zip != nullptr)
            unzClose(zip);
    }

    FileHandle file;
    ArchiveReader reader;  // must outlive `zip`, which calls back into it
    unzFile zip = nullptr;
    int32_t count = 0;
    int32_t current = -1;  // entry minizip is positioned on; -1: unknown
    std::wstring baseDirectory;
    std::wstring lastFolder;  // full path of the folder the last file went into
    std::vector<char> output;  // created on first use
    TIME_ZONE_INFORMATION zone = {};
    bool zoneRead = false;

    bool cached = false;
    ZipEntry cachedEntry;
    uLong cachedFlags = 0;
    uLong cachedMethod = 0;
};

std::unique_ptr<ZipArchive> ZipArchive::open(const std::wstring& archivePath) {
    FileHandle file(CreateFileW(archivePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return nullptr;
    std::unique_ptr<State> state(new State(std::move(file)));
    if (!state->reader.measure())
        return nullptr;

    zlib_filefunc64_def functions = {};
    functions.zopen64_file = openArchive;
    functions.zread_file = readArchive;
    functions.zwrite_file = refuseWrite;
    functions.ztell64_file = tellArchive;
    functions.zseek64_file = seekArchive;
    functions.zclose_file = keepArchiveOpen;
    functions.zerror_file = archiveError;
    functions.opaque = &state->reader;
    state->zip = unzOpen2_64(archivePath.c_str(), &functions);
    if (state->zip == nullptr)
        return nullptr;

    // A directory that claims more entries than it holds would make callers
    // walk it again for every missing one; count what can be reached instead.
    unz_global_info64 global;
    if (unzGetGlobalInfo64(state->zip, &global) != UNZ_OK)
        return nullptr;
    int32_t reachable = 0;
    if (global.number_entry > 0 && unzGoToFirstFile(state->zip) == UNZ_OK) {
        reachable = 1;
        while (static_cast<ZPOS64_T>(reachable) < global.number_entry && reachable < INT32_MAX &&
               unzGoToNextFile(state->zip) == UNZ_OK)
            ++reachable;
    }
    state->count = reachable;

    wchar_t current[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
    state->baseDirectory = length > 0 && length < MAX_PATH ? std::wstring(current, length) : L".";
    if (!isSeparator(state->baseDirectory.back()))
        state->baseDirectory += L'\\';
    return std::unique_ptr<ZipArchive>(new ZipArchive(std::move(state)));
}

ZipArchive::ZipArchive(std::unique_ptr<State> state) : state_(std::move(state)) {}

ZipArchive::~ZipArchive() = default;

void ZipArchive::close() {
    state_.reset();
}

int32_t ZipArchive::entryCount() const {
    return state_ ? state_->count : 0;
}

void ZipArchive::setBaseDirectory(const std::wstring& folder) {
    if (!state_)
        return;
    // An empty folder means the current directory, not the root of the drive.
    state_->baseDirectory = folder.empty() ? L"." : folder;
    if (!isSeparator(state_->baseDirectory.back()))
        state_->baseDirectory += L'\\';
}

const std::wstring& ZipArchive::baseDirectory() const {
    static const std::wstring none;
    return state_ ? state_->baseDirectory : none;
}

uint32_t ZipArchive::positionOn(int32_t index) {
    State& s = *state_;
    if (s.current < 0 || index < s.current) {
        s.current = -1;
        if (unzGoToFirstFile(s.zip) != UNZ_OK)
            return ZipResult::ReadFailed;
        s.current = 0;
    }
    while (s.current < index) {
        if (unzGoToNextFile(s.zip) != UNZ_OK) {
            s.current = -1;
            return ZipResult::ReadFailed;
        }
        ++s.current;
    }
    return ZipResult::Ok;
}

uint32_t ZipArchive::entry(int32_t index, ZipEntry& entry) {
    if (!state_ || index < -1 || index >= state_->count)
        return ZipResult::BadArgument;
    State& s = *state_;
    if (index == -1) {
        entry = ZipEntry();
        entry.index = s.count;
        return ZipResult::Ok;
    }
    if (s.cached && s.cachedEntry.index == index) {
        entry = s.cachedEntry;
        return ZipResult::Ok;
    }
    s.cached = false;
    uint32_t result = positionOn(index);
    if (result != ZipResult::Ok)
        return result;

    unz_file_info64 info;
    std::vector<char> storedName(kMaxStoredNameBytes + 1);
    if (unzGetCurrentFileInfo64(s.zip, &info, storedName.data(),
                                static_cast<uLong>(storedName.size()), nullptr, 0, nullptr,
                                0) != UNZ_OK)
        return ZipResult::ReadFailed;

    std::vector<unsigned char> localExtra;
    {
        result = openStreamResult(unzOpenCurrentFile(s.zip));
        if (result != ZipResult::Ok)
            return result;
        OpenEntryStream stream(s.zip);
        const int extraSize = unzGetLocalExtrafield(s.zip, nullptr, 0);
        if (extraSize < 0)
            return ZipResult::ReadFailed;
        localExtra.resize(static_cast<size_t>(extraSize));
        if (extraSize > 0 && unzGetLocalExtrafield(s.zip, localExtra.data(),
                                                   static_cast<unsigned>(extraSize)) != extraSize)
            return ZipResult::ReadFailed;
    }

    ZipEntry described;
    described.index = index;
    // Decoded whole: a name too long for a path buffer is skipped, not cut short.
    const std::wstring decoded =
        utf8ToWide(std::string(storedName.data(), std::min<uLong>(info.size_filename,
                                                                   kMaxStoredNameBytes)));
    described.name = fitsPathBuffer(decoded) ? cleanEntryName(decoded) : std::wstring();
    described.attributes =
        entryAttributes(static_cast<uint16_t>(info.version), static_cast<uint32_t>(info.external_fa));
    if (!s.zoneRead) {
        // One reading for the whole archive: the rules do not change midway.
        GetTimeZoneInformation(&s.zone);
        s.zoneRead = true;
    }
    const uint64_t dosTime = dosTimeToUtc(static_cast<uint32_t>(info.dosDate), s.zone);
    described.lastWriteTime = dosTime;
    described.accessTime = dosTime;
    described.creationTime = dosTime;
    const ExtendedTimestamp stamp = parseExtendedTimestamp(localExtra.data(), localExtra.size());
    if (stamp.hasModification)
        described.lastWriteTime = unixTimeToFileTime(stamp.modification);
    if (stamp.hasAccess)
        described.accessTime = unixTimeToFileTime(stamp.access);
    if (stamp.hasCreation)
        described.creationTime = unixTimeToFileTime(stamp.creation);
    described.compressedSize = static_cast<uint32_t>(info.compressed_size);
    described.uncompressedSize = static_cast<uint32_t>(info.uncompressed_size);

    s.cachedEntry = described;
    s.cachedFlags = info.flag;
    s.cachedMethod = info.compression_method;
    s.cached = true;
    entry = described;
    return ZipResult::Ok;
}

uint32_t ZipArchive::extractEntry(int32_t index, const std::wstring& outputName) {
    if (!state_ || index < 0 || index >= state_->count)
        return ZipResult::BadArgument;
    ZipEntry described;
    const uint32_t result = entry(index, described);
    if (result != ZipResult::Ok)
        return result;
    if (outputName.empty())
        return ZipResult::BadArgument;

    const std::wstring name = replaceAll(outputName, L'/', L"\\");
    const bool absolute = name[0] == L'\\' || (name.size() > 1 && name[1] == L':');
    const std::wstring root = absolute ? std::wstring() : state_->baseDirectory;

    if ((described.attributes & ZipAttribute::Directory) || name.back() == L'\\') {
        std::wstring folder = name;
        while (!folder.empty() && folder.back() == L'\\')
            folder.pop_back();
        if (!fitsPathBuffer(root + folder))
            return ZipResult::CannotCreate;
        return ensureDirectory(root, folder) ? ZipResult::Ok : ZipResult::CannotCreate;
    }

    const size_t split = name.rfind(L'\\');
    const std::wstring folder = split == std::wstring::npos ? L"" : name.substr(0, split);
    const std::wstring fullPath = root + name;
    if (!fitsPathBuffer(fullPath))
        return ZipResult::CannotCreate;
    // Refused before the file is created, so an existing file stays as it was.
    if (state_->cachedFlags & kEncryptedFlag)
        return ZipResult::Encrypted;
    if (state_->cachedMethod != kMethodStored && state_->cachedMethod != kMethodDeflated)
        return ZipResult::BadData;

    // Entries of one folder usually follow each other: its check is made once.
    const std::wstring folderPath = joinFolder(root, folder);
    if (folderPath != state_->lastFolder) {
        state_->lastFolder.clear();
        if (ensureDirectory(root, folder))
            state_->lastFolder = folderPath;
    }
    return writeFile(described, fullPath);
}

uint32_t ZipArchive::writeFile(const ZipEntry& entry, const std::wstring& fullPath) {
    State& s = *state_;
    DWORD attributes = entry.attributes & (ZipAttribute::ReadOnly | ZipAttribute::Hidden |
                                           ZipAttribute::System | ZipAttribute::Archive);
    if (attributes == 0)
        attributes = FILE_ATTRIBUTE_NORMAL;
    FileUnderConstruction output(fullPath, attributes);
    if (!output.created())
        return ZipResult::CannotCreate;

    const uint32_t opened = openStreamResult(unzOpenCurrentFile(s.zip));
    if (opened != ZipResult::Ok)
        return opened;
    OpenEntryStream stream(s.zip);
    if (s.output.empty())
        s.output.resize(kOutputBufferSize);

    for (;;) {
        const int produced = unzReadCurrentFile(s.zip, s.output.data(), kOutputBufferSize);
        if (produced < 0)
            return produced == UNZ_ERRNO ? ZipResult::ReadFailed : ZipResult::BadData;
        if (produced == 0) {
            if (unzeof(s.zip) != 1)
                return ZipResult::BadData;  // the data ended before the stated size
            break;
        }
        DWORD written = 0;
        if (!WriteFile(output.handle(), s.output.data(), static_cast<DWORD>(produced), &written,
                       nullptr) ||
            written != static_cast<DWORD>(produced))
            return ZipResult::WriteFailed;
    }

    // A zero time means "leave unchanged" to SetFileTime.
    const FILETIME creation = toFileTime(entry.creationTime);
    const FILETIME access = toFileTime(entry.accessTime);
    const FILETIME lastWrite = toFileTime(entry.lastWriteTime);
    SetFileTime(output.handle(), &creation, &access, &lastWrite);
    output.complete();
    return ZipResult::Ok;
}

bool ensureDirectory(const std::wstring& root, const std::wstring& folder) {
    if (!folder.empty() && isDirectory(joinFolder(root, folder)))
        return true;  // the usual case: one look-up
    if (!root.empty() && !pathExists(root))
        CreateDirectoryW(root.c_str(), nullptr);
    if (folder.empty())
        return root.empty() || isDirectory(root);
    const size_t last = folder.find_last_of(L"\\/");
    if (last != std::wstring::npos)
        ensureDirectory(root, folder.substr(0, last));
    const std::wstring path = joinFolder(root, folder);
    if (!pathExists(path))
        CreateDirectoryW(path.c_str(), nullptr);
    return isDirectory(path);
}

}  // namespace kiv
