// Sound output, the stand-in for DirectSound's device and primary buffer. The engine's mixer
// is an AudioSource; the device pulls mixed samples from it as the output needs them.
//
// Format: 44100 frames per second, two channels (left, right), signed 16-bit samples,
// interleaved.
//
// Pulling. The SDL device pulls on SDL's audio thread, a few milliseconds ahead of what is
// heard. The headless device has no sound card: it pulls on the engine thread, in update(),
// exactly as many frames as the engine's clock says have passed since open (the real clock in
// a headless run, the virtual one in tests), so a test that advances the clock by 1000 ms gets
// 44100 frames rendered.
//
// No device is a normal state (a server without sound, a machine without a card): open answers
// false and the game runs silent, as the original did when DirectSound could not start.
#pragma once

#include <cstdint>
#include <span>

namespace kelvox::platform {

class AudioSource {
 public:
  virtual ~AudioSource() = default;
  // Fills all of [out] (interleaved stereo: out.size() / 2 frames) with the next samples.
  // Called on the device's thread (see above), never on two threads at once. Must not throw
  // and must not wait for the engine thread: what the engine changes, the source guards with
  // its own lock.
  virtual void render(std::span<int16_t> out) = 0;
  // Called on the engine thread, just before each render of [frames] frames, by a device that
  // pulls on the engine thread (the headless one): the source may read files here to have
  // ready what that render takes. Devices with a thread of their own never call it.
  virtual void prepare(size_t /*frames*/) {}
};

class AudioDevice {
 public:
  static constexpr int kSampleRate = 44100;  // frames per second
  static constexpr int kChannels = 2;

  virtual ~AudioDevice() = default;

  // Starts pulling from [source], which must outlive the pulling (until close). An open device
  // is closed first. Returns false when there is no device to play on: nothing will pull.
  // Engine thread.
  virtual bool open(AudioSource& source) = 0;

  // Stops pulling. When it returns the source is called no more and may be destroyed. Nothing
  // when not open. Engine thread.
  virtual void close() = 0;

  virtual bool isOpen() const = 0;

  // Called by the engine once per tick on its thread: the headless device renders the frames
  // that are due; a device with its own thread does nothing.
  virtual void update() = 0;
};

}  // namespace kelvox::platform
