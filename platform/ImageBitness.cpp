#include "platform/ImageBitness.h"

#include <cstdint>
#include <cstring>

namespace kiv {

namespace {

constexpr uint16_t kDosSignature = 0x5A4D;      // "MZ"
constexpr size_t kPeOffsetField = 0x3C;         // e_lfanew
constexpr uint32_t kPeSignature = 0x00004550;   // "PE\0\0"
constexpr size_t kMachineField = 4;             // after the PE signature
constexpr size_t kMagicField = 0x18;            // start of the optional header
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr uint16_t kMachineI386 = 0x14C;
constexpr uint16_t kMachineAmd64 = 0x8664;

// Little-endian reads that stay inside the image; false when the value would
// run past its end. Images carry no alignment promise, hence the byte copies.
bool read16(const unsigned char* image, size_t size, uint64_t offset, uint16_t& value) {
    if (offset > size || size - offset < 2) return false;
    value = static_cast<uint16_t>(image[offset] | (image[offset + 1] << 8));
    return true;
}

bool read32(const unsigned char* image, size_t size, uint64_t offset, uint32_t& value) {
    uint16_t low = 0;
    uint16_t high = 0;
    if (!read16(image, size, offset, low) || !read16(image, size, offset + 2, high)) return false;
    value = static_cast<uint32_t>(low) | (static_cast<uint32_t>(high) << 16);
    return true;
}

}  // namespace

int imageBitnessOf(const unsigned char* image, size_t size) {
    if (image == nullptr) return kImageUnknown;
    uint16_t dosSignature = 0;
    uint32_t peOffset = 0;
    if (!read16(image, size, 0, dosSignature) || dosSignature != kDosSignature)
        return kImageUnknown;
    if (!read32(image, size, kPeOffsetField, peOffset) || peOffset == 0) return kImageUnknown;

    // 64-bit arithmetic: an offset near 4 GiB must not wrap back into the image.
    const uint64_t pe = peOffset;
    uint32_t peSignature = 0;
    uint16_t machine = 0;
    uint16_t magic = 0;
    if (!read32(image, size, pe, peSignature) || peSignature != kPeSignature) return kImageUnknown;
    if (!read16(image, size, pe + kMachineField, machine)) return kImageUnknown;
    if (!read16(image, size, pe + kMagicField, magic)) return kImageUnknown;

    if (magic == kMagicPe32 && machine == kMachineI386) return kImage32;
    if (magic == kMagicPe32Plus && machine == kMachineAmd64) return kImage64;
    return kImageUnknown;
}

}  // namespace kiv
