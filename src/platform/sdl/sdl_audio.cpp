// SdlAudio: SDL's callback hands the source SDL's buffer as it is.
#include "platform/sdl/sdl_audio.h"

#include <SDL.h>

#include <cstdio>

namespace kelvox::platform::sdl {

namespace {

// On SDL's audio thread. [userdata] is the source; SDL holds the device lock meanwhile, so
// close() cannot pull the source away in the middle of a call.
void pull(void* userdata, Uint8* stream, int bytes) {
  auto* source = static_cast<AudioSource*>(userdata);
  source->render({reinterpret_cast<int16_t*>(stream), static_cast<size_t>(bytes) / sizeof(int16_t)});
}

void quitSdlAudio() {
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

}  // namespace

bool SdlAudio::open(AudioSource& source) {
  close();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::fprintf(stderr, "kelvox: no sound (%s)\n", SDL_GetError());
    return false;
  }
  SDL_AudioSpec wanted{};
  wanted.freq = kSampleRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kChannels;
  wanted.samples = 1024;  // about 23 ms a pull
  wanted.callback = pull;
  wanted.userdata = &source;
  // No changes allowed: SDL converts when the hardware wants another format.
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (device == 0) {
    std::fprintf(stderr, "kelvox: no sound (%s)\n", SDL_GetError());
    quitSdlAudio();
    return false;
  }
  device_ = device;
  SDL_PauseAudioDevice(device, 0);
  return true;
}

void SdlAudio::close() {
  if (device_ == 0) return;
  SDL_CloseAudioDevice(device_);  // waits for a running callback
  device_ = 0;
  quitSdlAudio();
}

}  // namespace kelvox::platform::sdl
