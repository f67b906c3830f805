#include "support/ZipWriter.h"

#include <windows.h>

#include "zip.h"
#include "zlib.h"
#include "iowin32.h"

#include "support/LauncherApp.h"

namespace kivtest {

bool writeZip(const std::wstring& path, const std::vector<ZipItem>& items) {
    zlib_filefunc64_def functions;
    fill_win32_filefunc64W(&functions);
    zipFile zip = zipOpen2_64(path.c_str(), APPEND_STATUS_CREATE, nullptr, &functions);
    if (zip == nullptr) return false;
    bool ok = true;
    for (const auto& [name, content] : items) {
        zip_fileinfo info = {};
        ok = ok && zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                       Z_DEFAULT_COMPRESSION) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

bool writeVmPack(const std::wstring& path, const std::vector<ZipItem>& vmItems) {
    const std::wstring inner = path + L".inner";
    const bool innerWritten = writeZip(inner, vmItems);
    const std::string vmZip = readBytes(inner);
    DeleteFileW(inner.c_str());
    return innerWritten && writeZip(path, {{"vm.zip", vmZip}, {"vm.properties", "vm.version=1.8.0\n"}});
}

}  // namespace kivtest
