// GtkAssistant wizard and GTK dialogs. The assistant's pages are of the custom kind, each with
// its own row of Next / Finish / Cancel buttons, because Next must be able to refuse the
// destination and stay on its page, which the assistant's own Next cannot. (Buttons added to
// the assistant's action area would each widen the window by a whole button's width.)
#include "installer/ui_gtk.h"

#include <gtk/gtk.h>

#include <cstdlib>
#include <string>

#include "installer/messages.h"
#include "installer/uninstall.h"
#include "installer/wizard.h"

namespace kelvox::installer {
namespace {

constexpr guint kStartDelayMs = 300;  // the pages' timer before the first step

// "参照(&B)..." → "参照(_B)...": the resource's mnemonic marker in GTK's spelling.
std::string mnemonic(const char* text) {
  std::string s = text;
  for (char& c : s)
    if (c == '&') c = '_';
  return s;
}

class GtkUi;

// One wizard window; lives for one runWizard call.
struct WizardWindow {
  GtkUi* ui = nullptr;
  Wizard* wizard = nullptr;
  GtkAssistant* assistant = nullptr;
  GtkWidget* entry = nullptr;
  GtkWidget* startMenu = nullptr;
  GtkWidget* desktop = nullptr;
  GtkWidget* copyingLabel = nullptr;
  GtkWidget* bar = nullptr;
  GtkWidget* hint = nullptr;
  struct Buttons {
    GtkWidget* next = nullptr;
    GtkWidget* finish = nullptr;
    GtkWidget* cancel = nullptr;
  } buttons[3];  // one row per page
  int step = 0;
  bool busy = false;  // the progress page has started: nothing can be cancelled
  WizardOutcome outcome = WizardOutcome::Cancelled;
};

enum { kDestinationPage = 0, kOptionsPage = 1, kProgressPage = 2 };

class GtkUi : public Ui {
 public:
  Answer message(const MessageBox& box) override;
  WizardOutcome runWizard(Wizard& wizard) override;
  void runUninstallDialog(UninstallDialog& dialog) override;

  GtkWindow* parent = nullptr;  // the window message boxes belong to
};

Answer GtkUi::message(const MessageBox& box) {
  GtkMessageType type = GTK_MESSAGE_ERROR;
  switch (box.icon) {
    case Icon::Error: type = GTK_MESSAGE_ERROR; break;
    case Icon::Question: type = GTK_MESSAGE_QUESTION; break;
    case Icon::Information: type = GTK_MESSAGE_INFO; break;
    case Icon::Warning: type = GTK_MESSAGE_WARNING; break;
  }
  GtkWidget* dialog = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, type, GTK_BUTTONS_NONE, "%s", box.text.c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), box.caption.empty() ? text::kDefaultCaption : box.caption.c_str());
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  switch (box.buttons) {
    case Buttons::Ok:
      gtk_dialog_add_button(GTK_DIALOG(dialog), "OK", GTK_RESPONSE_OK);
      break;
    case Buttons::OkCancel:
      gtk_dialog_add_buttons(GTK_DIALOG(dialog), "OK", GTK_RESPONSE_OK, "キャンセル", GTK_RESPONSE_CANCEL, nullptr);
      break;
    case Buttons::YesNo:
      gtk_dialog_add_buttons(GTK_DIALOG(dialog), "はい(_Y)", GTK_RESPONSE_YES, "いいえ(_N)", GTK_RESPONSE_NO, nullptr);
      break;
    case Buttons::YesNoCancel:
      gtk_dialog_add_buttons(GTK_DIALOG(dialog), "はい(_Y)", GTK_RESPONSE_YES, "いいえ(_N)", GTK_RESPONSE_NO,
                             "キャンセル", GTK_RESPONSE_CANCEL, nullptr);
      break;
  }
  bool ok = box.buttons == Buttons::Ok || box.buttons == Buttons::OkCancel;
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), ok ? GTK_RESPONSE_OK : GTK_RESPONSE_YES);
  gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  // Let the box go from the screen now: the uninstall request next waits for its copy
  // without running the main loop, and the box would stay there, frozen, until it ends.
  while (gtk_events_pending()) gtk_main_iteration();
  gdk_display_flush(gdk_display_get_default());
  switch (response) {
    case GTK_RESPONSE_OK: return Answer::Ok;
    case GTK_RESPONSE_YES: return Answer::Yes;
    case GTK_RESPONSE_NO: return Answer::No;
    case GTK_RESPONSE_CANCEL: return Answer::Cancel;
    default:  // closed without a choice
      if (box.buttons == Buttons::Ok) return Answer::Ok;
      return box.buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
  }
}

