#include "service/ServiceHost.h"

#include "service/ServiceKIV.h"

namespace kiv {

void runServiceHost(const LaunchContext& context) { ServiceKIV::create(context).startService(); }

}  // namespace kiv
