// The Java VMs installed on this machine, found once per process: the
// registry keys of the Sun and IBM installers (in the launcher's own registry
// view, then in the 64-bit view on 64-bit Windows) and the PATH directories.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "launch/ClassPath.h"
#include "platform/RegistryKey.h"
#include "vm/InstalledVm.h"
#include "vm/VmKind.h"

namespace kiv {

using VmList = std::vector<std::unique_ptr<InstalledVm>>;

// What discovery depends on besides the registry and the file system, given as
// values so that one caller fills them from the running process.
struct DiscoverySettings {
    // A 32-bit launcher on 64-bit Windows: the 64-bit registry view is read too,
    // the 32-bit system directory is searched after the PATH, and a 64-bit VM
    // executable is marked 64-bit.
    bool wow64 = false;
    std::wstring wow64SystemDirectory;
    // The PATH directories, in order.
    ClassPath pathList;
    // Which bitness group the list puts first.
    bool bits64First = true;
    // The access of the first registry pass: KEY_READ, which resolves in the
    // process's own view (the 32-bit view for the shipped launcher). A 64-bit
    // build that stands in for it names the 32-bit view explicitly.
    RegistryAccess ownViewAccess = kKeyRead;
};

// Registry pass 1 over the six installer keys, pass 2 in the 64-bit view under
// WOW64, the PATH search, duplicate removal and the sort. Registry failures
// only leave entries out.
VmList discoverVms(const DiscoverySettings& settings);

// Appends one VM per subkey of HKLM\keyPath opened with `access`: the subkey
// name is its version, "JavaHome" its home and, up to Java 8, the leading
// number of "MicroVersion" its minor version. A subkey without those values is
// passed by, and a key that cannot be opened adds nothing.
void scanRegistryKey(const std::wstring& keyPath, VmKind kind, bool is64,
                     const std::wstring& vendor, RegistryAccess access, VmList& vms);

// Drops every VM whose home (exact text) and version equal those of an earlier
// one; kind, vendor and bitness are not compared.
void removeDuplicateVms(VmList& vms);

// One bitness group after the other, ascending versions within each; equal VMs
// keep their order.
void sortVms(VmList& vms, bool bits64First);

class VmInventory {
public:
    // The process's inventory, built by the first call with that call's flag;
    // later calls return it unchanged, whatever their flag.
    static VmInventory& instance(bool bits64First);

    // In order, first to last; the inventory owns the VMs for the process's lifetime.
    const VmList& vms() const { return vms_; }
    size_t size() const { return vms_.size(); }
    // The flag the list was sorted with.
    bool bits64First() const { return bits64First_; }

    VmInventory(const VmInventory&) = delete;
    VmInventory& operator=(const VmInventory&) = delete;

private:
    VmInventory(VmList vms, bool bits64First) : vms_(std::move(vms)), bits64First_(bits64First) {}

    VmList vms_;
    bool bits64First_;
};

}  // namespace kiv
