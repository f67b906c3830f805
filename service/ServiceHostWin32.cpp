#include "service/ServiceHost.h"

namespace kiv {

void runServiceHost(const LaunchContext&) {}

}  // namespace kiv
