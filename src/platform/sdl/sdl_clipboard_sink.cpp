// The clipboard text sink over SDL's clipboard.
#include "platform/sdl/sdl_clipboard_sink.h"

#include <SDL.h>

#include <cstdio>

#include "platform/terminal_text.h"

namespace kelvox::platform::sdl {

void ClipboardTextSink::put(std::string_view utf8) {
  std::string text;
  size_t start = 0;
  for (size_t end; (end = utf8.find('\n', start)) != std::string_view::npos; start = end + 1)
    text += escapeControls(utf8.substr(start, end - start)) + '\n';
  text += escapeControls(utf8.substr(start));
  if (SDL_SetClipboardText(text.c_str()) != 0 && !warned_) {
    std::fprintf(stderr, "kelvox: text hook: the clipboard refused the text: %s\n", SDL_GetError());
    warned_ = true;
  }
}

}  // namespace kelvox::platform::sdl
