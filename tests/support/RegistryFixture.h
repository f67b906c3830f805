// Registry set-up for tests: keys below HKEY_LOCAL_MACHINE written into a
// chosen registry view, and trees removed from both views. Put test keys below
// SOFTWARE\KivTests\<suite>, which both views keep apart (SOFTWARE is
// redirected to SOFTWARE\Wow6432Node for 32-bit programs).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kiv {

enum class RegistryView { Bits32, Bits64 };

// The view a plain open of this process resolves in: 64-bit programs see the
// 64-bit view, 32-bit programs (under WOW64) the 32-bit one.
RegistryView processRegistryView();
RegistryView otherRegistryView(RegistryView view);

using RegistryStrings = std::vector<std::pair<std::wstring, std::wstring>>;  // name, text

// Creates HKLM\path (with missing parents) in the view and sets each value as
// REG_SZ. Reports a GoogleTest failure with the error code and answers false
// when the registry refuses; use it as ASSERT_TRUE(createRegistryKey(...)).
bool createRegistryKey(RegistryView view, const std::wstring& path,
                       const RegistryStrings& values = {});

// Removes HKLM\path and everything below it from both views; a missing tree is
// fine. The parents of path stay.
void deleteRegistryTree(const std::wstring& path);

// Deletes the given HKLM trees in both views when constructed (left-overs of a
// crashed run) and again when destroyed, so a failing test leaves nothing behind.
class ScopedRegistryTree {
public:
    explicit ScopedRegistryTree(std::vector<std::wstring> paths);
    ~ScopedRegistryTree();
    ScopedRegistryTree(const ScopedRegistryTree&) = delete;
    ScopedRegistryTree& operator=(const ScopedRegistryTree&) = delete;

private:
    void deleteAll() const;
    std::vector<std::wstring> paths_;
};

}  // namespace kiv
