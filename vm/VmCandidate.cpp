#include "vm/VmCandidate.h"

namespace kiv {

VersionNumber versionFromProductVersion(const ProductVersion& values, const std::wstring& vendor) {
    if (vendor == L"IBM") return VersionNumber(values[1], values[2], values[3]);
    if (values[0] == 1) return VersionNumber(values[1], values[2] / 10, values[3]);
    return VersionNumber(values[0], values[1], values[2] / 10);
}

VersionNumber versionFromPluginVersion(const ProductVersion& plugin) {
    return VersionNumber(plugin[1], plugin[2], plugin[1] >= 4 ? plugin[3] / 10 : plugin[3]);
}

}  // namespace kiv
