#include "vm/JvmSpec.h"

#include "platform/FilePath.h"
#include "platform/TextStream.h"

namespace kiv {

void JvmSpec::read(const std::wstring& path) {
    TextInputStream stream(FilePath(path).toString());
    readText(stream.lines());
}

}  // namespace kiv
