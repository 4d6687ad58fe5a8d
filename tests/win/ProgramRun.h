#pragma once
// Running the real program to its end from a test: the settings it finds, how it ended,
// and the stalling servers that it must give up on.
#include "common/Texts.h"
#include "startup/basMain.h"
#include "tests/win/TestSupport.h"

#include <windows.h>

#include <string>
#include <vector>

extern const char kCompanyKey[];  // below HKEY_CURRENT_USER: all the program keeps there
extern const char kSettingsKey[]; // the key of the settings, below kCompanyKey

// Stores a setting as the program's own settings class does: REG_SZ, ANSI, with its NUL.
void StoreSetting(const wchar_t* name, const std::wstring& value);
// Stored as another tool may store it: through the wide call, whatever the code page.
void StoreSettingWide(const wchar_t* name, const std::wstring& value);
// Both settings: the client's folder and the page's address.
void StoreSettings(const std::wstring& folder, const std::wstring& url);
// The setting as it stands in the registry, whatever its type.
RawValue RawSetting(const wchar_t* name);
void WriteRawSetting(const wchar_t* name, DWORD type, const std::string& bytes);
// Puts the stand-in BearShare.exe, which records how it was started, into `folder`.
bool PutClient(const std::wstring& folder);
// Removes every setting and key the program keeps: a first start.
void ForgetSettings();

// How a run ended; Name() words each one, in this order.
enum class Course { HandOff, Question, Failure, Setup, Hung };
const char* Name(Course c);

struct Observed {
    Course course = Course::Hung;
    std::wstring message; // of the question or failure box
    DWORD exitCode = STILL_ACTIVE;
    ULONGLONG statusAfterMs = 0; // from the start to the status window
    ULONGLONG boxAfterMs = 0;    // from the start to the first box or dialog
    double peakMiB = 0;          // the program's peak working set
    UINT boxStyle = 0;           // the style of the last box, as the test build notes it
    LONG boxWidth = 0;           // the width of the last box, in pixels
};

// Runs the program (by default its test build, which notes each box's style) to its end,
// answering what it shows: No to the question and to changing the folder, OK to a failure
// box, closing the setup dialog.
Observed RunToTheEnd(const std::wstring& workFolder, DWORD ms = 40000,
                     const wchar_t* exeName = L"TolvaringTest.exe");

// Servers that stall at one stage of a fetch or another, never finishing within `boundMs`.
struct StallCase {
    const char* what;
    std::wstring url;
    Course course;       // how the program must end
    std::wstring reason; // a part of its message
};
std::vector<StallCase> StallCases(DWORD boundMs);

// Runs `exeName` against each stall with the client in `clientFolder` and checks that it
// ends as the case says, its box at most 2 s after the bound has passed since the status
// window came up, and that a failure wrote and started nothing.
void ExpectEveryStallEnds(DWORD boundMs, const wchar_t* exeName, const std::wstring& clientFolder,
                          const std::wstring& workFolder);
