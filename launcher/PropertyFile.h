// The key/value store of the launcher's `.kiv` files and of the installer's
// build property file, with one accessor per key the launcher reads.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace kiv {

// The fixed key texts. Other files (writers of the runtime property file,
// tests) use them so that a key is spelled in one place only.
namespace propertyKeys {
inline constexpr const wchar_t* mainClass = L"kiv.nl.java.launcher.main.class";
inline constexpr const wchar_t* classPath = L"kiv.class.path";
inline constexpr const wchar_t* currentVm = L"kiv.nl.current.vm";
inline constexpr const wchar_t* validVmList = L"kiv.nl.valid.vm.list";
inline constexpr const wchar_t* launcherPlatform = L"kiv.nl.win32.java.launcher.platform";
inline constexpr const wchar_t* userDir = L"kiv.user.dir";
inline constexpr const wchar_t* applicationName = L"kiv.application.name";
inline constexpr const wchar_t* verifyMode = L"kiv.nl.java.option.verify.mode";
inline constexpr const wchar_t* verbose = L"kiv.nl.java.option.verbose";
inline constexpr const wchar_t* gcExtent = L"kiv.nl.java.option.garbage.collection.extent";
inline constexpr const wchar_t* gcBackgroundThread =
    L"kiv.nl.java.option.garbage.collection.background.thread";
inline constexpr const wchar_t* debugging = L"kiv.nl.java.option.debugging";
inline constexpr const wchar_t* compiler = L"kiv.nl.java.option.compiler";
inline constexpr const wchar_t* additionalOptions = L"kiv.nl.java.option.additional";
inline constexpr const wchar_t* heapInitial = L"kiv.nl.java.option.java.heap.size.initial";
inline constexpr const wchar_t* heapMax = L"kiv.nl.java.option.java.heap.size.max";
inline constexpr const wchar_t* msvmMinVersion = L"kiv.nl.win32.microsoftvm.min.version";
inline constexpr const wchar_t* consolePause = L"kiv.win32.console.pause";
inline constexpr const wchar_t* installerUiDefault = L"kiv.installer.windows.ui.default";

inline constexpr const wchar_t* buildOption = L"build.option";
inline constexpr const wchar_t* withVmSearchOption = L"build.with.vm.search.option";
inline constexpr const wchar_t* withoutVmSearchOption = L"build.without.vm.search.option";
inline constexpr const wchar_t* jvmspecApplicable = L"build.jvmspec.applicable";
inline constexpr const wchar_t* jvmspecTotal = L"build.jvmspec.total.num";
inline constexpr const wchar_t* jvmspecEntryPrefix = L"build.jvmspec.";
inline constexpr const wchar_t* notFoundDownloadUrl = L"build.without.vm.not.found.download.url";
inline constexpr const wchar_t* directDownloadUrl = L"build.without.vm.direct.download.url";
inline constexpr const wchar_t* notFoundChecksumApplicable =
    L"build.without.vm.not.found.download.url.md5Checksum.applicable";
inline constexpr const wchar_t* notFoundChecksumValue =
    L"build.without.vm.not.found.download.url.md5Checksum.value";
inline constexpr const wchar_t* directChecksumApplicable =
    L"build.without.vm.dont.search.download.url.md5Checksum.applicable";
inline constexpr const wchar_t* directChecksumValue =
    L"build.without.vm.dont.search.download.url.md5Checksum.value";
}  // namespace propertyKeys

// Keys are unique and compared code unit by code unit, so lookup is
// case-sensitive and iteration runs in code-unit order, not file order.
// Loading adds to what the store holds; the last occurrence of a key wins.
// Accessors read the store afresh on every call.
class PropertyFile {
public:
    // Reads the file (path normalised as a FilePath) through the text-mode
    // streams and hands its text to loadText. Throws FileException when the
    // file cannot be opened; the store then keeps what it held. Defined with
    // the Win32 file helpers.
    void load(const std::wstring& path);

    // Adds the properties of a file's text as a text-mode read decoded it:
    // "#" as the very first character makes a comment; lines without "=" are
    // skipped; key and value are split at the first "=", trimmed of 0x00-0x20
    // and unescaped. A trimmed value ending in a backslash loses it and gains
    // one space; lines are never joined.
    void loadText(const std::wstring& decodedText);

    // The value under exactly this key, or `fallback` when the key is absent
    // (a key present with an empty value gives the empty string).
    std::wstring get(const std::wstring& key, const std::wstring& fallback) const;

    const std::map<std::wstring, std::wstring>& entries() const { return entries_; }

    // Keys of the `.kiv` file.
    std::wstring mainClass() const;
    std::wstring classPathValue() const;  // raw; "$ENV_CLASSPATH$" not yet resolved
    std::wstring currentVm() const;
    std::wstring validVmList() const;
    int32_t launcherPlatform() const;
    std::wstring userDir() const;
    std::wstring applicationName() const;
    bool verifyMode() const;
    std::wstring verbose() const;
    std::wstring gcExtent() const;
    bool gcBackgroundThread() const;
    bool debugging() const;
    bool compilerOff() const;
    std::wstring additionalOptions() const;
    int32_t heapInitial() const;
    int32_t heapMax() const;
    int32_t msvmMinVersion() const;
    bool consolePause() const;
    std::wstring installerUiDefault() const;
    bool isSilentByDefault() const;  // exactly "SILENT"

    // Keys of the build property file. The "true" of these keys is an exact,
    // case-sensitive match, not parseBoolean.
    std::wstring buildOption() const;  // "withvm" or "withoutvm"
    int32_t withVmSearchOption() const;
    int32_t withoutVmSearchOption() const;
    bool jvmspecApplicable() const;
    int32_t jvmspecTotal() const;
    std::wstring jvmspecEntry(int32_t n) const;
    std::wstring notFoundDownloadUrl() const;
    std::wstring directDownloadUrl() const;
    bool notFoundChecksumApplicable() const;
    std::wstring notFoundChecksumValue() const;
    bool directChecksumApplicable() const;
    std::wstring directChecksumValue() const;

private:
    void loadLine(const std::wstring& line);
    std::wstring text(const std::wstring& key) const { return get(key, std::wstring()); }

    std::map<std::wstring, std::wstring> entries_;
};

}  // namespace kiv
