// The stand-in for the DirectDraw object: makes surfaces, stands for the cooperative level,
// the display mode and the clipper, and shows the primary surface through the DisplayDevice.
// The same class serves the window and headless runs (the surfaces are software either way);
// the fault switches at the end are for tests and are never touched by a real run.
//
// Desktop depth. The primary surface has the desktop's format, which is depth 32 unless the
// user chose another (kelvox --depth 8|15|16|24|32), so every display depth can run for real.
//
// Full screen is the DisplayDevice's desktop full screen: setDisplayMode switches it on and
// fails with Unsupported when the window system refuses; restoreDisplayMode switches it off.
//
// Threads: engine thread only.
#pragma once

#include <memory>

#include "platform/display_device.h"
#include "platform/surfaces/surface.h"

namespace kelvox::platform {

class SurfaceDevice {
 public:
  explicit SurfaceDevice(DisplayDevice& display);
  SurfaceDevice(const SurfaceDevice&) = delete;
  SurfaceDevice& operator=(const SurfaceDevice&) = delete;

  // The desktop's depth (8, 15, 16, 24 or 32; other values are ignored), read by
  // SetScreenMode and used for every primary surface made afterwards.
  void setDesktopDepth(int depth);
  int desktopDepth() const { return desktopDepth_; }

  // Exclusive (full screen) or normal cooperation. Always Ok: nothing else shares the screen.
  SurfaceResult setCooperativeLevel(bool exclusive);
  // Full screen of [width] × [height] at [depth]: the display's desktop full screen. The size
  // and depth are kept by the game area, not the screen. Unsupported when refused.
  SurfaceResult setDisplayMode(int width, int height, int depth);
  // Back to the window (RestoreDisplayMode).
  SurfaceResult restoreDisplayMode();

  // An off-screen surface of [width] × [height] in the desktop's format. InvalidParams for a
  // size ≤ 0 or over 16384 on a side; OutOfMemory when a fault says so, or for video memory
  // while it is switched off.
  SurfaceResult createSurface(int width, int height, SurfaceMemory memory, std::unique_ptr<Surface>& out);
  // The primary surface: the window's game area of [width] × [height], in the desktop's format
  // (or the format a test forced). Counts as a creation for failNthCreation.
  SurfaceResult createPrimary(int width, int height, std::unique_ptr<Surface>& out);
  // The clipper on the window (create, attach, set in one): the window clips, so always Ok.
  SurfaceResult attachClipper() { return SurfaceResult::Ok; }

  // Shows [primary] on the screen: converts it to XRGB8888 (each channel widened by repeating
  // its top bits, so full intensity stays full; row_kernels.h) and hands it to the
  // DisplayDevice. SurfaceLost for a lost primary, InvalidObject for null, Unsupported when
  // the device refuses the frame.
  //
  // With [changed], the caller promises that the primary differs from what the last present
  // of it showed only inside that rectangle (clipped to the surface): only that part is
  // converted and handed over. The whole surface is, instead, when the last present was of
  // another surface, when the device refused it, or with null.
  SurfaceResult presentPrimary(const Surface* primary, const SurfaceRect* changed = nullptr);

  // The last frame presentPrimary showed, as XRGB8888 rows without padding (screenshots);
  // null before the first.
  const uint32_t* lastFrame() const { return frameSize_ ? frame_.get() : nullptr; }
  int lastFrameWidth() const { return frameWidth_; }
  int lastFrameHeight() const { return frameHeight_; }

  // --- Faults, for tests ---
  // Every surface made so far is lost at once (a mode switch elsewhere, a screen saver).
  void loseAllSurfaces() { state_->lossCount++; }
  // While set, restore() of any surface answers WrongMode.
  void setRestoreRefused(bool refused) { state_->restoreRefused = refused; }
  // The [n]-th creation from now (1: the next) fails with OutOfMemory; 0 switches it off.
  void failNthCreation(int n) { failCountdown_ = n; }
  // Whether "video memory" surfaces can be made (default yes).
  void setVideoMemoryAvailable(bool available) { videoMemory_ = available; }
  // Primary surfaces get [format] instead of the desktop's (a 16-bit primary with masks that
  // are neither 5:6:5 nor 5:5:5, say). Null goes back to the desktop's.
  void forcePrimaryFormat(const PixelFormat* format);
  // Surfaces created so far.
  int creations() const { return creations_; }

 private:
  bool creationFails();

  DisplayDevice& display_;
  std::shared_ptr<SurfaceDeviceState> state_;
  int desktopDepth_ = 32;
  int failCountdown_ = 0;
  bool videoMemory_ = true;
  bool forcedPrimary_ = false;
  PixelFormat primaryFormat_;
  int creations_ = 0;
  CacheLineArray<uint32_t> frame_;  // the converted primary, reused between presents
  size_t frameSize_ = 0;
  int frameWidth_ = 0, frameHeight_ = 0;
  uint64_t shownSerial_ = 0;  // the surface frame_ and the screen show; 0: none, or not all of it
};

}  // namespace kelvox::platform
