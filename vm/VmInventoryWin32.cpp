#include "vm/VmInventory.h"

#include <cstdint>

#include "launch/VmFamilies.h"
#include "launcher/EnvironmentSnapshot.h"
#include "launcher/Errors.h"
#include "platform/Text.h"
#include "platform/Wow64.h"
#include "vm/PathSearch.h"
#include "vm/VersionText.h"

namespace kiv {

namespace {

struct RegistrySource {
    const wchar_t* keyPath;
    VmKind kind;
    const wchar_t* vendor;
};

// Where the Sun and IBM installers register their VMs, in search order.
const RegistrySource kRegistrySources[] = {
    {L"SOFTWARE\\JavaSoft\\JDK", VmKind::JDK, L"Sun"},
    {L"SOFTWARE\\JavaSoft\\JRE", VmKind::JRE, L"Sun"},
    {L"SOFTWARE\\JavaSoft\\Java Development Kit", VmKind::JDK, L"Sun"},
    {L"SOFTWARE\\JavaSoft\\Java Runtime Environment", VmKind::JRE, L"Sun"},
    {L"SOFTWARE\\IBM\\Java2 Runtime Environment", VmKind::JRE, L"IBM"},
    {L"SOFTWARE\\IBM\\Java Development Kit", VmKind::JDK, L"IBM"},
};

void scanRegistrySources(bool is64, RegistryAccess access, VmList& vms) {
    for (const RegistrySource& source : kRegistrySources)
        scanRegistryKey(source.keyPath, source.kind, is64, source.vendor, access, vms);
}

// Throws KeyException when the subkey cannot be opened or lacks a value it needs.
std::unique_ptr<InstalledVm> vmFromSubkey(const RegistryKey& key, const std::wstring& name,
                                          VmKind kind, bool is64, const std::wstring& vendor) {
    // Opened below the parent's handle, so in the parent's view.
    const RegistryKey subkey(key, kKeyRead, name);
    VersionNumber version = parseVersion(name);
    // Installers up to Java 8 keep the update number apart; later ones name
    // the whole version in the subkey.
    uint16_t update = 0;
    if (version.major() <= 8)
        update = static_cast<uint16_t>(leadingInteger(subkey.queryString(L"MicroVersion")));
    std::unique_ptr<InstalledVm> vm = makeInstalledVm(vmFamilyFor(kind, version));
    version.setMinor(update);
    vm->setVersion(version);
    vm->setHome(subkey.queryString(L"JavaHome"));
    vm->setKind(kind);
    vm->setIs64(is64);
    vm->setVendor(vendor);
    return vm;
}

}  // namespace

void scanRegistryKey(const std::wstring& keyPath, VmKind kind, bool is64,
                     const std::wstring& vendor, RegistryAccess access, VmList& vms) {
    RegistryKey key;
    std::vector<std::wstring> names;
    try {
        key.open(kHkeyLocalMachine, keyPath, access);
        names = key.subkeyNames();
    } catch (const KeyException&) {
        return;  // no VMs registered here
    }
    for (const std::wstring& name : names) {
        try {
            vms.push_back(vmFromSubkey(key, name, kind, is64, vendor));
        } catch (const KeyException&) {
            // An incomplete entry; the next one may still describe a VM.
        }
    }
}

VmList discoverVms(const DiscoverySettings& settings) {
    VmList vms;
    scanRegistrySources(false, settings.ownViewAccess, vms);
    if (settings.wow64) scanRegistrySources(true, kKeyRead64, vms);
    searchPathDirectories(settings.pathList, settings.wow64, settings.wow64SystemDirectory, vms);
    removeDuplicateVms(vms);
    sortVms(vms, settings.bits64First);
    return vms;
}

VmInventory& VmInventory::instance(bool bits64First) {
    // Never freed: the chosen VM is used until the process ends, by the
    // service threads too.
    static VmInventory* const inventory = [bits64First] {
        DiscoverySettings settings;
        settings.wow64 = isWow64Process();
        if (settings.wow64) settings.wow64SystemDirectory = systemWow64Directory();
        settings.pathList = EnvironmentSnapshot::instance().pathList();
        settings.bits64First = bits64First;
        return new VmInventory(discoverVms(settings), bits64First);
    }();
    return *inventory;
}

}  // namespace kiv
