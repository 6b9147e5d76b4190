// Describing the discs a game can see.
#include "platform/cd/disc_listing.h"

#include <cstdio>

#include "platform/cd/audio_disc.h"
#include "platform/cd/cdio_disc.h"
#include "platform/cd/ripped_disc.h"
#include "platform/terminal_text.h"
#include "platform/volumes.h"

namespace kelvox::platform {

std::string cdTime(uint64_t frames) {
  uint64_t sectors = (frames + kFramesPerSector - 1) / kFramesPerSector;
  char text[32];
  std::snprintf(text, sizeof text, "%02llu:%02llu:%02llu", static_cast<unsigned long long>(sectors / 4500),
                static_cast<unsigned long long>(sectors / 75 % 60), static_cast<unsigned long long>(sectors % 75));
  return text;
}

std::string describeDiscs(SystemVolumes& volumes) {
  std::string out;
  std::vector<Volume> list = volumes.list();
  for (const Volume& v : list) {
    std::string source;
    std::shared_ptr<AudioDisc> audio = std::dynamic_pointer_cast<AudioDisc>(v.files);
    if (v.files && v.device.empty()) {
      source = "image " + v.root.string();
    } else if (v.files) {
      source = "drive " + v.device.string();
    } else {
      source = "folder " + v.root.string();
      if (!v.device.empty()) source += " (mounted from " + v.device.string() + ")";
      auto ripped = std::make_shared<RippedDisc>(v.root);
      audio = ripped;
      if (ripped->tracks().empty() && !v.device.empty()) {
        std::string label, error;
        audio = openCdioDisc(v.device.string(), false, label, error);
      }
    }
    out += std::string(1, static_cast<char>(v.letter - 'a' + 'A')) + ": " + escapeControls(v.label) + "  " +
           escapeControls(source) + "\n";
    std::vector<DiscTrack> tracks = audio ? audio->tracks() : std::vector<DiscTrack>{};
    if (tracks.empty()) out += "   no CD tracks\n";
    for (size_t i = 0; i < tracks.size(); ++i) {
      char line[64];
      const char* kind = tracks[i].audio ? "audio" : tracks[i].frames ? "data " : "none ";
      std::snprintf(line, sizeof line, "   track %2zu  %s  %s\n", i + 1, kind, cdTime(tracks[i].frames).c_str());
      out += line;
    }
  }
  if (list.empty()) out += "no discs\n";
  for (const auto& [source, why] : volumes.problems())
    out += "not read: " + escapeControls(source.string()) + ": " + escapeControls(why) + "\n";
  return out;
}

}  // namespace kelvox::platform