// The pages enable only the buttons the original enabled: Next on the first two, none while
// copying, Finish at the end. Back is never enabled there, so there is none.
void showButtons(WizardWindow* w, int page, bool next, bool finish, bool cancel) {
  WizardWindow::Buttons& b = w->buttons[page];
  gtk_widget_set_visible(b.next, !finish);
  gtk_widget_set_sensitive(b.next, next);
  gtk_widget_set_visible(b.finish, finish);
  gtk_widget_set_sensitive(b.finish, finish);
  gtk_widget_set_visible(b.cancel, !finish);
  gtk_widget_set_sensitive(b.cancel, cancel);
  GtkWidget* preferred = finish ? b.finish : b.next;
  gtk_widget_grab_default(preferred);
  if (finish) gtk_widget_grab_focus(preferred);
}

gboolean runOneStep(gpointer data) {
  auto* w = static_cast<WizardWindow*>(data);
  Installation& installation = w->wizard->installation();
  installation.runStep(w->step++);
  int maximum = installation.progressMaximum();
  gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(w->bar), maximum > 0 ? std::min(1.0, double(w->step) / maximum) : 1.0);
  if (w->step < installation.stepCount()) return G_SOURCE_CONTINUE;

  gtk_widget_hide(w->bar);
  gtk_label_set_text(GTK_LABEL(w->copyingLabel), w->wizard->finishedText().c_str());
  if (w->wizard->showRemovalHint()) gtk_widget_show(w->hint);
  showButtons(w, kProgressPage, false, true, false);
  return G_SOURCE_REMOVE;
}

gboolean startSteps(gpointer data) {
  g_idle_add(runOneStep, data);
  return G_SOURCE_REMOVE;
}

void onPrepare(GtkAssistant* assistant, GtkWidget*, gpointer data) {
  auto* w = static_cast<WizardWindow*>(data);
  switch (gtk_assistant_get_current_page(assistant)) {
    case kDestinationPage:
      gtk_entry_set_text(GTK_ENTRY(w->entry), w->wizard->folderField().c_str());
      showButtons(w, kDestinationPage, true, false, true);
      gtk_widget_grab_focus(w->entry);
      break;
    case kOptionsPage:
      showButtons(w, kOptionsPage, true, false, true);
      break;
    case kProgressPage:
      w->busy = true;
      showButtons(w, kProgressPage, false, false, false);
      g_timeout_add(kStartDelayMs, startSteps, w);
      break;
  }
}

void onNext(GtkButton*, gpointer data) {
  auto* w = static_cast<WizardWindow*>(data);
  switch (gtk_assistant_get_current_page(w->assistant)) {
    case kDestinationPage:
      if (std::optional<WizardPage> page = w->wizard->nextFromDestination(gtk_entry_get_text(GTK_ENTRY(w->entry))))
        gtk_assistant_set_current_page(w->assistant, *page == WizardPage::Options ? kOptionsPage : kProgressPage);
      break;
    case kOptionsPage:
      w->wizard->acceptOptions(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w->startMenu)),
                               gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w->desktop)));
      gtk_assistant_set_current_page(w->assistant, kProgressPage);
      break;
    default:
      break;
  }
}

void onFinish(GtkButton*, gpointer data) {
  auto* w = static_cast<WizardWindow*>(data);
  w->wizard->finish();
  w->outcome = WizardOutcome::Finished;
  gtk_main_quit();
}

void onCancel(gpointer data) {
  auto* w = static_cast<WizardWindow*>(data);
  if (w->busy) return;
  w->outcome = WizardOutcome::Cancelled;
  gtk_main_quit();
}

gboolean onDelete(GtkWidget*, GdkEvent*, gpointer data) {
  onCancel(data);
  return TRUE;  // the window goes when runWizard returns
}

void onBrowse(GtkButton*, gpointer data) {
  auto* w = static_cast<WizardWindow*>(data);
  GtkWidget* chooser = gtk_file_chooser_dialog_new(text::kBrowseCaption, GTK_WINDOW(w->assistant),
                                                   GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "ｷｬﾝｾﾙ",
                                                   GTK_RESPONSE_CANCEL, "OK", GTK_RESPONSE_ACCEPT, nullptr);
  gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), w->wizard->browseStart().c_str());
  if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
    if (gchar* folder = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser))) {
      std::string text = folder;
      if (text.empty() || text.back() != '/') text += '/';
      gtk_entry_set_text(GTK_ENTRY(w->entry), text.c_str());
      g_free(folder);
    }
  }
  gtk_widget_destroy(chooser);
}

