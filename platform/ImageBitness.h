// Whether a program image is a 32-bit x86 or a 64-bit x64 one, read from its
// DOS and PE headers.
#pragma once

#include <cstddef>
#include <string>

namespace kiv {

constexpr int kImageUnknown = 0;
constexpr int kImage32 = 1;  // PE32 for i386
constexpr int kImage64 = 2;  // PE32+ for AMD64

// The bitness of the image in the first `size` bytes at `image`. Every header
// offset is checked against `size`: a short image, or one whose PE offset
// points past its end, is unknown; nothing outside the bytes is ever read.
int imageBitnessOf(const unsigned char* image, size_t size);

// The bitness of the file at `path`, mapped read-only; unknown (0) for a file
// that cannot be opened, mapped or recognised. Never throws.
int imageBitness(const std::wstring& path);

}  // namespace kiv
