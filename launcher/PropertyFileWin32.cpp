#include "launcher/PropertyFile.h"

#include "platform/FilePath.h"
#include "platform/TextMode.h"
#include "platform/TextStream.h"

namespace kiv {

void PropertyFile::load(const std::wstring& path) {
    loadText(decodeTextMode(readFileBytes(FilePath(path).toString())));
}

}  // namespace kiv
