#include "vm/VmSelection.h"

#include <windows.h>

#include "launcher/Launcher.h"
#include "platform/FilePath.h"
#include "platform/PathText.h"
#include "vm/InstalledVm.h"

namespace kiv {

namespace {

// A named VM path: the "KIV_VM" argument when it names a non-empty file,
// otherwise kiv.nl.current.vm, relative to the property file's folder.
std::wstring namedVmPath(const Launcher& launcher) {
    const std::wstring argument = launcher.context().argumentAfter(L"KIV_VM");
    const uint32_t size = FilePath(argument).fileSize();
    if (FilePath(argument).exists() && size != 0) return argument;
    const std::wstring remembered = launcher.properties().currentVm();
    if (pathIsAbsolute(remembered)) return remembered;
    const std::wstring folder = fullPath(FilePath(launcher.propertyFilePath()).parent(L"."), true);
    return FilePath(folder + L"\\" + remembered).toString();
}

}  // namespace

InstalledVm* selectVm(Launcher& launcher, const LaunchOptions& options) {
    const std::wstring argument = launcher.context().argumentAfter(L"KIV_VM");
    const bool argumentExists =
        !argument.empty() && GetFileAttributesW(argument.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!launcher.properties().currentVm().empty() || argumentExists) {
        const FilePath named(namedVmPath(launcher));
        if (named.isFile()) {
            std::unique_ptr<InstalledVm> vm = javaVmFromExecutable(named.toString());
            vm->options() = options;
            launcher.setOwnedVm(std::move(vm));
            return launcher.chosenVm();
        }
    }
    return selectFromValidList(launcher, options);
}

}  // namespace kiv
