#include "installer/ZipArchive.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "installer/VmPackExtraction.h"
#include "installer/ZipEntryInfo.h"
#include "platform/Text.h"
#include "zip.h"
#include "zlib.h"
// iowin32.h relies on the declarations of zip.h without including them.
#include "iowin32.h"

namespace kiv {
namespace {

constexpr uLong kMadeOnDos = 0x0014;
constexpr uLong kMadeOnUnix = 0x031E;
constexpr uLong kUnixFile0644 = 0x81A40000;
constexpr uLong kUnixFile0444 = 0x81240000;

// 2001-06-15 10:20:30 as a DOS date (high word) and time (low word).
constexpr uLong kDosTime = ((21u << 9 | 6u << 5 | 15u) << 16) | (10u << 11 | 20u << 5 | 15u);

struct EntrySpec {
    std::string name;  // stored bytes, not necessarily UTF-8
    std::string content;
    uLong versionMadeBy = kMadeOnDos;
    uLong externalAttributes = 0;
    std::string localExtra;
    const char* password = nullptr;
    int method = Z_DEFLATED;
};

EntrySpec file(const std::string& name, const std::string& content) {
    EntrySpec spec;
    spec.name = name;
    spec.content = content;
    return spec;
}

EntrySpec unixFile(const std::string& name, const std::string& content, uLong mode) {
    EntrySpec spec = file(name, content);
    spec.versionMadeBy = kMadeOnUnix;
    spec.externalAttributes = mode;
    return spec;
}

// Archives are written with minizip's own writer, so they look like what zip
// tools produce, including version-made-by, extra fields and encryption.
void writeArchive(const std::wstring& path, const std::vector<EntrySpec>& entries) {
    zlib_filefunc64_def functions;
    fill_win32_filefunc64W(&functions);
    zipFile zip = zipOpen2_64(path.c_str(), APPEND_STATUS_CREATE, nullptr, &functions);
    ASSERT_NE(nullptr, zip);
    for (const EntrySpec& spec : entries) {
        zip_fileinfo info = {};
        info.dosDate = kDosTime;
        info.external_fa = spec.externalAttributes;
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(spec.content.data()),
                                static_cast<uInt>(spec.content.size()));
        ASSERT_EQ(ZIP_OK,
                  zipOpenNewFileInZip4(zip, spec.name.c_str(), &info,
                                       spec.localExtra.empty() ? nullptr : spec.localExtra.data(),
                                       static_cast<uInt>(spec.localExtra.size()), nullptr, 0,
                                       nullptr, spec.method, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS,
                                       8, Z_DEFAULT_STRATEGY, spec.password, crc,
                                       spec.versionMadeBy, 0));
        ASSERT_EQ(ZIP_OK, zipWriteInFileInZip(zip, spec.content.data(),
                                              static_cast<unsigned>(spec.content.size())));
        ASSERT_EQ(ZIP_OK, zipCloseFileInZip(zip));
    }
    ASSERT_EQ(ZIP_OK, zipClose(zip, nullptr));
}

std::string readBytes(const std::wstring& path) {
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(handle, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(handle);
    return bytes;
}

void writeBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Every file and folder below `folder`, as relative paths.
void listTree(const std::wstring& folder, const std::wstring& prefix,
              std::set<std::wstring>& found) {
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        found.insert(prefix + name);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            listTree(folder + L"\\" + name, prefix + name + L"\\", found);
    } while (FindNextFileW(search, &data));
    FindClose(search);
}

std::set<std::wstring> tree(const std::wstring& folder) {
    std::set<std::wstring> found;
    listTree(folder, L"", found);
    return found;
}

void removeTree(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    for (const std::wstring& child : tree(path)) {
        if (child.find(L'\\') == std::wstring::npos)
            removeTree(path + L"\\" + child);
    }
    RemoveDirectoryW(path.c_str());
}

uint64_t lastWriteTime(const std::wstring& path) {
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    FILETIME time = {};
    GetFileTime(handle, nullptr, nullptr, &time);
    CloseHandle(handle);
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

class ZipArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        root_ = std::wstring(temp) + L"kivzip" + decimal(GetCurrentProcessId()) + L"_" +
                toWide(::testing::UnitTest::GetInstance()->current_test_info()->name());
        removeTree(root_);
        ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
    }

