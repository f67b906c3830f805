#include "platform/ConsoleInterrupts.h"

#include <windows.h>

namespace kiv {

namespace {

BOOL WINAPI leaveToTheVm(DWORD event) {
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? TRUE : FALSE;
}

}  // namespace

InterruptsLeftToTheVm::InterruptsLeftToTheVm() { SetConsoleCtrlHandler(leaveToTheVm, TRUE); }

InterruptsLeftToTheVm::~InterruptsLeftToTheVm() { SetConsoleCtrlHandler(leaveToTheVm, FALSE); }

}  // namespace kiv
