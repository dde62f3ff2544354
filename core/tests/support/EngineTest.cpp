#include "EngineTest.h"
#include "TempFolder.h"

#include "core/Debug.h"
#include "core/StringPool.h"
#include "hal/System.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

// ---- standard output capture ------------------------------------------------

StdoutCapture::StdoutCapture()
{
    std::fflush(stdout);
    char path[] = "/tmp/vornic3d-stdout-XXXXXX";
    m_fileFd = mkstemp(path);
    unlink(path);
    m_savedFd = dup(STDOUT_FILENO);
    dup2(m_fileFd, STDOUT_FILENO);
}

StdoutCapture::~StdoutCapture()
{
    std::fflush(stdout);
    dup2(m_savedFd, STDOUT_FILENO);
    close(m_savedFd);
    close(m_fileFd);
}

std::string StdoutCapture::text() const
{
    std::fflush(stdout);
    std::string result;
    char buffer[4096];
    off_t at = 0;
    for (ssize_t n; (n = pread(m_fileFd, buffer, sizeof buffer, at)) > 0; at += n)
        result.append(buffer, static_cast<std::size_t>(n));
    return result;
}

void StdoutCapture::clear()
{
    std::fflush(stdout);
    if (ftruncate(m_fileFd, 0) == 0)
        lseek(m_fileFd, 0, SEEK_SET);
}

// ---- temporary folder ---------------------------------------------------------

TempFolder::TempFolder()
{
    char pattern[] = "/tmp/vornic3d-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr || chmod(pattern, 0755) != 0)
        ADD_FAILURE() << "no temporary folder";
    m_folder = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

void TempFolder::put(const std::string& name, const std::string& bytes) const
{
    std::ofstream(at(name), std::ios::binary) << bytes;
}

std::string TempFolder::get(const std::string& name) const
{
    std::ifstream in(at(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// ---- engine fixture -----------------------------------------------------------

namespace {

// Deletes one singleton and clears its slot; a throwing destructor fails the test.
template <typename T>
void shutDown(T*& object, const char* what)
{
    try {
        delete object;
    } catch (...) {
        ADD_FAILURE() << what << " shut-down failed";
    }
    object = nullptr;
}

} // namespace

void EngineTest::SetUp()
{
    m_capture = std::make_unique<StdoutCapture>();
    core::Globals::initClass();
    core::Debug::initClass();
    core::Globals* globals = core::Globals::get();
    globals->m_system = new HAL::System(false);
    globals->m_memoryManager = new core::MemoryManager(mainPoolSize(), "MemoryManager", nullptr);
    globals->m_stringPoolMemoryManager = new core::MemoryManager(kStringPoolSize, "StringPool", nullptr);
    globals->m_stringPool = new core::StringPool();
}

void EngineTest::TearDown()
{
    core::Globals* globals = core::Globals::get();
    // As at shut-down: the pool goes before the leak check, so texts still
    // held show as string-pool leaks.
    shutDown(globals->m_stringPool, "string pool");
    EXPECT_NO_THROW(globals->m_memoryManager->debugMonitorCheck()) << "main pool leaks";
    EXPECT_NO_THROW(globals->m_stringPoolMemoryManager->debugMonitorCheck()) << "string pool leaks";
    shutDown(globals->m_memoryManager, "main pool");
    shutDown(globals->m_stringPoolMemoryManager, "string pool memory");
    shutDown(globals->m_system, "system");
    core::Debug::deInitClass();
    core::Globals::deInitClass();

    const std::string written = m_capture->text();
    m_capture.reset();
    if (HasFailure())
        std::fprintf(stderr, "---- log of the failed test ----\n%s\n--------\n", written.c_str());
}

int countOf(const std::string& text, const std::string& needle)
{
    int count = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size()))
        ++count;
    return count;
}

} // namespace testsupport
