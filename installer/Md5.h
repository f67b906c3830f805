// MD5 digest of a file, as the checksum of a downloaded VM pack is given.
#pragma once

#include <cstddef>

namespace kiv {

// Writes the file's MD5 digest as 32 lower-case hexadecimal digits into
// `output`, which the caller has zero-filled, so that the text is terminated
// and any failure leaves the empty string. Nothing is written unless the digest
// was computed and `outputCapacity` holds 33 characters or more. Prints an
// empty line on success and one diagnostic line (with the system error code)
// on failure, to standard output.
void md5OfFile(const wchar_t* path, wchar_t* output, std::size_t outputCapacity);

}  // namespace kiv
