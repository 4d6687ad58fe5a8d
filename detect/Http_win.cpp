#include "Http.h"

#include "common/Ansi.h"
#include "common/AppError.h"
#include "common/ErrorText.h"
#include "common/Handles.h"
#include "detect/PageText.h"

#include <wininet.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kUserAgent[] = L"Tolvaring/1.0";

[[noreturn]] void Fail(const std::wstring& url, const std::wstring& reason) {
    throw AppError(L"Die Seite \u201E" + url + L"\u201C konnte nicht geladen werden.\r\n" + reason);
}

[[noreturn]] void FailWithCode(const std::wstring& url, DWORD code) {
    static const std::wstring timeout = L"Zeit\u00FCberschreitung: ";
    Fail(url, (code == ERROR_INTERNET_TIMEOUT ? timeout : std::wstring()) + ErrorText(code));
}

struct UrlParts {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_HTTP;
    std::wstring host, user, password, object;
    INTERNET_PORT port = 0;
};

// A bare "host/path" is taken as http, the protocol the control is set up for.
std::wstring WithScheme(const std::wstring& url) {
    return url.find(L"://") == std::wstring::npos ? L"http://" + url : url;
}

UrlParts CrackUrl(const std::wstring& original, const std::wstring& url) {
    URL_COMPONENTSW c{};
    c.dwStructSize = sizeof c;
    c.dwSchemeLength = c.dwHostNameLength = c.dwUserNameLength = c.dwPasswordLength =
        c.dwUrlPathLength = c.dwExtraInfoLength = 1; // ask for pointers into `url`
    if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &c))
        FailWithCode(original, GetLastError());
    if (c.nScheme != INTERNET_SCHEME_HTTP && c.nScheme != INTERNET_SCHEME_HTTPS)
        Fail(original, L"Nur Adressen mit http:// oder https:// werden unterst\u00FCtzt.");
    UrlParts p;
    p.scheme = c.nScheme;
    if (c.lpszHostName) p.host.assign(c.lpszHostName, c.dwHostNameLength);
    if (c.lpszUserName) p.user.assign(c.lpszUserName, c.dwUserNameLength);
    if (c.lpszPassword) p.password.assign(c.lpszPassword, c.dwPasswordLength);
    if (c.lpszUrlPath) p.object.assign(c.lpszUrlPath, c.dwUrlPathLength);
    if (c.lpszExtraInfo) p.object.append(c.lpszExtraInfo, c.dwExtraInfoLength);
    if (p.object.empty()) p.object = L"/";
    p.port = c.nPort;
    if (p.host.empty()) Fail(original, L"Die Adresse nennt keinen Server.");
    return p;
}

void SetTimeouts(HINTERNET h, DWORD ms) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionW(h, option, &ms, sizeof ms);
}

DWORD StatusCode(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr))
        return 0;
    return status;
}

std::wstring HeaderText(HINTERNET request, DWORD query) {
    DWORD size = 0;
    HttpQueryInfoW(request, query, nullptr, &size, nullptr);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (!HttpQueryInfoW(request, query, text.data(), &size, nullptr)) return {};
    text.resize(size / sizeof(wchar_t));
    return text;
}

// Content-Length when the server names one; -1 otherwise.
long long ContentLength(HINTERNET request) {
    const std::wstring text = HeaderText(request, HTTP_QUERY_CONTENT_LENGTH);
    if (text.empty()) return -1;
    return _wtoi64(text.c_str());
}

class Deadline {
  public:
    explicit Deadline(DWORD ms) : end_(GetTickCount64() + ms) {}
    DWORD Left() const {
        const ULONGLONG now = GetTickCount64();
        return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
    }

  private:
    ULONGLONG end_;
};

std::string ReadBody(const std::wstring& url, HINTERNET request, const Deadline& deadline,
                     std::size_t maxBytes) {
    const long long announced = ContentLength(request);
    if (announced > static_cast<long long>(maxBytes))
        Fail(url, L"Die Seite ist gr\u00F6\u00DF"
                  L"er als " +
                      std::to_wstring(maxBytes >> 20) + L" MiB.");
    std::string body;
    std::vector<char> chunk(64 * 1024);
    for (;;) {
        // The time-out is the time left, so a trickling server cannot stretch the fetch.
        DWORD left = deadline.Left();
        if (left == 0) FailWithCode(url, ERROR_INTERNET_TIMEOUT);
        InternetSetOptionW(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &left, sizeof left);
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0))
            FailWithCode(url, GetLastError());
        if (available == 0) break;
        DWORD got = 0;
        const DWORD want = std::min<DWORD>(available, static_cast<DWORD>(chunk.size()));
        if (!InternetReadFile(request, chunk.data(), want, &got)) FailWithCode(url, GetLastError());
        if (got == 0) break;
        if (body.size() + got > maxBytes)
            Fail(url, L"Die Seite ist gr\u00F6\u00DF"
                      L"er als " +
                          std::to_wstring(maxBytes >> 20) + L" MiB.");
        body.append(chunk.data(), got);
    }
    if (announced >= 0 && static_cast<long long>(body.size()) < announced)
        Fail(url, L"Die Verbindung wurde vor dem Ende der Seite getrennt.");
    return body;
}

