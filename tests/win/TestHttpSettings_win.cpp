// The fetch settings of the program's test build and of the test programs: the defaults,
// with the bound taken from TOLVARING_TEST_FETCH_MS when it is set, so that the tests can
// watch the real program time out in seconds.
#include "detect/Http.h"

#include <cwchar>

HttpSettings ProgramHttpSettings() {
    HttpSettings settings;
    wchar_t buffer[16] = {};
    if (GetEnvironmentVariableW(L"TOLVARING_TEST_FETCH_MS", buffer, 16) > 0)
        settings.timeoutMs = static_cast<DWORD>(std::wcstoul(buffer, nullptr, 10));
    return settings;
}
