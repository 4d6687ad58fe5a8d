#include "detect/Router.h"

#include "common/Decimal.h"
#include "common/Handles.h"
#include "detect/LineVerdict.h"
#include "detect/RouterXml.h"
#include "detect/Upnp.h"
#include "detect/WorkerJob.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>

#include <algorithm>
#include <vector>

// What the thread that asks and the thread that waits share. The asking thread writes the
// answer, then sets `done`; the waiting one reads it only after `done`. The sockets and the
// session are closed by whoever comes first: the asking thread when it is through with
// them, or the waiting one when it stops waiting, which ends their blocked calls.
struct RouterJob : SharedSession {
    KernelHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    const Deadline deadline{kRouterMaxMs};
    std::optional<std::wstring> answer;
    SOCKET sockets[2] = {INVALID_SOCKET, INVALID_SOCKET};

    // Keeps `s` for closing; false (and `s` closed) when the job was abandoned meanwhile.
    bool Keep(SOCKET s, int slot) {
        const bool kept = UnlessAbandoned([&] { sockets[slot] = s; });
        if (!kept) closesocket(s);
        return kept;
    }
    void CloseSocket(int slot) {
        SOCKET s = INVALID_SOCKET;
        Locked([&] { std::swap(s, sockets[slot]); });
        if (s != INVALID_SOCKET) closesocket(s);
    }
    void Abandon() {
        SharedSession::Abandon();
        CloseSocket(0);
        CloseSocket(1);
    }
};

namespace {

constexpr std::size_t kMaxDescription = 64u << 10;
constexpr std::size_t kMaxSoapAnswer = 16u << 10;
// At most this many of the description's WAN connection services are asked.
constexpr int kMaxServices = 3;

std::string DottedQuad(DWORD networkOrder) {
    const auto* b = reinterpret_cast<const unsigned char*>(&networkOrder);
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const std::wstring part = Decimal(b[i]);
        if (i) text += '.';
        text.append(part.begin(), part.end());
    }
    return text;
}