bool IsRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Where a redirect points, resolved against the address that answered with it.
std::wstring RedirectTarget(const std::wstring& url, const std::wstring& current,
                            HINTERNET request) {
    const std::wstring location = HeaderText(request, HTTP_QUERY_LOCATION);
    if (location.empty()) Fail(url, L"Der Server leitet weiter, nennt aber kein Ziel.");
    DWORD size = 0;
    InternetCombineUrlW(current.c_str(), location.c_str(), nullptr, &size, ICU_NO_ENCODE);
    std::wstring combined(size + 1, L'\0');
    if (!InternetCombineUrlW(current.c_str(), location.c_str(), combined.data(), &size,
                             ICU_NO_ENCODE))
        FailWithCode(url, GetLastError());
    combined.resize(size);
    return combined;
}

// One request: the connection and the request handle, kept together so the request can
// be read after it was sent.
struct Exchange {
    InternetHandle connection;
    InternetHandle request;
};

Exchange Send(const std::wstring& url, const std::wstring& current, HINTERNET session,
              const HttpSettings& settings, const Deadline& deadline) {
    const UrlParts parts = CrackUrl(url, current);
    const INTERNET_PORT port = parts.port ? parts.port
                               : parts.scheme == INTERNET_SCHEME_HTTPS
                                   ? INTERNET_PORT(INTERNET_DEFAULT_HTTPS_PORT)
                                   : settings.port;
    Exchange x;
    x.connection.Reset(InternetConnectW(
        session, parts.host.c_str(), port, parts.user.empty() ? nullptr : parts.user.c_str(),
        parts.password.empty() ? nullptr : parts.password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
    if (!x.connection) FailWithCode(url, GetLastError());
    SetTimeouts(x.connection.Get(), std::max<DWORD>(deadline.Left(), 1));

    // Redirects are followed by us, so that a loop ends and the deadline covers every hop.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES |
                  INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (parts.scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    const wchar_t* accept[] = {L"text/*", L"*/*", nullptr};
    x.request.Reset(HttpOpenRequestW(x.connection.Get(), L"GET", parts.object.c_str(), nullptr,
                                     nullptr, accept, flags, 0));
    if (!x.request) FailWithCode(url, GetLastError());
    SetTimeouts(x.request.Get(), std::max<DWORD>(deadline.Left(), 1));
    if (!HttpSendRequestW(x.request.Get(), nullptr, 0, nullptr, 0))
        FailWithCode(url, GetLastError());
    return x;
}

} // namespace

std::wstring HttpControl::OpenURL(const std::wstring& url) const {
    constexpr int kMaxRedirects = 10;
    const Deadline deadline(settings_.timeoutMs);
    InternetHandle session(
        InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) FailWithCode(url, GetLastError());

    std::wstring current = WithScheme(url);
    for (int hop = 0;; ++hop) {
        Exchange x = Send(url, current, session.Get(), settings_, deadline);
        const DWORD status = StatusCode(x.request.Get());
        if (IsRedirect(status)) {
            if (hop == kMaxRedirects)
                Fail(url, L"Zu viele Weiterleitungen (mehr als " + std::to_wstring(kMaxRedirects) +
                              L").");
            current = RedirectTarget(url, current, x.request.Get());
            continue;
        }
        if (status < 200 || status > 299)
            Fail(url,
                 L"Der Server antwortete mit dem HTTP-Status " + std::to_wstring(status) + L".");
        const std::string body = ReadBody(url, x.request.Get(), deadline, settings_.maxBytes);
        const std::wstring contentType = HeaderText(x.request.Get(), HTTP_QUERY_CONTENT_TYPE);
        const std::string ascii(contentType.begin(), contentType.end());
        return PageBytesToText(body, CharsetFromContentType(ascii), FromAnsi);
    }
}
