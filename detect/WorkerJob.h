#pragma once
// What a WinINet worker thread (the page fetch, the router query) and the thread that
// waits for it share: the deadline, the session that goes to whoever is done first, and the
// wait that keeps this thread's windows painted.
#include <windows.h>
#include <wininet.h>

#include <atomic>

class Deadline {
  public:
    explicit Deadline(DWORD ms) : end_(GetTickCount64() + ms) {}
    // At a GetTickCount64 time.
    static Deadline At(ULONGLONG end) { return Deadline(end, 0); }
    DWORD Left() const {
        const ULONGLONG now = GetTickCount64();
        return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
    }

  private:
    Deadline(ULONGLONG end, int) : end_(end) {}
    ULONGLONG end_;
};

// The worker keeps its session here; the waiting thread, giving up, abandons the job and
// takes the session to close it, which ends the worker's blocked calls.
class SharedSession {
  public:
    bool Abandoned() const { return abandoned_.load(); }
    // False when the job was abandoned first; the caller then still owns `session`.
    bool KeepSession(HINTERNET session) {
        return UnlessAbandoned([&] { session_ = session; });
    }
    HINTERNET TakeSession() {
        HINTERNET session = nullptr;
        Locked([&] { std::swap(session, session_); });
        return session;
    }
    void Abandon() {
        Locked([&] { abandoned_ = true; });
    }

  protected:
    template <class F> void Locked(F&& f) {
        AcquireSRWLockExclusive(&lock_);
        f();
        ReleaseSRWLockExclusive(&lock_);
    }
    // Runs `f` under the lock unless the job was abandoned; false then.
    template <class F> bool UnlessAbandoned(F&& f) {
        bool kept = false;
        Locked([&] {
            kept = !abandoned_.load();
            if (kept) f();
        });
        return kept;
    }

  private:
    SRWLOCK lock_ = SRWLOCK_INIT;
    HINTERNET session_ = nullptr;
    std::atomic<bool> abandoned_{false};
};

// The connect, send and receive time-outs of `h` and what it opens.
void SetTimeouts(HINTERNET h, DWORD ms);
// Closes `session` on a thread of its own, since closing can wait for what it ends (Wine
// first reads the rest of a body); here when no thread can be made.
void CloseSessionAside(HINTERNET session);

enum class WaitEnd { Done, TimedOut, GivenUp };
// Waits for `done` until the deadline, dispatching this thread's messages meanwhile. With
// `giveUp`, asks it every tenth of a second whether to stop waiting.
WaitEnd WaitDispatching(HANDLE done, const Deadline& deadline, bool (*giveUp)(void*) = nullptr,
                        void* context = nullptr);
