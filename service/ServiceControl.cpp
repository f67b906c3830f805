#include "service/ServiceControl.h"

namespace kiv {

uint32_t answerServiceControl(uint32_t control, const std::function<void()>& stop) {
    if (control != kServiceControlStop && control != kServiceControlShutdown)
        return kCallNotImplemented;
    stop();
    return 0;
}

}  // namespace kiv
