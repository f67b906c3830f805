// How an installer's launcher gets its VM: jvmspec search or the usual
// selection, the VM it carries, or a downloaded, checked and unpacked VM pack.
#pragma once

#include "launch/LaunchOptions.h"

namespace kiv {

class Launcher;

// Sets the launcher's chosen VM or leaves it null. Writes the installer's
// progress lines unless the launcher is silent.
void resolveInstallerVm(Launcher& launcher, const LaunchOptions& options);

}  // namespace kiv
