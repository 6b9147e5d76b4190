// Building the headless services in their order of use.
#include "platform/headless/headless_platform.h"

namespace kelvox::platform {

HeadlessPlatform::HeadlessPlatform(std::filesystem::path gameFolder) : HeadlessPlatform(std::move(gameFolder), Options{}) {}

HeadlessPlatform::HeadlessPlatform(std::filesystem::path gameFolder, const Options& options)
    : clock_(options.realTime ? static_cast<Clock*>(&steadyClock_) : &virtualClock_),
      systemVolumes_(gameFolder),
      paths_(std::move(gameFolder), options.systemVolumes ? static_cast<Volumes*>(&systemVolumes_) : &fixedVolumes_),
      dialogs_(options.boxLog),
      audio_(*clock_),
      cd_(paths_.volumes(), TrackCdDevice::Feeding::OnPrepare),
      platform_{*clock_, dialogs_, window_, paths_, display_, audio_, fonts_, surfaces_, cd_} {}

}  // namespace kelvox::platform