    void TearDown() override { removeTree(root_); }

    static std::wstring toWide(const char* text) { return utf8ToWide(text); }

    std::wstring path(const std::wstring& relative) const { return root_ + L"\\" + relative; }

    // Extracts every entry the way the pack extraction does and returns the results.
    std::vector<uint32_t> extractAll(const std::wstring& archivePath, const std::wstring& base) {
        std::vector<uint32_t> results;
        std::unique_ptr<ZipArchive> archive = ZipArchive::open(archivePath);
        if (!archive)
            return results;
        archive->setBaseDirectory(base);
        for (int32_t index = 0; index < archive->entryCount(); ++index) {
            ZipEntry entry;
            uint32_t result = archive->entry(index, entry);
            if (result == ZipResult::Ok)
                result = archive->extractEntry(index, entry.name);
            results.push_back(result);
        }
        return results;
    }

    std::wstring root_;
};

TEST_F(ZipArchiveTest, PackUnpacksVmAndRemovesOnlyTheIntermediaryFilesItKnows) {
    const std::wstring innerPath = path(L"inner.zip");
    writeArchive(innerPath, {file("jre/", ""), file("jre/bin/java.exe", "java"),
                             file("jre\\lib\\rt.jar", "classes")});
    writeArchive(path(L"pack.zip"), {file("vm.zip", readBytes(innerPath)),
                                     file("vm.properties", "vm=1"), file("readme.txt", "hi")});

    ASSERT_TRUE(extractVmPack(path(L"pack.zip"), path(L"vm")));

    EXPECT_EQ((std::set<std::wstring>{L"jre", L"jre\\bin", L"jre\\bin\\java.exe", L"jre\\lib",
                                      L"jre\\lib\\rt.jar"}),
              tree(path(L"vm")));
    EXPECT_TRUE(isDirectory(path(L"vm\\jre\\bin")));
    EXPECT_EQ("java", readBytes(path(L"vm\\jre\\bin\\java.exe")));
    EXPECT_EQ("classes", readBytes(path(L"vm\\jre\\lib\\rt.jar")));
    EXPECT_EQ(std::set<std::wstring>{L"readme.txt"}, tree(path(L"downloadIntermediary")));
}

TEST_F(ZipArchiveTest, IntermediaryFolderGoesAwayWhenNothingElseIsLeft) {
    const std::wstring innerPath = path(L"inner.zip");
    writeArchive(innerPath, {file("bin/java.exe", "java")});
    writeArchive(path(L"pack.zip"),
                 {file("vm.zip", readBytes(innerPath)), file("vm.properties", "vm=1")});

    ASSERT_TRUE(extractVmPack(path(L"pack.zip"), path(L"vm")));

    EXPECT_FALSE(exists(path(L"downloadIntermediary")));
    EXPECT_EQ("java", readBytes(path(L"vm\\bin\\java.exe")));
}

