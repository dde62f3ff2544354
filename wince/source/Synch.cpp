// Stands in for: semaphores, the wait on one and closing handles. Limits: no
// named objects, no other waitable kinds. Depends on: std::mutex and
// std::condition_variable (a timed wait on a condition, so a time-out never
// depends on std::timed_mutex).
#include "wince/Synch.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <unordered_set>

namespace {

struct Semaphore {
    std::mutex lock;
    std::condition_variable available;
    LONG count;
    LONG maximum;
};

// Every live handle is recorded, so a stale or foreign handle gives an error
// result instead of a wild access.
class HandleTable {
public:
    void add(Semaphore* semaphore)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_live.insert(semaphore);
    }

    Semaphore* find(HANDLE handle)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        auto it = m_live.find(static_cast<Semaphore*>(handle));
        return it != m_live.end() ? *it : nullptr;
    }

    bool remove(HANDLE handle)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_live.erase(static_cast<Semaphore*>(handle)) == 1;
    }

private:
    std::mutex m_lock;
    std::unordered_set<Semaphore*> m_live;
};

HandleTable& handles()
{
    static HandleTable table;
    return table;
}

} // namespace

HANDLE CreateSemaphoreW(LPSECURITY_ATTRIBUTES, LONG initialCount, LONG maximumCount, LPCWSTR name)
{
    if (name != nullptr || maximumCount < 1 || initialCount < 0 || initialCount > maximumCount)
        return nullptr;
    auto* semaphore = new Semaphore;
    semaphore->count = initialCount;
    semaphore->maximum = maximumCount;
    handles().add(semaphore);
    return semaphore;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    Semaphore* semaphore = handles().find(handle);
    if (semaphore == nullptr)
        return WAIT_FAILED;
    std::unique_lock<std::mutex> guard(semaphore->lock);
    auto ready = [semaphore] { return semaphore->count > 0; };
    if (milliseconds == INFINITE)
        semaphore->available.wait(guard, ready);
    else if (!semaphore->available.wait_for(guard, std::chrono::milliseconds(milliseconds), ready))
        return WAIT_TIMEOUT;
    --semaphore->count;
    return WAIT_OBJECT_0;
}

BOOL ReleaseSemaphore(HANDLE handle, LONG releaseCount, LPLONG previousCount)
{
    Semaphore* semaphore = handles().find(handle);
    if (semaphore == nullptr || releaseCount < 1)
        return FALSE;
    std::lock_guard<std::mutex> guard(semaphore->lock);
    if (releaseCount > semaphore->maximum - semaphore->count)
        return FALSE;
    if (previousCount != nullptr)
        *previousCount = semaphore->count;
    semaphore->count += releaseCount;
    semaphore->available.notify_all();
    return TRUE;
}

BOOL CloseHandle(HANDLE handle)
{
    if (!handles().remove(handle))
        return FALSE;
    delete static_cast<Semaphore*>(handle);
    return TRUE;
}
