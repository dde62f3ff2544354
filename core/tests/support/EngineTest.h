#pragma once

#include "StdoutCapture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace core {
class MemoryManager;
}

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

    core::MemoryManager* mainPool() const;
    core::MemoryManager* stringPool() const;
    // The log written so far (since the last clearLog()).
    std::string log() const { return m_capture->text(); }
    void clearLog() { m_capture->clear(); }

private:
    std::unique_ptr<StdoutCapture> m_capture;
};

// Counts the non-overlapping occurrences of `needle` in `text`.
int countOf(const std::string& text, const std::string& needle);

} // namespace testsupport
