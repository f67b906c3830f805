#include "platform/ImageBitness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kiv {
namespace {

constexpr uint32_t kPeOffset = 0x80;

void put16(std::vector<unsigned char>& image, size_t offset, uint16_t value) {
    image[offset] = static_cast<unsigned char>(value & 0xFF);
    image[offset + 1] = static_cast<unsigned char>(value >> 8);
}

void put32(std::vector<unsigned char>& image, size_t offset, uint32_t value) {
    put16(image, offset, static_cast<uint16_t>(value & 0xFFFF));
    put16(image, offset + 2, static_cast<uint16_t>(value >> 16));
}

// Just the bytes the check reads: DOS signature, e_lfanew, PE signature,
// machine and optional-header magic, the magic being the image's last bytes.
std::vector<unsigned char> image(uint16_t machine, uint16_t magic) {
    std::vector<unsigned char> bytes(kPeOffset + 0x1A, 0);
    put16(bytes, 0, 0x5A4D);
    put32(bytes, 0x3C, kPeOffset);
    put32(bytes, kPeOffset, 0x00004550);
    put16(bytes, kPeOffset + 4, machine);
    put16(bytes, kPeOffset + 0x18, magic);
    return bytes;
}

// The image is handed over in an allocation of exactly its size, so that a
// read past the end shows under AddressSanitizer.
int bitnessOf(const std::vector<unsigned char>& bytes) {
    std::vector<unsigned char> exact(bytes);
    exact.shrink_to_fit();
    return imageBitnessOf(exact.empty() ? nullptr : exact.data(), exact.size());
}

std::vector<unsigned char> truncated(std::vector<unsigned char> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

std::vector<unsigned char> withPeOffset(uint32_t offset) {
    std::vector<unsigned char> bytes = image(0x14C, 0x10B);
    put32(bytes, 0x3C, offset);
    return bytes;
}

TEST(ImageBitnessTest, MachineAndMagicTogetherDecide) {
    struct Case {
        const char* label;
        uint16_t machine;
        uint16_t magic;
        int expected;
    };
    const std::vector<Case> cases = {
        {"PE32 for i386", 0x14C, 0x10B, kImage32},
        {"PE32+ for AMD64", 0x8664, 0x20B, kImage64},
        {"PE32 claiming AMD64", 0x8664, 0x10B, kImageUnknown},
        {"PE32+ claiming i386", 0x14C, 0x20B, kImageUnknown},
        {"PE32+ for ARM64", 0xAA64, 0x20B, kImageUnknown},
        {"ROM image magic", 0x14C, 0x107, kImageUnknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.expected, bitnessOf(image(c.machine, c.magic)));
    }
}

TEST(ImageBitnessTest, ShortOrMalformedImagesAreUnknownAndNeverReadPastTheirEnd) {
    const std::vector<unsigned char> valid = image(0x8664, 0x20B);
    std::vector<unsigned char> badDosSignature = valid;
    put16(badDosSignature, 0, 0x4D5A);
    std::vector<unsigned char> badPeSignature = valid;
    put32(badPeSignature, kPeOffset, 0x0000454E);  // "NE\0\0"
    const std::string text = "This is a plain text file, not a program.\r\n";

    struct Case {
        const char* label;
        std::vector<unsigned char> bytes;
    };
    const std::vector<Case> cases = {
        {"empty", {}},
        {"one byte", {0x4D}},
        {"DOS signature only", truncated(valid, 2)},
        {"cut inside the PE offset field", truncated(valid, 0x3E)},
        {"cut inside the PE signature", truncated(valid, kPeOffset + 2)},
        {"cut inside the machine field", truncated(valid, kPeOffset + 5)},
        {"cut inside the magic field", truncated(valid, kPeOffset + 0x19)},
        {"PE offset zero", withPeOffset(0)},
        {"PE offset at the very end", withPeOffset(kPeOffset + 0x1A)},
        {"PE offset far past the end", withPeOffset(0x7FFFFFF0)},
        {"PE offset that wraps 32 bits", withPeOffset(0xFFFFFFFE)},
        {"wrong DOS signature", badDosSignature},
        {"wrong PE signature", badPeSignature},
        {"text", std::vector<unsigned char>(text.begin(), text.end())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(kImageUnknown, bitnessOf(c.bytes));
    }
}

TEST(ImageBitnessTest, NoImageAtAllIsUnknown) {
    EXPECT_EQ(kImageUnknown, imageBitnessOf(nullptr, 0));
}

}  // namespace
}  // namespace kiv
