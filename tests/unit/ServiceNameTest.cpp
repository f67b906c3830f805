#include "service/ServiceName.h"

#include <gtest/gtest.h>

#include "launcher/Errors.h"

using kiv::requireFittingServiceName;

TEST(ServiceName, FitsTheBufferUpToTwoHundredFiftyFiveCharacters) {
    EXPECT_NO_THROW(requireFittingServiceName(L"KivService"));
    EXPECT_NO_THROW(requireFittingServiceName(std::wstring(255, L'n')));
}

TEST(ServiceName, IsRefusedWithAClearMessageFromTwoHundredFiftySixCharacters) {
    for (const size_t length : {size_t(256), size_t(300)}) {
        SCOPED_TRACE(length);
        try {
            requireFittingServiceName(std::wstring(length, L'n'));
            ADD_FAILURE() << "no TerminalError";
        } catch (const kiv::TerminalError& error) {
            EXPECT_EQ(error.message(), L"the service name after -ydkivservice has " +
                                           std::to_wstring(length) +
                                           L" characters; at most 255 are allowed");
        }
    }
}
