#include "EngineTest.h"
#include "TempFolder.h"

#include "core/AssertationFailedException.h"
#include "core/Debug.h"
#include "core/Ref.h"
#include "hal/File.h"
#include "hal/HALException.h"
#include "hal/win32/Win32WorkingDirectory.h"

#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using core::Debug;
using core::Ref;
using core::String;
using HAL::File;
using testsupport::messageOf;

namespace {

// Each test gets a temporary folder of its own.
class FileTest : public testsupport::EngineTest, protected testsupport::TempFolder {
protected:
    static Ref<File> fileAt(const std::string& path) { return File::createFileHandle(String(path.c_str())); }
    static File* opened(const std::string& path)
    {
        File* file = File::createFileHandle(String(path.c_str()));
        file->fopen("wb");
        return file;
    }
    bool logged(const std::string& text) const { return log().find(text) != std::string::npos; }
};

} // namespace

// ---- paths ------------------------------------------------------------------------------

TEST_F(FileTest, PathIsSplitAtTheLastSeparatorWithBackslashesTurned)
{
    const struct {
        const char *given, *path, *name;
    } cases[] = {
        {"C:\\game\\media\\a.png", "C:/game/media/", "a.png"},
        {"a.png", "", "a.png"},
        {"/x", "/", "x"},
        {"", "", ""},
        // A folder has no name (and fopen refuses it).
        {"media/", "media/", ""},
        {"C:\\game\\", "C:/game/", ""},
        {"/", "/", ""},
    };
    for (const auto& c : cases) {
        Ref<File> file = fileAt(c.given);
        EXPECT_STREQ(file->getPath().c_str(), c.path) << c.given;
        EXPECT_STREQ(file->getName().c_str(), c.name) << c.given;
    }
}

TEST_F(FileTest, MediaPathAsTheGameBuildsItReachesTheSettingsFile)
{
    std::filesystem::create_directory(at("media"));
    put("config.txt", "QUIT 114");
    Ref<File> file = fileAt(at("\\media\\../config.txt"));
    EXPECT_EQ(std::string(file->getPath().c_str()), folder() + "//media/../");
    file->fopen("rb");
    char buffer[9] = {};
    EXPECT_EQ(file->fread(buffer, 8), 8);
    EXPECT_STREQ(buffer, "QUIT 114");
}

