#pragma once
// The page fetch: one blocking HTTP(S) GET of a complete address through WinINet, on the
// calling thread.
#include <windows.h>
#include <wininet.h>

#include <string>

struct HttpSettings {
    INTERNET_PORT port = 80;         // where the address names none
    DWORD timeoutMs = 60'000;        // bounds the whole fetch, from connect to last byte
    std::size_t maxBytes = 8u << 20; // a larger body is a failure
};

// The control that fetches pages for the status window. OpenURL returns the whole
// document as text, or throws AppError with a German message that names the address and
// the reason. Never served from or written to the cache; redirects are followed;
// certificates are always checked; an HTTP status outside 2xx is a failure.
class HttpControl {
  public:
    HttpControl() = default;
    explicit HttpControl(HttpSettings settings) : settings_(settings) {}
    std::wstring OpenURL(const std::wstring& url) const;

  private:
    HttpSettings settings_;
};
