#pragma once
// The song as the about screen's synthesizer sounds it, made offline: for a WAV file
// anyone can hear and measure, and for the gain that keeps the song from clipping.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "music/general_midi_synth.h"
#include "music/song_table.h"


namespace pestrolik {

// Where the song's loudest sample should land: −3 dBFS, inside the −6..−1 dBFS the
// about screen aims for, with room for the voices other builds choose.
inline constexpr double kSongPeakTarget = 0.7079;
inline constexpr double kSynthGainAtMost = 10.0;  // FluidSynth's own limit
inline constexpr double kSynthGainSilent = 0.2;   // FluidSynth's default, when nothing was heard
inline constexpr double kSongSampleRateHz = 44100.0;

// The synthesizer gain that brings a song peaking at `peakAtUnitGain` (full scale 1,
// measured at gain 1) to kSongPeakTarget; the synthesizer is linear, so one
// measurement is enough.
double gainForPeak(double peakAtUnitGain);

// The largest magnitude among the samples; 1 is full scale.
double peakAmplitude(std::span<const float> samples);

// Interleaved stereo samples from the player's start to the tick that finds the end
// marker, where the about screen closes the output: every tick's messages go to
// `synth`, 155 ms of samples apart. The synthesizer is left as the song left it.
std::vector<float> renderSong(const SongTable& song, GeneralMidiSynth& synth);

// The gain that makes `song` peak at kSongPeakTarget with `soundFont`, measured on a
// synthesizer of its own: a reset one does not sound the same again. kSynthGainSilent
// when the sound font does not load.
double songGain(const SongTable& song, const std::filesystem::path& soundFont);

// A RIFF WAVE file of 16-bit stereo samples; samples beyond full scale are clipped.
std::vector<uint8_t> waveFile(std::span<const float> interleavedStereo, int sampleRateHz);

// The song in a WAVE file, 44.1 kHz, as the about screen sounds it with `soundFont`.
// Nothing when the sound font does not load.
std::optional<std::vector<uint8_t>> songWaveFile(const SongTable& song, const std::filesystem::path& soundFont);

}  // namespace pestrolik
