// CdAudio: the game's CD music. It opens the disc with a given volume label on the CD-audio
// device, plays one track, or from the last track to the end of the disc, once or looping,
// and sets the CD-audio volume of the mixers relative to their level at start-up, which it
// puts back at the end.
//
// Looping works through the device's completion notice: the device posts it to the window
// when the track has been heard to its end, the window passes it to the window-message
// listeners, and onMessage starts the same track again.
//
// Failures are silent: a disc that cannot be opened leaves isOpen() 0 and every play fails.
//
// Threads: the engine thread alone uses the object. The device posts its notice to the window
// from whichever thread saw the track end (Window::postNotice), and it reaches onMessage
// through the engine thread's event pump; the stream is pulled on the device's thread
// (cd_stream.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/listener_registry.h"
#include "sound/cd_gain_controls.h"
#include "sound/cd_stream.h"
#include "sound/mixer_controls.h"

namespace kelvox::platform {
class Volumes;
class Window;
}  // namespace kelvox::platform

namespace kelvox::sound {

class Mixer;

class CdAudio final : public common::WindowMessageListener {
 public:
  struct Services {
    platform::CdDevice& device;
    platform::Volumes* volumes = nullptr;          // the drives; none: no disc is ever found
    platform::Window* window = nullptr;            // where the device's notices go
    common::ListenerRegistry* listeners = nullptr; // where this object listens
    Mixer* mixer = nullptr;                        // where the CD stream is heard
  };

  // Puts the CD stream into the mixer, scans the mixers and starts listening; the disc is not
  // opened yet. [controls] are the mixers the volume is set on; null: the CD stream's gain.
  explicit CdAudio(const Services& services, MixerControls* controls = nullptr);
  // Stops listening, stops and closes the disc, puts the mixers back to their start-up level
  // and takes the CD stream out of the mixer.
  ~CdAudio() override;
  CdAudio(const CdAudio&) = delete;
  CdAudio& operator=(const CdAudio&) = delete;

  // Looks for the drive whose volume label is [label] (its first 32 characters, any case);
  // opens the disc there when found. Returns 1 when found, whether or not it opened, else 0.
  int32_t openByLabel(std::string_view label);
  // Opens the disc on driveName (or the first drive when none is known), closing a disc open
  // already, and checks its table of contents. False when either fails.
  bool openDevice();
  // Plays [track] alone, or to the end of the disc when it is the last track; the track that
  // is playing already goes on. False when no disc is open or the device refuses.
  bool play(int32_t track);
  void stop();
  void close();
  // The completion notice (0x3B9, wParam 1): the track is over; a looping one starts again.
  void onMessage(void* window, uint32_t message, uint32_t wParam, int32_t lParam) override;

  // [level] = script volume × 1000; see CdMixerVolume::setVolume.
  void setVolume(int32_t level) { mixerVolume_.setVolume(level); }
  void scanMixers() { mixerVolume_.scanMixers(); }
  void restoreMixers() { mixerVolume_.restoreMixers(); }
  const CdMixerVolume& mixerVolume() const { return mixerVolume_; }
  CdStream& stream() { return stream_; }

  // ≠ 0: the track is played again when it has finished (CdPlayLoop).
  void setLoop(int32_t loop) { loop_ = loop; }
  int32_t loop() const { return loop_; }
  uint16_t deviceId() const { return deviceId_; }  // valid while isOpen() is 1
  int32_t isOpen() const { return isOpen_; }
  int32_t driveKnown() const { return driveKnown_; }  // a disc with the wanted label was found
  int32_t trackCount() const { return trackCount_; }
  int32_t currentTrack() const { return currentTrack_; }  // 0: none
  const std::string& driveName() const { return driveName_; }      // "q:"
  const std::string& volumeLabel() const { return volumeLabel_; }  // at most 32 characters

 private:
  uint16_t deviceId_ = 0;
  int32_t isOpen_ = 0;
  int32_t driveKnown_ = 0;
  int32_t trackCount_ = 0;
  int32_t currentTrack_ = 0;
  int32_t loop_ = 0;
  std::string driveName_;
  std::string volumeLabel_;
  Services services_;
  CdStream stream_;
  CdGainControls gainControls_;
  CdMixerVolume mixerVolume_;
};

}  // namespace kelvox::sound
