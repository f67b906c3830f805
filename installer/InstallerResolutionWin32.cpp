#include "installer/InstallerResolution.h"

namespace kiv {

void resolveInstallerVm(Launcher&, const LaunchOptions&) {}

}  // namespace kiv
