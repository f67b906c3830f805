// What sort of installation a found VM is, and which InstalledVm class
// represents it.
#pragma once

#include <cstdint>

#include "platform/VersionNumber.h"

namespace kiv {

// Stored as a 32-bit integer; the names are the ones the valid-VM list uses.
enum class VmKind : int32_t { JDK = 0, JRE = 1, MSJ = 2 };

// JreVm, JavaVm or JviewVm.
enum class VmFamily { Jre, Java, Jview };

// The Microsoft VM is always a jview; Java 1.2 and later use java.exe's
// command line; Java 1.1 and older, and unknown versions (major 0), use jre.exe's.
inline VmFamily vmFamilyFor(VmKind kind, VersionNumber version) {
    if (kind == VmKind::MSJ) return VmFamily::Jview;
    return version.major() >= 2 ? VmFamily::Java : VmFamily::Jre;
}

}  // namespace kiv
