#include "detect/WorkerJob.h"

#include "common/Handles.h"

#include <algorithm>

void SetTimeouts(HINTERNET h, DWORD ms) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionW(h, option, &ms, sizeof ms);
}

namespace {

DWORD WINAPI CloseSession(void* session) {
    InternetCloseHandle(static_cast<HINTERNET>(session));
    return 0;
}

WaitEnd WaitPlainly(HANDLE done, const Deadline& deadline) {
    return WaitForSingleObject(done, deadline.Left()) == WAIT_OBJECT_0 ? WaitEnd::Done
                                                                       : WaitEnd::TimedOut;
}

} // namespace

void CloseSessionAside(HINTERNET session) {
    if (!session) return;
    KernelHandle closer(CreateThread(nullptr, 0, CloseSession, session, 0, nullptr));
    if (!closer) InternetCloseHandle(session);
}

WaitEnd WaitDispatching(HANDLE done, const Deadline& deadline, bool (*giveUp)(void*),
                        void* context) {
    for (;;) {
        if (giveUp && giveUp(context)) return WaitEnd::GivenUp;
        const DWORD left = deadline.Left();
        if (left == 0) return WaitPlainly(done, deadline);
        const DWORD r = MsgWaitForMultipleObjectsEx(
            1, &done, giveUp ? std::min<DWORD>(left, 100) : left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0) return WaitEnd::Done;
        if (r == WAIT_TIMEOUT) continue;
        if (r != WAIT_OBJECT_0 + 1) return WaitPlainly(done, deadline); // without the messages
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) { // not ours to take: leave it for the message loop
                PostQuitMessage(static_cast<int>(msg.wParam));
                return WaitPlainly(done, deadline);
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
