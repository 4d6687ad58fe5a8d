#include "basMain.h"

#include "common/AppError.h"
#include "common/Forms.h"
#include "common/Handles.h"
#include "common/MessageBox.h"
#include "common/Quote.h"
#include "common/Texts.h"
#include "detect/LineVerdict.h"
#include "detect/PublicAddress.h"
#include "detect/Router.h"
#include "detect/Url.h"
#include "detect/frmMain.h"
#include "startup/Client.h"
#include "startup/OneCopy.h"
#include "startup/frmSetup.h"

#include <algorithm>
#include <memory>

namespace {

// The stored text as the wide registry call gives it; empty when it is no REG_SZ.
std::wstring WideSetting(const wchar_t* name) {
    RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Settings().AppKeyPath().c_str(), 0, KEY_QUERY_VALUE,
                      key.Put()) != ERROR_SUCCESS)
        return {};
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &size) != ERROR_SUCCESS)
        return {};
    text.resize(std::min(text.find(L'\0'), size / sizeof(wchar_t)));
    return text;
}

// The setting, whose text `Main` can use: AppError when it is not exact.
std::wstring Setting(const wchar_t* name) {
    const StoredSetting setting = ReadSetting(name);
    if (!setting.exact) throw AppError(NotExactMessage(name, setting.text));
    return setting.text;
}

} // namespace

StoredSetting ReadSetting(const wchar_t* name) {
    const std::wstring text = Settings().Value(L"", name).ToText();
    const std::wstring wide = WideSetting(name);
    if (!wide.empty() && wide != text) return {wide, false};
    return {text, true};
}

std::wstring NotExactMessage(const wchar_t* name, const std::wstring& wide) {
    return texts::SettingNotExact(name, Quote(UrlWithoutPassword(wide)));
}

clsRegistry& Settings() {
    static std::unique_ptr<clsRegistry> settings;
    if (!settings) settings = std::make_unique<clsRegistry>();
    return *settings;
}

void SetSettingsIdentity() {
    Settings().Firma(L"Harlund");
    Settings().HKey(RootKeyValue(HKEY_CURRENT_USER));
    Settings().Produkt(L"Tolvaring");
    Settings().Version(L"1.0");
}

