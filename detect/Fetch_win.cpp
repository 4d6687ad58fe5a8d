// The worker side of the page fetch: every WinINet call of a fetch, on its own thread.
#include "detect/FetchJob.h"

#include "common/Ansi.h"
#include "common/ErrorText.h"
#include "common/Quote.h"
#include "common/Texts.h"
#include "detect/PageText.h"
#include "detect/ServerAddresses.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

// The platform counts the terminating NUL.
static_assert(kMaxUrlLength + 1 == INTERNET_MAX_URL_LENGTH, "the portable limit is the platform's");

[[noreturn]] void Fail(std::wstring reason) {
    throw FetchFailure{std::move(reason)};
}

[[noreturn]] void FailWithCode(DWORD code) {
    Fail((code == ERROR_INTERNET_TIMEOUT ? std::wstring(texts::kTimeoutPrefix) : std::wstring()) +
         ErrorText(code));
}

std::wstring TimeoutReason(DWORD ms) {
    return texts::Timeout((ms + 999) / 1000);
}

std::wstring HeadersTooLargeReason(std::size_t maxHeaderBytes) {
    return texts::HeadersTooLong(maxHeaderBytes >> 10);
}

void CheckPrepared(const PreparedUrl& url) {
    switch (url.problem) {
    case UrlProblem::None:
        return;
    case UrlProblem::Empty:
        Fail(texts::kEmptyAddress);
    case UrlProblem::Control:
        Fail(texts::kControlCharacters);
    case UrlProblem::Scheme:
        Fail(texts::SchemeRefused(ShortenMiddle(url.scheme, 40)));
    case UrlProblem::TooLong:
        Fail(texts::AddressTooLong(kMaxUrlLength));
    case UrlProblem::Port:
        Fail(texts::PortRefused(ShortenMiddle(url.port, 20)));
    case UrlProblem::Form:
        Fail(texts::kUnreadableAddress);
    }
    Fail(texts::kInvalidAddress);
}

namespace {

constexpr wchar_t kUserAgent[] = L"Tolvaring/1.0";
constexpr int kMaxRedirects = 10;

std::wstring TooBigReason(std::size_t maxBytes) {
    return texts::TooBig(maxBytes >> 20);
}

struct UrlParts {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_HTTP;
    std::wstring host, user, password, object;
    INTERNET_PORT port = 0;
};

UrlParts CrackUrl(const std::wstring& url) {
    URL_COMPONENTSW c{};
    c.dwStructSize = sizeof c;
    c.dwSchemeLength = c.dwHostNameLength = c.dwUserNameLength = c.dwPasswordLength =
        c.dwUrlPathLength = c.dwExtraInfoLength = 1; // ask for pointers into `url`
    if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &c))
        FailWithCode(GetLastError());
    if (c.nScheme != INTERNET_SCHEME_HTTP && c.nScheme != INTERNET_SCHEME_HTTPS)
        Fail(texts::kOnlyHttp);
    UrlParts p;
    p.scheme = c.nScheme;
    if (c.lpszHostName) p.host.assign(c.lpszHostName, c.dwHostNameLength);
    if (c.lpszUserName) p.user.assign(c.lpszUserName, c.dwUserNameLength);
    if (c.lpszPassword) p.password.assign(c.lpszPassword, c.dwPasswordLength);
    if (c.lpszUrlPath) p.object.assign(c.lpszUrlPath, c.dwUrlPathLength);
    if (c.lpszExtraInfo) p.object.append(c.lpszExtraInfo, c.dwExtraInfoLength);
    if (p.object.empty()) p.object = L"/";
    p.port = c.nPort;
    if (p.host.empty()) Fail(texts::kNoServer);
    return p;
}

bool IsRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// One fetch, on the worker thread. Its handles stay open until the outcome is published:
// closing a request can take long (Wine reads the rest of the body first).
class Fetch {
  public:
    explicit Fetch(FetchJob& job) : job_(job) {}
    Fetch(const Fetch&) = delete;
    Fetch& operator=(const Fetch&) = delete;
    ~Fetch() { CloseHop(); }

    std::wstring Run();

  private:
    void Open();
    void Send(const std::wstring& url);
    void CloseHop() {
        request_.Reset();
        connection_.Reset();
    }
    DWORD TimeLeft() const;
    [[noreturn]] void FailedCall(DWORD code) const;
    DWORD StatusCode() const;
    std::wstring HeaderText(DWORD query) const;
    void CheckHeaderSize() const;
    bool HasHeaderLines() const;
    std::wstring RedirectTarget(const std::wstring& current) const;
    std::string ReadBody();
    bool WentDirect() const;

    FetchJob& job_;
    std::wstring host_;           // of the hop that answers
    HINTERNET session_ = nullptr; // owned by the job
    InternetHandle connection_;
    InternetHandle request_;
};

