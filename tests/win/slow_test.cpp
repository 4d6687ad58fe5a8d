// The real 60-second bound of the page fetch, through the real program, against every
// kind of stall. Slow: left out of the default run (make test-slow).
#include "tests/win/ProgramRun.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(SlowServers, EveryStallEndsWithinTheRealBound) {
    ExpectEveryStallEnds(60000, L"Tolvaring.exe", MakeTempFolder(L"slow-client"),
                         MakeTempFolder(L"slow-work"));
    DeleteTree(HKEY_CURRENT_USER, "Software\\Harlund");
}

} // namespace