TEST_F(ZipArchiveTest, PackThatCannotBeUnpackedFails) {
    writeArchive(path(L"novm.zip"), {file("readme.txt", "hi")});
    writeArchive(path(L"badvm.zip"), {file("vm.zip", "not an archive")});
    writeBytes(path(L"garbage.zip"), std::string(2000, 'x'));
    struct Case {
        const wchar_t* pack;
        std::set<std::wstring> leftInIntermediary;
    };
    const std::vector<Case> cases = {
        {L"novm.zip", {L"readme.txt"}},
        {L"badvm.zip", {L"vm.zip"}},
        {L"garbage.zip", {}},
        {L"missing.zip", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(wideToUtf8(c.pack));
        removeTree(path(L"downloadIntermediary"));
        EXPECT_FALSE(extractVmPack(path(c.pack), path(L"vm")));
        EXPECT_EQ(c.leftInIntermediary, tree(path(L"downloadIntermediary")));
        EXPECT_FALSE(exists(path(L"vm")));
    }
}

TEST_F(ZipArchiveTest, HostileNamesStayInsideTheBaseFolder) {
    const std::wstring marker = L"kivzip" + decimal(GetCurrentProcessId());
    const std::string narrowMarker = wideToUtf8(marker);
    writeArchive(path(L"hostile.zip"),
                 {
                     file("C:\\Windows\\" + narrowMarker + ".dll", "1"),
                     file("\\" + narrowMarker + ".dll", "2"),
                     file("a/../../x.dll", "3"),
                     file("../../up.txt", "4"),
                     file("x/./../../y", "5"),
                     file("a/..", "6"),
                     file("..", "7"),
                     file("a/../..", "8"),
                     file("..\\..\\..\\back.txt", "9"),
                     file("c:/drive.txt", "10"),
                     file("//server/share/unc.txt", "11"),
                     file("a/.. /dots.txt", "12"),
                     file("\xff\xfe/bad.txt", "13"),
                     file("sub/CON", "14"),
                     file("sub/file.txt:stream", "15"),
                     file("./", "16"),
                 });
    // The base folder is created one level deep, as the VM folder is.
    ASSERT_TRUE(ensureDirectory(root_, L"outer\\inner"));
    const std::wstring base = path(L"outer\\inner\\base");

    extractAll(path(L"hostile.zip"), base);

    EXPECT_EQ((std::set<std::wstring>{L"hostile.zip", L"outer", L"outer\\inner",
                                      L"outer\\inner\\base"}),
              [&] {
                  std::set<std::wstring> outside;
                  for (const std::wstring& entry : tree(root_))
                      if (entry.compare(0, 17, L"outer\\inner\\base\\") != 0)
                          outside.insert(entry);
                  return outside;
              }());
    EXPECT_EQ((std::set<std::wstring>{L"Windows", L"Windows\\" + marker + L".dll",
                                      marker + L".dll", L"x.dll", L"up.txt", L"y",
                                      L"back.txt", L"drive.txt", L"server", L"server\\share",
                                      L"server\\share\\unc.txt", L"\xFFFD\xFFFD",
                                      L"\xFFFD\xFFFD\\bad.txt"}),
              tree(base));
    EXPECT_EQ("3", readBytes(base + L"\\x.dll"));
    EXPECT_FALSE(exists(L"C:\\Windows\\" + marker + L".dll"));
    EXPECT_FALSE(exists(L"C:\\" + marker + L".dll"));
}

TEST_F(ZipArchiveTest, NamesAndPathsTooLongForAPathBufferAreSkipped) {
    const std::wstring base = path(L"b");
    const size_t room = 259 - (base.size() + 1);  // characters left for a name below base
    ASSERT_LT(room, 250u);
    const std::string fits(room, 'f');
    const std::string tooLong(room + 1, 'g');
    std::string climbing;
    while (climbing.size() < 300)
        climbing += "../";
    writeArchive(path(L"long.zip"), {file(fits, "fits"), file(tooLong, "long"),
                                     file(climbing + "short.txt", "climb"),
                                     file(std::string(room - 1, 'd') + "/x", "deep")});

    const std::vector<uint32_t> results = extractAll(path(L"long.zip"), base);

    EXPECT_EQ((std::vector<uint32_t>{ZipResult::Ok, ZipResult::CannotCreate,
                                     ZipResult::BadArgument, ZipResult::CannotCreate}),
              results);
    EXPECT_EQ(std::set<std::wstring>{utf8ToWide(fits)}, tree(base));
}

TEST_F(ZipArchiveTest, UnixModesGiveArchiveAndReadOnlyAttributes) {
    writeArchive(path(L"modes.zip"), {unixFile("rw.txt", "a", kUnixFile0644),
                                      unixFile("ro.txt", "b", kUnixFile0444)});

    extractAll(path(L"modes.zip"), path(L"out"));

    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE),
              GetFileAttributesW(path(L"out\\rw.txt").c_str()));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY),
              GetFileAttributesW(path(L"out\\ro.txt").c_str()));
}

