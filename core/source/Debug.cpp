#include "core/Debug.h"

#include "core/Assert.h"
#include "core/DebugException.h"
#include "core/Globals.h"
#include "hal/File.h"
#include "hal/System.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

namespace core {

namespace {

const char* tagOf(int level)
{
    switch (level) {
    case Debug::LEVEL_ERROR: return " ERROR  |";
    case Debug::LEVEL_HIGH: return "  High  |";
    case Debug::LEVEL_WARNING: return "WARNING |";
    case Debug::LEVEL_NORMAL: return " Normal |";
    case Debug::LEVEL_LOW: return "  Low   |";
    default: return nullptr;
    }
}

// Drops the log's reference to its output file. Only virtual functions and
// the inline count of HAL::File are used, so core needs no link to the
// platform layer's file code.
void release(HAL::File* file)
{
    if (file->releaseRef() == 0)
        delete file;
}

} // namespace

// ---- life cycle -------------------------------------------------------------

Debug::Debug() : m_startTime(HAL::getTime()) {}

void Debug::initClass()
{
    Globals* globals = Globals::get();
    VORNIC3D_CHECK(globals->m_debug == nullptr);
    globals->m_debug = new (std::nothrow) Debug;
}

void Debug::deInitClass()
{
    Globals* globals = Globals::get();
    VORNIC3D_CHECK(globals->m_debug != nullptr);
    delete globals->m_debug;
    globals->m_debug = nullptr;
}

Debug* Debug::getDebugInfoPtr()
{
    Globals* globals = Globals::get();
    VORNIC3D_CHECK(globals->m_debug != nullptr);
    return globals->m_debug;
}

// ---- writing ----------------------------------------------------------------

void Debug::printf(int level, const char* format, ...)
{
    Debug* log = getDebugInfoPtr();
    VORNIC3D_CHECK(static_cast<unsigned>(level) <= LEVEL_LOW);
    if (log->m_verbosity < level)
        return;

    char* text = log->m_line;
    if (level != LEVEL_PLAIN) {
        const int prefix = std::snprintf(log->m_line, kLineBufferSize, "%.6d| ", log->m_messageNumber);
        text += prefix;
    }
    // The text may not pass kMaxTextLength even where the buffer has room (at
    // level 4, or a shorter prefix): the limit is part of the log's contract.
    const int room = static_cast<int>(log->m_line + kLineBufferSize - text);
    const int limit = room < kMaxTextLength + 1 ? room : kMaxTextLength + 1;
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text, static_cast<std::size_t>(limit), format, args);
    va_end(args);
    if (length < 0 || length >= limit)
        throw DebugException("Debug: printf failed (vsprintf returns an error or debug string is too long)");

    VORNIC3D_CHECK(level != LEVEL_ASSERT);
    if (const char* tag = tagOf(level))
        messagePrint(tag);
    if (level == LEVEL_ERROR)
        ++log->m_errorCount;
    else if (level == LEVEL_WARNING)
        ++log->m_warningCount;

    messagePrint(log->m_line);
    ++log->m_messageNumber;
}

bool Debug::isShown(int level)
{
    return getDebugInfoPtr()->m_verbosity >= level;
}

void Debug::messagePrint(const char* text)
{
    VORNIC3D_CHECK(text != nullptr);
    const int length = static_cast<int>(std::strlen(text));
    HAL::System::printf(text, length);

    Debug* log = getDebugInfoPtr();
    if (log->m_outputFile == nullptr || length == 0)
        return;
    // Verbosity 0 while writing keeps the file layer's own logging from
    // re-entering the log; it comes back even when the write fails, or the
    // log would stay silent.
    const std::int32_t verbosity = log->m_verbosity;
    log->m_verbosity = 0;
    try {
        log->m_outputFile->fwrite(text, length);
    } catch (...) {
        log->m_verbosity = verbosity;
        throw;
    }
    log->m_verbosity = verbosity;
}

// ---- output file ------------------------------------------------------------

void Debug::setOutputFile(HAL::File* file)
{
    Debug* log = getDebugInfoPtr();
    VORNIC3D_CHECK(file != nullptr && file->isOpen());
    VORNIC3D_CHECK(log->m_outputFile == nullptr);
    file->addRef();
    log->m_outputFile = file;
}

void Debug::closeOutputFile()
{
    Debug* log = getDebugInfoPtr();
    if (log->m_outputFile == nullptr)
        return;
    // The notice goes to the file too; a file that cannot take it is closed
    // all the same.
    try {
        printf(LEVEL_HIGH, "Debug: closeOutputFile\n");
    } catch (...) {
        log->detachOutputFile();
        throw;
    }
    log->detachOutputFile();
}

void Debug::detachOutputFile()
{
    m_verbosity = 0;
    // Out of the slot first: a failing close must not leave a closed file
    // behind for later messages or a second close.
    HAL::File* file = m_outputFile;
    m_outputFile = nullptr;
    try {
        if (file->isOpen())
            file->fclose();
    } catch (...) {
        release(file);
        throw;
    }
    release(file);
}

// ---- settings and counters --------------------------------------------------

void Debug::setVerbosity(int verbosity)
{
    getDebugInfoPtr()->m_verbosity = verbosity;
}

int Debug::getVerbosity()
{
    return getDebugInfoPtr()->m_verbosity;
}

std::int32_t Debug::getErrorCount()
{
    return getDebugInfoPtr()->m_errorCount;
}

std::int32_t Debug::getWarningCount()
{
    return getDebugInfoPtr()->m_warningCount;
}

std::int32_t Debug::getMessageNumber()
{
    return getDebugInfoPtr()->m_messageNumber;
}

} // namespace core
