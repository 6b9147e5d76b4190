// The platform services the engine runs on, handed to it as one bundle. The program picks the
// real (SDL) or the headless implementations; tests build their own.
#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/volumes.h"
#include "platform/window.h"

namespace kelvox::platform {

struct Platform {
  Clock& clock;
  Dialogs& dialogs;
  Window& window;
  Volumes& volumes;
  Paths& paths;
};

}  // namespace kelvox::platform
