// Stands in for: PlaySoundW, the system's sound player, for WAV files, and
// waveOutGetNumDevs. Limits: one sound at a time; files only; the WAV
// formats SDL decodes (PCM, IEEE float, IMA and MS ADPCM, A-law, mu-law) at
// 1 Hz to 384 kHz, a cut-off file refused; the device is opened on first use
// with SDL's default output, with the standard error silenced meanwhile,
// and, after a failure, not tried again (unless SDL's audio was shut down by
// a global SDL_Quit elsewhere, after which it is opened anew). Depends on:
// SDL2 audio (SDL_LoadWAV_RW to decode, a device callback and
// SDL_AudioStream for the conversion), WinceFopen (a FIFO or device is
// refused before any read, so nothing can block), SDL's iconv for the path
// (Utf8.h).
#include "wince/Sound.h"

#include "Utf8.h"
#include "wince/FileOpen.h"
#include "wince/SoundTestApi.h"

#include <SDL.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <thread>

namespace {

constexpr DWORD knownFlags = SND_ASYNC | SND_FILENAME;
// The sample rates a sound card plays. SDL 2.26's resampler sizes its work
// from the ratio of the rates and, for a file's rate of some megahertz, asks
// calloc for a negative size; such a file is refused before SDL converts it.
constexpr int lowestRate = 1;
constexpr int highestRate = 384000;

// ---- paths ----

// The engine widens its byte paths one byte per unit, some callers with the
// byte's sign, so units below 0x100 and from 0xFF80 give back the byte.
bool standsForByte(char16_t unit)
{
    return unit < 0x100 || unit >= 0xFF80;
}

// Real UTF-16 beyond the bytes becomes UTF-8; '\' becomes '/'. False for a
// surrogate without its pair.
bool narrowPath(std::u16string_view path, std::string& out)
{
    std::size_t i = 0;
    while (i < path.size()) {
        if (standsForByte(path[i])) {
            out += path[i] == u'\\' ? '/' : static_cast<char>(path[i] & 0xFF);
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < path.size() && !standsForByte(path[i]))
            ++i;
        if (!wince::appendUtf8(path.substr(start, i - start), out))
            return false;
    }
    return true;
}

// ---- decoding ----

// Whether the file's first "data" chunk, found as SDL finds it (chunk by
// chunk from behind the RIFF header, or from behind a bare "WAVE" that SDL
// also takes, each chunk padded to an even length), claims more bytes than
// the file holds behind its header. The file is left at its start.
bool dataChunkIsCut(std::FILE* file)
{
    constexpr long chunkHeader = 8;
    unsigned char header[chunkHeader];
    if (std::fseek(file, 0, SEEK_END) != 0)
        return true;
    const long size = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0)
        return true;
    // SDL refuses a file that starts with anything else before it reads a chunk.
    long position = size;
    if (std::fread(header, 1, 4, file) == 4)
        position = std::memcmp(header, "RIFF", 4) == 0 ? 12 : std::memcmp(header, "WAVE", 4) == 0 ? 4 : size;
    bool cut = false;
    while (position + chunkHeader <= size) {
        if (std::fseek(file, position, SEEK_SET) != 0 || std::fread(header, 1, chunkHeader, file) != chunkHeader)
            return true;
        const long claimed = static_cast<long>(header[4] | header[5] << 8 | header[6] << 16 |
                                               static_cast<std::uint32_t>(header[7]) << 24);
        if (std::memcmp(header, "data", 4) == 0) {
            cut = claimed > size - position - chunkHeader;
            break;
        }
        position += chunkHeader + claimed + (claimed & 1);
    }
    return std::fseek(file, 0, SEEK_SET) != 0 || cut;
}

// Whether a cut-off file is refused: SDL refuses it under "strict" (the
// stand-in's own rule, SoundPlayer) and "verystrict". No hint at all is left
// after a global SDL_Quit has cleared them; the stand-in's rule holds then.
bool refusesCutFiles()
{
    const char* truncation = SDL_GetHint(SDL_HINT_WAVE_TRUNCATION);
    return truncation == nullptr || std::strcmp(truncation, "strict") == 0 ||
           std::strcmp(truncation, "verystrict") == 0;
}