TEST_F(ZipArchiveTest, ReextractionReplacesFilesButLeavesReadOnlyOnes) {
    writeArchive(path(L"first.zip"), {unixFile("ro.txt", "old", kUnixFile0444),
                                      unixFile("rw.txt", "old", kUnixFile0644),
                                      file("keep.txt", "kept")});
    writeArchive(path(L"second.zip"), {unixFile("ro.txt", "new", kUnixFile0444),
                                       unixFile("rw.txt", "new", kUnixFile0644)});
    extractAll(path(L"first.zip"), path(L"vm"));

    const std::vector<uint32_t> results = extractAll(path(L"second.zip"), path(L"vm"));

    EXPECT_EQ((std::vector<uint32_t>{ZipResult::CannotCreate, ZipResult::Ok}), results);
    EXPECT_EQ("old", readBytes(path(L"vm\\ro.txt")));
    EXPECT_TRUE(GetFileAttributesW(path(L"vm\\ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ("new", readBytes(path(L"vm\\rw.txt")));
    EXPECT_EQ("kept", readBytes(path(L"vm\\keep.txt")));
}

TEST_F(ZipArchiveTest, ExtendedTimestampWinsOverTheDosTime) {
    const int32_t unixTime = 1234567890;
    EntrySpec stamped = file("stamped.txt", "s");
    stamped.localExtra = std::string("UT\x05\x00\x01", 5) +
                         std::string(reinterpret_cast<const char*>(&unixTime), 4);
    writeArchive(path(L"times.zip"), {stamped, file("dos.txt", "d")});

    extractAll(path(L"times.zip"), path(L"out"));

    EXPECT_EQ(unixTimeToFileTime(unixTime), lastWriteTime(path(L"out\\stamped.txt")));
    SYSTEMTIME local = {};
    local.wYear = 2001;
    local.wMonth = 6;
    local.wDay = 15;
    local.wHour = 10;
    local.wMinute = 20;
    local.wSecond = 30;
    SYSTEMTIME utc;
    FILETIME expected;
    ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &expected));
    EXPECT_EQ((static_cast<uint64_t>(expected.dwHighDateTime) << 32) | expected.dwLowDateTime,
              lastWriteTime(path(L"out\\dos.txt")));
}

TEST_F(ZipArchiveTest, EncryptedEntryFailsWithoutLeavingAFileAndExtractionGoesOn) {
    EntrySpec secret = file("secret.txt", "hidden text");
    secret.password = "password";
    EntrySpec storedSecret = file("stored.txt", "stored text");
    storedSecret.password = "password";
    storedSecret.method = 0;
    writeArchive(path(L"crypt.zip"), {secret, storedSecret, file("plain.txt", "plain")});
    CreateDirectoryW(path(L"out").c_str(), nullptr);
    writeBytes(path(L"out\\stored.txt"), "earlier");

    const std::vector<uint32_t> results = extractAll(path(L"crypt.zip"), path(L"out"));

    EXPECT_EQ((std::vector<uint32_t>{ZipResult::Encrypted, ZipResult::Encrypted, ZipResult::Ok}),
              results);
    EXPECT_FALSE(exists(path(L"out\\secret.txt")));
    EXPECT_EQ("earlier", readBytes(path(L"out\\stored.txt")));
    EXPECT_EQ("plain", readBytes(path(L"out\\plain.txt")));
}

TEST_F(ZipArchiveTest, EntriesAreDescribedFromTheDirectory) {
    EntrySpec folder = unixFile("lib/", "", 0x41ED0010);
    writeArchive(path(L"info.zip"), {file("a.txt", std::string(5000, 'a')), folder});
    std::unique_ptr<ZipArchive> archive = ZipArchive::open(path(L"info.zip"));
    ASSERT_TRUE(archive);

    ZipEntry entry;
    ASSERT_EQ(ZipResult::Ok, archive->entry(-1, entry));
    EXPECT_EQ(2, entry.index);
    ASSERT_EQ(ZipResult::Ok, archive->entry(0, entry));
    EXPECT_EQ(L"a.txt", entry.name);
    EXPECT_EQ(5000u, entry.uncompressedSize);
    EXPECT_LT(entry.compressedSize, 100u);
    ASSERT_EQ(ZipResult::Ok, archive->entry(1, entry));
    EXPECT_EQ(L"lib/", entry.name);
    EXPECT_EQ(ZipAttribute::Directory | ZipAttribute::Archive, entry.attributes);
    ASSERT_EQ(ZipResult::Ok, archive->entry(0, entry));  // backwards from the current entry
    EXPECT_EQ(L"a.txt", entry.name);

    EXPECT_EQ(ZipResult::BadArgument, archive->entry(2, entry));
    EXPECT_EQ(ZipResult::BadArgument, archive->extractEntry(-1, L"x"));
    archive->close();
    EXPECT_EQ(ZipResult::BadArgument, archive->entry(0, entry));
}

size_t littleEndian(const std::string& bytes, size_t at, size_t width) {
    size_t value = 0;
    for (size_t i = width; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Offset of the first local header's data: fixed part, name, extra field.
size_t firstEntryData(const std::string& archive) {
    return 30 + littleEndian(archive, 26, 2) + littleEndian(archive, 28, 2);
}

// Offset of the central directory, from the end record (no archive comment).
size_t centralDirectory(const std::string& archive) {
    return littleEndian(archive, archive.size() - 22 + 16, 4);
}

TEST_F(ZipArchiveTest, DamagedEntriesFailWithTheirCodeAndLeaveNoFile) {
    writeArchive(path(L"good.zip"),
                 {file("data.txt", std::string(40000, 'z')), file("next.txt", "next")});
    const std::string good = readBytes(path(L"good.zip"));
    struct Case {
        const char* label;
        size_t offset;
        char value;
        uint32_t expected;
    };
    const std::vector<Case> cases = {
        {"local method differs from the directory", 8, 0, ZipResult::BadLocalHeader},
        {"local signature broken", 0, 'Q', ZipResult::BadLocalHeader},
        {"invalid deflate block type", firstEntryData(good), 0x07, ZipResult::BadData},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string damaged = good;
        damaged[c.offset] = c.value;
        writeBytes(path(L"damaged.zip"), damaged);
        removeTree(path(L"out"));

        const std::vector<uint32_t> results = extractAll(path(L"damaged.zip"), path(L"out"));

        EXPECT_EQ((std::vector<uint32_t>{c.expected, ZipResult::Ok}), results);
        EXPECT_FALSE(exists(path(L"out\\data.txt")));
        EXPECT_EQ("next", readBytes(path(L"out\\next.txt")));
    }
}

void putLittleEndian32(std::string& bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

TEST_F(ZipArchiveTest, EntryWhoseDataRunsOutRemovesThePartialFile) {
    EntrySpec stored = file("data.bin", std::string(40000, 'd'));
    stored.method = 0;
    writeArchive(path(L"short.zip"), {stored, file("next.txt", "next")});
    // Both headers claim twice the data the archive holds, so reading fails
    // after some of it has been written.
    std::string bytes = readBytes(path(L"short.zip"));
    const size_t directory = centralDirectory(bytes);
    for (size_t field : {size_t{18}, size_t{22}, directory + 20, directory + 24})
        putLittleEndian32(bytes, field, 80000);
    writeBytes(path(L"short.zip"), bytes);

    const std::vector<uint32_t> results = extractAll(path(L"short.zip"), path(L"out"));

    EXPECT_EQ((std::vector<uint32_t>{ZipResult::ReadFailed, ZipResult::Ok}), results);
    EXPECT_FALSE(exists(path(L"out\\data.bin")));
    EXPECT_EQ("next", readBytes(path(L"out\\next.txt")));
}

TEST_F(ZipArchiveTest, TruncatedOrScrambledArchivesNeverCrash) {
    writeArchive(path(L"good.zip"), {file("a/one.txt", std::string(1000, '1')),
                                     file("two.txt", "two"), file("b/", "")});
    const std::string good = readBytes(path(L"good.zip"));
    for (size_t length = 0; length < good.size(); length += 37) {
        SCOPED_TRACE(length);
        writeBytes(path(L"cut.zip"), good.substr(0, length));
        for (uint32_t result : extractAll(path(L"cut.zip"), path(L"out")))
            EXPECT_NE(ZipResult::WriteFailed, result);
    }
    // Each byte of the first directory header and of the end record in turn set
    // to 0xFF (the other directory headers have the same layout).
    const size_t directory = centralDirectory(good);
    ASSERT_EQ("PK\x01\x02", good.substr(directory, 4));
    const size_t secondHeader = good.find("PK\x01\x02", directory + 4);
    std::vector<size_t> offsets;
    for (size_t offset = directory; offset < secondHeader; ++offset)
        offsets.push_back(offset);
    for (size_t offset = good.size() - 22; offset < good.size(); ++offset)
        offsets.push_back(offset);
    for (size_t offset : offsets) {
        SCOPED_TRACE(offset);
        std::string scrambled = good;
        scrambled[offset] = '\xFF';
        writeBytes(path(L"scrambled.zip"), scrambled);
        for (uint32_t result : extractAll(path(L"scrambled.zip"), path(L"out")))
            EXPECT_NE(ZipResult::WriteFailed, result);
        removeTree(path(L"out"));
    }
}

TEST_F(ZipArchiveTest, EntryCountThatOverstatesTheDirectoryIsCutToWhatIsThere) {
    writeArchive(path(L"count.zip"), {file("one.txt", "1"), file("two.txt", "2")});
    std::string bytes = readBytes(path(L"count.zip"));
    const size_t endRecord = bytes.size() - 22;
    ASSERT_EQ("PK\x05\x06", bytes.substr(endRecord, 4));
    for (size_t field : {endRecord + 8, endRecord + 10}) {
        bytes[field] = '\xFF';
        bytes[field + 1] = '\x7F';
    }
    writeBytes(path(L"count.zip"), bytes);

    std::unique_ptr<ZipArchive> archive = ZipArchive::open(path(L"count.zip"));

    ASSERT_TRUE(archive);
    EXPECT_EQ(2, archive->entryCount());
}

// Entries larger than the reader's windows, stored and deflated, in folders the
// archive leaves and comes back to; the central directory itself spans windows.
TEST_F(ZipArchiveTest, ArchiveLargerThanItsReadWindowsComesOutByteForByte) {
    std::vector<EntrySpec> entries;
    uint32_t seed = 12345;
    auto noise = [&seed](size_t size) {
        std::string bytes(size, '\0');
        for (char& byte : bytes) {
            seed = seed * 1103515245u + 12345u;
            byte = static_cast<char>(seed >> 24);
        }
        return bytes;
    };
    const char* folders[] = {"a/", "b/deep/", "a/", "", "b/deep/"};
    for (int n = 0; n < 400; ++n) {
        const size_t size = n % 50 == 0 ? 150000 : 200 + n;
        EntrySpec spec = file(std::string(folders[n % 5]) + "f" + std::to_string(n) + ".bin",
                              noise(size));
        spec.name += std::string(120, 'n');  // a central directory of over 64 KiB
        if (n % 3 == 0)
            spec.method = 0;
        entries.push_back(spec);
    }
    writeArchive(path(L"big.zip"), entries);

    const std::vector<uint32_t> results = extractAll(path(L"big.zip"), path(L"out"));
    ASSERT_EQ(entries.size(), results.size());
    for (size_t n = 0; n < entries.size(); ++n) {
        EXPECT_EQ(ZipResult::Ok, results[n]) << n;
        const std::wstring name = replaceAll(utf8ToWide(entries[n].name), L'/', L"\\");
        EXPECT_TRUE(readBytes(path(L"out\\" + name)) == entries[n].content) << n;
    }
}

TEST_F(ZipArchiveTest, DirectoriesAreCreatedLevelByLevel) {
    EXPECT_TRUE(ensureDirectory(path(L"root"), L"a\\b/c"));
    EXPECT_TRUE(isDirectory(path(L"root\\a\\b\\c")));
    EXPECT_TRUE(ensureDirectory(path(L"root"), L""));
    writeBytes(path(L"root\\file"), "x");
    EXPECT_FALSE(ensureDirectory(path(L"root"), L"file\\sub"));
}

}  // namespace
}  // namespace kiv
