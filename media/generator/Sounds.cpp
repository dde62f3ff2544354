#include "Sounds.h"

#include "Random.h"
#include "WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace media {

namespace {

constexpr float kTwoPi = 6.2831853f;

enum class Wave { Sine, Triangle, Square };

float noteFrequency(int midiNote)
{
    return 440.0f * std::pow(2.0f, static_cast<float>(midiNote - 69) / 12.0f);
}

// One waveform value at phase [0, 1). The square is built from its first odd
// harmonics only, so it stays soft and has nothing above the sample rate.
float waveAt(Wave wave, float phase)
{
    switch (wave) {
    case Wave::Sine: return std::sin(kTwoPi * phase);
    case Wave::Triangle: return 1.0f - 4.0f * std::fabs(phase - 0.5f);
    case Wave::Square: {
        float sum = 0.0f;
        for (int k = 1; k <= 7; k += 2)
            sum += std::sin(kTwoPi * phase * static_cast<float>(k)) / static_cast<float>(k);
        return sum * 0.9f;
    }
    }
    return 0.0f;
}

// A sound being mixed: tones and noise bursts added into float samples,
// then scaled to a fixed peak.
class Mix {
public:
    explicit Mix(float seconds) : m_samples(static_cast<std::size_t>(seconds * kSampleRate), 0.0f) {}

    // A tone from `start` for `length` seconds, gliding from `from` to `to`
    // Hz, with a linear attack and an exponential decay to the end.
    void tone(float start, float length, float from, float to, Wave wave, float volume, float attack, float decay)
    {
        float phase = 0.0f;
        const int first = index(start);
        const int count = static_cast<int>(length * kSampleRate);
        for (int i = 0; i < count && first + i < size(); ++i) {
            const float t = static_cast<float>(i) / kSampleRate;
            const float progress = t / length;
            phase += (from + (to - from) * progress) / kSampleRate;
            phase -= std::floor(phase);
            const float envelope = std::min(1.0f, t / attack) * std::exp(-decay * progress) * (1.0f - progress);
            m_samples[static_cast<std::size_t>(first + i)] += volume * envelope * waveAt(wave, phase);
        }
    }

    void noise(float start, float length, float volume, Random& random)
    {
        const int first = index(start);
        const int count = static_cast<int>(length * kSampleRate);
        for (int i = 0; i < count && first + i < size(); ++i) {
            const float progress = static_cast<float>(i) / static_cast<float>(count);
            m_samples[static_cast<std::size_t>(first + i)] +=
                volume * (1.0f - progress) * (1.0f - progress) * random.range(-1.0f, 1.0f);
        }
    }

    // Scaled so the loudest sample is `peak` of full scale.
    std::vector<std::int16_t> toPcm(float peak = 0.8f) const
    {
        float loudest = 1e-6f;
        for (float s : m_samples)
            loudest = std::max(loudest, std::fabs(s));
        std::vector<std::int16_t> pcm;
        pcm.reserve(m_samples.size());
        for (float s : m_samples)
            pcm.push_back(static_cast<std::int16_t>(std::lround(s / loudest * peak * 32767.0f)));
        return pcm;
    }

private:
    int index(float seconds) const { return static_cast<int>(seconds * kSampleRate); }
    int size() const { return static_cast<int>(m_samples.size()); }

