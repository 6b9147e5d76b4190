// The cue sheet parser and the confinement of its file names.
#include "platform/cd/cue_sheet.h"

#include <algorithm>
#include <cctype>

#include "platform/paths.h"
#include "platform/text_encoding.h"
#include "platform/text_lines.h"

namespace kelvox::platform {

namespace fs = std::filesystem;

namespace {

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Splits a line into words; a double-quoted word may hold spaces. False for an unclosed quote.
bool splitWords(std::string_view line, std::vector<std::string>& words) {
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    std::string word;
    if (line[i] == '"') {
      size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      word = line.substr(i + 1, close - i - 1);
      i = close + 1;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') word += line[i++];
    }
    words.push_back(std::move(word));
  }
  return true;
}

// "mm:ss:ff" as sectors; seconds below 60, frames below 75, minutes up to 99.
std::optional<uint32_t> parseMsf(const std::string& text) {
  if (text.size() != 8) return std::nullopt;
  auto two = [&](size_t at) -> int {
    char a = text[at], b = text[at + 1];
    if (!std::isdigit(static_cast<unsigned char>(a)) || !std::isdigit(static_cast<unsigned char>(b))) return -1;
    return (a - '0') * 10 + (b - '0');
  };
  if (text[2] != ':' || text[5] != ':') return std::nullopt;
  int m = two(0), s = two(3), f = two(6);
  if (m < 0 || s < 0 || s >= 60 || f < 0 || f >= 75) return std::nullopt;
  return static_cast<uint32_t>((m * 60 + s) * 75 + f);
}

std::optional<uint32_t> parseNumber(const std::string& text, uint32_t max) {
  if (text.empty() || text.size() > 2) return std::nullopt;
  uint32_t n = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    n = n * 10 + static_cast<uint32_t>(c - '0');
  }
  if (n > max) return std::nullopt;
  return n;
}

}  // namespace

uint32_t sectorBytes(CueSheet::Mode mode) { return mode == CueSheet::Mode::Mode1_2048 ? 2048 : 2352; }

std::optional<CueSheet> parseCueSheet(std::string_view text, std::string& error) {
  CueSheet sheet;
  size_t lineNumber = 0;
  auto fail = [&](const std::string& why) -> std::optional<CueSheet> {
    error = "line " + std::to_string(lineNumber) + ": " + why;
    return std::nullopt;
  };
  if (text.size() > kMaxCueSheetBytes) {
    error = "larger than a cue sheet can be (" + std::to_string(text.size()) + " bytes)";
    return std::nullopt;
  }
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (text.find('\0') != std::string_view::npos) {
    error = "a NUL byte: not a text file";
    return std::nullopt;
  }
  uint32_t lastPosition = 0;  // the last position given in the current file
  int lastIndexNumber = -1;   // of the current track
  std::optional<uint32_t> pregap;  // INDEX 00 of the current track, and its file
  size_t pregapFile = 0;
  std::vector<bool> fileUsed;      // which files hold an INDEX
  TextLines lines(text);
  std::string_view line;
  while (lines.next(line)) {
    lineNumber = lines.number();
    std::vector<std::string> words;
    if (!splitWords(line, words)) return fail("a quote that is not closed");
    if (words.empty()) continue;
    std::string command = upper(words[0]);
    if (command == "REM" || command == "CATALOG" || command == "CDTEXTFILE" || command == "TITLE" ||
        command == "PERFORMER" || command == "SONGWRITER" || command == "ISRC" || command == "FLAGS")
      continue;

    // Closes the current track: it must have its start.
    auto trackComplete = [&]() { return sheet.tracks.empty() || lastIndexNumber >= 1; };

    if (command == "FILE") {
      if (words.size() != 3) return fail("FILE takes a name and a type");
      std::string type = upper(words[2]);
      CueSheet::FileType t;
      if (type == "BINARY") t = CueSheet::FileType::Binary;
      else if (type == "WAVE") t = CueSheet::FileType::Wave;
      else if (type == "FLAC") t = CueSheet::FileType::Flac;
      else if (type == "OGG") t = CueSheet::FileType::Ogg;
      else if (type == "MP3") t = CueSheet::FileType::Mp3;
      else if (type == "AIFF") t = CueSheet::FileType::Aiff;
      else return fail("file type " + words[2] + " is not one this player reads");
      if (words[1].empty()) return fail("FILE without a name");
      sheet.files.push_back({words[1], t, lineNumber});
      fileUsed.push_back(false);
      lastPosition = 0;
    } else if (command == "TRACK") {
      if (sheet.files.empty()) return fail("TRACK before any FILE");
      if (words.size() != 3) return fail("TRACK takes a number and a mode");
      if (!trackComplete()) return fail("TRACK " + std::to_string(sheet.tracks.back().number) + " has no INDEX 01");
      auto number = parseNumber(words[1], 99);
      if (!number || *number == 0) return fail("track number " + words[1] + " is not 1 to 99");
      if (!sheet.tracks.empty() && *number != sheet.tracks.back().number + 1)
        return fail("TRACK " + words[1] + " out of order after TRACK " + std::to_string(sheet.tracks.back().number));
      std::string mode = upper(words[2]);
      CueSheet::Mode m;
      if (mode == "AUDIO") m = CueSheet::Mode::Audio;
      else if (mode == "MODE1/2048") m = CueSheet::Mode::Mode1_2048;
      else if (mode == "MODE1/2352") m = CueSheet::Mode::Mode1_2352;
      else if (mode == "MODE2/2352") m = CueSheet::Mode::Mode2_2352;
      else return fail("track mode " + words[2] + " is not one this player reads");
      CueSheet::Track track;
      track.number = *number;
      track.file = sheet.files.size() - 1;
      track.mode = m;
      track.line = lineNumber;
      sheet.tracks.push_back(track);
      lastIndexNumber = -1;
      pregap.reset();
    } else if (command == "INDEX") {
      if (sheet.tracks.empty()) return fail("INDEX outside a TRACK");
      if (words.size() != 3) return fail("INDEX takes a number and a time");
      auto number = parseNumber(words[1], 99);
      auto at = parseMsf(words[2]);
      if (!number) return fail("index number " + words[1] + " is not 0 to 99");
      if (!at) return fail("time " + words[2] + " is not mm:ss:ff");
      if (static_cast<int>(*number) <= lastIndexNumber || (*number > 1 && lastIndexNumber < 1))
        return fail("INDEX " + words[1] + " out of order");
      if (*at < lastPosition) return fail("INDEX " + words[1] + " goes back in its file");
      CueSheet::Track& track = sheet.tracks.back();
      lastPosition = *at;
      lastIndexNumber = static_cast<int>(*number);
      fileUsed[sheet.files.size() - 1] = true;
      if (*number == 0) pregap = *at;
      if (*number == 1) {
        track.file = sheet.files.size() - 1;
        track.index1 = *at;
        // A pregap in the file before (as some rippers write it) only ends the track before.
        if (pregap && pregapFile == track.file) track.index0 = pregap;
      }
      if (*number == 0) pregapFile = sheet.files.size() - 1;
    } else if (command == "PREGAP" || command == "POSTGAP") {
      if (sheet.tracks.empty()) return fail(command + " outside a TRACK");
      if (words.size() != 2 || !parseMsf(words[1])) return fail(command + " takes a time mm:ss:ff");
    } else {
      return fail("unknown command " + words[0]);
    }
  }
  ++lineNumber;
  if (sheet.tracks.empty()) return fail("no TRACK in the sheet");
  if (lastIndexNumber < 1) return fail("TRACK " + std::to_string(sheet.tracks.back().number) + " has no INDEX 01");
  for (size_t f = 0; f < sheet.files.size(); ++f)
    if (!fileUsed[f]) {
      lineNumber = sheet.files[f].line;
      return fail("FILE without a TRACK");
    }
  return sheet;
}

