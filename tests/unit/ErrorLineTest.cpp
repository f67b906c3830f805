#include "launcher/ErrorLine.h"

#include <gtest/gtest.h>

TEST(ErrorLine, JoinsPrefixAndMessageAndEndsTheLine) {
    EXPECT_EQ(kiv::formatErrorLine(L"Halvorn Error", L"boom"), L"Halvorn Error: boom\n");
}

TEST(ErrorLine, CutsALongMessageButKeepsTheLineEnd) {
    const std::wstring line = kiv::formatErrorLine(L"Halvorn Error", std::wstring(1000, L'x'));
    EXPECT_EQ(line.size(), kiv::kErrorLineCapacity - 1);
    EXPECT_EQ(line.back(), L'\n');
    EXPECT_EQ(line.compare(0, 15, L"Halvorn Error: "), 0);
}

TEST(ErrorLine, ReportsOtherExceptionsWithTheirDescription) {
    EXPECT_EQ(kiv::unknownExceptionMessage("Unknown exception"),
              L"an unknown exception has occurrred.\nUnknown exception");
}
