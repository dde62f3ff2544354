// Stands in for: the WAV reading of the system's sound player. Limits: PCM
// only, see SoundWavFile.h. Depends on: POSIX open/fstat/pread (a FIFO or
// device is refused before any read, so nothing can block).
#include "wince/SoundWavFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace wince {

namespace {

constexpr int minimumRate = 1000;
constexpr int maximumRate = 384000;
constexpr std::uint16_t formatPcm = 1;
constexpr std::uint64_t riffHeaderSize = 12;
constexpr std::uint64_t chunkHeaderSize = 8;
constexpr std::uint32_t fmtFieldsSize = 16;

// ---- reading ----

// Reads exactly `size` bytes at `offset`; false on an error or an early end
// (the file shrank since its size was taken).
bool readAt(int fd, std::uint64_t offset, void* buffer, std::size_t size)
{
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (size > 0) {
        const ssize_t got = pread(fd, out, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        offset += static_cast<std::uint64_t>(got);
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

std::uint16_t le16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t le32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Closes the descriptor on every way out of load.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

// ---- loading ----

WavFile::Status WavFile::load(const std::string& path)
{
    m_channels = m_bitsPerSample = m_sampleRate = 0;
    m_samples.clear();
    m_samples.shrink_to_fit();

    // Non-blocking, so opening a FIFO without a writer does not wait.
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info{};
    if (file.get() < 0 || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return Status::Unreadable;

    Status status;
    try {
        status = read(file.get(), static_cast<std::uint64_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        status = Status::Unreadable;
    }
    if (status != Status::Ok) {
        m_channels = m_bitsPerSample = m_sampleRate = 0;
        m_samples.clear();
        m_samples.shrink_to_fit();
    }
    return status;
}

WavFile::Status WavFile::read(int fd, std::uint64_t fileSize)
{
    std::uint8_t header[riffHeaderSize];
    if (fileSize < riffHeaderSize)
        return Status::NotWave;
    if (!readAt(fd, 0, header, sizeof header))
        return Status::Unreadable;
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0)
        return Status::NotWave;

    // Walk the chunks until both "fmt " and "data" are known; what follows
    // them (tags appended by some tools) is never looked at.
    bool haveFormat = false;
    bool haveData = false;
    std::uint8_t format[fmtFieldsSize];
    std::uint64_t dataOffset = 0;
    std::uint32_t dataSize = 0;
    std::uint64_t offset = riffHeaderSize;
    while (!(haveFormat && haveData) && offset + chunkHeaderSize <= fileSize) {
        std::uint8_t chunk[chunkHeaderSize];
        if (!readAt(fd, offset, chunk, sizeof chunk))
            return Status::Unreadable;
        const std::uint32_t size = le32(chunk + 4);
        const std::uint64_t body = offset + chunkHeaderSize;
        if (size > fileSize - body)
            return Status::Truncated;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !haveFormat) {
            if (size < fmtFieldsSize)
                return Status::Unsupported;
            if (!readAt(fd, body, format, sizeof format))
                return Status::Unreadable;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0 && !haveData) {
            dataOffset = body;
            dataSize = size;
            haveData = true;
        }
        // Chunk bodies of odd size are followed by one pad byte.
        offset = body + size + (size & 1u);
    }
    if (!haveFormat || !haveData)
        return Status::NotWave;

    const std::uint16_t tag = le16(format);
    const std::uint16_t channels = le16(format + 2);
    const std::uint32_t rate = le32(format + 4);
    const std::uint16_t blockAlign = le16(format + 12);
    const std::uint16_t bits = le16(format + 14);
    if (tag != formatPcm || (channels != 1 && channels != 2) || (bits != 8 && bits != 16) ||
        rate < static_cast<std::uint32_t>(minimumRate) ||
        rate > static_cast<std::uint32_t>(maximumRate) || blockAlign != channels * (bits / 8))
        return Status::Unsupported;

    m_samples.resize(dataSize - dataSize % blockAlign);
    if (!m_samples.empty() && !readAt(fd, dataOffset, m_samples.data(), m_samples.size()))
        return Status::Unreadable;
    m_channels = channels;
    m_bitsPerSample = bits;
    m_sampleRate = static_cast<int>(rate);
    return Status::Ok;
}

} // namespace wince