    std::vector<float> m_samples;
};

// ---- the sounds ---------------------------------------------------------------------

void writeTheme(const std::string& folder)
{
    // A bright jingle in C: lead, bass an octave below the chords, and a
    // light tick on every beat.
    constexpr float step = 0.18f; // an eighth note
    const int lead[] = {76, 79, 84, 83, 81, 79, 76, 79, 77, 81, 86, 84, 83, 79, 84};
    const int bass[] = {48, 48, 45, 45, 41, 41, 43, 48};
    Mix mix(step * 16 + 0.25f);
    for (int i = 0; i < 15; ++i) {
        const float length = i == 14 ? step * 2.2f : step * 0.95f;
        const float f = noteFrequency(lead[i]);
        mix.tone(step * static_cast<float>(i), length, f, f, Wave::Square, 0.32f, 0.006f, 2.0f);
        mix.tone(step * static_cast<float>(i), length, f * 2.0f, f * 2.0f, Wave::Sine, 0.06f, 0.006f, 3.0f);
    }
    for (int i = 0; i < 8; ++i) {
        const float f = noteFrequency(bass[i]);
        mix.tone(step * 2.0f * static_cast<float>(i), step * 1.9f, f, f, Wave::Triangle, 0.45f, 0.01f, 1.5f);
    }
    Random random(606);
    for (int i = 0; i < 16; i += 2)
        mix.noise(step * static_cast<float>(i), 0.04f, 0.08f, random);
    writeWav(folder, "theme.wav", mix.toPcm());
}

void writeMenuTap(const std::string& folder)
{
    Mix mix(0.09f);
    mix.tone(0.0f, 0.09f, 900.0f, 1400.0f, Wave::Sine, 0.8f, 0.002f, 3.0f);
    mix.tone(0.0f, 0.05f, 1800.0f, 2600.0f, Wave::Triangle, 0.2f, 0.002f, 4.0f);
    writeWav(folder, "menu.wav", mix.toPcm(0.6f));
}

void writeScore(const std::string& folder)
{
    Mix mix(0.28f);
    mix.tone(0.0f, 0.1f, noteFrequency(88), noteFrequency(88), Wave::Triangle, 0.6f, 0.003f, 2.0f);
    mix.tone(0.07f, 0.21f, noteFrequency(95), noteFrequency(95), Wave::Triangle, 0.6f, 0.003f, 2.5f);
    mix.tone(0.07f, 0.21f, noteFrequency(107), noteFrequency(107), Wave::Sine, 0.15f, 0.003f, 4.0f);
    writeWav(folder, "SCORE.wav", mix.toPcm(0.7f));
}

void writeReady(const std::string& folder)
{
    Mix mix(0.5f);
    mix.tone(0.0f, 0.22f, noteFrequency(67), noteFrequency(67), Wave::Square, 0.5f, 0.005f, 1.5f);
    mix.tone(0.25f, 0.25f, noteFrequency(67), noteFrequency(67), Wave::Square, 0.5f, 0.005f, 1.5f);
    writeWav(folder, "READY.WAV", mix.toPcm());
}

void writeGo(const std::string& folder)
{
    Mix mix(0.4f);
    for (int note : {72, 76, 79, 84})
        mix.tone(0.0f, 0.4f, noteFrequency(note), noteFrequency(note), Wave::Square, 0.3f, 0.004f, 2.5f);
    Random random(707);
    mix.noise(0.0f, 0.06f, 0.25f, random);
    writeWav(folder, "GO.WAV", mix.toPcm());
}

void writeGameOver(const std::string& folder)
{
    Mix mix(0.95f);
    const int notes[] = {67, 64, 60};
    for (int i = 0; i < 3; ++i) {
        const float f = noteFrequency(notes[i]);
        mix.tone(0.18f * static_cast<float>(i), 0.2f, f, f, Wave::Square, 0.4f, 0.005f, 1.5f);
    }
    // A last note that sags in pitch.
    mix.tone(0.54f, 0.41f, noteFrequency(55), noteFrequency(50), Wave::Triangle, 0.6f, 0.01f, 1.2f);
    mix.tone(0.54f, 0.41f, noteFrequency(43), noteFrequency(38), Wave::Square, 0.25f, 0.01f, 1.2f);
    writeWav(folder, "GAME_OVER.WAV", mix.toPcm());
}

void writeLevelCompleted(const std::string& folder)
{
    Mix mix(0.95f);
    const int arpeggio[] = {72, 76, 79, 84};
    for (int i = 0; i < 4; ++i) {
        const float f = noteFrequency(arpeggio[i]);
        mix.tone(0.09f * static_cast<float>(i), 0.14f, f, f, Wave::Square, 0.35f, 0.003f, 1.5f);
    }
    for (int note : {72, 76, 79, 84, 88})
        mix.tone(0.38f, 0.57f, noteFrequency(note), noteFrequency(note), Wave::Triangle, 0.3f, 0.01f, 1.8f);
    writeWav(folder, "LEVEL_COMPLETED.WAV", mix.toPcm());
}

} // namespace

void writeSounds(const std::string& folder)
{
    writeTheme(folder);
    writeMenuTap(folder);
    writeScore(folder);
    writeReady(folder);
    writeGo(folder);
    writeGameOver(folder);
    writeLevelCompleted(folder);
}

} // namespace media
