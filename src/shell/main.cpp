// kelvox: runs a game folder in a window (SDL) or headless. Start-up parses the command line,
// checks every output it names, takes the single-instance lock (a second windowed copy ends,
// saying so), makes the game folder current, has the chosen platform build itself with the
// services the command line asks for, and hands it to the message loop.
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>

#include "platform/atomic_file.h"
#include "platform/cd/disc_listing.h"
#include "platform/cd/image_disc_opener.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/headless/headless_platform.h"
#include "platform/instance_lock.h"
#include "platform/platform.h"
#include "platform/play_folder.h"
#include "platform/run_services.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/surfaces/png_writer.h"
#include "platform/surfaces/surface_device.h"
#include "platform/terminal_text.h"
#include "platform/termination.h"
#include "platform/text_encoding.h"
#include "shell/application.h"
#include "shell/command_line.h"
#include "shell/error_box.h"
#include "shell/frame_stats.h"
#include "shell/game_folder.h"

namespace fs = std::filesystem;
using namespace kelvox;

namespace {

// Messages name paths and input lines as given: their control characters are escaped.
int fail(const std::string& message) {
  std::fprintf(stderr, "kelvox: %s\n", platform::escapeControls(message).c_str());
  return 2;
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

// Everything the command line asks for, checked before anything starts.
struct Run {
  shell::CommandLine line;
  fs::path gameDir;
  platform::ServiceOptions services;  // what the platform builds around its own services
  fs::path screenshot;
  std::vector<std::pair<uint64_t, fs::path>> screenshotsAt;
};

// The game folder: the one named, else a game beside the program, else the demo that came
// with it. A status to end with at once, or nullopt to go on.
std::optional<int> chooseGameFolder(const shell::CommandLine& line, fs::path& gameDir) {
  std::error_code ec;
  if (!line.gameDir.empty()) {
    gameDir = fs::absolute(fs::path(line.gameDir), ec);
    if (!platform::isDirectory(gameDir)) return fail("no game folder at " + gameDir.string());
    return std::nullopt;
  }
  std::vector<fs::path> candidates = shell::defaultGameFolders(platform::executableFolder());
  std::optional<fs::path> found = shell::firstGameFolder(candidates);
  if (!found) {
    std::fprintf(stderr, "kelvox: %s\n", shell::noGameMessage(candidates).c_str());
    return 1;
  }
  gameDir = *found;
  // The installed demo (the last place looked at) is shared and may be read-only: it plays
  // from a folder of the player's own that links to it, so saves go there.
  if (*found == candidates.back()) {
    std::string error;
    std::optional<fs::path> play = platform::userPlayFolder("demo");
    if (play && platform::linkPlayFolder(*found, *play, error))
      gameDir = *play;
    else
      std::fprintf(stderr, "kelvox: the demo plays where it is installed, so saving may fail: %s\n",
                   platform::escapeControls(play ? error : "neither XDG_DATA_HOME nor HOME is set").c_str());
  }
  return std::nullopt;
}

// Parses the command line and checks every file it names, so that a bad target never costs a
// whole run. A status to end with at once, or nullopt to go on.
std::optional<int> parse(int argc, char** argv, Run& run) {
  shell::CommandLine& line = run.line;
  std::string error;
  if (!shell::parseCommandLine(argc, argv, line, error)) return fail(error + " (see --help)");
  if (line.help) {
    std::fputs(shell::usageText().c_str(), stdout);
    return 0;
  }

  if (auto status = chooseGameFolder(line, run.gameDir)) return status;
  if (line.listDiscs) {
    platform::ImageDiscOpener images;
    platform::SystemVolumes volumes(run.gameDir, &images);
    std::fputs(platform::describeDiscs(volumes).c_str(), stdout);
    return 0;
  }

  std::error_code ec;
  if (!line.inputFile.empty() && !(run.services.input = platform::readInputScript(line.inputFile, error)))
    return fail(error);

  // Named from where kelvox was started, before the game folder becomes current.
  if (!line.audioOut.empty()) run.services.audioOut = fs::absolute(line.audioOut, ec);
  run.services.desktopDepth = line.depth;

  if (!line.screenshot.empty()) run.screenshot = fs::absolute(line.screenshot, ec);
  for (const auto& [tick, file] : line.screenshotsAt) run.screenshotsAt.emplace_back(tick, fs::absolute(file, ec));
  if (!run.screenshot.empty())
    if (auto why = screenshotTargetProblem(run.screenshot); !why.empty())
      return fail("screenshot " + run.screenshot.string() + ": " + why);
  for (const auto& [tick, file] : run.screenshotsAt)
    if (auto why = screenshotTargetProblem(file); !why.empty()) return fail("screenshot " + file.string() + ": " + why);

  // --texthook: standard output, the clipboard (a window's) or a file named from where kelvox
  // was started.
  using Hook = platform::TextHookTarget::Kind;
  if (line.textHook == "print") {
    run.services.textHook.kind = Hook::StandardOutput;
  } else if (line.textHook == "copy") {
    if (line.headless) return fail("--texthook copy needs a window: a headless run has no clipboard");
    run.services.textHook.kind = Hook::Clipboard;
  } else if (!line.textHook.empty()) {
    run.services.textHook = {Hook::File, fs::absolute(line.textHook, ec)};
  }
  return std::nullopt;
}

// One copy of the game at a time: a second windowed copy ends at once, with status 0 as the
// original's did, but says why on standard error. A lock that cannot be made at all is an
// error of its own, never taken for another copy. Headless runs are batch and test runs and
// may run side by side. A status to end with, or nullopt to go on.
std::optional<int> lockInstance(const Run& run, platform::InstanceLock& lock) {
  if (run.line.headless) return std::nullopt;
  std::string error;
  switch (lock.tryAcquire(&error)) {
    case platform::InstanceLock::Result::Acquired: return std::nullopt;
    case platform::InstanceLock::Result::HeldElsewhere:
      std::fprintf(stderr, "kelvox: another copy of the game is running (it holds %s); this one ends\n",
                   platform::escapeControls(lock.lockFile().string()).c_str());
      return 0;
    case platform::InstanceLock::Result::Failed: return fail("no single-instance lock: " + error);
  }
  return std::nullopt;
}

// Why the platform could not be built, in the words of the option that asked for the part.
std::string failureMessage(const Run& run, const platform::ServiceFailure& failure) {
  switch (failure.part) {
    case platform::ServiceFailure::Part::TextHook: return "--texthook " + run.line.textHook + ": " + failure.reason;
    case platform::ServiceFailure::Part::Window:
      return "cannot open the window: " + failure.reason + " (without a display, use --headless)";
    case platform::ServiceFailure::Part::Recorder: return "cannot record: " + failure.reason;
    case platform::ServiceFailure::Part::None: break;
  }
  return failure.reason;
}

// Runs the game on [services] and takes the screenshots asked for; the exit status.
int play(const Run& run, platform::Platform& services, platform::RunServices& extras) {
  const shell::CommandLine& line = run.line;
  shell::FrameStats stats;
  shell::RunOptions options;
  options.frameLimit = line.frames;
  options.exitOnFailedStart = line.headless;
  options.failOnLostSystemFile = line.headless;
  options.input = extras.input();
  options.stats = line.stats ? &stats : nullptr;
  options.soundFont = line.soundFont;
  options.terminationRequested = platform::terminationRequested;
  options.presentLateFrames = !line.screenshot.empty() || !line.screenshotsAt.empty();
  // Screenshots are the frames as the surfaces handed them to the screen, whatever its scale.
  bool screenshotsOk = true;
  auto saveFrame = [&](const fs::path& file) {
    platform::SurfaceDevice& s = services.surfaces;
    std::string why;
    if (!platform::writePngFile(file, s.lastFrame(), s.lastFrameWidth(), s.lastFrameHeight(), why)) {
      fail("screenshot " + file.string() + ": " + (s.lastFrame() ? why : "no frame was shown"));
      screenshotsOk = false;
    }
  };
  if (!run.screenshotsAt.empty())
    options.afterTick = [&](uint64_t pass) {
      for (const auto& [tick, file] : run.screenshotsAt)
        if (tick == pass) saveFrame(file);
    };

  // Anything that escapes the message loop is shown like any error box, and the program ends.
  int status = 1;
  try {
    status = shell::runApplication(services, options);
  } catch (const std::exception& e) {
    services.dialogs.messageBox(platform::toSjis(e.what()), shell::kAppTitle, platform::Buttons::Ok, platform::Icon::Stop, 0);
  }
  if (!run.screenshot.empty()) saveFrame(run.screenshot);
  if (!screenshotsOk && status == 0) status = 1;
  if (line.stats) std::fputs(stats.report().c_str(), stdout);
  std::string error;
  if (!extras.finish(error)) return fail("cannot record: " + error);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // First, before SDL or anything else starts a thread: SIGTERM, SIGINT and SIGHUP then end the
  // game through its normal teardown, even while a message box is up.
  platform::watchTerminationSignals();
  Run run;
  if (auto status = parse(argc, argv, run)) return *status;
  platform::InstanceLock lock;
  if (auto status = lockInstance(run, lock)) return *status;
  // What the original took relative to the current directory lands in the game folder.
  if (!platform::setCurrentDirectory(run.gameDir)) return fail("cannot enter " + run.gameDir.string());

  // The platform owns every service, and builds those the command line asks for around its
  // own; a headless run has the real clock (or with --fast the virtual one) and the
  // machine's discs, and prints its boxes.
  platform::ServiceFailure failure;
  std::unique_ptr<platform::HeadlessPlatform> headless;
  std::unique_ptr<platform::sdl::SdlPlatform> sdl;
  if (run.line.headless) {
    headless = platform::HeadlessPlatform::create(
        run.gameDir,
        {.realTime = !run.line.fast, .systemVolumes = true, .boxLog = &std::cout, .answers = run.line.answers},
        run.services, failure);
    // --fast: time is the virtual clock's, which sleeping moves on at once; the wall clock
    // (random seed, dates) is still the real one.
    if (headless) headless->virtualClock().setWallSeconds(platform::SteadyClock().wallSeconds());
  } else {
    sdl = platform::sdl::SdlPlatform::create(run.gameDir, shell::kAppTitle, run.line.scale, run.services, failure);
  }
  if (!headless && !sdl) return fail(failureMessage(run, failure));
  return headless ? play(run, headless->platform(), headless->services()) : play(run, sdl->platform(), sdl->services());
}
