#include "vm/VmSelection.h"

namespace kiv {

InstalledVm* selectFromValidList(Launcher&, const LaunchOptions&) { return nullptr; }

}  // namespace kiv