DWORD Fetch::TimeLeft() const {
    const DWORD left = job_.deadline.Left();
    if (left == 0 || job_.Abandoned()) Fail(TimeoutReason(job_.settings.timeoutMs));
    return left;
}

// WinINet's own time-outs are set to what is left of the deadline: one that runs out is
// the deadline, and is told as such.
void Fetch::FailedCall(DWORD code) const {
    if (code == ERROR_INTERNET_TIMEOUT) Fail(TimeoutReason(job_.settings.timeoutMs));
    FailWithCode(code);
}

void Fetch::Open() {
    HINTERNET session =
        InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    const DWORD code = GetLastError();
    if (!session) FailedCall(code);
    if (!job_.KeepSession(session)) {
        InternetCloseHandle(session);
        TimeLeft(); // fails: the job was abandoned
    }
    session_ = session;
}

void Fetch::Send(const std::wstring& url) {
    const UrlParts parts = CrackUrl(url);
    host_ = parts.host;
    // The port as written, checked when the address was prepared; the platform's cracking
    // gives 0 or a 16-bit wrap for texts that are no port, and 0 is never taken for a
    // default here.
    const unsigned written = WrittenPort(url);
    if (written != 0 && written != parts.port) Fail(texts::PortRefused(Decimal(written)));
    const INTERNET_PORT port = written != 0                            ? INTERNET_PORT(written)
                               : parts.scheme == INTERNET_SCHEME_HTTPS ? job_.settings.httpsPort
                                                                       : job_.settings.port;
    CloseHop();
    HINTERNET connection = InternetConnectW(
        session_, parts.host.c_str(), port, parts.user.empty() ? nullptr : parts.user.c_str(),
        parts.password.empty() ? nullptr : parts.password.c_str(), INTERNET_SERVICE_HTTP, 0, 0);
    DWORD code = GetLastError();
    connection_.Reset(connection);
    if (!connection) FailedCall(code);
    SetTimeouts(connection, TimeLeft());

    // Redirects are followed by us, so that a loop ends and the deadline covers every hop.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES |
                  INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (parts.scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    const wchar_t* accept[] = {L"text/*", L"*/*", nullptr};
    HINTERNET request = HttpOpenRequestW(connection, L"GET", parts.object.c_str(), nullptr, nullptr,
                                         accept, flags, 0);
    code = GetLastError();
    request_.Reset(request);
    if (!request) FailedCall(code);
    SetTimeouts(request, TimeLeft());
    job_.awaitingHeaders = true;
    const BOOL sent = HttpSendRequestW(request, nullptr, 0, nullptr, 0);
    job_.awaitingHeaders = false;
    if (!sent) {
        code = GetLastError();
        TimeLeft(); // an answer that came too late is a time-out, whatever the call says
        FailedCall(code);
    }
    TimeLeft();
}

DWORD Fetch::StatusCode() const {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoW(request_.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr))
        return 0;
    return status;
}

std::wstring Fetch::HeaderText(DWORD query) const {
    DWORD size = 0;
    HttpQueryInfoW(request_.Get(), query, nullptr, &size, nullptr);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (!HttpQueryInfoW(request_.Get(), query, text.data(), &size, nullptr)) return {};
    text.resize(size / sizeof(wchar_t));
    return text;
}

// WinINet has no limit of its own on the headers it keeps for us.
void Fetch::CheckHeaderSize() const {
    DWORD size = 0;
    HttpQueryInfoW(request_.Get(), HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, nullptr);
    if (size / sizeof(wchar_t) > job_.settings.maxHeaderBytes)
        Fail(HeadersTooLargeReason(job_.settings.maxHeaderBytes));
}

// A reply that does not start with a status line is taken by WinINet as an old-style
// answer: it makes up "HTTP/1.0 200 OK" with no header lines, and the garbage becomes the
// body. Every server we can read sends at least one header line.
bool Fetch::HasHeaderLines() const {
    const std::wstring raw = HeaderText(HTTP_QUERY_RAW_HEADERS_CRLF);
    const std::size_t first = raw.find(L"\r\n");
    return first != std::wstring::npos && raw.compare(first, 4, L"\r\n\r\n") != 0 &&
           first + 2 < raw.size();
}

// Where a redirect points, resolved against the address that answered with it.
std::wstring Fetch::RedirectTarget(const std::wstring& current) const {
    const std::wstring location = HeaderText(HTTP_QUERY_LOCATION);
    if (location.empty()) Fail(texts::kRedirectWithoutTarget);
    // Over-long input makes the platform's combine quietly drop the path or worse, so
    // nothing too long reaches it.
    std::wstring target = location;
    if (!IsAbsoluteHttpUrl(location)) {
        if (current.size() + location.size() > kMaxUrlLength)
            Fail(texts::RedirectTooLong(kMaxUrlLength));
        DWORD size = 0;
        InternetCombineUrlW(current.c_str(), location.c_str(), nullptr, &size, ICU_NO_ENCODE);
        target.assign(size + 1, L'\0');
        if (!InternetCombineUrlW(current.c_str(), location.c_str(), target.data(), &size,
                                 ICU_NO_ENCODE))
            FailedCall(GetLastError());
        target.resize(size);
    }
    const PreparedUrl prepared = PrepareUrl(target);
    if (prepared.problem == UrlProblem::TooLong) Fail(texts::RedirectTooLong(kMaxUrlLength));
    CheckPrepared(prepared);
    // From https to plain http anyone on the way of the plain hop could plant an address;
    // WinINet's own redirects refuse that too, with this error.
    if (IsHttpsUrl(current) && !IsHttpsUrl(prepared.url))
        FailedCall(ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR);
    return prepared.url;
}