TEST_F(FileTest, WorkingDirectoryIsTheProgramsFolder)
{
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(std::string(File::getWorkingDirectory().c_str()), program.parent_path().string() + "/");
    const struct {
        const char16_t* path;
        const char* folder;
    } cases[] = {
        {u"\\Program Files\\Game\\game.exe", "/Program Files/Game/"},
        {u"C:\\a/b\\c", "C:/a/b/"},
        {u"/game", "/"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(HAL::executableFolder(c.path).c_str(), c.folder);
    EXPECT_THROW(HAL::executableFolder(u"game.exe"), AssertationFailedException);
}

// ---- reading and writing ------------------------------------------------------------------

TEST_F(FileTest, WrittenBytesReadBackWithSizeAndPositionAndReleaseCloses)
{
    const std::string bytes("\x00\x01\xff\r\n\x1a end", 10);
    Ref<File> file = fileAt(at("data.bin"));
    file->fopen("wb+");
    file->fwrite(bytes.data(), 10);
    EXPECT_EQ(get("data.bin"), bytes); // flushed before any close
    file->fclose();

    file->fopen("rb");
    file->fsetpos(3);
    EXPECT_EQ(file->fsize(), 10);
    EXPECT_EQ(file->fgetpos(), 3);
    file->fsetpos(0);
    std::string back(16, '?');
    EXPECT_EQ(file->fread(back.data(), 16), 10); // short at the end
    EXPECT_EQ(back.substr(0, 10), bytes);
    EXPECT_EQ(file->fread(back.data(), 16), 0);
    // Released while open: closed on the way.
    Debug::setVerbosity(Debug::LEVEL_LOW);
    clearLog();
    file = nullptr;
    EXPECT_TRUE(logged("GeneralFile::fclose ok\n"));
    Debug::setVerbosity(Debug::kDefaultVerbosity);

    put("empty.bin", "");
    Ref<File> empty = fileAt(at("empty.bin"));
    empty->fopen("rb");
    EXPECT_EQ(empty->fsize(), 0);
}

TEST_F(FileTest, RenameReplacesTheTargetAndTheFileTakesTheNewName)
{
    put("new.bin", "new");
    put("old.bin", "old");
    Ref<File> file = fileAt(at("new.bin"));
    file->rename(String((folder() + "\\old.bin").c_str()));
    EXPECT_EQ(get("old.bin"), "new");
    EXPECT_FALSE(std::filesystem::exists(at("new.bin")));
    EXPECT_EQ(std::string(file->getPath().c_str()) + file->getName().c_str(), at("old.bin"));
    file->fopen("rb");
    char buffer[4] = {};
    EXPECT_EQ(file->fread(buffer, 3), 3);
    EXPECT_STREQ(buffer, "new");
}

TEST_F(FileTest, RemoveDeletesTheClosedFile)
{
    put("a.bin", "a");
    Ref<File> file = fileAt(at("a.bin"));
    file->fopen("rb");
    EXPECT_EQ(messageOf<AssertationFailedException>([&] { file->remove(); }),
              "GeneralFile: remove failed (file is open)");
    file->fclose();
    file->remove();
    EXPECT_FALSE(std::filesystem::exists(at("a.bin")));
    EXPECT_EQ(messageOf<HAL::HALException>([&] { file->remove(); }), "GeneralFile: can not remove the file");
    EXPECT_TRUE(logged("GeneralFile::remove : " + at("a.bin") + " failed\n"));
}

// ---- failures -------------------------------------------------------------------------------

// A caller tells a file that is not there from one it may not open, and the
// one who reads the failure learns which file it was.
TEST_F(FileTest, FailedOpenNamesTheFileAndTheSystemsReason)
{
    const std::string deep = folder() + "/" + std::string(600, 'd') + "/level9.png";
    put("file.png", "");
    const struct {
        std::string path;
        const char* flags;
        bool missing;
        const char* reason;
        std::string subject;
    } cases[] = {
        {at("missing.bin"), "rb", true, "No such file or directory", at("missing.bin")},
        {at("no/folder.bin"), "wb", true, "No such file or directory", at("no/folder.bin")},
        {folder(), "wb", false, "Is a directory", folder()},
        // A path ending in a separator has no name; the system still tells why.
        {at("missing/"), "rb", true, "No such file or directory", at("missing/")},
        {at("file.png/"), "rb", false, "Not a directory", at("file.png/")},
        {folder() + "/", "rb", false, "Is a directory", folder() + "/"},
        {deep, "rb", false, "File name too long", "..." + deep.substr(deep.size() - 508)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 60));
        try {
            fileAt(c.path)->fopen(c.flags);
            ADD_FAILURE() << "opened";
        } catch (const HAL::HALException& e) {
            const HAL::HALException copy = e;
            for (const HAL::HALException* seen : {&e, &copy}) {
                EXPECT_STREQ(seen->message, "GeneralFile: can not open the file");
                EXPECT_EQ(seen->subject, std::string(c.subject));
                EXPECT_EQ(seen->isMissingFile(), c.missing);
                EXPECT_STREQ(seen->reason(), c.reason);
            }
            EXPECT_NE(copy.subject, e.subject) << "a copy holds the path itself";
        }
    }
    EXPECT_STREQ(HAL::HALException("HAL: can not read gamepads").subject, "");
    EXPECT_STREQ(HAL::HALException("HAL: can not read gamepads").reason(), "HAL: can not read gamepads");
}

TEST_F(FileTest, ClosedFileFailsEveryStreamOperationIncludingASecondClose)
{
    Ref<File> file = fileAt(at("a.bin"));
    file->fopen("wb");
    file->fclose();
    char buffer[4] = {};
    const struct {
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {[&] { file->fread(buffer, 4); }, "GeneralFile: can not read the file (file is closed?)"},
        {[&] { file->fwrite(buffer, 4); }, "GeneralFile: can not write (file is closed?)"},
        {[&] { file->fsize(); }, "GeneralFile: fsize failed (file is closed?)"},
        {[&] { file->fsetpos(0); }, "GeneralFile: fsetpos failed (file is closed?)"},
        {[&] { file->fgetpos(); }, "GeneralFile: fgetpos failed (file is closed?)"},
        {[&] { file->fclose(); }, "GeneralFile: fclose failed (file is closed?)"},
    };
    for (const auto& c : cases) {
        clearLog();
        EXPECT_EQ(messageOf<AssertationFailedException>(c.call), c.message);
        EXPECT_EQ(log().rfind(" ERROR  |", 0), 0u) << c.message;
        EXPECT_TRUE(logged(c.message)) << c.message;
    }
}

TEST_F(FileTest, BadArgumentsFailTheAssertion)
{
    put("four.bin", "abcd");
    Ref<File> file = fileAt(at("four.bin"));
    file->fopen("rb");
    // U+012F would narrow to '/' and U+0100 to a terminator: another file.
    String odd(at("x").c_str());
    odd.setCharAt(0x012F, odd.length() - 1);
    Ref<File> wide = File::createFileHandle(odd);
    char buffer[4] = {};
    const std::function<void()> calls[] = {
        [&] { file->fopen(nullptr); },     [&] { file->fread(nullptr, 4); },  [&] { file->fread(buffer, 0); },
        [&] { file->fwrite(nullptr, 4); }, [&] { file->fwrite(buffer, -1); }, [&] { file->fopen("rb"); },
        [&] { wide->fopen("wb"); },
    };
    for (const auto& call : calls)
        EXPECT_THROW(call(), AssertationFailedException);
    EXPECT_FALSE(wide->isOpen());
    // The open stream survived the refused second open.
    EXPECT_EQ(file->fread(buffer, 4), 4);
}

TEST_F(FileTest, FailedOpenAndWriteLogAndThrowTheFilesError)
{
    // The message, also for a path too long for one log line, is checked by
    // FailedOpenNamesTheFileAndTheSystemsReason.
    Ref<File> file = fileAt(at("missing.bin"));
    EXPECT_THROW(file->fopen("rb"), HAL::HALException);
    EXPECT_TRUE(logged("GeneralFile::fopen : " + at("missing.bin") + " failed. Flags: rb\n"));
    put("missing.bin", "x");
    file->fopen("rb"); // a failed open can be retried
    EXPECT_TRUE(file->isOpen());

    // A stream opened for reading takes no write.
    EXPECT_EQ(messageOf<HAL::HALException>([&] { file->fwrite("0123456789", 10); }), "GeneralFile: file write failed");
    EXPECT_TRUE(logged("GeneralFile::fwrite failed\n"));
}

TEST_F(FileTest, OnlyARegularFileIsOpenedAndNothingWaits)
{
    std::filesystem::create_directory(at("folder"));
    // Nothing writes to or reads from the FIFO: an open that waited would never return.
    ASSERT_EQ(mkfifo(at("fifo").c_str(), 0600), 0);
    const std::string paths[] = {"", at("folder"), at("folder") + "/", at("folder") + "\\", at("fifo"), "/dev/null"};
    for (const std::string& path : paths) {
        for (const char* flags : {"rb", "r+", "wb", "wb+"}) {
            SCOPED_TRACE(path + " " + flags);
            clearLog();
            Ref<File> file = fileAt(path);
            EXPECT_EQ(messageOf<HAL::HALException>([&] { file->fopen(flags); }), "GeneralFile: can not open the file");
            EXPECT_FALSE(file->isOpen());
            EXPECT_TRUE(logged(" failed. Flags: " + std::string(flags) + "\n")) << log();
        }
    }
    EXPECT_EQ(std::filesystem::status(at("fifo")).type(), std::filesystem::file_type::fifo);
    EXPECT_TRUE(std::filesystem::is_empty(at("folder")));

    // Every mode the program uses opens a regular file.
    put("a.bin", "abc");
    for (const char* flags : {"rb", "r", "r+", "rb+", "w+", "wb+", "wb", "w"}) {
        SCOPED_TRACE(flags);
        Ref<File> file = fileAt(at("a.bin"));
        file->fopen(flags);
        EXPECT_TRUE(file->isOpen());
    }
    EXPECT_EQ(get("a.bin"), "");
}

TEST_F(FileTest, FailedRenameLeavesBothFilesAndThrowsTheFilesError)
{
    put("a.bin", "a");
    std::filesystem::create_directories(at("full/x"));
    Ref<File> file = fileAt(at("a.bin"));
    // A folder that is not empty cannot be replaced by a file.
    EXPECT_EQ(messageOf<HAL::HALException>([&] { file->rename(String(at("full").c_str())); }),
              "GeneralFile: can not rename the file");
    EXPECT_TRUE(logged("GeneralFile::rename : " + at("a.bin") + " failed\n"));
    EXPECT_EQ(get("a.bin"), "a");
    EXPECT_TRUE(std::filesystem::exists(at("full/x")));
    EXPECT_STREQ(file->getName().c_str(), "a.bin");

    EXPECT_THROW(fileAt(at("missing.bin"))->rename(String(at("b.bin").c_str())), HAL::HALException);
    file->fopen("rb");
    EXPECT_EQ(messageOf<AssertationFailedException>([&] { file->rename(String(at("b.bin").c_str())); }),
              "GeneralFile: rename failed (file is open)");
    EXPECT_THROW(fileAt(at("a.bin"))->rename(String("")), AssertationFailedException);
}

TEST_F(FileTest, FailedCloseLeavesTheFileClosedAndReleaseOnlyLogs)
{
    Ref<File> closed = fileAt(at("a.bin"));
    Ref<File> released = fileAt(at("b.bin"));
    closed->fopen("wb");
    released->fopen("wb");
    // The descriptors go behind the streams' backs, so closing reports EBADF.
    ::close(fileno(closed->getHandle()));
    ::close(fileno(released->getHandle()));
    EXPECT_EQ(messageOf<HAL::HALException>([&] { closed->fclose(); }), "HAL: can not close the file");
    EXPECT_FALSE(closed->isOpen());
    clearLog();
    EXPECT_NO_THROW(released = nullptr);
    EXPECT_TRUE(logged("GeneralFile::fclose failed\n"));
}

// ---- the log's output file ------------------------------------------------------------------

TEST_F(FileTest, LogLinesShownReachTheOutputFileAndClosingItSilencesTheLog)
{
    Debug::setOutputFile(opened(at("log.txt")));
    Debug::printf(Debug::LEVEL_ERROR, "first %d\n", 1);
    Debug::printf(Debug::LEVEL_PLAIN, "plain\n");
    Debug::printf(Debug::LEVEL_LOW, "hidden\n");
    EXPECT_EQ(get("log.txt"), " ERROR  |000001| first 1\nplain\n");

    Debug::closeOutputFile();
    const std::string expected = " ERROR  |000001| first 1\nplain\n  High  |000003| Debug: closeOutputFile\n";
    EXPECT_EQ(get("log.txt"), expected);
    Debug::printf(Debug::LEVEL_ERROR, "after\n");
    Debug::closeOutputFile(); // the slot is empty: nothing happens
    EXPECT_EQ(log(), expected);
    EXPECT_EQ(Debug::getVerbosity(), 0);
}

TEST_F(FileTest, LogTakesOneOpenOutputFileAndLetsAFailingOneGo)
{
    EXPECT_THROW(Debug::setOutputFile(nullptr), AssertationFailedException);
    EXPECT_THROW(Debug::setOutputFile(fileAt(at("closed")).get()), AssertationFailedException);
    // Opened for reading, so that every write fails.
    put("read-only.txt", "");
    Ref<File> failing = fileAt(at("read-only.txt"));
    failing->fopen("rb");
    Debug::setOutputFile(failing.get());
    EXPECT_EQ(failing->getRefCount(), 2);
    EXPECT_THROW(Debug::setOutputFile(Ref<File>(opened(at("second.txt"))).get()), AssertationFailedException);
    EXPECT_THROW(Debug::printf(Debug::LEVEL_WARNING, "lost\n"), HAL::HALException);
    EXPECT_EQ(Debug::getVerbosity(), Debug::kDefaultVerbosity);
    // The notice cannot reach the file; the file is closed and let go anyway.
    EXPECT_THROW(Debug::closeOutputFile(), HAL::HALException);
    EXPECT_FALSE(failing->isOpen());
    EXPECT_EQ(failing->getRefCount(), 1);
}
