// Building the SDL services: the window first, since the dialogs and the screen hang on it.
#include "platform/sdl/sdl_platform.h"

namespace kelvox::platform::sdl {

std::unique_ptr<SdlPlatform> SdlPlatform::create(std::filesystem::path gameFolder, const std::string& sjisCaption,
                                                 std::string& error, int scale) {
  auto window = scale > 0 ? SdlWindow::create(sjisCaption, error, scale) : SdlWindow::create(sjisCaption, error);
  if (!window) return nullptr;
  return std::unique_ptr<SdlPlatform>(new SdlPlatform(std::move(gameFolder), std::move(window)));
}

SdlPlatform::SdlPlatform(std::filesystem::path gameFolder, std::unique_ptr<SdlWindow> window)
    : volumes_(gameFolder),
      paths_(std::move(gameFolder), &volumes_),
      window_(std::move(window)),
      dialogs_(window_.get()),
      surfaces_(std::make_unique<SurfaceDevice>(window_->display())),
      platform_{clock_, dialogs_, *window_, paths_, window_->display(), audio_, fonts_, *surfaces_, cd_} {}

SdlPlatform::~SdlPlatform() {
  audio_.close();  // before the window lets SDL go
  dialogs_.setParent(nullptr);
}

}  // namespace kelvox::platform::sdl
