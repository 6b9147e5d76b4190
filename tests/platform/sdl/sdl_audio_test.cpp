// The SDL sound device: without a device the game runs silent; with SDL's dummy driver it
// opens, closes and opens again.
#include "platform/sdl/sdl_audio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

namespace kelvox::platform::sdl {
namespace {

struct SilentSource final : AudioSource {
  void render(std::span<int16_t> out) override { std::fill(out.begin(), out.end(), int16_t{0}); }
};

// Sets SDL_AUDIODRIVER for one test and puts the old value back.
class AudioDriver {
 public:
  explicit AudioDriver(const char* name) {
    const char* old = std::getenv("SDL_AUDIODRIVER");
    if (old) saved_ = old;
    setenv("SDL_AUDIODRIVER", name, 1);
  }
  ~AudioDriver() {
    if (saved_) setenv("SDL_AUDIODRIVER", saved_->c_str(), 1);
    else unsetenv("SDL_AUDIODRIVER");
  }

 private:
  std::optional<std::string> saved_;
};

TEST(SdlAudio, WithoutADeviceOpenSaysNoAndNothingPulls) {
  AudioDriver driver("no-such-driver");
  SdlAudio audio;
  SilentSource source;
  EXPECT_FALSE(audio.open(source));
  EXPECT_FALSE(audio.isOpen());
  audio.close();  // nothing to close: no harm
}

TEST(SdlAudio, OpensClosesAndOpensAgain) {
  AudioDriver driver("dummy");
  SdlAudio audio;
  SilentSource source;
  ASSERT_TRUE(audio.open(source));
  EXPECT_TRUE(audio.isOpen());
  ASSERT_TRUE(audio.open(source));  // an open device is closed first
  audio.close();
  EXPECT_FALSE(audio.isOpen());
  EXPECT_TRUE(audio.open(source));
}

}  // namespace
}  // namespace kelvox::platform::sdl
