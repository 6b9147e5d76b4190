// The GTK 3 front end: the wizard as a GtkAssistant with the three pages, GtkMessageDialogs
// for every message box, a folder chooser behind the browse button, and the uninstall
// progress dialog. Nothing of GTK shows outside ui_gtk.cpp.
#pragma once

#include <memory>

#include "installer/ui.h"

namespace kelvox::installer {

// The GTK interface when a display can be opened (DISPLAY or WAYLAND_DISPLAY is set and GTK
// starts); nullptr otherwise, and the caller falls back to the terminal.
std::unique_ptr<Ui> makeGtkUi();

}  // namespace kelvox::installer
