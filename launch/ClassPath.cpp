#include "launch/ClassPath.h"

#include "platform/TextTokenizer.h"

namespace kiv {

ClassPath::ClassPath(const std::wstring& text) : entries_(TextTokenizer(text, L";").tokens()) {}

std::wstring ClassPath::join() const {
    std::wstring joined;
    for (const std::wstring& entry : entries_) {
        joined += entry;
        joined += L';';
    }
    return joined;
}

}  // namespace kiv
