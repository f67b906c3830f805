#include "support/RegistryFixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/Handle.h"

namespace kiv {

namespace {

REGSAM viewFlag(RegistryView view) {
    return view == RegistryView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

const char* viewLabel(RegistryView view) {
    return view == RegistryView::Bits32 ? "32-bit" : "64-bit";
}

// RegDeleteTreeW takes no view flag: the view is chosen by opening the parent
// with one, and the tree is then deleted below that handle.
void deleteTreeInView(RegistryView view, const std::wstring& path) {
    const size_t split = path.rfind(L'\\');
    const std::wstring parentPath = split == std::wstring::npos ? L"" : path.substr(0, split);
    const std::wstring leaf = split == std::wstring::npos ? path : path.substr(split + 1);
    RegistryHandle parent;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, parentPath.c_str(), 0, KEY_ALL_ACCESS | viewFlag(view),
                      parent.put()) != ERROR_SUCCESS) {
        return;
    }
    RegDeleteTreeW(parent.get(), leaf.c_str());
}

}  // namespace

RegistryView processRegistryView() {
    return sizeof(void*) == 8 ? RegistryView::Bits64 : RegistryView::Bits32;
}

RegistryView otherRegistryView(RegistryView view) {
    return view == RegistryView::Bits32 ? RegistryView::Bits64 : RegistryView::Bits32;
}

bool createRegistryKey(RegistryView view, const std::wstring& path,
                       const RegistryStrings& values) {
    RegistryHandle key;
    LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                     KEY_ALL_ACCESS | viewFlag(view), nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create HKLM\\" << path << " in the " << viewLabel(view)
                      << " view: error " << status;
        return false;
    }
    for (const auto& [name, text] : values) {
        const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        status = RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(text.c_str()), bytes);
        if (status != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot set " << name << " in HKLM\\" << path << ": error " << status;
            return false;
        }
    }
    return true;
}

void deleteRegistryTree(const std::wstring& path) {
    deleteTreeInView(RegistryView::Bits32, path);
    deleteTreeInView(RegistryView::Bits64, path);
}

ScopedRegistryTree::ScopedRegistryTree(std::vector<std::wstring> paths)
    : paths_(std::move(paths)) {
    deleteAll();
}

ScopedRegistryTree::~ScopedRegistryTree() { deleteAll(); }

void ScopedRegistryTree::deleteAll() const {
    for (const std::wstring& path : paths_) deleteRegistryTree(path);
}

}  // namespace kiv
