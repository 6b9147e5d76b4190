// Converting a WAV file's samples to the mixer's format once, when the sound is loaded: 8-bit
// unsigned or 16-bit signed, mono or stereo, at any rate, becomes 16-bit stereo at 44100 Hz.
//
// The rate changes by linear interpolation between neighbouring frames, with the source
// position kept as an exact fraction (output frame i sits at i × rate / 44100 source frames),
// so no rounding drifts over a long sound. Output length: ceil(frames × 44100 / rate).
#pragma once

#include <memory>

#include "sound/mixer.h"
#include "sound/wav_file.h"

namespace kelvox::sound {

// The longest sound the player takes, in output frames: ten minutes (about 106 MB). A tiny
// file at a very low rate would otherwise grow 441-fold on conversion.
inline constexpr uint64_t kMaxSoundFrames = 44100ull * 600;

// The sound of [image] in the mixer's format; nullptr when it would be longer than
// kMaxSoundFrames.
std::unique_ptr<PcmBuffer> convertForMixer(const WavImage& image);

}  // namespace kelvox::sound
