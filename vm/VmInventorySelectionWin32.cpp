#include "vm/VmSelection.h"

#include "launcher/Launcher.h"
#include "vm/VmInventory.h"
#include "vm/VmSelector.h"
#include "vm/VmValidation.h"

namespace kiv {

InstalledVm* selectFromValidList(Launcher& launcher, const LaunchOptions& options) {
    const PropertyFile& properties = launcher.properties();
    const int32_t mode = properties.launcherPlatform();
    // Only the first selection of the run builds the inventory, and so orders it.
    VmInventory& inventory = VmInventory::instance(mode == 1 || mode == 3);
    VmSelector selector(mode, options, properties.validVmList(), inventory.vms(), validatorRun);
    return selector.select();
}

}  // namespace kiv
