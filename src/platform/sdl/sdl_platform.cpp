// Building the SDL services: the window first, since the dialogs and the screen hang on it.
#include "platform/sdl/sdl_platform.h"

#include "platform/sdl/sdl_clipboard_sink.h"

namespace kelvox::platform::sdl {

std::unique_ptr<SdlPlatform> SdlPlatform::create(std::filesystem::path gameFolder, const std::string& sjisCaption,
                                                 std::string& error, int scale) {
  auto window = scale > 0 ? SdlWindow::create(sjisCaption, error, scale) : SdlWindow::create(sjisCaption, error);
  if (!window) return nullptr;
  return std::unique_ptr<SdlPlatform>(new SdlPlatform(std::move(gameFolder), std::move(window)));
}

std::unique_ptr<SdlPlatform> SdlPlatform::create(std::filesystem::path gameFolder, const std::string& sjisCaption,
                                                 int scale, const ServiceOptions& services, ServiceFailure& failure) {
  RunServices run;
  if (!run.startTextHook(services.textHook, std::make_unique<ClipboardTextSink>(), failure)) return nullptr;
  std::string error;
  auto sdl = create(std::move(gameFolder), sjisCaption, error, scale);
  if (!sdl) {
    failure = {ServiceFailure::Part::Window, error};
    return nullptr;
  }
  sdl->services_ = std::move(run);
  sdl->surfaces_->setDesktopDepth(services.desktopDepth);
  if (!sdl->services_.startAround(services, sdl->clock_, *sdl->window_, sdl->audio_, true, failure)) return nullptr;
  sdl->platform_.emplace(sdl->services_.bundle(*sdl->platform_));
  return sdl;
}

SdlPlatform::SdlPlatform(std::filesystem::path gameFolder, std::unique_ptr<SdlWindow> window)
    : volumes_(gameFolder, &discs_),
      paths_(std::move(gameFolder), &volumes_),
      window_(std::move(window)),
      dialogs_(window_.get()),
      surfaces_(std::make_unique<SurfaceDevice>(window_->display())),
      platform_(std::in_place, clock_, dialogs_, *window_, paths_, window_->display(), audio_, fonts_, *surfaces_, cd_) {}

SdlPlatform::~SdlPlatform() {
  audio_.close();  // before the window lets SDL go
  dialogs_.setParent(nullptr);
}

}  // namespace kelvox::platform::sdl
