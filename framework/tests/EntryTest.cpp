// The whole program, the stand-in's main included, in a process of its own
// (framework_entry_helper runs the tests' application): failures end it
// with the engine singletons half torn down.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <utility>

namespace {

// Runs the helper with `environment` (assignments for the shell): its exit
// code (-1 when it did not exit by itself) and its standard output and error.
std::pair<int, std::string> runHelper(const std::string& environment)
{
    std::string output;
    FILE* pipe = popen((environment + " " FRAMEWORK_ENTRY_HELPER " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return {-1, output};
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(EntryTest, AFailureEndsTheProgramWithItsLogFlushedAndACodeOf1)
{
    struct Case {
        const char* application;
        int exitCode;
        const char* output; // a pattern
    };
    const Case cases[] = {
        {"quit", 0,
         "Check library build information:\n Framework library : (\\w{3} [ \\d]\\d \\d{4})\n Render library    : "
         "\\1\n Core library      : \\1\n HAL library       : \\1\n\n"},
        {"zero-display", 1,
         "created without functionality\n ERROR  \\|\\d{6}\\| set display width and height\n\n"
         "stopped by an exception: set display width and height \\(framework::createFramework, "},
        // The message as the file layer gives it, and beside it the file.
        {"missing-file", 1,
         "\nstopped by an exception: GeneralFile: can not open the file \"/nonexistent/media/level9\\.png\"\n"},
        {"leak", 1,
         "leakOneObject\\(\\d+\\)\" mem check[\\s\\S]*stopped by an exception: MemoryManager: memory leaks "
         "recognized \\(check debug messages\\)\n"},
        {"std-exception", 1, "stopped by an exception: update refused\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.application);
        // What a failed program still holds goes with its process; the leak
        // checker would only change the exit code.
        const std::string leakCheck = c.exitCode == 0 ? "" : " ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\"";
        const auto [exitCode, output] =
            runHelper(std::string("FRAMEWORK_TEST_APPLICATION=") + c.application + leakCheck);
        EXPECT_EQ(c.exitCode, exitCode);
        EXPECT_TRUE(std::regex_search(output, std::regex(c.output))) << output;
    }
}

} // namespace
