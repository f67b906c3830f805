#include "service/ServiceControl.h"

#include <gtest/gtest.h>

using kiv::answerServiceControl;

TEST(ServiceControl, StopAndShutdownStopTheServiceAndEverythingElseIsNotImplemented) {
    struct Case {
        const char* name;
        uint32_t control;
        uint32_t answer;
        bool stops;
    };
    const Case cases[] = {
        {"stop", 1, 0, true},
        {"shutdown", 5, 0, true},
        {"pause", 2, 120, false},
        {"continue", 3, 120, false},
        {"interrogate", 4, 120, false},
        {"param change", 6, 120, false},
        {"user defined", 200, 120, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int stops = 0;
        EXPECT_EQ(answerServiceControl(c.control, [&] { ++stops; }), c.answer);
        EXPECT_EQ(stops, c.stops ? 1 : 0);
    }
}
