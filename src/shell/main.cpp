// kelvox: runs a game folder in a window (SDL) or headless. Start-up takes the single-instance
// lock (a second windowed copy ends, saying so), makes the game folder current, and hands the
// platform to the message loop.
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>

#include "platform/atomic_file.h"
#include "platform/audio_recorder.h"
#include "platform/file_system.h"
#include "platform/headless/headless_platform.h"
#include "platform/instance_lock.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_clipboard_sink.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/surfaces/png_writer.h"
#include "platform/terminal_text.h"
#include "platform/termination.h"
#include "platform/text_encoding.h"
#include "platform/text_sink.h"
#include "shell/application.h"
#include "shell/command_line.h"
#include "shell/error_box.h"
#include "shell/frame_stats.h"
#include "shell/scripted_input.h"

namespace fs = std::filesystem;
using namespace kelvox;

namespace {

// Messages name paths and input lines as given: their control characters are escaped.
int fail(const std::string& message) {
  std::fprintf(stderr, "kelvox: %s\n", platform::escapeControls(message).c_str());
  return 2;
}

// An input file is a few events a line each; anything larger is not one.
constexpr uint64_t kMaxInputFileBytes = 4u << 20;

std::optional<shell::InputSchedule> readInputFile(const std::string& file, std::string& error) {
  // A regular file of sane size only: a folder, a FIFO or /dev/zero is refused at once.
  platform::ReadFailure failure;
  auto bytes = platform::readRegularFile(file, kMaxInputFileBytes, &failure);
  if (!bytes) {
    error = "cannot read the input file " + file + ": " + failure.reason;
    return std::nullopt;
  }
  std::string text(bytes->begin(), bytes->end());
  shell::InputSchedule schedule;
  if (!shell::parseInputScript(text, schedule, error)) {
    error = file + ": " + error;
    return std::nullopt;
  }
  return schedule;
}

// Why a screenshot cannot go to [file], or "" when it can: a PNG is written whole and renamed
// into place, so the target must be missing or a regular file in an existing folder. A link,
// FIFO or device there is refused before the game starts, never replaced.
std::string screenshotTargetProblem(const fs::path& file) {
  platform::PathKind kind = platform::pathKind(file);
  if (kind != platform::PathKind::Missing && kind != platform::PathKind::RegularFile)
    return std::string(platform::describePathKind(kind)) + " is there; a screenshot replaces only a regular file";
  if (!platform::isDirectory(file.parent_path())) return "no folder " + file.parent_path().string();
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  // First, before SDL or anything else starts a thread: SIGTERM, SIGINT and SIGHUP then end the
  // game through its normal teardown, even while a message box is up.
  platform::watchTerminationSignals();
  shell::CommandLine line;
  std::string error;
  if (!shell::parseCommandLine(argc, argv, line, error)) return fail(error + " (see --help)");
  if (line.help) {
    std::fputs(shell::usageText().c_str(), stdout);
    return 0;
  }

  fs::path gameDir = line.gameDir.empty() ? platform::executableFolder() : fs::path(line.gameDir);
  std::error_code ec;
  gameDir = fs::absolute(gameDir, ec);
  if (!platform::isDirectory(gameDir)) return fail("no game folder at " + gameDir.string());

  std::optional<shell::InputSchedule> schedule;
  if (!line.inputFile.empty() && !(schedule = readInputFile(line.inputFile, error))) return fail(error);

  // Named from where kelvox was started, before the game folder becomes current.
  fs::path audioOut = line.audioOut.empty() ? fs::path() : fs::absolute(line.audioOut, ec);

  fs::path screenshot = line.screenshot.empty() ? fs::path() : fs::absolute(line.screenshot, ec);
  std::vector<std::pair<uint64_t, fs::path>> screenshotsAt;
  for (const auto& [tick, file] : line.screenshotsAt) screenshotsAt.emplace_back(tick, fs::absolute(file, ec));
  // Every output is checked before the game starts, so a bad target never costs a whole run.
  if (!screenshot.empty())
    if (auto why = screenshotTargetProblem(screenshot); !why.empty()) return fail("screenshot " + screenshot.string() + ": " + why);
  for (const auto& [tick, file] : screenshotsAt)
    if (auto why = screenshotTargetProblem(file); !why.empty()) return fail("screenshot " + file.string() + ": " + why);

  // One copy of the game at a time: a second windowed copy ends at once, with status 0 as the
  // original's did, but says why on standard error. A lock that cannot be made at all is an
  // error of its own, never taken for another copy. Headless runs are batch and test runs and
  // may run side by side.
  platform::InstanceLock lock;
  if (!line.headless) {
    switch (lock.tryAcquire(&error)) {
      case platform::InstanceLock::Result::Acquired: break;
      case platform::InstanceLock::Result::HeldElsewhere:
        std::fprintf(stderr, "kelvox: another copy of the game is running (it holds %s); this one ends\n",
                     platform::escapeControls(lock.lockFile().string()).c_str());
        return 0;
      case platform::InstanceLock::Result::Failed: return fail("no single-instance lock: " + error);
    }
  }

  // --texthook: standard output, the clipboard (a window's) or a file named from where kelvox
  // was started.
  std::unique_ptr<platform::TextSink> textSink;
  if (line.textHook == "print") {
    textSink = std::make_unique<platform::StreamTextSink>(stdout);
  } else if (line.textHook == "copy") {
    if (line.headless) return fail("--texthook copy needs a window: a headless run has no clipboard");
    textSink = std::make_unique<platform::sdl::ClipboardTextSink>();
  } else if (!line.textHook.empty()) {
    textSink = platform::FileTextSink::open(fs::absolute(line.textHook, ec), error);
    if (!textSink) return fail("--texthook " + line.textHook + ": " + error);
  }

  // What the original took relative to the current directory lands in the game folder.
  if (!platform::setCurrentDirectory(gameDir)) return fail("cannot enter " + gameDir.string());

  // The platform owns every service; a headless run has the real clock and the machine's
  // discs, and prints its message boxes.
  std::unique_ptr<platform::HeadlessPlatform> headless;
  std::unique_ptr<platform::sdl::SdlPlatform> sdl;
  platform::Platform* services;
  if (line.headless) {
    headless = std::make_unique<platform::HeadlessPlatform>(
        gameDir, platform::HeadlessPlatform::Options{.realTime = true, .systemVolumes = true, .boxLog = &std::cout});
    for (auto a : line.answers) headless->dialogs().queueAnswer(a);
    services = &headless->platform();
  } else {
    sdl = platform::sdl::SdlPlatform::create(gameDir, shell::kAppTitle, error, line.scale);
    if (!sdl) return fail("cannot open the window: " + error + " (without a display, use --headless)");
    services = &sdl->platform();
  }

  std::unique_ptr<shell::ScriptedInput> scripted;
  if (schedule) scripted = std::make_unique<shell::ScriptedInput>(services->window, std::move(*schedule));
  // --audio-out: the recorder stands between the engine and the device.
  // Without a sound card it records in step with the engine's clock, as a headless run does.
  platform::HeadlessAudio clockedAudio(services->clock);
  std::unique_ptr<platform::AudioRecorder> recorder;
  if (!audioOut.empty()) {
    recorder = std::make_unique<platform::AudioRecorder>(services->audio, &clockedAudio);
    if (!recorder->start(audioOut, error)) return fail("cannot record: " + error);
  }
  services->surfaces.setDesktopDepth(line.depth);
  platform::Platform base{services->clock,   services->dialogs, services->window,
                          services->paths,   services->display, recorder ? *recorder : services->audio,
                          services->fonts,   services->surfaces, services->cd,      textSink.get()};
  platform::Platform run = scripted ? base.withWindow(*scripted) : base;

  shell::FrameStats stats;
  shell::RunOptions options;
  options.frameLimit = line.frames;
  options.exitOnFailedStart = line.headless;
  options.failOnLostSystemFile = line.headless;
  options.input = scripted.get();
  options.stats = line.stats ? &stats : nullptr;
  options.soundFont = line.soundFont;
  options.terminationRequested = platform::terminationRequested;
  options.presentLateFrames = !line.screenshot.empty() || !line.screenshotsAt.empty();
  // Screenshots are the frames as the surfaces handed them to the screen, whatever its scale.
  bool screenshotsOk = true;
  auto saveFrame = [&](const fs::path& file) {
    platform::SurfaceDevice& s = services->surfaces;
    std::string why;
    if (!platform::writePngFile(file, s.lastFrame(), s.lastFrameWidth(), s.lastFrameHeight(), why)) {
      fail("screenshot " + file.string() + ": " + (s.lastFrame() ? why : "no frame was shown"));
      screenshotsOk = false;
    }
  };
  if (!screenshotsAt.empty())
    options.afterTick = [&](uint64_t pass) {
      for (const auto& [tick, file] : screenshotsAt)
        if (tick == pass) saveFrame(file);
    };

  // Anything that escapes the message loop is shown like any error box, and the program ends.
  int status = 1;
  try {
    status = shell::runApplication(run, options);
  } catch (const std::exception& e) {
    run.dialogs.messageBox(platform::toSjis(e.what()), shell::kAppTitle, platform::Buttons::Ok, platform::Icon::Stop, 0);
  }
  if (!screenshot.empty()) saveFrame(screenshot);
  if (!screenshotsOk && status == 0) status = 1;
  if (line.stats) std::fputs(stats.report().c_str(), stdout);
  if (recorder) {
    recorder->close();
    if (!recorder->finish(error)) return fail("cannot record: " + error);
  }
  return status;
}
