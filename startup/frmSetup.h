#pragma once
// The setup dialog: the BearShare directory and the address of a page that shows the
// caller's IP. Modeless; OK stores both settings and leaves the dialog open.
#include "settings/SettingsValue.h"
#include "startup/DirList.h"

#include <windows.h>

#include <string>

// A directory list as the settings store it: by its current path.
class DirListValue : public HasDefaultProperty {
  public:
    explicit DirListValue(const DirList& list) : list_(list) {}
    SettingsValue DefaultValue() const override { return SettingsValue(list_.Path()); }

  private:
    const DirList& list_;
};

class TextBox : public HasDefaultProperty {
  public:
    HWND hwnd = nullptr;
    std::wstring Text() const;
    void Text(const std::wstring& text) const { SetWindowTextW(hwnd, text.c_str()); }
    SettingsValue DefaultValue() const override { return SettingsValue(Text()); }
};

class frmSetup {
  public:
    // Loads the dialog if it is not loaded (Form_Load runs before it is shown), then
    // shows it modeless without an owner.
    static void Show();
    static HWND Hwnd();
    // The dialog's window class, by which another copy of the program finds it.
    static constexpr wchar_t kClassName[] = L"TolvaringSetup";

    // Control identifiers, for whoever drives the dialog from outside.
    enum : int {
        kIdDirBearShare = 100,
        kIdTxtUrl = 101,
        kIdCmdOkay = 102,
        kIdCmdCancel = IDCANCEL, // Esc presses it
        kIdFrame0 = 110,
        kIdFrame1 = 111,
        kIdLblInfo0 = 120,
        kIdLblInfo1 = 121,
    };

  private:
    frmSetup() = default;
    void Load();
    void CreateControls();
    void Form_Load();
    void cmdOkay_Click();
    bool StorableOrSaid(const std::wstring& value, const std::wstring& shown, const wchar_t* what,
                        const wchar_t* instead) const;
    void cmdCancel_Click();
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);

    HWND hwnd_ = nullptr;
    HWND Frame[2] = {};
    HWND lblInfo[2] = {};
    HWND cmdOkay = nullptr;
    HWND cmdCancel = nullptr;
    DirList dirBearShare;
    TextBox txtUrl;
    HWND focusOnDeactivate_ = nullptr;
};
