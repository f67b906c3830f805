#include "platform/ImageBitness.h"

#include <windows.h>

#include <cstdint>

#include "platform/Handle.h"

namespace kiv {

int imageBitness(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return kImageUnknown;
    // An empty file cannot be mapped, and a file larger than the address space
    // cannot be viewed whole; neither is an image this launcher starts.
    LARGE_INTEGER fileSize = {};
    if (!GetFileSizeEx(file.get(), &fileSize) || fileSize.QuadPart <= 0 ||
        static_cast<ULONGLONG>(fileSize.QuadPart) > SIZE_MAX)
        return kImageUnknown;
    const size_t size = static_cast<size_t>(fileSize.QuadPart);

    KernelHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return kImageUnknown;
    MappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return kImageUnknown;
    return imageBitnessOf(static_cast<const unsigned char*>(view.get()), size);
}

}  // namespace kiv
