// The services a run adds to those an owning platform has of its own, as its options ask: the
// text hook's sink (--texthook), scripted input around the window (--input) and the recorder
// between the engine and the sound device (--audio-out). Both owning platforms (headless/,
// sdl/) build theirs from the same options and hand them out in their bundle, so a service of
// this kind is written here and in the platform that owns what it wraps, never in the
// program's entry.
//
// Threads: engine thread only (the recorder's own threads: audio_recorder.h).
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/audio_recorder.h"
#include "platform/headless_audio.h"
#include "platform/platform.h"
#include "platform/scripted_input.h"
#include "platform/text_sink.h"

namespace kelvox::platform {

// Where the text hook hands out shown text.
struct TextHookTarget {
  enum class Kind { None, StandardOutput, Clipboard, File };
  Kind kind = Kind::None;
  std::filesystem::path file{};  // Kind::File: appended to (an absolute path)
};

// What a run asks of its platform beyond the platform's own services.
struct ServiceOptions {
  TextHookTarget textHook{};
  std::optional<InputSchedule> input{};  // timed events replayed around the window
  std::filesystem::path audioOut{};      // records the sound (a WAV file, a FIFO, a device); empty: none
  int desktopDepth = 32;                 // the primary surface's depth: 8, 15, 16, 24 or 32
};

// Why a platform could not be built for a run: which part failed, and the reason in English.
struct ServiceFailure {
  enum class Part { None, TextHook, Window, Recorder };
  Part part = Part::None;
  std::string reason;
};

// Owned by an owning platform, declared after the services it wraps so that it goes first.
class RunServices {
 public:
  // Makes the text hook's sink: standard output, a file, or [clipboard] (the windowed
  // platform's; null where there is none). False with the reason in [failure].
  bool startTextHook(const TextHookTarget& target, std::unique_ptr<TextSink> clipboard, ServiceFailure& failure);

  // Puts the scripted input around [window] and the recorder around [audio], as [options] ask.
  // With [clockFallback] a recording falls back on a device paced by [clock] when [audio]
  // cannot open (a window without a sound card still records what would be heard). False with
  // the reason in [failure]; whatever was at the recording's target is left as it was.
  bool startAround(const ServiceOptions& options, Clock& clock, Window& window, AudioDevice& audio, bool clockFallback,
                   ServiceFailure& failure);

  // [own] with this run's services in place: its window and audio device wrapped, the text sink.
  Platform bundle(const Platform& own);

  ScriptedInput* input() const { return input_.get(); }

  // Ends the recording: the device is closed, the header filled in and the file renamed into
  // place (a stream: the rest passed on). True when there was none; false with the reason in
  // [error].
  bool finish(std::string& error);

 private:
  std::unique_ptr<TextSink> textSink_;
  std::unique_ptr<ScriptedInput> input_;
  std::unique_ptr<HeadlessAudio> clocked_;   // the recording's fallback device
  std::unique_ptr<AudioRecorder> recorder_;  // declared after its fallback: goes first
};

}  // namespace kelvox::platform
