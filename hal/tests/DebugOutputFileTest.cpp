#include "EngineTest.h"

#include "File.h"
#include "HALException.h"
#include "core/AssertationFailedException.h"
#include "core/Debug.h"
#include "core/Ref.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

using core::Debug;
using core::Ref;
using HAL::File;

namespace {

// The log's output file is a real file of the platform layer.
class DebugOutputFileTest : public testsupport::EngineTest {
protected:
    void TearDown() override
    {
        std::remove(m_path.c_str());
        EngineTest::TearDown();
    }

    static File* opened(const char* path)
    {
        File* file = File::createFileHandle(core::String(path));
        file->fopen("wb");
        return file;
    }
    std::string fileText() const
    {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string m_path = "/tmp/vornic3d-debuglog-" + std::to_string(getpid());
};

} // namespace

TEST_F(DebugOutputFileTest, ShownLinesReachTheFileAndClosingSilencesTheLog)
{
    Debug::setOutputFile(opened(m_path.c_str()));
    Debug::printf(Debug::LEVEL_ERROR, "first %d\n", 1);
    Debug::printf(Debug::LEVEL_PLAIN, "plain\n");
    Debug::printf(Debug::LEVEL_LOW, "hidden\n");
    EXPECT_EQ(fileText(), " ERROR  |000001| first 1\nplain\n");

    Debug::closeOutputFile();
    const std::string expected = " ERROR  |000001| first 1\nplain\n  High  |000003| Debug: closeOutputFile\n";
    EXPECT_EQ(fileText(), expected);
    EXPECT_EQ(log(), expected);
    Debug::printf(Debug::LEVEL_ERROR, "after\n");
    Debug::closeOutputFile(); // the slot is empty: nothing happens
    EXPECT_EQ(log(), expected);
    EXPECT_EQ(Debug::getVerbosity(), 0);
}

TEST_F(DebugOutputFileTest, TakesOneOpenFileAndLeavesTheCallersReference)
{
    Ref<File> closed = File::createFileHandle(core::String(m_path.c_str()));
    EXPECT_THROW(Debug::setOutputFile(nullptr), AssertationFailedException);
    EXPECT_THROW(Debug::setOutputFile(closed.get()), AssertationFailedException);

    Ref<File> file = opened(m_path.c_str());
    Debug::setOutputFile(file.get());
    EXPECT_EQ(file->getRefCount(), 2);
    Ref<File> second = opened(m_path.c_str());
    EXPECT_THROW(Debug::setOutputFile(second.get()), AssertationFailedException);
    Debug::closeOutputFile();
    EXPECT_EQ(file->getRefCount(), 1);
    EXPECT_FALSE(file->isOpen());
}

TEST_F(DebugOutputFileTest, FailingFileKeepsTheVerbosityAndStillCloses)
{
    Ref<File> full = opened("/dev/full");
    Debug::setOutputFile(full.get());
    EXPECT_THROW(Debug::printf(Debug::LEVEL_WARNING, "lost\n"), HAL::HALException);
    EXPECT_EQ(Debug::getVerbosity(), Debug::kDefaultVerbosity);

    // The notice cannot reach the file; the file is closed and let go anyway.
    EXPECT_THROW(Debug::closeOutputFile(), HAL::HALException);
    EXPECT_FALSE(full->isOpen());
    EXPECT_EQ(full->getRefCount(), 1);
}
