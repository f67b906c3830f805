// A Java version packed into one comparable value: major in bits 16-23,
// minor in bits 8-15, micro in bits 0-7. Components above 255 are masked to
// eight bits so that they never spill into a neighbour.
#pragma once

#include <cstdint>

namespace kiv {

class VersionNumber {
public:
    VersionNumber() = default;
    VersionNumber(unsigned major, unsigned minor, unsigned micro)
        : packed_(static_cast<int32_t>(((major & 0xFFu) << 16) | ((minor & 0xFFu) << 8) |
                                       (micro & 0xFFu))) {}

    unsigned major() const { return (static_cast<uint32_t>(packed_) >> 16) & 0xFFu; }
    unsigned minor() const { return (static_cast<uint32_t>(packed_) >> 8) & 0xFFu; }
    unsigned micro() const { return static_cast<uint32_t>(packed_) & 0xFFu; }

    void setMajor(unsigned value) { *this = VersionNumber(value, minor(), micro()); }
    void setMinor(unsigned value) { *this = VersionNumber(major(), value, micro()); }
    void setMicro(unsigned value) { *this = VersionNumber(major(), minor(), value); }

    int32_t packed() const { return packed_; }

    friend bool operator<(VersionNumber a, VersionNumber b) { return a.packed_ < b.packed_; }
    friend bool operator>=(VersionNumber a, VersionNumber b) { return a.packed_ >= b.packed_; }
    friend bool operator==(VersionNumber a, VersionNumber b) { return a.packed_ == b.packed_; }
    friend bool operator!=(VersionNumber a, VersionNumber b) { return a.packed_ != b.packed_; }

private:
    int32_t packed_ = 0;
};

}  // namespace kiv
