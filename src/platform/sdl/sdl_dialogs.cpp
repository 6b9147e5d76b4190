// SdlDialogs: a message box layout handed to SDL_ShowMessageBox.
#include "platform/sdl/sdl_dialogs.h"

#include <SDL.h>

#include <cstdio>

#include "platform/sdl/message_box_layout.h"
#include "platform/sdl/sdl_window.h"
#include "platform/termination.h"
#include "platform/terminal_text.h"
#include "platform/text_encoding.h"

namespace kelvox::platform::sdl {
namespace {

Uint32 iconFlag(Icon icon) {
  switch (icon) {
    case Icon::Stop: return SDL_MESSAGEBOX_ERROR;
    case Icon::Warning: return SDL_MESSAGEBOX_WARNING;
    // SDL has no question mark; the information icon is the nearest.
    case Icon::Question:
    case Icon::Information: return SDL_MESSAGEBOX_INFORMATION;
    case Icon::None: break;
  }
  return 0;
}

// Windows texts break lines with CR LF; SDL's boxes break on LF alone.
std::string toBoxText(const std::string& sjis) {
  std::string utf8 = sjisToUtf8(sjis);
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    out += utf8[i] == '\r' ? '\n' : utf8[i];
  }
  return out;
}

}  // namespace

Answer SdlDialogs::messageBox(const std::string& text, const std::string& caption, Buttons buttons,
                              Icon icon, int defaultButton) {
  BoxLayout layout = layoutButtons(buttons, defaultButton);
  std::string utf8Text = toBoxText(text);
  std::string utf8Caption = toBoxText(caption);

  SDL_MessageBoxButtonData sdlButtons[3];
  for (int i = 0; i < layout.count; ++i) {
    const BoxButton& b = layout.buttons[static_cast<size_t>(i)];
    Uint32 flags = 0;
    if (b.returnKey) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    if (b.escapeKey) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    sdlButtons[i] = {flags, i, b.label};
  }
  SDL_MessageBoxData data{};
  data.flags = iconFlag(icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
  data.window = parent_ != nullptr ? parent_->handle() : nullptr;
  data.title = utf8Caption.c_str();
  data.message = utf8Text.c_str();
  data.numbuttons = layout.count;
  data.buttons = sdlButtons;

  // Once the game is asked to end (a signal), no box waits for the player: it is answered as
  // if closed, and the game goes on to its teardown. A request while the box is up ends the
  // box's helper process, and SDL returns with an error.
  ModalBoxScope boxUp;
  int chosen = -1;
  if (terminationRequested() || SDL_ShowMessageBox(&data, &chosen) != 0) {
    bool ending = terminationRequested();
    Answer answer = ending ? layout.closeAnswer : layout.defaultAnswer;
    std::string line = describeUnshownBox(utf8Caption, utf8Text, layout, answer);
    std::fprintf(stderr, "%s (%s%s)\n", escapeControls(line).c_str(), ending ? "closed: the game is ending" : "no message box: ",
                 ending ? "" : escapeControls(SDL_GetError()).c_str());
    return answer;
  }
  // -1: the box was closed by the window manager, not by a button.
  if (chosen < 0 || chosen >= layout.count) return layout.closeAnswer;
  return layout.buttons[static_cast<size_t>(chosen)].answer;
}

}  // namespace kelvox::platform::sdl
