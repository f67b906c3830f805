#include "vm/VmInventory.h"

#include <algorithm>

#include "vm/VmSelector.h"

namespace kiv {

void removeDuplicateVms(VmList& vms) {
    VmList kept;
    for (std::unique_ptr<InstalledVm>& vm : vms) {
        const bool seen = std::any_of(kept.begin(), kept.end(), [&](const auto& earlier) {
            return earlier->home() == vm->home() && earlier->version() == vm->version();
        });
        if (!seen) kept.push_back(std::move(vm));
    }
    vms = std::move(kept);
}

void sortVms(VmList& vms, bool bits64First) {
    std::stable_sort(vms.begin(), vms.end(), [bits64First](const auto& a, const auto& b) {
        return vmSortsBefore(*a, *b, bits64First);
    });
}

}  // namespace kiv
