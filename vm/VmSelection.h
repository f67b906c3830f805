// Which VM the launcher starts when none is named after "KIV_VM".
#pragma once

#include "launch/LaunchOptions.h"

namespace kiv {

class InstalledVm;
class Launcher;

// A VM named by "KIV_VM" or kiv.nl.current.vm is taken as it is (the launcher
// owns it); otherwise the newest admitted VM of the preferred bitness from the
// installed VMs. Returns null when there is none.
InstalledVm* selectVm(Launcher& launcher, const LaunchOptions& options);

// The same without the named-VM steps.
InstalledVm* selectFromValidList(Launcher& launcher, const LaunchOptions& options);

}  // namespace kiv
