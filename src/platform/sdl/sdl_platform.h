// The SDL platform: builds and owns every service of a game in a window (the window and its
// screen, message boxes over it, the sound device, the steady clock, the machine's disc
// volumes, the CD-audio device over them and the game folder's paths), and the services its
// command line asks for around them (run_services.h: the text hook, with the clipboard;
// scripted input; the recording, which falls back on the engine's clock without a sound
// card), and hands them out as the Platform bundle. Discs are looked for in KELVOX_VOLUMES,
// the game folder's Discs/ and the mounted discs.
//
// This header does not include SDL, so the program's entry can build a platform without
// seeing SDL's headers.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/cd/image_disc_opener.h"
#include "platform/cd/track_cd_device.h"
#include "platform/clock.h"
#include "platform/fonts/freetype_font_engine.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/run_services.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_dialogs.h"
#include "platform/sdl/sdl_window.h"
#include "platform/surfaces/surface_device.h"
#include "platform/volumes.h"

namespace kelvox::platform::sdl {

class SdlPlatform {
 public:
  // Opens the game window captioned [sjisCaption] at [scale] (0: from KELVOX_SCALE, else the
  // largest that fits the desktop) for the game in [gameFolder]. Null with the reason in
  // [error] when no window can be opened (no display, say). The sound device opens later,
  // when the game asks for it; without one the game runs silent.
  static std::unique_ptr<SdlPlatform> create(std::filesystem::path gameFolder, const std::string& sjisCaption,
                                             std::string& error, int scale = 0);
  // The same with the services [services] asks for around the platform's own; null with the
  // part that failed and why in [failure]. The text hook is made before the window.
  static std::unique_ptr<SdlPlatform> create(std::filesystem::path gameFolder, const std::string& sjisCaption, int scale,
                                             const ServiceOptions& services, ServiceFailure& failure);
  ~SdlPlatform();
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  Platform& platform() { return *platform_; }
  // The run's own services (scripted input, the recording).
  RunServices& services() { return services_; }
  SdlWindow& window() { return *window_; }
  SdlDialogs& dialogs() { return dialogs_; }
  SurfaceDevice& surfaces() { return *surfaces_; }

 private:
  SdlPlatform(std::filesystem::path gameFolder, std::unique_ptr<SdlWindow> window);

  SteadyClock clock_;
  ImageDiscOpener discs_;  // disc images and drives, for volumes_
  SystemVolumes volumes_;
  Paths paths_;
  std::unique_ptr<SdlWindow> window_;
  SdlDialogs dialogs_;
  SdlAudio audio_;  // declared after the window: closed before it
  FreeTypeFontEngine fonts_;
  std::unique_ptr<SurfaceDevice> surfaces_;  // over the window's screen
  // Fed by a thread of its own: SDL's audio thread pulls whenever the sound card wants.
  TrackCdDevice cd_{&volumes_, TrackCdDevice::Feeding::Thread};
  RunServices services_;  // after what it wraps: goes first
  std::optional<Platform> platform_;
};

}  // namespace kelvox::platform::sdl
