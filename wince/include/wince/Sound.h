// Stands in for: the system's sound player, PlaySoundW, for WAV files, and
// the count of sound output devices, waveOutGetNumDevs. Limits:
// plays files only (no resources, no memory images, no looping), one sound at
// a time, in the WAV formats SDL2 decodes: PCM (8, 16, 24 or 32 bits), IEEE
// float, IMA and MS ADPCM, A-law and mu-law, at sample rates a sound card
// plays (1 Hz to 384 kHz); the module argument is ignored.
// Depends on: SDL2 audio and its WAV decoder, WinceFopen.
#pragma once

#include "wince/Types.h"

constexpr DWORD SND_SYNC = 0x00000000u;     // return when the sound has ended
constexpr DWORD SND_ASYNC = 0x00000001u;    // return at once, play alongside
constexpr DWORD SND_FILENAME = 0x00020000u; // the name is a file path

// Stops the sound that plays and starts the WAV file at `path`, a zero-ended
// UTF-16 path of any length in which '\' separates folders. Units below 0x100
// stand for the bytes of the same value (as do 0xFF80 to 0xFFFF, a byte
// widened with its sign); other units, surrogate pairs included, are encoded as
// UTF-8. With SND_ASYNC it returns at once; without it, when the sound has
// ended or another call replaced or stopped it.
// TRUE when the sound plays. FALSE, with nothing playing, when the path cannot
// be narrowed, the file is missing, not a regular file, unreadable, truncated
// (its data cut off or ending in a partial block), not a WAV file, in a
// format SDL cannot decode or at a rate outside 1 Hz to 384 kHz, or when no
// audio device can be opened (the device is opened on first use and not
// tried again after a failure). FALSE, with nothing changed, for flags
// other than SND_ASYNC and SND_FILENAME.
// A null `path` stops the sound that plays and returns TRUE. `module` is never
// read (it names resources, which are not supported).
BOOL PlaySoundW(LPCWSTR path, HMODULE module, DWORD flags);

// The number of sound output devices: 1 when the sound player's device is
// open or can be opened now (it is opened then, as by the first
// PlaySoundW), 0 when none can be; after a failure it is not tried again.
// No device plays as silence: PlaySoundW returns FALSE.
UINT waveOutGetNumDevs();