// Decodes the WAV file at `path` into `samples` (SDL's buffer, to be given
// back with SDL_FreeWAV) and `format`. Only a regular file is opened, so a
// FIFO without a writer or a device never stalls the caller.
bool decodeWav(const std::string& path, SDL_AudioSpec& format, Uint8*& samples, Uint32& length)
{
    std::FILE* file = WinceFopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    // SDL takes a buffer of the length the data chunk claims before it reads
    // the chunk: a file of 144 bytes claiming 4 GB would take 4 GB, only to
    // be refused as cut off. It is refused from its chunk headers instead.
    if (refusesCutFiles() && dataChunkIsCut(file)) {
        std::fclose(file);
        return false;
    }
    SDL_RWops* source = SDL_RWFromFP(file, SDL_TRUE);
    if (source == nullptr) {
        std::fclose(file);
        return false;
    }
    // SDL closes the source either way. After a failure it has freed its
    // buffer itself and may leave the pointer dangling, so the pointer is
    // handed out only on success.
    Uint8* buffer = nullptr;
    Uint32 size = 0;
    if (SDL_LoadWAV_RW(source, 1, &format, &buffer, &size) == nullptr)
        return false;
    samples = buffer;
    length = size;
    return true;
}

// Plays one sound at a time on an SDL device opened on first use and closed
// at process exit. The device's callback converts the current sound's samples
// a piece at a time, so a call costs only the file's decoding. Callers are
// serialised by m_lock; the device lock (held by SDL around the callback)
// guards m_current and m_generation against the callback.
class SoundPlayer {
public:
    SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;
    ~SoundPlayer();

    // Replaces what plays with the file at `path`; with `wait`, returns when
    // that sound has ended or was replaced. False, with nothing playing, when
    // the file or the device fails.
    bool play(const std::string& path, bool wait);
    void stop();
    // Whether the device is open, opening it when it was never tried.
    bool hasDevice();
    std::string playing();

private:
    struct Sound {
        Sound() = default;
        Sound(const Sound&) = delete;
        Sound& operator=(const Sound&) = delete;
        ~Sound()
        {
            if (stream != nullptr)
                SDL_FreeAudioStream(stream);
            SDL_FreeWAV(samples);
        }

        std::string path;
        Uint8* samples = nullptr; // decoded by SDL, in its own buffer
        Uint32 length = 0;        // bytes of samples
        SDL_AudioStream* stream = nullptr;
        std::size_t fed = 0;  // bytes of samples put into the stream
        bool flushed = false; // the stream was told no more input comes
        bool finished = false;
    };

    bool openDevice();
    void forgetVanishedDevice();
    std::uint64_t replace(std::unique_ptr<Sound> next);
    bool hasEnded(std::uint64_t generation);
    static void SDLCALL fillCallback(void* player, Uint8* out, int length);
    void fill(Uint8* out, int length);

    std::mutex m_lock;
    SDL_AudioDeviceID m_device = 0;
    SDL_AudioSpec m_spec{};
    bool m_failed = false;
    std::unique_ptr<Sound> m_current;
    std::uint64_t m_generation = 0; // counts replacements, for the waiting caller
};

// ---- device ----

SoundPlayer::SoundPlayer()
{
    // SDL would play a cut-off file as far as it goes; like a corrupt one it
    // is refused. The lowest priority, so the environment or a part of the
    // program that sets this on purpose wins.
    SDL_SetHintWithPriority(SDL_HINT_WAVE_TRUNCATION, "strict", SDL_HINT_DEFAULT);
}