namespace {

// Our setup dialog, unless another copy shows its own meanwhile: that one comes forward,
// and what it stores stays.
void ShowSetup() {
    if (TakeSetupLock()) return frmSetup::Show();
    BringHeldSetupForward();
}

// The question whether to change the web site; Ja opens the setup dialog.
void OfferToChangeWebsite(const wchar_t* question) {
    if (ShowMessageBox(nullptr, question, texts::kAppTitle,
                       MB_YESNO | MB_ICONSTOP | MB_SETFOREGROUND) == IDYES)
        ShowSetup();
}

const wchar_t* WhyNotHandedOn(AddressVerdict verdict) {
    switch (verdict) {
    case AddressVerdict::OwnNetwork:
        return texts::kOwnNetwork;
    case AddressVerdict::SharedNetwork:
        return texts::kSharedNetwork;
    case AddressVerdict::LeadingZeros:
        return texts::kLeadingZeros;
    default:
        return texts::kNoValidAddress;
    }
}

// The page as a box names it: its password hidden, and the page a redirect led to.
std::wstring PageNamed(const std::wstring& url, const std::wstring& redirectedTo) {
    const std::wstring page = Quote(UrlWithoutPassword(url));
    return redirectedTo.empty()
               ? page
               : texts::RedirectedPage(page, Quote(UrlWithoutPassword(redirectedTo)));
}

// What the router's answer means beside the page's first address `address`, as a box
// says it.
std::wstring RouterSays(const Decision& decision, const std::optional<std::wstring>& answer,
                        const std::wstring& address) {
    if (!answer) return texts::kRouterNoAnswer;
    const std::wstring quoted = Quote(*answer);
    switch (decision.line) {
    case Line::Public:
        return *answer == address            ? std::wstring(texts::kRouterSameAddress)
               : decision.address == *answer ? texts::RouterAddressOnPage(quoted)
                                             : texts::RouterOtherPublic(quoted);
    case Line::SecondRouter:
        return texts::RouterSecondRouter(quoted);
    case Line::SharedAddress:
        return texts::RouterShared(quoted);
    case Line::DsLite:
        return texts::RouterDsLite(quoted);
    case Line::DsLiteOrShared:
        return texts::RouterNoPublic(answer->empty() ? std::wstring() : quoted);
    case Line::Unknown:
        break;
    }
    return texts::RouterAnswered(quoted);
}

// The line has no public IPv4 address: Ja starts BearShare without a forced address, with
// the status window up again, as the elevation prompt needs an active window of ours.
void OfferToStartWithoutAddress(const std::wstring& text) {
    if (ShowMessageBox(nullptr, text.c_str(), texts::kAppTitle,
                       MB_YESNO | MB_ICONEXCLAMATION | MB_SETFOREGROUND) != IDYES)
        return SetExitCode(1);
    frmMain status;
    status.Show();
    HandOff(Setting(kFolderSetting), std::nullopt, status.Hwnd());
    EndProgram(0);
}

// The detection and the hand-off, or the question when the page yields no address that
// peers could reach: a router's or proxy's page shows the address of the own network, and
// the scan takes any four groups of digits; BearShare would announce it and nobody could
// connect. The router, asked beside the page, can stop an address on a line that has none
// of its own, and can say which of the page's addresses is the line's.
void DetectAndHandOff() {
    CheckClientFolder(Setting(kFolderSetting));

    frmMain status;
    status.Show();
    const std::wstring url = Setting(kUrlSetting);
    std::wstring address;
    std::optional<std::wstring> answer;
    {
        RouterQuery router; // asked no longer once the page and its grace are past
        address = status.GetIp(url);
        if (address == L"") {
            status.Unload();
            return OfferToChangeWebsite(texts::kQuestion);
        }
        answer = router.Answer(GetTickCount64() + kRouterGraceMs);
    }
    const Decision decision = Decide(address, status.PageText(), answer);
    // The status window stays until the client is started: the elevation prompt needs a
    // window of ours to come to the front over. It goes with the program.
    if (decision.kind == Decision::Kind::HandOn) {
        HandOff(Setting(kFolderSetting), decision.address, status.Hwnd());
        EndProgram(0);
    }
    status.Unload();
    const std::wstring page = PageNamed(url, status.RedirectedTo()), shown = Quote(address);
    switch (decision.kind) {
    case Decision::Kind::DsLitePage: // no page can mend the line: the box says what can
        return OfferToStartWithoutAddress(texts::DsLiteAddress(page, shown));
    case Decision::Kind::NoPublicLine:
        return OfferToStartWithoutAddress(
            texts::NoPublicLine(page, shown, RouterSays(decision, answer, address),
                                decision.line != Line::SharedAddress));
    default:
        break;
    }
    const std::wstring text = texts::AddressRefused(page, shown, WhyNotHandedOn(decision.verdict));
    OfferToChangeWebsite(text.c_str());
}

const wchar_t* WhyThisFile(ClientReading::Why why) {
    switch (why) {
    case ClientReading::Why::Copy:
        return texts::kReadsCopy;
    case ClientReading::Why::Elevated:
        return texts::kReadsRealElevated;
    case ClientReading::Why::WeAreElevated:
        return texts::kReadsRealWeAreElevated;
    case ClientReading::Why::UacOff:
        return texts::kReadsRealUacOff;
    case ClientReading::Why::ClientNotVirtualized:
        return texts::kReadsRealClientNotVirtualized;
    case ClientReading::Why::NotProtected:
        return texts::kReadsRealNotProtected;
    case ClientReading::Why::NoCopyYet:
        break;
    }
    return texts::kReadsRealNoCopyYet;
}

// What the check says of the address: whether it would be handed on, or why not.
std::wstring CheckVerdict(const Decision& decision, const std::wstring& address,
                          const ClientReading& reading) {
    switch (decision.kind) {
    case Decision::Kind::HandOn:
        if (!reading.writeFailure.empty()) return texts::WouldNotWrite(reading.writeFailure);
        return decision.address == address ? std::wstring(texts::kWouldHandOn)
                                           : texts::WouldHandOnRouters(Quote(decision.address));
    case Decision::Kind::NoPublicLine:
        return texts::WouldNotHandOn(texts::kNoPublicLine);
    case Decision::Kind::DsLitePage:
        return texts::WouldNotHandOn(texts::kDsLiteReason);
    default:
        return texts::WouldNotHandOn(WhyNotHandedOn(decision.verdict));
    }
}

// What the page gives, what the router says, and where BearShare would read it, in one
// box; nothing is written or started. Exit code 0 only when the address would be handed
// on.
void CheckAndReport() {
    const std::wstring folder = Setting(kFolderSetting);
    CheckClientFolder(folder);

    frmMain status;
    status.Show();
    const std::wstring url = Setting(kUrlSetting);
    std::wstring address;
    std::optional<std::wstring> answer;
    ClientReading reading;
    {
        RouterQuery router; // the check gives it its whole time
        address = status.GetIp(url);
        reading = WhatTheClientReads(folder);
        answer = router.Answer(router.Started() + kRouterMaxMs);
    }
    status.Unload();

    const std::wstring page = PageNamed(url, status.RedirectedTo());
    std::wstring text;
    bool handedOn = false;
    if (address.empty()) {
        text = texts::NoAddressShown(page) + L" " +
               (answer ? texts::RouterAnswered(Quote(*answer)) : texts::kRouterNoAnswer);
    } else {
        const Decision decision = Decide(address, status.PageText(), answer);
        // A start hands on only where it can write the file.
        handedOn = decision.kind == Decision::Kind::HandOn && reading.writeFailure.empty();
        text = texts::PageShowed(page, Quote(address)) + RouterSays(decision, answer, address) +
               L" " + CheckVerdict(decision, address, reading);
    }
    text += texts::ClientReads(Quote(reading.file), WhyThisFile(reading.why),
                               reading.forcedIP ? Quote(*reading.forcedIP) : std::wstring());
    ShowMessageBox(nullptr, text.c_str(), texts::kAppTitle,
                   MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
    SetExitCode(handedOn ? 0 : 1);
}

// False when a setting is missing or not exact: the setup dialog is open then.
bool SettingsUsable() {
    if (Settings().Value(L"", kFolderSetting) == L"" || Settings().Value(L"", kUrlSetting) == L"") {
        ShowSetup();
        return false;
    }
    // Another tool may have stored what the code page turns into a look-alike: the user
    // is told and chooses anew, as for a missing setting.
    for (const wchar_t* name : {kFolderSetting, kUrlSetting}) {
        const StoredSetting setting = ReadSetting(name);
        if (!setting.exact) {
            ReportFailure(AppError(NotExactMessage(name, setting.text)));
            ShowSetup();
            return false;
        }
    }
    return true;
}

void Run(void (*course)()) {
    SetSettingsIdentity();
    if (!SettingsUsable()) return;
    try {
        course();
    } catch (const AppError& failure) {
        // A moved or reinstalled BearShare: the user can choose its folder right away.
        if (!failure.AboutFolder()) throw;
        if (OfferToChangeFolder(failure)) ShowSetup();
    }
}

} // namespace

void Main() {
    Run(DetectAndHandOff);
}

void CheckStart() {
    Run(CheckAndReport);
}

void OpenSetup() {
    SetSettingsIdentity();
    ShowSetup();
}