std::wstring Widened(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// An IPv4 address as the socket calls hold it (network order; Windows runs little-endian).
constexpr DWORD Quad(DWORD a, DWORD b, DWORD c, DWORD d) {
    return a | b << 8 | c << 16 | d << 24;
}

sockaddr_in Endpoint(DWORD address, unsigned port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    to.sin_port = static_cast<u_short>((port >> 8 & 0xFF) | (port & 0xFF) << 8);
    return to;
}

// The router the page's traffic goes through: the gateway of the route to the internet.
// The route is looked up for an address of the documentation range, which stands for any
// address outside; nothing is sent to it (connecting a datagram socket "merely establishes
// a default destination address", "connect function (winsock2.h)", learn.microsoft.com; it
// fails at once where there is no route at all, before the IP helper is loaded for the
// gateway). Zero when there is none (only a local network, or none at all).
DWORD DefaultGateway() {
    const DWORD outside = Quad(198, 51, 100, 1);
    const SOCKET probe = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (probe == INVALID_SOCKET) return 0;
    sockaddr_in to = Endpoint(outside, upnp::kSsdpPort);
    const bool routed = connect(probe, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    closesocket(probe);
    MIB_IPFORWARDROW route{};
    if (!routed || GetBestRoute(outside, 0, &route) != NO_ERROR) return 0;
    if (route.dwForwardNextHop == 0 || route.dwForwardNextHop == outside) return 0;
    return route.dwForwardNextHop;
}

bool Readable(const fd_set& set, SOCKET s) {
    return s != INVALID_SOCKET &&
           std::find(set.fd_array, set.fd_array + set.fd_count, s) != set.fd_array + set.fd_count;
}

// The description's LOCATION of the gateway's answer to the search, when it is an http://
// address on the gateway; empty when none comes in time, or the gateway refuses the search
// (no UPnP there: the answer to the unicast search is "port unreachable").
std::string Search(RouterJob& job, DWORD gateway, const std::string& gatewayText) {
    SOCKET unicast = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (unicast == INVALID_SOCKET || !job.Keep(unicast, 0)) return {};
    sockaddr_in to = Endpoint(gateway, upnp::kSsdpPort);
    const std::string direct = upnp::SearchRequest(gatewayText + ":1900", false);
    if (connect(unicast, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 ||
        send(unicast, direct.data(), static_cast<int>(direct.size()), 0) < 0)
        return {};
    // The interface towards the gateway, for the multicast search to leave by.
    sockaddr_in local{};
    int length = sizeof local;
    getsockname(unicast, reinterpret_cast<sockaddr*>(&local), &length);
    SOCKET multicast = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (multicast != INVALID_SOCKET && job.Keep(multicast, 1)) {
        local.sin_port = 0;
        const DWORD ttl = 2; // UPnP Device Architecture 1.1: the search's TTL is 2
        const std::string group =
            upnp::SearchRequest(std::string(upnp::kSsdpGroup) + ":1900", true);
        sockaddr_in groupEnd = Endpoint(Quad(239, 255, 255, 250), upnp::kSsdpPort);
        if (bind(multicast, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0) {
            setsockopt(multicast, IPPROTO_IP, IP_MULTICAST_IF,
                       reinterpret_cast<const char*>(&local.sin_addr), sizeof local.sin_addr);
            setsockopt(multicast, IPPROTO_IP, IP_MULTICAST_TTL, reinterpret_cast<const char*>(&ttl),
                       sizeof ttl);
            sendto(multicast, group.data(), static_cast<int>(group.size()), 0,
                   reinterpret_cast<sockaddr*>(&groupEnd), sizeof groupEnd);
        }
    }
    char datagram[2048];
    for (DWORD left; (left = job.deadline.Left()) > 0;) {
        fd_set readable, failed;
        FD_ZERO(&readable);
        FD_ZERO(&failed);
        for (SOCKET s : {unicast, multicast})
            if (s != INVALID_SOCKET) FD_SET(s, &readable);
        FD_SET(unicast, &failed);
        timeval wait{static_cast<long>(left / 1000), static_cast<long>(left % 1000 * 1000)};
        if (select(0, &readable, nullptr, &failed, &wait) <= 0) return {};
        // The gateway's "port unreachable" for the unicast search: Windows reports it as a
        // receive failing with WSAECONNRESET ("recv function (winsock.h)",
        // learn.microsoft.com), Wine as an exceptional socket.
        if (Readable(failed, unicast)) return {};
        if (Readable(readable, unicast)) {
            const int n = recv(unicast, datagram, sizeof datagram, 0);
            // Nothing listens on the gateway's port: it will not answer the group either.
            if (n < 0) {
                const int code = WSAGetLastError();
                if (code == WSAECONNRESET || code == WSAECONNREFUSED) return {};
            }
            if (n > 0) {
                const std::string location = upnp::LocationIn(std::string_view(datagram, n));
                if (upnp::OnGateway(location, gatewayText)) return location;
            }
        }
        if (Readable(readable, multicast)) {
            sockaddr_in from{};
            int fromLength = sizeof from;
            const int n = recvfrom(multicast, datagram, sizeof datagram, 0,
                                   reinterpret_cast<sockaddr*>(&from), &fromLength);
            // Another host on the LAN: a neighbour must not steer what we believe.
            if (n > 0 && from.sin_addr.s_addr == gateway) {
                const std::string location = upnp::LocationIn(std::string_view(datagram, n));
                if (upnp::OnGateway(location, gatewayText)) return location;
            }
        }
    }
    return {};
}

// One request to the router: its body when it answers 200 within `maxBytes` and the
// deadline; nothing otherwise (a redirect is never followed, a cache never used).
std::optional<std::string> Request(RouterJob& job, HINTERNET session, const std::string& host,
                                   const upnp::Target& target, const wchar_t* verb,
                                   const std::wstring& headers, const std::string& body,
                                   std::size_t maxBytes) {
    InternetHandle connection(InternetConnectW(session, Widened(host).c_str(),
                                               static_cast<INTERNET_PORT>(target.port), nullptr,
                                               nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection || job.deadline.Left() == 0) return std::nullopt;
    SetTimeouts(connection.Get(), job.deadline.Left());
    InternetHandle request(HttpOpenRequestW(
        connection.Get(), verb, Widened(target.path).c_str(), nullptr, nullptr, nullptr,
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
            INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTO_REDIRECT |
            INTERNET_FLAG_NO_AUTH,
        0));
    if (!request) return std::nullopt;
    SetTimeouts(request.Get(), job.deadline.Left());
    if (!HttpSendRequestW(request.Get(), headers.empty() ? nullptr : headers.c_str(),
                          static_cast<DWORD>(headers.size()), const_cast<char*>(body.data()),
                          static_cast<DWORD>(body.size())))
        return std::nullopt;
    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoW(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr) ||
        status != 200)
        return std::nullopt;
    std::string answer;
    char chunk[4096];
    for (DWORD got = 0; job.deadline.Left() > 0; answer.append(chunk, got)) {
        if (!InternetReadFile(request.Get(), chunk, sizeof chunk, &got)) return std::nullopt;
        if (got == 0) return answer;
        if (answer.size() + got > maxBytes) return std::nullopt;
    }
    return std::nullopt;
}

// The best of the services' answers: a public address before any other, an address
// before an empty answer.
int Rank(const std::optional<std::wstring>& answer) {
    switch (JudgeLine(answer)) {
    case Line::Public:
        return 3;
    case Line::Unknown:
        return 0;
    case Line::DsLiteOrShared:
        return 1;
    default:
        return 2;
    }
}

std::optional<std::wstring> Ask(RouterJob& job) {
    const DWORD gateway = DefaultGateway();
    if (gateway == 0) return std::nullopt;
    const std::string host = DottedQuad(gateway);
    const std::string location = Search(job, gateway, host);
    job.CloseSocket(0);
    job.CloseSocket(1);
    const std::optional<upnp::Target> description = upnp::OnGateway(location, host);
    if (!description) return std::nullopt;
    // A router is never reached through a proxy.
    HINTERNET session =
        InternetOpenW(L"Tolvaring/1.0", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!session) return std::nullopt;
    if (!job.KeepSession(session)) {
        InternetCloseHandle(session);
        return std::nullopt;
    }
    const std::optional<std::string> xml =
        Request(job, session, host, *description, L"GET", {}, {}, kMaxDescription);
    const auto services = xml ? ServicesIn(*xml) : std::nullopt;
    std::optional<std::wstring> best;
    int asked = 0;
    for (const RouterService& service : services ? *services : std::vector<RouterService>()) {
        if (!upnp::IsWanConnection(service.type) || asked == kMaxServices) continue;
        const auto control = upnp::ControlTarget(location, service.controlUrl, host);
        if (!control) continue;
        ++asked;
        const std::wstring headers = L"Content-Type: text/xml; charset=\"utf-8\"\r\nSOAPAction: " +
                                     Widened(upnp::SoapAction(service.type)) + L"\r\n";
        const auto soap = Request(job, session, host, *control, L"POST", headers,
                                  upnp::ExternalAddressRequest(service.type), kMaxSoapAnswer);
        const auto answer = soap ? ExternalAddressIn(*soap) : std::nullopt;
        if (Rank(answer) > Rank(best)) best = answer;
        if (Rank(best) == 3) break;
    }
    if (HINTERNET own = job.TakeSession()) InternetCloseHandle(own);
    return best;
}

DWORD WINAPI AskRouter(void* arg) {
    const std::unique_ptr<std::shared_ptr<RouterJob>> owner(
        static_cast<std::shared_ptr<RouterJob>*>(arg));
    RouterJob& job = **owner;
    // Never cleaned up again: a process's last WSACleanup resets every socket it has open
    // ("WSACleanup", learn.microsoft.com), WinINet's of the page fetch among them.
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) == 0) {
        try {
            job.answer = Ask(job);
        } catch (...) { // out of memory: no answer
        }
    }
    SetEvent(job.done.Get());
    return 0;
}

} // namespace

RouterQuery::RouterQuery() : job_(std::make_shared<RouterJob>()), started_(GetTickCount64()) {
    if (!job_->done) return;
    auto* arg = new std::shared_ptr<RouterJob>(job_);
    KernelHandle worker(CreateThread(nullptr, 0, AskRouter, arg, 0, nullptr));
    if (!worker) {
        delete arg;
        SetEvent(job_->done.Get());
    }
}

RouterQuery::~RouterQuery() {
    job_->Abandon();
    CloseSessionAside(job_->TakeSession());
}

std::optional<std::wstring> RouterQuery::Answer(ULONGLONG deadline) {
    HANDLE done = job_->done.Get();
    if (!done || WaitDispatching(done, Deadline::At(deadline)) != WaitEnd::Done)
        return std::nullopt;
    return job_->answer;
}
