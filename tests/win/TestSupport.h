#pragma once
// Helpers shared by the Windows tests: raw registry access (to check what the program
// wrote without going through its own classes), the loopback page server's address,
// files and screenshots.
#include <windows.h>

#include <string>
#include <vector>

struct RawValue {
    bool exists = false;
    DWORD type = 0;
    std::string bytes;
};

RawValue ReadRawValue(HKEY root, const std::string& path, const std::string& name);
void WriteRawValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                   const std::string& bytes);
bool KeyExists(HKEY root, const std::string& path);
std::string KeyClass(HKEY root, const std::string& path);
void DeleteTree(HKEY root, const std::string& path);

// http://127.0.0.1:<port><path> of the page server the test run started.
std::wstring PageUrl(const std::wstring& path);
int PageServerPort();
// https://127.0.0.1:<port><path>: the same pages over TLS, with a self-signed certificate.
std::wstring TlsPageUrl(const std::wstring& path);
// https://localhost:<port><path>: over TLS with a certificate for localhost from the test
// CA that the prefix trusts; and one for another name from the same CA.
std::wstring TrustedTlsUrl(const std::wstring& path);
std::wstring WrongNameTlsUrl(const std::wstring& path);
// The number in an environment variable the fixture sets (TOLVARING_TEST_..._PORT).
std::wstring TestPort(const wchar_t* variable);

// The test run's state folder (the fixture's), as a Windows path.
std::wstring StateFolder();
// A fresh empty folder below the test run's state folder.
std::wstring MakeTempFolder(const std::wstring& name);
std::wstring ReadFileText(const std::wstring& path); // bytes, widened one to one
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
std::wstring ExeFolder(); // the folder of the running test program

// Saves what the screen shows of `hwnd` (title bar included) as a BMP file in the
// artifacts folder; returns its path.
std::wstring SaveScreenshot(HWND hwnd, const std::wstring& name);

// Whether `control` (of any process) is of the common controls' version 6, with visual
// styles: its class is then not the plain system class of that name.
bool IsCommonControl6(HWND control, const wchar_t* systemClass);

std::string Narrow(const std::wstring& text); // ASCII-only test texts
std::wstring Hex(const std::string& bytes);   // for the page server's /echo?hex=
