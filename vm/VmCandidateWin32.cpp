#include "vm/VmCandidate.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "launcher/Errors.h"
#include "platform/RegistryKey.h"
#include "platform/Text.h"
#include "vm/VersionText.h"

namespace kiv {

namespace {

const wchar_t kJavaRuntimeKey[] = L"SOFTWARE\\JavaSoft\\Java Runtime Environment";

bool isJviewName(const std::wstring& lowerName) {
    return lowerName == L"jview.exe" || lowerName == L"wjview.exe";
}

bool isJreName(const std::wstring& lowerName) {
    return lowerName == L"jre.exe" || lowerName == L"jrew.exe";
}

bool exists(const std::wstring& path) { return FilePath(path).exists(); }

// The C runtime's stdout, in the ANSI code page as printf("%s") would write it.
void writeCompanyLine(const std::wstring& company) {
    std::string narrow;
    const int size = WideCharToMultiByte(CP_ACP, 0, company.data(),
                                         static_cast<int>(company.size()), nullptr, 0, nullptr,
                                         nullptr);
    if (size > 0) {
        narrow.resize(static_cast<size_t>(size));
        WideCharToMultiByte(CP_ACP, 0, company.data(), static_cast<int>(company.size()),
                            &narrow[0], size, nullptr, nullptr);
    }
    std::printf("company: %s\n", narrow.c_str());
    // The VM started later shares this stdout; the line must come before its output.
    std::fflush(stdout);
}

// A java.exe copied into the Windows system directory says nothing about
// itself; the Java installer's registry entry names the runtime it belongs to.
VersionNumber versionFromRegistry() {
    try {
        RegistryKey runtimes(kJavaRuntimeKey, kKeyRead);
        const std::wstring current = runtimes.queryString(L"CurrentVersion");
        RegistryKey runtime(std::wstring(kJavaRuntimeKey) + L"\\" + current, kKeyRead);
        const std::wstring micro = runtime.queryString(L"MicroVersion");
        return parseVersion(current + L"." + micro + L"_0");
    } catch (const KeyException&) {
        return parseVersion(L"0.0.0.0");
    }
}

}  // namespace

std::wstring VmCandidate::fileName() const { return FilePath(path_).fileName(true); }

std::wstring VmCandidate::directory() const { return FilePath(path_).parent(L"."); }

VmKind VmCandidate::kind() const {
    if (!kind_) {
        const std::wstring name = fileName();
        if (isJviewName(name))
            kind_ = VmKind::MSJ;
        else if (isJreName(name))
            kind_ = VmKind::JRE;
        else
            kind_ = exists(directory() + L"\\javac.exe") ? VmKind::JDK : VmKind::JRE;
    }
    return *kind_;
}

std::shared_ptr<const VersionResource> VmCandidate::versionResource() const {
    if (versionResource_) return versionResource_;
    auto read = std::make_shared<const VersionResource>(path_);
    if (read->loaded()) versionResource_ = read;
    return read;
}

std::wstring VmCandidate::vendor() {
    if (!vendor_.empty()) return vendor_;
    if (isJviewName(fileName())) {
        vendor_ = L"Microsoft";
        return vendor_;
    }
    const std::optional<std::wstring> company = versionResource()->companyName();
    if (company) writeCompanyLine(*company);
    const bool ibm = company && toLowerAscii(*company).find(L"ibm") != std::wstring::npos;
    vendor_ = ibm ? L"IBM" : L"Sun";
    return vendor_;
}

std::wstring VmCandidate::companyName() const {
    return versionResource()->companyName().value_or(std::wstring());
}

std::wstring VmCandidate::home() const {
    const std::wstring dir = directory();
    const size_t lastBackslash = dir.rfind(L'\\');
    const size_t lastName = lastBackslash == std::wstring::npos ? 0 : lastBackslash;
    // Windows names are case-insensitive: C:\JDK\BIN is as much a bin folder as C:\jdk\bin.
    if (toLowerAscii(dir).find(L"bin", lastName) != std::wstring::npos)
        return FilePath(path_).parentPath().parent(L".");
    return dir;
}

bool VmCandidate::productVersion(ProductVersion& values) {
    if (versionInfoMissing_) return false;
    if (!versionInfoRead_) {
        const std::shared_ptr<const VersionResource> resource = versionResource();
        if (!resource->loaded()) return false;  // unreadable now; asked again next time
        const std::optional<ProductVersion> read = resource->productVersion();
        versionInfoRead_ = true;
        if (!read) {
            versionInfoMissing_ = true;
            return false;
        }
        productVersion_ = *read;
    }
    values = productVersion_;
    return true;
}

VersionNumber VmCandidate::version() {
    ProductVersion values = {};
    if (kind() != VmKind::MSJ && productVersion(values))
        return versionFromProductVersion(values, vendor());
    return guessedVersion();
}

VersionNumber VmCandidate::guessedVersion() const {
    if (kind() == VmKind::MSJ) return VersionNumber(1, 4, 0);
    const std::wstring homeName = FilePath(home()).fileName(true);
    if (homeName == L"system32" || homeName == L"syswow64") return versionFromRegistry();

    // Files and folders that each Java generation added to its bin directory.
    const std::wstring dir = directory();
    if (exists(dir + L"\\pack200.exe")) return refinedFromPlugin(VersionNumber(5, 0, 0));
    for (const wchar_t* vmFolder : {L"\\client", L"\\..\\jre\\bin\\client", L"\\server",
                                    L"\\..\\jre\\bin\\server"}) {
        if (exists(dir + vmFolder)) return refinedFromPlugin(VersionNumber(4, 0, 0));
    }
    if (exists(dir + L"\\hotspot") || exists(dir + L"\\..\\jre\\bin\\hotspot"))
        return refinedFromPlugin(VersionNumber(3, 0, 0));
    if (exists(dir + L"\\classic")) return refinedFromPlugin(VersionNumber(2, 0, 0));
    if (isJreName(fileName()) || exists(dir + L"\\jre.exe") || exists(dir + L"\\jrew.exe"))
        return VersionNumber(1, 0, 0);
    return VersionNumber(0, 0, 0);
}

// The browser plug-in of the same runtime carries a full version where the
// VM executable may carry none.
VersionNumber VmCandidate::refinedFromPlugin(VersionNumber guess) const {
    const std::wstring dir = directory();
    const FilePath pluginDir(kind() == VmKind::JRE ? dir : dir + L"\\..\\jre\\bin");
    const FilePath plugin(pluginDir.toString() + L"\\NPJava32.dll");
    if (!plugin.exists()) return guess;
    ProductVersion values = {};
    return VmCandidate(plugin).productVersion(values) ? versionFromPluginVersion(values) : guess;
}

unsigned jviewBuild(const std::wstring& home) {
    ProductVersion values = {};
    VmCandidate jview(FilePath(home + L"\\jview.exe"));
    return jview.productVersion(values) ? values[2] : 0u;
}

}  // namespace kiv
