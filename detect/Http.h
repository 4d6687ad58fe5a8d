#pragma once
// The page fetch: one HTTP(S) GET of a complete address through WinINet, bounded by one
// deadline from name resolution to the last byte.
#include <windows.h>
#include <wininet.h>

#include <string>
#include <vector>

struct HttpSettings {
    // Where the address names none: http's, and https's.
    INTERNET_PORT port = 80;
    INTERNET_PORT httpsPort = INTERNET_DEFAULT_HTTPS_PORT;
    DWORD timeoutMs = 60'000;               // the whole fetch, every redirect hop included
    std::size_t maxBytes = 8u << 20;        // a larger body is a failure
    std::size_t maxHeaderBytes = 64u << 10; // the response headers of one hop, in all
};

// The settings of the program's own fetch. The program's build and its test build each
// link their own definition, so that tests can run the real program with a short bound.
HttpSettings ProgramHttpSettings();

// The control that fetches pages for the status window. OpenURL returns the whole
// document as text, or throws AppError with a German message that names the address
// (password hidden) and the reason. The address is prepared first (see detect/Url.h).
// Never served from or written to the cache; at most 10 redirects are followed; certificates
// are always checked; an HTTP status outside 2xx is a failure; a body is read no further
// than its Content-Length; a body shorter than its Content-Length is a failure.
//
// A chunked body cut short cannot be told from a whole one here. WinINet decodes the
// chunks itself and gives no call that says whether the last chunk came; its
// documentation says nothing of the case, and any error InternetReadFile or
// InternetQueryDataAvailable reports fails the fetch. Wine 8 reports none: measured with
// a page whose last chunk never comes, one whose chunk announces 32 bytes and brings 15,
// and one with a chunk size of ffffffffffffffff, each followed by a closed connection,
// the part that came reads as the whole page.
//
// The fetch runs on a worker thread while the calling thread waits for it, dispatching
// its messages so that the status window stays painted. WinINet's own time-outs do not
// bound a fetch: a server that trickles its headers, repeats "100 Continue" or sends an
// endless body resets them with every byte, and Wine ignores the connect time-out, does
// not time the TLS handshake and drains an unread body when a request handle is closed.
// So when the deadline passes, OpenURL fails at once, whatever WinINet is doing; the
// worker is abandoned and its session handle is closed on a thread of its own.
// Where a page came from.
struct PageSource {
    // The address that gave the page, where a redirect led there; else the empty text.
    std::wstring redirectedTo;
    // The IPv4 addresses of the server that gave it, as dotted quads: its host when written
    // as one, or what the host's name resolves to when the fetch went without a proxy (a
    // proxy resolves the name itself).
    std::vector<std::wstring> serverAddresses;
};

class HttpControl {
  public:
    HttpControl() = default;
    explicit HttpControl(HttpSettings settings) : settings_(settings) {}
    // `source`, when given, learns where the page came from.
    std::wstring OpenURL(const std::wstring& url, PageSource* source = nullptr) const;

  private:
    HttpSettings settings_;
};
