// The version information of a file (its VERSIONINFO resource), read once into
// a buffer this object owns. Windows answers the queries with pointers into
// that buffer, so it lives exactly as long as the object.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

// A product version as its four 16-bit parts, most significant first:
// 6.0.310.5 is {6, 0, 310, 5}.
using ProductVersion = std::array<uint16_t, 4>;

class VersionResource {
public:
    // Reads the file's version information; never throws. A file without
    // version information, or one that cannot be read, leaves the object unread.
    explicit VersionResource(const std::wstring& path);

    // Whether the file's version information was read at all.
    bool loaded() const { return !data_.empty(); }

    // The product version of the fixed version block; empty when nothing was
    // read or the information holds no fixed block.
    std::optional<ProductVersion> productVersion() const;

    // "\StringFileInfo\040904b0\CompanyName" (United States English, Unicode);
    // nothing when the value is missing or no information was read. Other
    // language blocks are not looked at.
    std::optional<std::wstring> companyName() const;

private:
    std::vector<unsigned char> data_;
};

}  // namespace kiv