SoundPlayer::~SoundPlayer()
{
    forgetVanishedDevice();
    if (m_device != 0) {
        // Joins SDL's audio thread, so the callback is done with m_current.
        SDL_CloseAudioDevice(m_device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

// A global SDL_Quit elsewhere closes every device; the id is stale then and
// the callback no longer runs.
void SoundPlayer::forgetVanishedDevice()
{
    if (m_device != 0 && SDL_WasInit(SDL_INIT_AUDIO) == 0) {
        m_device = 0;
        m_current.reset();
    }
}

// While it lives, the standard error goes nowhere. SDL's audio back ends and
// the sound libraries beneath them (ALSA's among them) write their own lines
// there when no device answers; the program goes on silently all the same,
// and its log says so (waveOutGetNumDevs). Silencing the whole process is
// safe because the program has one thread, busy opening the device, and
// SDL's audio thread starts only with the device.
class QuietStandardError {
public:
    QuietStandardError()
    {
        std::fflush(stderr);
        const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (nowhere < 0)
            return;
        m_saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        if (m_saved >= 0)
            dup2(nowhere, STDERR_FILENO);
        close(nowhere);
    }
    ~QuietStandardError()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int m_saved = -1;
};

bool SoundPlayer::openDevice()
{
    forgetVanishedDevice();
    if (m_device != 0)
        return true;
    if (m_failed)
        return false;
    m_failed = true;
    const QuietStandardError quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = &SoundPlayer::fillCallback;
    wanted.userdata = this;
    // No changes allowed: SDL converts to the hardware, so m_spec is wanted.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &m_spec, 0);
    if (m_device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    m_failed = false;
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

// ---- playing ----

bool SoundPlayer::hasDevice()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return openDevice();
}

bool SoundPlayer::play(const std::string& path, bool wait)
{
    std::unique_lock<std::mutex> guard(m_lock);
    auto next = std::make_unique<Sound>();
    SDL_AudioSpec format{};
    bool ok = openDevice() && decodeWav(path, format, next->samples, next->length) && format.freq >= lowestRate &&
              format.freq <= highestRate;
    if (ok) {
        next->stream = SDL_NewAudioStream(format.format, format.channels, format.freq, m_spec.format, m_spec.channels,
                                          m_spec.freq);
        ok = next->stream != nullptr;
        next->path = path;
    }
    if (!ok)
        next.reset();
    const std::uint64_t generation = replace(std::move(next));
    guard.unlock();

    while (ok && wait && !hasEnded(generation))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return ok;
}

void SoundPlayer::stop()
{
    std::lock_guard<std::mutex> guard(m_lock);
    forgetVanishedDevice();
    replace(nullptr);
}

std::string SoundPlayer::playing()
{
    std::lock_guard<std::mutex> guard(m_lock);
    forgetVanishedDevice();
    if (m_device == 0)
        return {};
    SDL_LockAudioDevice(m_device);
    std::string path = m_current != nullptr && !m_current->finished ? m_current->path : std::string();
    SDL_UnlockAudioDevice(m_device);
    return path;
}

// Swaps in `next` (null: silence) and gives the new generation; the old sound
// is freed after the device lock is let go. m_lock must be held.
std::uint64_t SoundPlayer::replace(std::unique_ptr<Sound> next)
{
    if (m_device != 0)
        SDL_LockAudioDevice(m_device);
    m_current.swap(next);
    const std::uint64_t generation = ++m_generation;
    if (m_device != 0)
        SDL_UnlockAudioDevice(m_device);
    return generation;
}

bool SoundPlayer::hasEnded(std::uint64_t generation)
{
    std::lock_guard<std::mutex> guard(m_lock);
    forgetVanishedDevice();
    if (m_device == 0)
        return true;
    SDL_LockAudioDevice(m_device);
    const bool ended = m_generation != generation || m_current == nullptr || m_current->finished;
    SDL_UnlockAudioDevice(m_device);
    return ended;
}

// ---- device callback ----

void SDLCALL SoundPlayer::fillCallback(void* player, Uint8* out, int length)
{
    static_cast<SoundPlayer*>(player)->fill(out, length);
}

// Runs on SDL's audio thread with the device lock held.
void SoundPlayer::fill(Uint8* out, int length)
{
    // Small pieces keep the conversion work per callback short.
    constexpr std::size_t piece = 4096;
    std::memset(out, m_spec.silence, static_cast<std::size_t>(length));
    Sound* sound = m_current.get();
    if (sound == nullptr || sound->finished)
        return;
    int filled = 0;
    while (filled < length) {
        const int got = SDL_AudioStreamGet(sound->stream, out + filled, length - filled);
        if (got < 0) {
            sound->finished = true;
            return;
        }
        filled += got;
        if (filled == length || got > 0)
            continue;
        if (sound->fed < sound->length) {
            const std::size_t size = std::min<std::size_t>(piece, sound->length - sound->fed);
            if (SDL_AudioStreamPut(sound->stream, sound->samples + sound->fed, static_cast<int>(size)) != 0) {
                sound->finished = true;
                return;
            }
            sound->fed += size;
        } else if (!sound->flushed) {
            SDL_AudioStreamFlush(sound->stream);
            sound->flushed = true;
        } else {
            sound->finished = true;
            return;
        }
    }
}

SoundPlayer& player()
{
    static SoundPlayer instance;
    return instance;
}

} // namespace

// ---- the system call ----

BOOL PlaySoundW(LPCWSTR path, HMODULE, DWORD flags)
{
    try {
        if (path == nullptr) {
            player().stop();
            return TRUE;
        }
        if ((flags & ~knownFlags) != 0)
            return FALSE;
        std::string narrow;
        if (!narrowPath(std::u16string_view(path), narrow)) {
            player().stop();
            return FALSE;
        }
        return player().play(narrow, (flags & SND_ASYNC) == 0) ? TRUE : FALSE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

UINT waveOutGetNumDevs()
{
    return player().hasDevice() ? 1 : 0;
}

namespace wince::test {

std::string soundPlaying()
{
    return player().playing();
}

} // namespace wince::test
