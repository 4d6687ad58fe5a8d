// The real 60-second bound of the page fetch, through the real program, against every
// kind of stall. Slow: left out of the default run (make test-slow).
#include "tests/win/ProgramTest.h"

#include <gtest/gtest.h>

namespace {

TEST_F(Tolvaring, EveryStallEndsWithinTheRealBound) {
    ExpectEveryStallEnds(60000, L"Tolvaring.exe", ClientFolder(L"slow-client"), work);
}

} // namespace
