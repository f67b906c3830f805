// A Java version: major, minor and micro, compared in that order. Each
// component holds up to 65535, so current releases keep their true numbers
// (Java 8u401 has an update of 401); a larger value is held at 65535, so it
// never spills into its neighbour and a later release never sorts below an
// earlier one.
#pragma once

#include <cstdint>

namespace kiv {

class VersionNumber {
public:
    static constexpr unsigned kLargestComponent = 0xFFFFu;

    VersionNumber() = default;
    VersionNumber(unsigned major, unsigned minor, unsigned micro)
        : major_(held(major)), minor_(held(minor)), micro_(held(micro)) {}

    unsigned major() const { return major_; }
    unsigned minor() const { return minor_; }
    unsigned micro() const { return micro_; }

    void setMajor(unsigned value) { major_ = held(value); }
    void setMinor(unsigned value) { minor_ = held(value); }
    void setMicro(unsigned value) { micro_ = held(value); }

    friend bool operator<(VersionNumber a, VersionNumber b) { return a.order() < b.order(); }
    friend bool operator>=(VersionNumber a, VersionNumber b) { return !(a < b); }
    friend bool operator==(VersionNumber a, VersionNumber b) { return a.order() == b.order(); }
    friend bool operator!=(VersionNumber a, VersionNumber b) { return !(a == b); }

private:
    static uint16_t held(unsigned component) {
        return static_cast<uint16_t>(component > kLargestComponent ? kLargestComponent : component);
    }
    uint64_t order() const {
        return (static_cast<uint64_t>(major_) << 32) | (static_cast<uint64_t>(minor_) << 16) | micro_;
    }

    uint16_t major_ = 0;
    uint16_t minor_ = 0;
    uint16_t micro_ = 0;
};

}  // namespace kiv
