// Stands in for: the system's table of window classes and windows
// (internal). Limits: see WindowTable.h. Depends on: std::mutex.
#include "WindowTable.h"

#include <algorithm>

WindowTable& WindowTable::instance()
{
    static WindowTable table;
    return table;
}

// ---- classes ----

ATOM WindowTable::registerClass(const std::u16string& name, UINT style, WNDPROC procedure)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_classes.count(name) != 0)
        return 0;
    const ATOM atom = m_nextAtom;
    // Atoms of registered classes live in 0xC000..0xFFFF on the phone.
    m_nextAtom = m_nextAtom == 0xFFFF ? ATOM(0xC000) : ATOM(m_nextAtom + 1);
    m_classes.emplace(name, WindowClass{style, procedure, atom});
    return atom;
}

bool WindowTable::unregisterClass(const std::u16string& name)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_classes.find(name);
    if (found == m_classes.end())
        return false;
    const bool inUse = std::any_of(m_windows.begin(), m_windows.end(),
                                   [&](const auto& entry) { return entry.second.className == name; });
    if (inUse)
        return false;
    m_classes.erase(found);
    return true;
}

WNDPROC WindowTable::classProcedure(const std::u16string& name)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_classes.find(name);
    return found != m_classes.end() ? found->second.procedure : nullptr;
}

// ---- windows ----

HWND WindowTable::add(WindowRecord record)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_classes.find(record.className);
    if (found == m_classes.end())
        return nullptr;
    record.procedure = found->second.procedure;
    // Handles are opaque numbers, never addresses: they are not dereferenced
    // and never reused.
    record.handle = reinterpret_cast<HWND>(m_nextHandle++);
    const HWND handle = record.handle;
    m_windows.emplace(handle, std::move(record));
    return handle;
}

std::optional<WindowRecord> WindowTable::find(HWND window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_windows.find(window);
    if (found == m_windows.end())
        return std::nullopt;
    return found->second;
}

HWND WindowTable::findNative(std::uint32_t nativeId)
{
    if (nativeId == 0)
        return nullptr;
    std::lock_guard<std::mutex> guard(m_lock);
    for (const auto& entry : m_windows)
        if (entry.second.nativeId == nativeId && !entry.second.destroying)
            return entry.first;
    return nullptr;
}

std::vector<WindowRecord> WindowTable::all()
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<WindowRecord> result;
    result.reserve(m_windows.size());
    for (const auto& entry : m_windows)
        result.push_back(entry.second);
    return result;
}

std::optional<WindowRecord> WindowTable::beginDestroy(HWND window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_windows.find(window);
    if (found == m_windows.end() || found->second.destroying)
        return std::nullopt;
    found->second.destroying = true;
    return found->second;
}

void WindowTable::remove(HWND window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_windows.erase(window);
}

std::optional<bool> WindowTable::setVisible(HWND window, bool visible)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_windows.find(window);
    if (found == m_windows.end())
        return std::nullopt;
    const bool was = found->second.visible;
    found->second.visible = visible;
    return was;
}
