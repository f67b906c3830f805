// Unpacking a downloaded VM pack: a zip archive that wraps the VM's own
// archive "vm.zip" next to "vm.properties".
#pragma once

#include <string>

namespace kiv {

// Unpacks the pack into "downloadIntermediary" beside it, then its "vm.zip"
// into `vmDirectory`, and removes vm.zip, vm.properties and the intermediary
// folder (the folder stays when other entries are left in it). Returns false
// only when the pack or vm.zip cannot be opened or vm.zip is missing; entries
// that fail are skipped. Prints nothing.
bool extractVmPack(const std::wstring& packPath, const std::wstring& vmDirectory);

}  // namespace kiv
