// Stands in for: the user closing the program from outside its window,
// SIGINT and SIGTERM made into WM_CLOSE. Limits: see wince/Signals.h.
// Depends on: POSIX sigaction, WindowTable, MessageQueue.
#include "wince/Signals.h"

#include "CloseSignal.h"
#include "MessageQueue.h"
#include "WindowTable.h"

#include <csignal>

namespace {

constexpr int kCloseSignals[] = {SIGINT, SIGTERM};

// Written by the handler, read and cleared on the program's thread.
volatile std::sig_atomic_t g_closeRequested = 0;

// Only async-signal-safe calls: the flag and sigaction. Both signals go back
// to their default at once, so the next one of either ends the process.
extern "C" void onCloseSignal(int)
{
    g_closeRequested = 1;
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    for (const int signal : kCloseSignals)
        sigaction(signal, &standard, nullptr);
}

} // namespace

void WinceCloseOnSignals()
{
    struct sigaction action {};
    action.sa_handler = &onCloseSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kCloseSignals)
        sigaddset(&action.sa_mask, signal);
    // Interrupted system calls go on: the request is taken at the next peek.
    action.sa_flags = SA_RESTART;
    for (const int signal : kCloseSignals) {
        struct sigaction previous {};
        // A parent that made the process ignore the signal (a background
        // job, nohup) meant it to be ignored.
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        sigaction(signal, &action, nullptr);
    }
}

void postSignalledClose()
{
    if (g_closeRequested == 0)
        return;
    bool posted = false;
    for (const WindowRecord& record : WindowTable::instance().all())
        if (!record.destroying && MessageQueue::instance().post(record.handle, WM_CLOSE, 0, 0))
            posted = true;
    // Without a window yet, the request waits for the first one.
    if (posted)
        g_closeRequested = 0;
}
