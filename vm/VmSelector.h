// Choosing the VM to start from the installed ones: every VM that satisfies a
// token of kiv.nl.valid.vm.list and the bitness mode, ordered so that the last
// one is the newest VM of the preferred bitness.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "launch/LaunchOptions.h"
#include "vm/InstalledVm.h"

namespace kiv {

// Runs the validator program on the VM with a composite token's argument and
// answers whether it ended with exit code 0.
using VmValidator = std::function<bool(InstalledVm& vm, const std::wstring& argument)>;

// The bitness mode of kiv.nl.win32.java.launcher.platform:
//   0 both admitted, 64-bit preferred     1 both admitted, 32-bit preferred
//   2 64-bit only                         3 32-bit only
//   any other value: both admitted, 64-bit preferred.
bool bitnessModeAdmits(int32_t mode, bool is64);
bool bitnessModePrefers64(int32_t mode);

// The order of found VMs: one bitness group after the other (the 64-bit group
// first with bits64First), ascending versions within a group. A strict weak
// order, meant for std::stable_sort so that equal VMs keep the order they were
// found in.
bool vmSortsBefore(const InstalledVm& a, const InstalledVm& b, bool bits64First);

class VmSelector {
public:
    // The list text is split at blanks into tokens; `vms` (the inventory, in
    // its order) must outlive the selector. Each VM tested gets a copy of
    // `options`, which a validator run takes its class path from.
    VmSelector(int32_t mode, LaunchOptions options, const std::wstring& validVmList,
               const std::vector<std::unique_ptr<InstalledVm>>& vms, VmValidator validator);

    // Every VM that satisfies some token and that the mode admits, each once,
    // in ascending order with the preferred bitness last. Every token is tested
    // against every VM, even one already admitted or refused by its bitness, so
    // a composite token with an argument runs the validator once per VM.
    std::vector<InstalledVm*> filter();

    // The last VM of filter(), or null when none is admitted.
    InstalledVm* select();

private:
    bool satisfies(InstalledVm& vm, const std::wstring& token) const;

    std::vector<std::wstring> tokens_;
    int32_t mode_;
    const std::vector<std::unique_ptr<InstalledVm>>& vms_;
    LaunchOptions options_;
    VmValidator validator_;
};

}  // namespace kiv