GtkWidget* wrappedLabel(const std::string& text) {
  GtkWidget* label = gtk_label_new(text.c_str());
  gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
  gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
  gtk_label_set_max_width_chars(GTK_LABEL(label), 48);  // wrap long texts instead of widening the window
  gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
  return label;
}

GtkWidget* destinationPage(WizardWindow* w) {
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
  gtk_container_set_border_width(GTK_CONTAINER(box), 12);
  gtk_box_pack_start(GTK_BOX(box), wrappedLabel(text::kNoteLabel), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), wrappedLabel(text::kNote), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), wrappedLabel(w->wizard->prompt()), FALSE, FALSE, 12);
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
  w->entry = gtk_entry_new();
  gtk_entry_set_max_length(GTK_ENTRY(w->entry), 259);  // characters, as the original field
  gtk_entry_set_activates_default(GTK_ENTRY(w->entry), TRUE);
  GtkWidget* browse = gtk_button_new_with_mnemonic(mnemonic(text::kBrowseButton).c_str());
  g_signal_connect(browse, "clicked", G_CALLBACK(onBrowse), w);
  gtk_box_pack_start(GTK_BOX(row), w->entry, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(row), browse, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), row, FALSE, FALSE, 0);
  return box;
}

GtkWidget* optionsPage(WizardWindow* w) {
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
  gtk_container_set_border_width(GTK_CONTAINER(box), 12);
  w->startMenu = gtk_check_button_new_with_label(text::kStartMenuCheck);
  w->desktop = gtk_check_button_new_with_label(text::kDesktopCheck);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w->startMenu), w->wizard->startMenuChecked());
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w->desktop), w->wizard->desktopChecked());
  gtk_widget_set_sensitive(w->desktop, w->wizard->desktopEnabled());
  gtk_box_pack_start(GTK_BOX(box), w->startMenu, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), w->desktop, FALSE, FALSE, 0);
  return box;
}

GtkWidget* progressPage(WizardWindow* w) {
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
  gtk_container_set_border_width(GTK_CONTAINER(box), 12);
  w->copyingLabel = wrappedLabel(text::kCopying);
  w->bar = gtk_progress_bar_new();
  w->hint = wrappedLabel(text::kRemovalHint);
  gtk_widget_set_no_show_all(w->hint, TRUE);  // hidden until the installation is complete
  gtk_box_pack_start(GTK_BOX(box), w->copyingLabel, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), w->bar, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), w->hint, FALSE, FALSE, 0);
  return box;
}

GtkWidget* pageButton(WizardWindow* w, GtkWidget* row, const char* label, GCallback handler) {
  GtkWidget* button = gtk_button_new_with_mnemonic(label);
  gtk_widget_set_can_default(button, TRUE);
  g_signal_connect(button, "clicked", handler, w);
  gtk_box_pack_start(GTK_BOX(row), button, FALSE, FALSE, 0);
  return button;
}

// [content] above a right-aligned row of the page's buttons.
GtkWidget* withButtons(WizardWindow* w, int page, GtkWidget* content) {
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_box_pack_start(GTK_BOX(box), content, TRUE, TRUE, 0);
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
  gtk_widget_set_halign(row, GTK_ALIGN_END);
  gtk_container_set_border_width(GTK_CONTAINER(row), 6);
  WizardWindow::Buttons& b = w->buttons[page];
  b.next = pageButton(w, row, "次へ(_N) >", G_CALLBACK(onNext));
  b.finish = pageButton(w, row, "完了", G_CALLBACK(onFinish));
  b.cancel = pageButton(w, row, "キャンセル", G_CALLBACK(+[](GtkButton*, gpointer d) { onCancel(d); }));
  gtk_widget_set_no_show_all(b.finish, TRUE);  // shown at the end of the progress page only
  gtk_box_pack_end(GTK_BOX(box), row, FALSE, FALSE, 0);
  return box;
}

