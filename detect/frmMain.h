#pragma once
// The status window shown while the external address is determined, with its page fetch
// control `Http` and the method `GetIp`.
#include "common/Handles.h"
#include "detect/Http.h"

#include <windows.h>

#include <string>

class frmMain {
  public:
    frmMain() = default;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;
    ~frmMain() { Unload(); }

    // Loads the window, shows it centred and modeless, and has it painted before it
    // returns, since the fetch that follows blocks the thread.
    void Show();
    void Unload();
    HWND Hwnd() const { return hwnd_; }
    // The window's class, by which another copy of the program tells that this one fetches.
    static constexpr wchar_t kClassName[] = L"TolvaringStatus";

    // Fetches the page at `sUrl` and returns the first dotted-quad address in its text that
    // is not the page server's own (unless no other follows), or the empty text when there
    // is none. A failed fetch throws AppError.
    std::wstring GetIp(const std::wstring& sUrl);
    // The address of the page that showed it, where a redirect of `sUrl` led there; else
    // the empty text.
    const std::wstring& RedirectedTo() const { return source_.redirectedTo; }
    // The text of the page that GetIp read, for a second look (the router's address on it).
    const std::wstring& PageText() const { return page_; }

    HttpControl Http{ProgramHttpSettings()};

  private:
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    PageSource source_;
    std::wstring page_;
    HWND label1_ = nullptr;
    GdiObject labelFont_;
};
