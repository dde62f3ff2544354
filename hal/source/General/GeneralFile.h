#pragma once

#include "hal/File.h"

#include <cstdio>

namespace HAL {

// HAL::File over the C library's stream files, the one implementation on
// every platform. The file is open exactly while the stream handle is set.
// Only a regular file is opened, and at once: a FIFO, a device, a folder or a
// path without a file name fails as a file that can not be opened, so no
// content path can stall the program. Contract: one caller at a time. Closing always gives the stream back to the
// C library, even when the close reports an error, so the handle never points
// at a released stream; the destructor closes a file still open and only logs
// a failure, since it must not throw.
class GeneralFile : public File {
public:
    explicit GeneralFile(const core::String& path);
    ~GeneralFile() override;

    void fopen(const char* flags) override;
    int fread(void* buffer, int size) override;
    void fwrite(const void* buffer, int size) override;
    int fsize() override;
    void fsetpos(int position) override;
    int fgetpos() override;
    std::FILE* getHandle() const override { return m_handle; }
    void fclose() override;
    void rename(const core::String& newPath) override;
    void remove() override;
    bool isOpen() const override { return m_handle != nullptr; }

    // A copy would close the same stream twice.
    GeneralFile(const GeneralFile&) = delete;
    GeneralFile& operator=(const GeneralFile&) = delete;

private:
    // Splits `path`, with every '\' turned into '/', into folder and name; a
    // path ending in '/' is all folder, with an empty name.
    void setFullPath(const core::String& path);

    std::FILE* m_handle = nullptr;
};

} // namespace HAL
