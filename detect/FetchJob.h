#pragma once
// What the page fetch's two threads share: the job, its deadline, and the reasons a fetch
// fails. The worker (Fetch_win.cpp) does the WinINet calls; the waiting thread
// (Http_win.cpp) holds the deadline.
#include "common/Handles.h"
#include "detect/Http.h"
#include "detect/Url.h"
#include "detect/WorkerJob.h"

#include <atomic>
#include <string>

// Why a fetch failed. Only OpenURL names the address.
struct FetchFailure {
    std::wstring reason;
};

[[noreturn]] void Fail(std::wstring reason);
[[noreturn]] void FailWithCode(DWORD code);
std::wstring TimeoutReason(DWORD ms);
std::wstring HeadersTooLargeReason(std::size_t maxHeaderBytes);
// Fails with the reason when the prepared address has a problem.
void CheckPrepared(const PreparedUrl& url);

// What the waiting thread and the worker share. The worker writes its outcome, then sets
// `done`; the waiting thread reads the outcome only after `done`. The session handle goes
// to whoever takes it first: the worker when it ends, or the deadline.
class FetchJob : public SharedSession {
  public:
    FetchJob(std::wstring address, const HttpSettings& s, const Deadline& d)
        : url(std::move(address)), settings(s), deadline(d) {}

    const std::wstring url;
    const HttpSettings settings;
    const Deadline deadline;
    KernelHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    bool ok = false;
    std::wstring page;
    PageSource source;
    std::wstring failure;

    // Set while the worker is inside HttpSendRequest, where WinINet reads the headers.
    std::atomic<bool> awaitingHeaders{false};
};

// The worker's thread procedure: `arg` is a new std::shared_ptr<FetchJob> that it takes
// over.
DWORD WINAPI FetchThread(void* arg);