std::optional<fs::path> resolveCueFile(const fs::path& folder, std::string_view name, std::string& error) {
  auto refuse = [&](const char* why) -> std::optional<fs::path> {
    error = "FILE \"" + std::string(name) + "\" " + why;
    return std::nullopt;
  };
  if (name.empty() || name[0] == '/' || name[0] == '\\' || (name.size() >= 2 && name[1] == ':'))
    return refuse("is not inside the sheet's folder (an absolute name)");
  // A sheet written on Japanese Windows has Shift-JIS names, whose backslashes split only where
  // they are no trail byte (表 ends in one); a UTF-8 name splits at every one (the Shift-JIS
  // reading would take the byte after a kana's 0x82 as its trail).
  std::vector<std::vector<std::string>> readings{splitSjisPath(name)};
  if (isUtf8(name)) {
    std::vector<std::string> plain;
    std::string current;
    for (char c : name) {
      if (c != '\\' && c != '/') {
        current += c;
      } else if (!current.empty()) {
        plain.push_back(std::move(current));
        current.clear();
      }
    }
    if (!current.empty()) plain.push_back(std::move(current));
    if (plain != readings.front()) readings.push_back(std::move(plain));
  }
  for (const auto& parts : readings)
    if (std::find(parts.begin(), parts.end(), "..") != parts.end()) return refuse("leaves the sheet's folder");

  for (const auto& parts : readings) {
    fs::path at = folder;
    for (const std::string& part : parts) {
      if (part == ".") continue;
      // The name as written (UTF-8 or bytes), else its Shift-JIS read as UTF-8; exactly, else
      // in any ASCII case, folded as its encoding folds.
      const std::string forms[] = {part, sjisToUtf8(part)};
      const bool utf8[] = {isUtf8(part), true};
      fs::path match;
      std::error_code ec;
      for (const std::string& form : forms)
        if (match.empty() && fs::exists(at / form, ec)) match = at / form;
      for (fs::directory_iterator it(at, ec), end; match.empty() && !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        for (size_t f = 0; f < 2 && match.empty(); ++f)
          if (utf8[f] ? asciiToLower(entry) == asciiToLower(forms[f])
                      : entry.size() == forms[f].size() && sjisCompareNoCase(entry, forms[f]) == 0)
            match = it->path();
      }
      at = match;
      if (match.empty()) break;
    }
    if (!at.empty()) return at;
  }
  return refuse("is missing");
}

}  // namespace kelvox::platform
