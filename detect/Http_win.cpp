// The waiting side of the page fetch: the deadline, the memory watch, and giving up.
#include "Http.h"

#include "common/AppError.h"
#include "common/Quote.h"
#include "common/Texts.h"
#include "detect/FetchJob.h"

#include <psapi.h>

#include <algorithm>
#include <memory>

namespace {

// Wine's work-around: a read that WinINet is blocked in under Wine ends no other way than
// by its socket going down; closing its handles does not stop it there. Shuts down every
// socket of the process, so never on Windows, where other components of the process may
// own sockets and closing the session ends the blocked calls. Found through ws2_32 as
// WinINet loaded it: no import of our own.
bool RunsUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

void CutConnectionsUnderWine() {
    if (!RunsUnderWine()) return;
    HMODULE winsock = GetModuleHandleW(L"ws2_32.dll");
    if (!winsock) return;
    using GetSockOpt = int(WINAPI*)(UINT_PTR, int, int, char*, int*);
    using Shutdown = int(WINAPI*)(UINT_PTR, int);
    const auto getOption = reinterpret_cast<GetSockOpt>(
        reinterpret_cast<void*>(GetProcAddress(winsock, "getsockopt")));
    const auto shutdown =
        reinterpret_cast<Shutdown>(reinterpret_cast<void*>(GetProcAddress(winsock, "shutdown")));
    if (!getOption || !shutdown) return;
    constexpr int kSolSocket = 0xFFFF, kSoType = 0x1008, kSdBoth = 2;
    for (UINT_PTR handle = 4; handle < 0x10000; handle += 4) {
        int type = 0;
        int size = sizeof type;
        if (getOption(handle, kSolSocket, kSoType, reinterpret_cast<char*>(&type), &size) == 0)
            shutdown(handle, kSdBoth);
    }
}

// How long the worker gets to end by itself once its session is closed. On Windows
// closing the session ends its blocked calls at once ("InternetCloseHandle",
// learn.microsoft.com); Wine needs the sweep.
constexpr DWORD kWorkerGraceMs = 500;

struct AbandonedFetch {
    HINTERNET session;
    KernelHandle worker;
};

DWORD WINAPI EndAbandonedFetch(void* arg) {
    const std::unique_ptr<AbandonedFetch> fetch(static_cast<AbandonedFetch*>(arg));
    CloseSessionAside(fetch->session);
    if (WaitForSingleObject(fetch->worker.Get(), kWorkerGraceMs) != WAIT_OBJECT_0)
        CutConnectionsUnderWine();
    return 0;
}

// The worker is left to end by itself: its session is closed, and under Wine its
// connections cut if that does not end it, on a thread of their own, since either may take
// a while.
void Abandon(FetchJob& job, KernelHandle worker) {
    job.Abandon();
    auto* fetch = new AbandonedFetch{job.TakeSession(), std::move(worker)};
    KernelHandle ender(CreateThread(nullptr, 0, EndAbandonedFetch, fetch, 0, nullptr));
    if (!ender) { // no thread to spare: at least the blocked calls end on Windows
        if (fetch->session) InternetCloseHandle(fetch->session);
        delete fetch;
    }
}

// WinINet keeps every header line it reads, without a limit of its own, so endless headers
// would eat the memory. While the worker waits for headers, the process's memory is
// watched; growing by more than this is a failure.
constexpr SIZE_T kHeaderMemoryCap = 32u << 20;

SIZE_T MemoryInUse() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    // Private bytes, not the working set: a first https request through a proxy script
    // maps DLLs into the working set, which would trip the cap on a sound answer.
    return counters.PagefileUsage;
}

class HeaderWatch {
  public:
    explicit HeaderWatch(const FetchJob& job) : job_(job) {}
    bool Exceeded() {
        if (!job_.awaitingHeaders) {
            baseline_ = 0;
            return false;
        }
        const SIZE_T now = MemoryInUse();
        if (baseline_ == 0) baseline_ = now;
        return now > baseline_ + kHeaderMemoryCap;
    }

  private:
    const FetchJob& job_;
    SIZE_T baseline_ = 0;
};

bool HeadersTooLarge(void* watch) {
    return static_cast<HeaderWatch*>(watch)->Exceeded();
}

std::wstring FetchWithin(const std::wstring& url, const HttpSettings& settings,
                         PageSource* source) {
    const Deadline deadline(settings.timeoutMs);
    auto job = std::make_shared<FetchJob>(url, settings, deadline);
    if (!job->done) FailWithCode(GetLastError());
    auto* arg = new std::shared_ptr<FetchJob>(job);
    KernelHandle worker(CreateThread(nullptr, 0, FetchThread, arg, 0, nullptr));
    if (!worker) {
        const DWORD code = GetLastError();
        delete arg;
        FailWithCode(code);
    }
    HeaderWatch watch(*job);
    switch (WaitDispatching(job->done.Get(), deadline, HeadersTooLarge, &watch)) {
    case WaitEnd::Done:
        break;
    case WaitEnd::TimedOut:
        Abandon(*job, std::move(worker));
        Fail(TimeoutReason(settings.timeoutMs));
    case WaitEnd::GivenUp:
        Abandon(*job, std::move(worker));
        Fail(HeadersTooLargeReason(settings.maxHeaderBytes));
    }
    if (!job->ok) Fail(job->failure);
    if (source) *source = std::move(job->source);
    return std::move(job->page);
}

} // namespace

std::wstring HttpControl::OpenURL(const std::wstring& url, PageSource* source) const {
    try {
        const PreparedUrl prepared = PrepareUrl(url);
        CheckPrepared(prepared);
        return FetchWithin(prepared.url, settings_, source);
    } catch (const FetchFailure& failure) {
        throw AppError(texts::PageFailed(Quote(UrlWithoutPassword(url)), failure.reason));
    }
}
