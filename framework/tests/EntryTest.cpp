// The whole program, the stand-in's main included, in a process of its own
// (framework_entry_helper runs the tests' application): failures end it
// with the engine singletons half torn down.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <sys/wait.h>

namespace {

struct HelperRun {
    int exitCode = -1; // -1 when the process did not exit by itself
    std::string output; // standard output and error
};

// `environment` holds assignments for the shell.
HelperRun runHelper(const std::string& environment)
{
    HelperRun run;
    FILE* pipe = popen((environment + " " FRAMEWORK_ENTRY_HELPER " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
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
         "created without functionality\n ERROR  \\|\\d{6}\\| set display width and height\n"
         "stopped by an exception: set display width and height \\(framework::createFramework, "},
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
        const HelperRun run = runHelper(std::string("FRAMEWORK_TEST_APPLICATION=") + c.application + leakCheck);
        EXPECT_EQ(c.exitCode, run.exitCode);
        EXPECT_TRUE(std::regex_search(run.output, std::regex(c.output))) << run.output;
    }
}

} // namespace
