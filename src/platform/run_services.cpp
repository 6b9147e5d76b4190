// Starting a run's own services over an owning platform's, and ending the recording.
#include "platform/run_services.h"

#include <cstdio>

namespace kelvox::platform {

bool RunServices::startTextHook(const TextHookTarget& target, std::unique_ptr<TextSink> clipboard,
                                ServiceFailure& failure) {
  using Kind = TextHookTarget::Kind;
  failure = {ServiceFailure::Part::TextHook, ""};
  switch (target.kind) {
    case Kind::None: break;
    case Kind::StandardOutput: textSink_ = std::make_unique<StreamTextSink>(stdout); break;
    case Kind::Clipboard:
      if (!clipboard) {
        failure.reason = "no clipboard";
        return false;
      }
      textSink_ = std::move(clipboard);
      break;
    case Kind::File:
      textSink_ = FileTextSink::open(target.file, failure.reason);
      if (!textSink_) return false;
      break;
  }
  failure = {};
  return true;
}

bool RunServices::startAround(const ServiceOptions& options, Clock& clock, Window& window, AudioDevice& audio,
                              bool clockFallback, ServiceFailure& failure) {
  if (options.input) input_ = std::make_unique<ScriptedInput>(window, *options.input);
  if (!options.audioOut.empty()) {
    if (clockFallback) clocked_ = std::make_unique<HeadlessAudio>(clock);
    recorder_ = std::make_unique<AudioRecorder>(audio, clocked_.get());
    if (!recorder_->start(options.audioOut, failure.reason)) {
      failure.part = ServiceFailure::Part::Recorder;
      recorder_.reset();
      return false;
    }
  }
  return true;
}

Platform RunServices::bundle(const Platform& own) {
  return {own.clock,   own.dialogs, input_ ? *input_ : own.window, own.paths, own.display,
          recorder_ ? *recorder_ : own.audio, own.fonts, own.surfaces, own.cd, textSink_.get()};
}

bool RunServices::finish(std::string& error) {
  if (!recorder_) return true;
  recorder_->close();
  return recorder_->finish(error);
}

}  // namespace kelvox::platform
