// The service name taken from "-ydkivservice NAME".
#pragma once

#include <cstddef>
#include <string>

namespace kiv {

// The service table holds the name in a buffer of this many wide characters,
// terminator included.
constexpr size_t kServiceNameCapacity = 256;

// Throws TerminalError when `name` does not fit the service-name buffer with its
// terminator (256 characters or more). A cut name would register the process
// under a service that the control manager never started.
void requireFittingServiceName(const std::wstring& name);

}  // namespace kiv
