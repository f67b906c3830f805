// Writes small zip archives for tests, with minizip's own writer.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kivtest {

using ZipItem = std::pair<std::string, std::string>;  // stored name, content

// Returns false when the archive cannot be written.
bool writeZip(const std::wstring& path, const std::vector<ZipItem>& items);

// A VM pack as installers download it: an archive holding "vm.zip" (the VM's
// files, here `vmItems`) and "vm.properties".
bool writeVmPack(const std::wstring& path, const std::vector<ZipItem>& vmItems);

}  // namespace kivtest
