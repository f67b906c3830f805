// Ctrl+C and Ctrl+Break go to every process of a console, and by default they
// end each one at once.
#pragma once

namespace kiv {

// While it lives, Ctrl+C and Ctrl+Break do not end this process. The VM that
// shares the console receives them as well and decides whether to end; the
// launcher then hands on the code the VM ends with, instead of ending first
// with the interrupt's status while the VM still runs its shutdown.
class InterruptsLeftToTheVm {
public:
    InterruptsLeftToTheVm();
    ~InterruptsLeftToTheVm();
    InterruptsLeftToTheVm(const InterruptsLeftToTheVm&) = delete;
    InterruptsLeftToTheVm& operator=(const InterruptsLeftToTheVm&) = delete;
};

}  // namespace kiv
