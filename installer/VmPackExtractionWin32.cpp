#include "installer/VmPackExtraction.h"

#include <windows.h>

#include <memory>

#include "installer/ZipArchive.h"
#include "platform/FilePath.h"

namespace kiv {

namespace {

// Entry failures are not fatal: the loop goes on, and the VM found (or not) in
// the unpack folder afterwards decides.
void extractAll(ZipArchive& archive, const std::wstring& folder) {
    archive.setBaseDirectory(folder);
    const int32_t count = archive.entryCount();
    for (int32_t index = 0; index < count; ++index) {
        ZipEntry entry;
        if (archive.entry(index, entry) == ZipResult::Ok && !entry.name.empty())
            archive.extractEntry(index, entry.name);
    }
    archive.close();
}

// An entry unpacked read-only would otherwise survive DeleteFileW.
void removeFile(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

}  // namespace

bool extractVmPack(const std::wstring& packPath, const std::wstring& vmDirectory) {
    const std::wstring intermediary = FilePath(packPath).parent(L".") + L"\\downloadIntermediary";
    if (!FilePath(intermediary).exists())
        CreateDirectoryW(intermediary.c_str(), nullptr);

    std::unique_ptr<ZipArchive> pack = ZipArchive::open(packPath);
    if (!pack)
        return false;
    extractAll(*pack, intermediary);

    const std::wstring innerPath = intermediary + L"\\vm.zip";
    if (!FilePath(innerPath).exists())
        return false;
    std::unique_ptr<ZipArchive> inner = ZipArchive::open(innerPath);
    if (!inner)
        return false;
    extractAll(*inner, vmDirectory);

    removeFile(innerPath);
    removeFile(intermediary + L"\\vm.properties");
    RemoveDirectoryW(intermediary.c_str());
    return true;
}

}  // namespace kiv
