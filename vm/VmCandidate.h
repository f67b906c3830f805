// A probe of one VM executable found on disk: which kind of VM it is, who made
// it, where its home directory is and which Java version it runs. Nothing here
// starts the VM; the answers come from the executable's version resource, the
// registry and the files that lie beside it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/FilePath.h"
#include "platform/VersionNumber.h"
#include "platform/VersionResource.h"
#include "vm/VmKind.h"

namespace kiv {

class VmCandidate {
public:
    // The path as given, or normalised when it comes as a FilePath.
    explicit VmCandidate(std::wstring path) : path_(std::move(path)) {}
    explicit VmCandidate(const wchar_t* path) : path_(path) {}
    explicit VmCandidate(const FilePath& path) : path_(path.toString()) {}

    const std::wstring& path() const { return path_; }

    // MSJ for jview.exe and wjview.exe; JRE for jre.exe and jrew.exe; otherwise
    // JDK when a javac.exe lies beside the executable, else JRE. Looked at once
    // per probe.
    VmKind kind() const;

    // "Microsoft", "IBM" or "Sun". Worked out once per probe: the first time
    // the company name of a non-Microsoft executable is read, the line
    // "company: <name>\n" goes to standard output.
    std::wstring vendor();

    // The executable's directory, or that directory's parent when the last
    // directory name holds "bin" in any letter case (bin, BIN, bin64, cabinet...);
    // "." for a bare name.
    std::wstring home() const;

    // The Java version from the product version (read by vendor), else a guess
    // from the registry or the files beside the executable; (0, 0, 0) when
    // nothing gives one. Registry failures are caught here.
    VersionNumber version();

    // Fills `values` and returns true when the product version can be read.
    // A file with version information but no fixed block is never asked
    // again; a file whose information could not be read is asked next time.
    bool productVersion(ProductVersion& values);

    // The CompanyName of the version resource, or empty. Prints nothing: the
    // "company:" line belongs to working out the vendor.
    std::wstring companyName() const;

private:
    // The executable's version information, read once per probe as soon as it
    // can be read; information that could not be read is asked for again.
    std::shared_ptr<const VersionResource> versionResource() const;
    std::wstring fileName() const;   // lower-cased
    std::wstring directory() const;  // "." when the path has none
    VersionNumber guessedVersion() const;
    VersionNumber refinedFromPlugin(VersionNumber guess) const;

    std::wstring path_;
    ProductVersion productVersion_ = {};
    bool versionInfoMissing_ = false;
    bool versionInfoRead_ = false;
    std::wstring vendor_;
    mutable std::optional<VmKind> kind_;
    mutable std::shared_ptr<const VersionResource> versionResource_;
};

// The Java version a VM executable's product version stands for. Sun numbers
// its files 1.x.y.z (Java 1.x.y_z) or x.y.z0.w (Java x.y_z, the micro times
// ten); IBM always 1.x.y.z. Every vendor other than "IBM" counts as Sun.
VersionNumber versionFromProductVersion(const ProductVersion& values, const std::wstring& vendor);

// The Java version of a runtime's browser plug-in (NPJava32.dll, product
// version 1.x.y.z): major x, minor y, micro z, divided by ten from Java 1.4 on,
// whose plug-ins carry the micro times ten. It replaces a guessed version whole.
VersionNumber versionFromPluginVersion(const ProductVersion& plugin);

// The build number of home\jview.exe (the third part of its product version:
// 5.0.3810.0 gives 3810); 0 when it cannot be read.
unsigned jviewBuild(const std::wstring& home);

}  // namespace kiv
