// CdMixerVolume over a fake set of mixers: the scan with its skips and its 64-entry limit,
// levels relative to the start-up level, and the restore.
#include "sound/mixer_controls.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace kelvox::sound {
namespace {

// Mixers of one destination line each, its sources listed per device. Line ids are
// device × 100 + source; the control of a line has the same id plus 10000 for volume (a
// non-volume control 20000 comes first when asked).
struct FakeMixers final : MixerControls {
  struct Source {
    bool cd = true, readable = true, byIdReadable = true, hasControls = true, volumeReadable = true;
    bool muteFirst = false;
    uint32_t level = 40000;
  };
  std::vector<std::vector<Source>> devices;
  std::set<uint32_t> unopenable, noCaps;
  std::set<uint32_t> failOpensAfterScan;  // devices that cannot be opened once the scan is over
  bool scanned = false;
  std::map<uint32_t, uint32_t> values;  // control id → last level set
  int openCount = 0, closeCount = 0;

  const Source* at(uint32_t d, uint32_t lineId) {
    uint32_t s = lineId % 100;
    return lineId / 100 == d && s < devices[d].size() ? &devices[d][s] : nullptr;
  }
  uint32_t deviceCount() override { return static_cast<uint32_t>(devices.size()); }
  bool open(uint32_t d) override {
    if (unopenable.count(d) || (scanned && failOpensAfterScan.count(d))) return false;
    ++openCount;
    return true;
  }
  void close(uint32_t) override { ++closeCount; }
  std::optional<uint32_t> destinations(uint32_t d) override {
    if (noCaps.count(d)) return std::nullopt;
    return 1;
  }
  std::optional<Line> destination(uint32_t d, uint32_t) override {
    return Line{.id = 99, .isSource = false, .connections = static_cast<uint32_t>(devices[d].size())};
  }
  std::optional<Line> source(uint32_t d, uint32_t, uint32_t c) override {
    const Source& s = devices[d][c];
    if (!s.readable) return std::nullopt;
    return Line{.id = d * 100 + c, .isSource = true, .isCompactDisc = s.cd, .controls = s.hasControls ? 2u : 0u};
  }
  std::optional<Line> lineById(uint32_t d, uint32_t id) override {
    const Source* s = at(d, id);
    if (!s || !s->byIdReadable) return std::nullopt;
    return Line{.id = id, .isSource = true, .isCompactDisc = s->cd, .controls = s->hasControls ? 2u : 0u};
  }
  std::optional<std::vector<Control>> controls(uint32_t d, uint32_t id) override {
    const Source* s = at(d, id);
    std::vector<Control> list;
    if (s->muteFirst) list.push_back({20000 + id, false});
    list.push_back({10000 + id, true});
    list.push_back({30000 + id, true});  // a second volume control: never taken
    return list;
  }
  std::optional<uint32_t> value(uint32_t d, uint32_t controlId) override {
    const Source* s = at(d, controlId % 10000);
    if (!s->volumeReadable) return std::nullopt;
    return s->level;
  }
  bool setValue(uint32_t, uint32_t controlId, uint32_t v) override {
    values[controlId] = v;
    return true;
  }
};

using Entry = CdMixerVolume::Entry;

TEST(CdMixerVolume, TheScanTakesTheFirstVolumeControlOfEveryReadableCdLine) {
  FakeMixers m;
  m.devices.resize(5);
  m.devices[0] = {{.level = 100}, {.cd = false}, {.readable = false}, {.muteFirst = true, .level = 300}};
  m.devices[1] = {{.level = 1}};   // cannot be opened
  m.devices[2] = {{.level = 2}};   // no capabilities
  m.devices[3] = {{.byIdReadable = false}, {.hasControls = false}, {.volumeReadable = false}, {.level = 7}};
  m.devices[4] = {{.level = 65535}};
  m.unopenable = {1};
  m.noCaps = {2};
  CdMixerVolume v(m);
  v.scanMixers();
  std::vector<Entry> expected = {{0, 10000, 100}, {0, 10003, 300}, {3, 10303, 7}, {4, 10400, 65535}};
  EXPECT_EQ(v.entries(), expected);
  EXPECT_EQ(m.openCount, m.closeCount);
}

TEST(CdMixerVolume, TheScanStopsAt64Entries) {
  FakeMixers m;
  m.devices.assign(3, std::vector<FakeMixers::Source>(30));
  CdMixerVolume v(m);
  v.scanMixers();
  ASSERT_EQ(v.entries().size(), 64u);
  EXPECT_EQ(v.entries().back().device, 2u);
  EXPECT_EQ(v.entries().back().control, 10000u + 200 + 3);  // 30 + 30 + the fourth of device 2
}

TEST(CdMixerVolume, LevelsAreRelativeToStartUpAndNeverAbove) {
  // CdVolume v sets level v × 1000: saved × v / 100, truncated, at most saved.
  struct Case {
    int32_t script;
    uint32_t saved, expected;
  } cases[] = {
      {0, 40000, 0},     {50, 40000, 20000}, {100, 40000, 40000}, {150, 40000, 40000},
      {50, 65535, 32767}, {33, 100, 33},      {1, 99, 0},          {-5, 40000, 40000},
  };
  for (const Case& c : cases) EXPECT_EQ(scaledLevel(c.saved, c.script * 1000), c.expected) << c.script << " " << c.saved;
}

TEST(CdMixerVolume, SetVolumeSkipsUnopenableDevicesAndRestorePutsStartUpLevelsBack) {
  FakeMixers m;
  m.devices = {{{.level = 40000}}, {{.level = 1000}}};
  CdMixerVolume v(m);
  v.scanMixers();
  m.scanned = true;
  m.failOpensAfterScan = {1};
  v.setVolume(50 * 1000);
  EXPECT_EQ(m.values, (std::map<uint32_t, uint32_t>{{10000, 20000}}));
  m.failOpensAfterScan = {};
  v.restoreMixers();
  EXPECT_EQ(m.values, (std::map<uint32_t, uint32_t>{{10000, 40000}, {10100, 1000}}));
  EXPECT_EQ(m.openCount, m.closeCount);
}

}  // namespace
}  // namespace kelvox::sound
