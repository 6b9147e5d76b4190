// Sound output on SDL2: the default audio device at 44100 Hz, stereo, 16-bit, pulling from the
// source on SDL's audio thread. When SDL has no device to offer (no sound server, no card),
// open answers false and the game runs silent.
//
// The device owns SDL's audio subsystem while open: close shuts it down, and shuts SDL down
// altogether when nothing else (the window) still holds a part of it.
//
// This header does not include SDL.
#pragma once

#include <cstdint>

#include "platform/audio_device.h"

namespace kelvox::platform::sdl {

class SdlAudio final : public AudioDevice {
 public:
  SdlAudio() = default;
  ~SdlAudio() override { close(); }
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  bool open(AudioSource& source) override;
  void close() override;
  bool isOpen() const override { return device_ != 0; }
  void update() override {}  // SDL's thread pulls

 private:
  uint32_t device_ = 0;  // SDL_AudioDeviceID; 0 = closed
};

}  // namespace kelvox::platform::sdl
