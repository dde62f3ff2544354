// Stands in for: the user closing the program from outside its window,
// SIGINT, SIGTERM and SIGHUP made into WM_CLOSE. Limits: see wince/Signals.h.
// Depends on: POSIX sigaction, WindowTable, MessageQueue.
#include "wince/Signals.h"

#include "CloseSignal.h"
#include "MessageQueue.h"
#include "WindowTable.h"

#include <cerrno>
#include <csignal>
#include <iterator>

namespace {

constexpr int kCloseSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = static_cast<int>(std::size(kCloseSignals));

// Written by the handler, read and cleared on the program's thread.
volatile std::sig_atomic_t g_closeRequested = 0;
// Which of kCloseSignals has the handler: only those go back to the default,
// so one the process was started ignoring stays ignored. Each is set before
// its handler is installed, so the handler never sees a stale one.
volatile std::sig_atomic_t g_installed[kSignalCount] = {};

// Only async-signal-safe calls: the flags and sigaction; errno is put back
// for the code the signal interrupted. Every installed signal goes back to
// its default at once, so the next one of any ends the process.
extern "C" void onCloseSignal(int)
{
    const int savedErrno = errno;
    g_closeRequested = 1;
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    for (int i = 0; i < kSignalCount; ++i)
        if (g_installed[i] != 0)
            sigaction(kCloseSignals[i], &standard, nullptr);
    errno = savedErrno;
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
    for (int i = 0; i < kSignalCount; ++i) {
        struct sigaction previous {};
        // A parent that made the process ignore the signal (a background
        // job, nohup) meant it to be ignored.
        if (sigaction(kCloseSignals[i], nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        g_installed[i] = 1;
        sigaction(kCloseSignals[i], &action, nullptr);
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
