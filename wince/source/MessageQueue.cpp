// Stands in for: the queue behind PostMessageW and PeekMessageW (internal).
// Limits: see MessageQueue.h. Depends on: std::mutex and
// std::condition_variable, GetTickCount and InputState's last known cursor.
#include "MessageQueue.h"

#include "InputState.h"
#include "wince/Tick.h"

#include <algorithm>

MessageQueue& MessageQueue::instance()
{
    static MessageQueue queue;
    return queue;
}

// ---- posting ----

MSG MessageQueue::stamped(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const
{
    MSG result{};
    result.hwnd = window;
    result.message = message;
    result.wParam = wParam;
    result.lParam = lParam;
    result.time = GetTickCount();
    result.pt = InputState::instance().cursor();
    return result;
}

bool MessageQueue::post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const MSG entry = stamped(window, message, wParam, lParam);
    std::lock_guard<std::mutex> guard(m_lock);
    return insertLocked(entry, false);
}

bool MessageQueue::postMouseMove(HWND window, WPARAM wParam, LPARAM lParam)
{
    const MSG entry = stamped(window, WM_MOUSEMOVE, wParam, lParam);
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_messages.empty() && m_messages.back().message == WM_MOUSEMOVE && m_messages.back().hwnd == window) {
        m_messages.back() = entry;
        return true;
    }
    return insertLocked(entry, false);
}

bool MessageQueue::postFirst(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const MSG entry = stamped(window, message, wParam, lParam);
    std::lock_guard<std::mutex> guard(m_lock);
    return insertLocked(entry, true);
}

bool MessageQueue::insertLocked(const MSG& entry, bool first)
{
    if (m_messages.size() >= capacity)
        return false;
    if (first)
        m_messages.push_front(entry);
    else
        m_messages.push_back(entry);
    m_arrived.notify_all();
    return true;
}

void MessageQueue::requestQuit(int exitCode)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_quitRequested = true;
    m_quitCode = exitCode;
    m_arrived.notify_all();
}

// ---- taking ----

bool MessageQueue::take(MSG& message, HWND window, UINT filterMin, UINT filterMax, bool remove)
{
    const bool anyNumber = filterMin == 0 && filterMax == 0;
    auto inRange = [&](UINT number) { return anyNumber || (number >= filterMin && number <= filterMax); };
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = std::find_if(m_messages.begin(), m_messages.end(), [&](const MSG& entry) {
        return (window == nullptr || entry.hwnd == window) && inRange(entry.message);
    });
    if (found != m_messages.end()) {
        message = *found;
        if (remove)
            m_messages.erase(found);
        return true;
    }
    if (!m_quitRequested || !inRange(WM_QUIT))
        return false;
    message = stamped(nullptr, WM_QUIT, static_cast<WPARAM>(static_cast<std::intptr_t>(m_quitCode)), 0);
    if (remove)
        m_quitRequested = false;
    return true;
}

// ---- waiting ----

bool MessageQueue::waitUntil(std::chrono::steady_clock::time_point deadline)
{
    std::unique_lock<std::mutex> guard(m_lock);
    return m_arrived.wait_until(guard, deadline, [this] { return !m_messages.empty() || m_quitRequested; });
}

// ---- clean-up ----

void MessageQueue::purge(HWND window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_messages.erase(std::remove_if(m_messages.begin(), m_messages.end(),
                                    [window](const MSG& entry) { return entry.hwnd == window; }),
                     m_messages.end());
}

void MessageQueue::clear()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_messages.clear();
    m_quitRequested = false;
    m_quitCode = 0;
}
