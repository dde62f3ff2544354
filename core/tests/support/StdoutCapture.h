#pragma once

#include <string>

namespace testsupport {

// Redirects the process's standard output (file descriptor 1) into a
// temporary file while alive, so tests can read what the log wrote.
class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();

    // Everything written since construction or the last clear().
    std::string text() const;
    void clear();

    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

private:
    int m_savedFd = -1;
    int m_fileFd = -1;
};

} // namespace testsupport
