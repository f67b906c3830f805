// Running the launcher as a Windows service ("-ydkivservice NAME").
#pragma once

#include "launcher/LaunchContext.h"

namespace kiv {

// Connects to the service control manager and runs the application's VM as
// the service; returns when the service has stopped, or at once when the
// process was not started by the service control manager.
void runServiceHost(const LaunchContext& context);

}  // namespace kiv
