#pragma once
// Asks the home router for the line's external IPv4 address over UPnP, beside the page
// fetch: an SSDP search sent to the multicast group and to the default gateway itself, the
// gateway's device description, and the SOAP action GetExternalIPAddress of its WAN
// connection service. Only the default gateway is believed, and only an http:// address on
// it is fetched from, without a proxy and without following a redirect. Nothing else is
// ever asked of the router: no port is mapped, nothing is changed.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

struct RouterJob;

class RouterQuery {
  public:
    // Starts asking, on a thread of its own; it gives up by itself after kRouterMaxMs.
    RouterQuery();
    // Stops asking: whatever is still under way is cut off and never looked at again.
    ~RouterQuery();
    RouterQuery(const RouterQuery&) = delete;
    RouterQuery& operator=(const RouterQuery&) = delete;

    // The router's answer (its NewExternalIPAddress, empty when it reports none) once it has
    // come, or nothing when it has not by `deadline` (a GetTickCount64 time) or the router
    // gave none. Dispatches this thread's messages meanwhile, so that windows stay painted.
    std::optional<std::wstring> Answer(ULONGLONG deadline);

    // When the query started (GetTickCount64).
    ULONGLONG Started() const { return started_; }

  private:
    std::shared_ptr<RouterJob> job_;
    ULONGLONG started_;
};

// How long the router may take in all, from the start of the query.
constexpr DWORD kRouterMaxMs = 3000;
// How much longer than the page a normal start waits for the router.
constexpr DWORD kRouterGraceMs = 250;
