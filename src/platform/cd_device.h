// The CD-audio device, the stand-in for MCI's "cdaudio" device. A disc is a volume (Volumes)
// whose audio tracks are files ripped from it; the device plays a range of its tracks into the
// engine's mixer and tells the window when what it played has been heard.
//
// Commands. open, close, the status queries, play and stop run on the engine thread and answer
// as MCI does: 0 for success, else an MCI error number (the kMci… constants). A device id
// other than the open one answers kMciInvalidDeviceId.
//
// Notices. A play given a window posts, when it ends, message 0x3B9 (MM_MCINOTIFY) with wParam
// kNotifySuccessful once the last frame of the range has been mixed, kNotifyAborted when stop
// or close ends it first, kNotifySuperseded when another play replaces it.
//
// Sound. mix is called on the audio device's thread, inside the mixer's pull; it only reads
// what the feeder decoded earlier and never waits, allocates or touches a file. The feeder is
// either a thread of the device's own (a device that pulls on its own thread) or prepare,
// which the engine thread calls before each pull it makes itself (the headless device), so
// that headless runs hear exactly the same samples every time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kelvox::platform {

class Window;

// MCI's error numbers for what this device can meet (MCIERR_BASE 256 plus the offsets).
inline constexpr uint32_t kMciInvalidDeviceId = 257;
inline constexpr uint32_t kMciHardware = 262;          // a track that is not audio, or unreadable
inline constexpr uint32_t kMciInvalidDeviceName = 263; // no such drive
inline constexpr uint32_t kMciDeviceNotReady = 276;    // a volume without audio tracks
inline constexpr uint32_t kMciOutOfRange = 282;        // a track number the disc does not have
inline constexpr uint32_t kMciMustUseShareable = 304;  // opened already

inline constexpr uint32_t kMciNotifyMessage = 0x3B9;
inline constexpr uint32_t kNotifySuccessful = 1;
inline constexpr uint32_t kNotifySuperseded = 2;
inline constexpr uint32_t kNotifyAborted = 4;

class CdDevice {
 public:
  virtual ~CdDevice() = default;

  // Opens the disc in drive [element] ("q:", any case), or in the first CD-ROM drive when it is
  // empty, and gives its device id in [deviceId]. A device that is open already answers
  // kMciMustUseShareable.
  virtual uint32_t open(std::string_view element, uint16_t& deviceId) = 0;
  // Stops what plays (kNotifyAborted) and closes.
  virtual uint32_t close(uint16_t deviceId) = 0;

  // Status queries; nothing when the query fails. Lengths and positions are 44100 Hz frames.
  virtual std::optional<uint32_t> trackCount(uint16_t deviceId) = 0;
  virtual std::optional<uint64_t> discLength(uint16_t deviceId) = 0;
  virtual std::optional<uint64_t> trackStart(uint16_t deviceId, uint32_t track) = 0;
  virtual std::optional<uint64_t> trackLength(uint16_t deviceId, uint32_t track) = 0;

  // Plays from the start of track [from] to the start of track [to], or to the end of the disc
  // when there is no [to]. [notify] (may be null) gets the notices above.
  virtual uint32_t play(uint16_t deviceId, uint32_t from, std::optional<uint32_t> to, Window* notify) = 0;
  // Ends the play (kNotifyAborted); nothing to do is success.
  virtual uint32_t stop(uint16_t deviceId) = 0;

  // Audio device thread: adds the next [frames] stereo frames of the play, each sample times
  // [gain], to [acc] (interleaved, full scale ±1); silence when nothing plays or the feeder is
  // behind. Returns the frames of sound added.
  virtual size_t mix(float* acc, size_t frames, float gain) = 0;
  // Engine thread, before a pull of [frames] made on this thread: decodes what it will need.
  virtual void prepare(size_t frames) = 0;
};

}  // namespace kelvox::platform
