// Building the headless services in their order of use.
#include "platform/headless/headless_platform.h"

namespace kelvox::platform {

HeadlessPlatform::HeadlessPlatform(std::filesystem::path gameFolder) : HeadlessPlatform(std::move(gameFolder), Options{}) {}

HeadlessPlatform::HeadlessPlatform(std::filesystem::path gameFolder, const Options& options)
    : clock_(options.realTime ? static_cast<Clock*>(&steadyClock_) : &virtualClock_),
      systemVolumes_(gameFolder, &discs_),
      paths_(std::move(gameFolder), options.systemVolumes ? static_cast<Volumes*>(&systemVolumes_) : &fixedVolumes_),
      dialogs_(options.boxLog),
      audio_(*clock_),
      cd_(paths_.volumes(), TrackCdDevice::Feeding::OnPrepare),
      platform_(std::in_place, *clock_, dialogs_, window_, paths_, display_, audio_, fonts_, surfaces_, cd_) {
  for (Answer a : options.answers) dialogs_.queueAnswer(a);
}

std::unique_ptr<HeadlessPlatform> HeadlessPlatform::create(std::filesystem::path gameFolder, const Options& options,
                                                           const ServiceOptions& services, ServiceFailure& failure) {
  auto p = std::make_unique<HeadlessPlatform>(std::move(gameFolder), options);
  if (!p->services_.startTextHook(services.textHook, nullptr, failure)) return nullptr;
  p->surfaces_.setDesktopDepth(services.desktopDepth);
  // The headless device always opens: a recording needs nothing to fall back on.
  if (!p->services_.startAround(services, *p->clock_, p->window_, p->audio_, false, failure)) return nullptr;
  p->platform_.emplace(p->services_.bundle(*p->platform_));
  return p;
}

}  // namespace kelvox::platform
