// A Java version packed into one comparable value: major in bits 16-23,
// minor in bits 8-15, micro in bits 0-7. A component above 255 (Java 8u381
// has micro 381) is held at 255: it never spills into its neighbour, and a
// later release never sorts below an earlier one.
#pragma once

#include <cstdint>

namespace kiv {

class VersionNumber {
public:
    VersionNumber() = default;
    VersionNumber(unsigned major, unsigned minor, unsigned micro)
        : packed_(static_cast<int32_t>((held(major) << 16) | (held(minor) << 8) | held(micro))) {}

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
    static uint32_t held(unsigned component) { return component > 0xFFu ? 0xFFu : component; }

    int32_t packed_ = 0;
};

}  // namespace kiv
