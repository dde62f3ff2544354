#pragma once

#include <cstdint>

namespace HAL {
class File;
}

namespace core {

// The engine's one log: numbered, tagged lines on the standard output (and an
// optional output file), filtered by a verbosity.
// Contract: a singleton in core::Globals, made by initClass and removed by
// deInitClass; nothing may log outside that span. printf never allocates from
// the engine's pools (the memory managers log while holding their lock), so
// the line is built in a fixed buffer of the log itself.
class Debug {
public:
    enum Level {
        LEVEL_ASSERT = 0,
        LEVEL_ERROR = 1,
        LEVEL_HIGH = 2,
        LEVEL_WARNING = 3,
        LEVEL_PLAIN = 4,
        LEVEL_NORMAL = 5,
        LEVEL_LOW = 6
    };

    static constexpr int kLineBufferSize = 256;
    static constexpr int kNumberPrefixLength = 8;
    // Prefix, text and terminator fill the line buffer exactly.
    static constexpr int kMaxTextLength = kLineBufferSize - kNumberPrefixLength - 1;
    static constexpr int kDefaultVerbosity = LEVEL_PLAIN;

    static void initClass();
    static void deInitClass();
    static Debug* getDebugInfoPtr();

    static void printf(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Whether a line of `level` would be shown now, so that a caller on a hot
    // path can skip gathering the arguments of a line nobody sees.
    static bool isShown(int level);
    static void messagePrint(const char* text);

    // ---- output file ----
    // Every shown message is also written to `file`, which must be open. The
    // log takes a reference of its own, so a caller may keep one too; only one
    // output file can be set until closeOutputFile.
    static void setOutputFile(HAL::File* file);
    // Logs the closing, silences the log for good (verbosity 0), closes the
    // file and drops the log's reference (deleting the file when it was the
    // last); the slot is empty afterwards even when closing fails.
    static void closeOutputFile();

    // Highest level shown; tests use it to see levels 5 and 6.
    static void setVerbosity(int verbosity);
    static int getVerbosity();
    static std::int32_t getErrorCount();
    static std::int32_t getWarningCount();
    static std::int32_t getMessageNumber();

    Debug(const Debug&) = delete;
    Debug& operator=(const Debug&) = delete;

private:
    Debug();
    ~Debug() = default;

    // Silences the log for good, empties the slot, closes the file and drops
    // the log's reference.
    void detachOutputFile();

    HAL::File* m_outputFile = nullptr;
    std::int32_t m_errorCount = 0;
    std::int32_t m_warningCount = 0;
    std::int32_t m_messageNumber = 1;
    std::uint32_t m_startTime = 0;
    std::int32_t m_verbosity = kDefaultVerbosity;
    char m_line[kLineBufferSize] = {};
};

} // namespace core
