// Stands in for: the message queue of the program's thread (internal).
// Limits: one queue for the whole program; a capacity of 10,000 messages.
// Depends on: std::mutex and std::condition_variable, the tick and the last
// known cursor for the time and point of each message.
#pragma once

#include "wince/Messages.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

// The program's one queue of posted messages and its pending quit request.
// Every operation locks, so other threads may post; the window procedures are
// never called from here. A full queue refuses new messages instead of
// growing: input arrives faster than a slow frame loop takes it.
class MessageQueue {
public:
    static constexpr std::size_t capacity = 10000;

    static MessageQueue& instance();

    // ---- posting ----

    // Appends the message, stamped with the tick and the last known cursor.
    // False when the queue is full.
    bool post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Like post, but a WM_MOUSEMOVE of the same window at the end of the
    // queue is replaced instead, as the phone merges moves nobody has read.
    bool postMouseMove(HWND window, WPARAM wParam, LPARAM lParam);

    // Puts the message ahead of every waiting one (the character of a
    // translated key comes next). False when the queue is full.
    bool postFirst(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void requestQuit(int exitCode);

    // ---- taking ----

    // The first message for `window` (any when null) whose number lies in
    // [filterMin, filterMax] (any when both are 0); WM_QUIT once nothing
    // else matches and a quit was requested. Removes it when `remove`.
    bool take(MSG& message, HWND window, UINT filterMin, UINT filterMax, bool remove);

    // ---- waiting ----

    // Waits until a message or the quit request waits, or until `deadline`;
    // true when one waits. Every post and quit request ends the wait.
    bool waitUntil(std::chrono::steady_clock::time_point deadline);

    // ---- clean-up ----

    void purge(HWND window);
    void clear();

private:
    MSG stamped(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
    // Appends (or, when `first`, prepends) unless the queue is full; the
    // caller holds the lock.
    bool insertLocked(const MSG& entry, bool first);

    std::mutex m_lock;
    std::condition_variable m_arrived;
    std::deque<MSG> m_messages;
    bool m_quitRequested = false;
    int m_quitCode = 0;
};

// lParam of a mouse message: client x in the low, y in the high 16 bits, each
// in 16-bit two's complement, zero-extended like the phone's MAKELPARAM.
inline LPARAM pointParam(int x, int y)
{
    const std::uint32_t low = static_cast<std::uint32_t>(x) & 0xFFFFu;
    const std::uint32_t high = static_cast<std::uint32_t>(y) & 0xFFFFu;
    return static_cast<LPARAM>((high << 16) | low);
}
