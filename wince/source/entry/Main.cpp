// Stands in for: the phone's run-time start-up code, which ran the static
// initialisers and called WinMain. Limits: the command line is the
// arguments joined by blanks, each byte widened; nothing else of the
// start-up code is kept, and SIGINT, SIGTERM and SIGHUP are made close
// requests (wince/Signals.h). Depends on: WinMain (defined by the program) and the
// engine's exception record, which it names when a failure arrives here.
#include "wince/Module.h"
#include "wince/Signals.h"
#include "wince/WinMain.h"
#include "wince/Window.h"

#include "core/Vornic3DException.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

std::u16string commandLineOf(int argc, char** argv)
{
    std::u16string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += u' ';
        for (const char* c = argv[i]; *c != '\0'; ++c)
            line += static_cast<char16_t>(static_cast<unsigned char>(*c));
    }
    return line;
}

// Ends the log's last line, which may lack its line end, so that a terminal
// showing both streams shows the failure on a line of its own; the standard
// error gets that one line alone.
void endLog()
{
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

// The program lets every failure leave WinMain. Uncaught, it would end in
// std::terminate, which names only the exception's type and may drop output
// still buffered; here the log is ended and flushed, the failure is named in
// one line on the standard error and the process ends with 1, as WinMain
// never returned a code of its own.
int main(int argc, char** argv)
{
    // Ctrl-C or a desktop's request ends the program as its close button
    // does, so it saves what it keeps at an orderly exit.
    WinceCloseOnSignals();
    try {
        std::u16string commandLine = commandLineOf(argc, argv);
        return WinMain(GetModuleHandleW(nullptr), nullptr, commandLine.data(), SW_SHOW);
    } catch (const Vornic3DException& e) {
        endLog();
        // A failure that concerns a file names it beside the message, which
        // stays the system's own text; otherwise only the log would say which.
        std::fprintf(stderr, "stopped by an exception: %s", e.message);
        if (e.subject[0] != '\0')
            std::fprintf(stderr, " \"%s\"", e.subject);
        if (e.line > 0)
            std::fprintf(stderr, " (%s, %s:%d)", e.function, e.sourceFile, static_cast<int>(e.line));
        std::fprintf(stderr, "\n");
    } catch (const std::exception& e) {
        endLog();
        std::fprintf(stderr, "stopped by an exception: %s\n", e.what());
    } catch (...) {
        endLog();
        std::fprintf(stderr, "stopped by an exception of unknown type\n");
    }
    return EXIT_FAILURE;
}