std::string Fetch::ReadBody() {
    const std::wstring lengthText = HeaderText(HTTP_QUERY_CONTENT_LENGTH);
    const long long announced = lengthText.empty() ? -1 : _wtoi64(lengthText.c_str());
    const std::size_t maxBytes = job_.settings.maxBytes;
    if (announced > static_cast<long long>(maxBytes)) Fail(TooBigReason(maxBytes));
    // Never more than announced: what a server sends beyond its Content-Length is not
    // part of the page.
    const std::size_t limit = announced >= 0 ? static_cast<std::size_t>(announced) : maxBytes + 1;
    std::string body;
    std::vector<char> chunk(64 * 1024);
    while (body.size() < limit) {
        DWORD left = TimeLeft();
        InternetSetOptionW(request_.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &left, sizeof left);
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request_.Get(), &available, 0, 0)) {
            const DWORD code = GetLastError();
            TimeLeft();
            FailedCall(code);
        }
        if (available == 0) break;
        const std::size_t want =
            std::min<std::size_t>({available, chunk.size(), limit - body.size()});
        DWORD got = 0;
        if (!InternetReadFile(request_.Get(), chunk.data(), static_cast<DWORD>(want), &got)) {
            const DWORD code = GetLastError();
            TimeLeft();
            FailedCall(code);
        }
        if (got == 0) break;
        if (body.size() + got > maxBytes) Fail(TooBigReason(maxBytes));
        body.append(chunk.data(), got);
    }
    if (announced >= 0 && static_cast<long long>(body.size()) < announced) Fail(texts::kCutShort);
    return body;
}

// Whether the session reaches servers without a proxy: then the server's name was resolved
// here, and resolving it again gives the addresses it was reached at (from the resolver's
// cache).
bool Fetch::WentDirect() const {
    DWORD size = 0;
    InternetQueryOptionW(session_, INTERNET_OPTION_PROXY, nullptr, &size);
    std::vector<BYTE> info(std::max<DWORD>(size, sizeof(INTERNET_PROXY_INFO)));
    size = static_cast<DWORD>(info.size());
    return InternetQueryOptionW(session_, INTERNET_OPTION_PROXY, info.data(), &size) &&
           reinterpret_cast<const INTERNET_PROXY_INFO*>(info.data())->dwAccessType ==
               INTERNET_OPEN_TYPE_DIRECT;
}

std::wstring Fetch::Run() {
    Open();
    std::wstring current = job_.url;
    for (int hop = 0;; ++hop) {
        Send(current);
        CheckHeaderSize();
        const DWORD status = StatusCode();
        if (IsRedirect(status)) {
            if (hop == kMaxRedirects) Fail(texts::TooManyRedirects(kMaxRedirects));
            current = RedirectTarget(current);
            continue;
        }
        // Also a server that closes, resets or sends something other than a status line:
        // WinINet then reports status 0 (or passes on an interim 1xx).
        if (status < 200 || !HasHeaderLines()) Fail(texts::kNoValidAnswer);
        if (status > 299) Fail(texts::HttpStatus(status));
        const std::string body = ReadBody();
        const std::wstring contentType = HeaderText(HTTP_QUERY_CONTENT_TYPE);
        const std::string ascii(contentType.begin(), contentType.end());
        if (hop > 0) job_.source.redirectedTo = current;
        job_.source.serverAddresses = ServerAddresses(host_, WentDirect());
        return PageBytesToText(body, CharsetFromContentType(ascii), FromAnsi);
    }
}

} // namespace

DWORD WINAPI FetchThread(void* arg) {
    const std::unique_ptr<std::shared_ptr<FetchJob>> owner(
        static_cast<std::shared_ptr<FetchJob>*>(arg));
    FetchJob& job = **owner;
    {
        Fetch fetch(job);
        try {
            job.page = fetch.Run();
            job.ok = true;
        } catch (const FetchFailure& failure) {
            job.failure = failure.reason;
        } catch (const std::bad_alloc&) {
            job.failure = texts::kOutOfMemory;
        }
        SetEvent(job.done.Get());
    }
    if (HINTERNET session = job.TakeSession()) InternetCloseHandle(session);
    return 0;
}
