// demo-assets: paints, synthesises and composes every picture, sound and piece of music of the
// demo game into a game folder. Run by the build; the same output on every run.
//   demo-assets GAME_DIR DISC_LABEL
// writes GAME_DIR/Grd, Wav, Midi and the disc's track as GAME_DIR/Discs/DISC_LABEL/track02.ogg.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "cd_track.h"
#include "files.h"
#include "landscapes.h"
#include "music.h"
#include "sounds.h"
#include "sprites.h"

using namespace kelvox::demo;
namespace fs = std::filesystem;

namespace {

struct Picture {
  const char* name;  // "e_" starts the names of the event pictures the gallery collects
  std::function<Canvas()> paint;
  bool keyed;  // keyed pictures keep black exactly for the transparent key (PNG only)
};

int fail(const std::string& message) {
  std::fprintf(stderr, "demo-assets: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return fail("usage: demo-assets GAME_DIR DISC_LABEL");
  const fs::path game = argv[1];
  const fs::path disc = game / "Discs" / argv[2];
  std::error_code ec;
  for (const fs::path& folder : {game / "Grd", game / "Wav", game / "Midi", disc}) {
    fs::create_directories(folder, ec);
    if (ec) return fail("cannot make " + folder.string() + ": " + ec.message());
  }
  std::string error;

  const Picture pictures[] = {
      {"title.jpg", [] { return paintTitle(false); }, false},
      {"title_dawn.jpg", [] { return paintTitle(true); }, false},
      {"e_hill.jpg", paintHillAtDusk, false},
      {"dome.jpg", paintDomeInside, false},
      {"e_scope.jpg", paintTelescopeView, false},
      {"e_roof.jpg", paintRoof, false},
      {"e_meteor.jpg", paintMeteorShower, false},
      {"e_dawn.jpg", paintDawn, false},
      {"menu.jpg", paintMenuBackground, false},
      {"logo.png", paintLogo, false},
      {"mina.png", [] { return paintCharacter(false); }, true},
      {"mina_up.png", [] { return paintCharacter(true); }, true},
      {"glow.png", paintGlow, false},
      {"sparkle.png", paintSparkle, false},
      {"vignette.png", paintVignette, false},
      {"button.png", [] { return paintRoundedBox(220, 38, 0x263070, 0x141A44, 0x8890D0); }, true},
      {"button_hi.png", [] { return paintHighlight(220, 38); }, false},
      {"small.png", [] { return paintRoundedBox(48, 38, 0x263070, 0x141A44, 0x8890D0); }, true},
      {"small_hi.png", [] { return paintHighlight(48, 38); }, false},
      {"textbox.png", [] { return paintRoundedBox(600, 124, 0x141A44, 0x0A0E2A, 0x6C74B8); }, true},
      {"nameplate.png", [] { return paintRoundedBox(150, 30, 0x2A3070, 0x1A1F50, 0x8890D0); }, true},
      {"panel.png", [] { return paintRoundedBox(260, 300, 0x141A44, 0x0A0E2A, 0x6C74B8); }, true},
      {"locked.png", paintLockedFrame, true},
      {"gauge.png", paintGauge, true},
  };
  for (const Picture& p : pictures) {
    Canvas canvas = p.paint();
    fs::path file = game / "Grd" / p.name;
    std::vector<uint8_t> rgb = canvas.rgb8(p.keyed);
    bool ok = file.extension() == ".jpg" ? writeJpeg(file, rgb, canvas.width(), canvas.height(), 88, error)
                                         : writePng(file, rgb, canvas.width(), canvas.height(), error);
    if (!ok) return fail(error);
  }

  for (const Effect& e : makeEffects())
    if (!writeBytes(game / "Wav" / (e.name + ".wav"), encodeWav(e.samples, kEffectRate), error)) return fail(error);

  for (const Piece& piece : {titleTheme(), nightTheme(), meteorTheme()})
    if (!writeBytes(game / "Midi" / piece.name, encodeMidi(piece), error)) return fail(error);

  if (!writeOggTrack(disc / "track02.ogg", renderTrack(endingTheme(), 3.0f), error)) return fail(error);
  return 0;
}
