// What the service's control handler does with a control code.
#pragma once

#include <cstdint>
#include <functional>

namespace kiv {

constexpr uint32_t kServiceControlStop = 1;      // SERVICE_CONTROL_STOP
constexpr uint32_t kServiceControlShutdown = 5;  // SERVICE_CONTROL_SHUTDOWN
constexpr uint32_t kCallNotImplemented = 120;    // ERROR_CALL_NOT_IMPLEMENTED

// A stop or shutdown request runs `stop` and is answered 0 (NO_ERROR); every
// other code is answered 120 and changes nothing.
uint32_t answerServiceControl(uint32_t control, const std::function<void()>& stop);

}  // namespace kiv
