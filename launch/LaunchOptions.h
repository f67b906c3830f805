// The settings of one Java launch, filled once per run from the property file.
// A plain value: every VM launch works on its own copy, so what a launch adds
// (the classes.zip entry of a jre-family VM) never reaches the caller's record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "launch/ClassPath.h"

namespace kiv {

struct LaunchOptions {
    std::wstring mainClass;
    std::wstring gcExtent;           // any non-empty value switches class GC off
    std::wstring additionalOptions;  // raw command-line text; " -Xrs" added for a service
    std::wstring verboseKind;        // empty, "gc" or "class"
    std::wstring workingDirectory = L".";
    ClassPath classPath;
    std::vector<std::wstring> applicationArguments;
    // Exactly two once filled: the .kiv file (long-name form), then the runtime
    // property file.
    std::vector<std::wstring> leadingArguments;
    int32_t msvmMinVersion = 0;  // least jview build number accepted
    int32_t heapInitial = 0;     // bytes; 0 or less writes no heap item
    int32_t heapMax = 0;         // bytes; 0 or less writes no heap item
    bool verifyMode = false;     // read from the property file; no command line uses it
    bool verbose = false;
    bool debugging = false;
    bool gcBackgroundThread = false;  // true writes the switch that turns async GC off
    bool compilerOff = false;
};

}  // namespace kiv