WizardOutcome GtkUi::runWizard(Wizard& wizard) {
  WizardWindow w;
  w.ui = this;
  w.wizard = &wizard;
  w.assistant = GTK_ASSISTANT(gtk_assistant_new());
  GtkWindow* window = GTK_WINDOW(w.assistant);
  gtk_window_set_title(window, wizard.caption().c_str());
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  gtk_window_set_default_size(window, 560, 340);

  // The assistant gives the window the current page's title: every page carries the caption
  // (the sidebar then shows it once).
  GtkWidget* pages[] = {withButtons(&w, kDestinationPage, destinationPage(&w)),
                        withButtons(&w, kOptionsPage, optionsPage(&w)),
                        withButtons(&w, kProgressPage, progressPage(&w))};
  for (GtkWidget* page : pages) {
    gtk_assistant_append_page(w.assistant, page);
    gtk_assistant_set_page_type(w.assistant, page, GTK_ASSISTANT_PAGE_CUSTOM);
    gtk_assistant_set_page_title(w.assistant, page, wizard.caption().c_str());
  }
  g_signal_connect(w.assistant, "prepare", G_CALLBACK(onPrepare), &w);
  g_signal_connect(w.assistant, "cancel", G_CALLBACK(+[](GtkAssistant*, gpointer d) { onCancel(d); }), &w);
  g_signal_connect(w.assistant, "delete-event", G_CALLBACK(onDelete), &w);

  parent = window;
  gtk_widget_show_all(GTK_WIDGET(w.assistant));  // mapping prepares the first page
  gtk_main();
  parent = nullptr;
  gtk_widget_destroy(GTK_WIDGET(w.assistant));
  while (gtk_events_pending()) gtk_main_iteration();
  return w.outcome;
}

// Dialog 101: the label, the close button, and whether the removal has finished.
struct UninstallWindow {
  GtkUi* ui = nullptr;
  UninstallDialog* logic = nullptr;
  GtkWidget* window = nullptr;
  GtkWidget* label = nullptr;
  GtkWidget* close = nullptr;
  bool done = false;
};

gboolean runRemoval(gpointer data) {
  auto* u = static_cast<UninstallWindow*>(data);
  gtk_window_present(GTK_WINDOW(u->window));
  std::string result = u->logic->run();
  gtk_label_set_text(GTK_LABEL(u->label), result.c_str());
  u->done = true;
  gtk_widget_set_sensitive(u->close, TRUE);
  gtk_widget_grab_focus(u->close);
  gtk_window_present(GTK_WINDOW(u->window));
  return G_SOURCE_REMOVE;
}

void GtkUi::runUninstallDialog(UninstallDialog& dialog) {
  UninstallWindow u;
  u.ui = this;
  u.logic = &dialog;
  u.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(u.window), dialog.caption().c_str());
  gtk_window_set_position(GTK_WINDOW(u.window), GTK_WIN_POS_CENTER);
  gtk_window_set_default_size(GTK_WINDOW(u.window), 420, -1);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
  gtk_container_set_border_width(GTK_CONTAINER(box), 12);
  u.label = wrappedLabel(dialog.initialText());
  u.close = gtk_button_new_with_label(dialog.closeButton().c_str());
  gtk_widget_set_sensitive(u.close, FALSE);
  gtk_widget_set_halign(u.close, GTK_ALIGN_CENTER);
  gtk_box_pack_start(GTK_BOX(box), u.label, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(box), u.close, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(u.window), box);
  g_signal_connect(u.close, "clicked", G_CALLBACK(+[](GtkButton*, gpointer) { gtk_main_quit(); }), nullptr);
  // Closing the window is the close button, usable only once the removal has finished.
  g_signal_connect(u.window, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer d) -> gboolean {
                     if (static_cast<UninstallWindow*>(d)->done) gtk_main_quit();
                     return TRUE;
                   }),
                   &u);
  parent = GTK_WINDOW(u.window);
  gtk_widget_show_all(u.window);
  g_timeout_add(kStartDelayMs, runRemoval, &u);
  gtk_main();
  parent = nullptr;
  gtk_widget_destroy(u.window);
  while (gtk_events_pending()) gtk_main_iteration();
}

}  // namespace

std::unique_ptr<Ui> makeGtkUi() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((x11 == nullptr || *x11 == '\0') && (wayland == nullptr || *wayland == '\0')) return nullptr;
  if (!gtk_init_check(nullptr, nullptr)) return nullptr;
  return std::make_unique<GtkUi>();
}

}  // namespace kelvox::installer
