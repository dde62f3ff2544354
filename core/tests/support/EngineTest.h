#pragma once

#include "AllocationFailureSweep.h"
#include "StdoutCapture.h"

// The pools and their exceptions: nearly every engine test reads them.
#include "core/AssertationFailedException.h"
#include "core/Globals.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerException.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace testsupport {

// The engine around one test: core::Globals, core::Debug, HAL::System, both
// memory managers with small pools and the string pool, the standard output
// captured. TearDown removes the string pool, then runs the leak check of
// both pools, so every test is also a leak test; when a test failed, the
// captured log goes to the standard error.
class EngineTest : public testing::Test {
protected:
    static constexpr int kMainPoolSize = 256 * 1024;
    static constexpr int kStringPoolSize = 40960;

    void SetUp() override;
    void TearDown() override;

    // The main pool's size; a fixture whose tests need more says so here.
    virtual int mainPoolSize() const { return kMainPoolSize; }

    core::MemoryManager* mainPool() const { return core::Globals::get()->m_memoryManager; }
    core::MemoryManager* stringPool() const { return core::Globals::get()->m_stringPoolMemoryManager; }
    // The log written so far (since the last clearLog()).
    std::string log() const { return m_capture->text(); }
    void clearLog() { m_capture->clear(); }
    // The operation under every single allocation failure
    // (AllocationFailureSweep.h), the log cleared before each run, so that a
    // failure shows the log of the faulty run alone.
    AllocationCounts sweepAllocationFailures(const std::function<void()>& operation,
                                             const std::function<void()>& restore = {})
    {
        return testsupport::sweepAllocationFailures(operation, restore, [this] {
            if (!HasFailure())
                clearLog();
        });
    }

private:
    std::unique_ptr<StdoutCapture> m_capture;
};

// Counts the non-overlapping occurrences of `needle` in `text`.
int countOf(const std::string& text, const std::string& needle);

// The message of the exception of type E that `action` throws; "" when none.
template <typename E>
std::string messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const E& e) {
        return e.message;
    }
    return "";
}

} // namespace testsupport
