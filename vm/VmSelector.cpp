#include "vm/VmSelector.h"

#include <algorithm>
#include <utility>

#include "vm/ValidVmList.h"

namespace kiv {

bool bitnessModeAdmits(int32_t mode, bool is64) {
    if (mode == 2) return is64;
    if (mode == 3) return !is64;
    return true;
}

bool bitnessModePrefers64(int32_t mode) { return mode != 1 && mode != 3; }

bool vmSortsBefore(const InstalledVm& a, const InstalledVm& b, bool bits64First) {
    if (a.is64() == b.is64()) return a.version() < b.version();
    return bits64First ? a.is64() : b.is64();
}

VmSelector::VmSelector(int32_t mode, LaunchOptions options, const std::wstring& validVmList,
                       const std::vector<std::unique_ptr<InstalledVm>>& vms,
                       VmValidator validator)
    : tokens_(splitValidVmList(validVmList)),
      mode_(mode),
      vms_(vms),
      options_(std::move(options)),
      validator_(std::move(validator)) {}

bool VmSelector::satisfies(InstalledVm& vm, const std::wstring& token) const {
    return matchesToken(token, vm.kind(), vm.version(), [&](const std::wstring& argument) {
        return validator_ && validator_(vm, argument);
    });
}

std::vector<InstalledVm*> VmSelector::filter() {
    std::vector<InstalledVm*> admitted;
    for (const std::wstring& token : tokens_) {
        for (const std::unique_ptr<InstalledVm>& vm : vms_) {
            vm->options() = options_;
            // The token is tested first, so a validator run happens whatever follows.
            if (!satisfies(*vm, token)) continue;
            if (std::find(admitted.begin(), admitted.end(), vm.get()) != admitted.end()) continue;
            if (bitnessModeAdmits(mode_, vm->is64())) admitted.push_back(vm.get());
        }
    }
    // The preferred bitness sorts last, where the choice is taken from.
    const bool bits64First = !bitnessModePrefers64(mode_);
    std::stable_sort(admitted.begin(), admitted.end(),
                     [bits64First](const InstalledVm* a, const InstalledVm* b) {
                         return vmSortsBefore(*a, *b, bits64First);
                     });
    return admitted;
}

InstalledVm* VmSelector::select() {
    const std::vector<InstalledVm*> admitted = filter();
    return admitted.empty() ? nullptr : admitted.back();
}

}  // namespace kiv
