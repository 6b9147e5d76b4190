// The platform services the engine runs on, handed to it as one bundle. The bundle is built in
// one place per platform, by the object that owns the services: HeadlessPlatform (tests,
// benchmarks, fuzz targets, --headless) and SdlPlatform (a game in a window). The volumes are
// reached through paths (paths.volumes()), the one route to them.
//
// The bundle lives in the platform's core, beside the interfaces it names; the surface device
// is the software DirectDraw of platform/surfaces (surface_device.h), which callers include
// where they use it.
#pragma once

#include "platform/audio_device.h"
#include "platform/cd_device.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/display_device.h"
#include "platform/font_engine.h"
#include "platform/paths.h"
#include "platform/text_sink.h"
#include "platform/window.h"

namespace kelvox::platform {

class SurfaceDevice;

struct Platform {
  Clock& clock;
  Dialogs& dialogs;
  Window& window;
  Paths& paths;
  DisplayDevice& display;
  AudioDevice& audio;
  FontEngine& fonts;
  SurfaceDevice& surfaces;  // makes the display's surfaces and shows its primary one
  CdDevice& cd;             // the CD-audio device (tracks ripped from the disc)
  TextSink* textSink = nullptr;  // where the text hook hands out shown text; null: no hook
};

}  // namespace kelvox::platform
