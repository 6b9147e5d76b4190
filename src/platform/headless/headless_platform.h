// The headless platform: builds and owns every service of a run without a display or a sound
// card, and hands them out as the Platform bundle. Tests, the benchmark, the fuzz targets and
// `kelvox --headless` all start from here.
//
// By default it is the test platform: a VirtualClock (sleeping advances it at once), no disc
// volumes, message boxes answered from a queue and printed nowhere. A headless run asks for
// the real clock and the machine's volumes, the boxes on standard output and their answers,
// and the services of its command line (create, run_services.h).
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "platform/cd/image_disc_opener.h"
#include "platform/cd/track_cd_device.h"
#include "platform/clock.h"
#include "platform/fonts/freetype_font_engine.h"
#include "platform/headless/headless_dialogs.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_window.h"
#include "platform/headless_audio.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/run_services.h"
#include "platform/surfaces/surface_device.h"
#include "platform/volumes.h"

namespace kelvox::platform {

class HeadlessPlatform {
 public:
  struct Options {
    bool realTime = false;       // SteadyClock instead of the VirtualClock
    bool systemVolumes = false;  // KELVOX_VOLUMES, the game's Discs/ and the mounted discs instead of fixedVolumes()
    std::ostream* boxLog = nullptr;  // where each message box is printed as one line
    std::vector<Answer> answers{};   // queued for the message boxes, in order
  };

  explicit HeadlessPlatform(std::filesystem::path gameFolder);
  HeadlessPlatform(std::filesystem::path gameFolder, const Options& options);
  HeadlessPlatform(const HeadlessPlatform&) = delete;
  HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

  // A run's platform (kelvox --headless): [options], and the services [services] asks for
  // around the platform's own. There is no clipboard for the text hook. Null with the reason
  // in [failure].
  static std::unique_ptr<HeadlessPlatform> create(std::filesystem::path gameFolder, const Options& options,
                                                  const ServiceOptions& services, ServiceFailure& failure);

  Platform& platform() { return *platform_; }
  // The run's own services (scripted input, the recording).
  RunServices& services() { return services_; }

  Clock& clock() { return *clock_; }
  // The test clock (the platform's clock unless realTime was asked for).
  VirtualClock& virtualClock() { return virtualClock_; }
  HeadlessDialogs& dialogs() { return dialogs_; }
  HeadlessWindow& window() { return window_; }
  HeadlessDisplay& display() { return display_; }
  HeadlessAudio& audio() { return audio_; }
  // The real font engine: tests check the pixels of real glyphs.
  FontEngine& fonts() { return fonts_; }
  // The surfaces, with their fault switches for tests.
  SurfaceDevice& surfaces() { return surfaces_; }
  Paths& paths() { return paths_; }
  // The volumes of a test (assign a list); unused when systemVolumes was asked for.
  FixedVolumes& fixedVolumes() { return fixedVolumes_; }
  // The CD-audio device, fed on the engine thread before each pull of the audio device.
  TrackCdDevice& cd() { return cd_; }

 private:
  VirtualClock virtualClock_;
  SteadyClock steadyClock_;
  Clock* clock_;
  FixedVolumes fixedVolumes_;
  ImageDiscOpener discs_;  // disc images and drives, for systemVolumes_
  SystemVolumes systemVolumes_;
  Paths paths_;
  HeadlessDialogs dialogs_;
  HeadlessWindow window_;
  HeadlessDisplay display_;
  HeadlessAudio audio_;
  FreeTypeFontEngine fonts_;
  SurfaceDevice surfaces_{display_};
  TrackCdDevice cd_;
  RunServices services_;  // after what it wraps: goes first
  std::optional<Platform> platform_;
};

}  // namespace kelvox::platform
