#include "service/ServiceName.h"

#include "launcher/Errors.h"

namespace kiv {

void requireFittingServiceName(const std::wstring& name) {
    if (name.size() < kServiceNameCapacity) return;
    throw TerminalError(L"the service name after -ydkivservice has " +
                        std::to_wstring(name.size()) + L" characters; at most " +
                        std::to_wstring(kServiceNameCapacity - 1) + L" are allowed");
}

}  // namespace kiv
