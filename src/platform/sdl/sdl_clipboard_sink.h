// The text hook's clipboard: each text shown replaces the clipboard's content, where clipboard
// watchers (dictionary pop-ups, translation tools) pick it up. Needs the SDL window's video
// subsystem, so it exists only in a windowed run.
#pragma once

#include "platform/text_sink.h"

namespace kelvox::platform::sdl {

class ClipboardTextSink : public TextSink {
 public:
  // Puts [utf8] on the clipboard with its line breaks as they are and other control
  // characters escaped. A clipboard that refuses it is reported once on standard error.
  void put(std::string_view utf8) override;

 private:
  bool warned_ = false;
};

}  // namespace kelvox::platform::sdl
