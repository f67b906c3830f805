#include "service/ServiceLibraryPath.h"

namespace kiv {

std::wstring serviceLibraryPath(const SystemFolders& folders) {
    std::wstring folder = folders.wow64 && !folders.wow64Directory.empty()
                              ? folders.wow64Directory
                              : folders.systemDirectory;
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    if (folder.empty()) return std::wstring();
    return folder + L"\\advapi32.dll";
}

}  // namespace kiv
