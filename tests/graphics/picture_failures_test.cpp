// Making a sprite or a pattern with a failure at each of its steps: every allocation in turn,
// then every surface creation. Whatever a failure left is owned (AddressSanitizer reports a
// leak when the test ends), the machine's entry names nothing or a live object, and the
// display's stores agree with the lists that composition walks.
#include <gtest/gtest.h>

#include <functional>

#include "graphics/graphics_group.h"
#include "graphics/pattern_loader.h"
#include "graphics/pattern_store.h"
#include "graphics/sprite.h"
#include "picture_files.h"
#include "save/save_group.h"
#include "shell/screen_mode_group.h"
#include "support/failing_allocation.h"
#include "support/test_game.h"
#include "text/text_group.h"
#include "text/text_windows.h"
#include "vm/instruction_set.h"

namespace kelvox::graphics {
namespace {

using vm::Op;

struct Pictures : ::testing::Test {
  kelvox::test::TestGame game{".code\nEnd\n",
                              {{"Grd/bg.png", [] {
                                  auto b = test::writePng(3, 2, 2, 8, false);
                                  return std::string(b.begin(), b.end());
                                }()}}};
  vm::MachineContext& m = game.m();

  void SetUp() override {
    shell::setScreenMode(m, 0, 48, 64);
    GeneratePattern(m, m.patterns[1], 0, 0x123456, 4, 4);  // what sprites are set to
    GeneratePattern(m, m.patterns[3], 0, 0x654321, 2, 2);  // an old pattern to be replaced
    text::windowAt(m, 4)->reset(16, 40, 20, 0xFFFFFF);
    text::windowAt(m, 4)->append("ab");
  }

  void run(Op op, std::initializer_list<int32_t> operands, vm::GroupHandler group) {
    for (int32_t v : operands) m.paramStack.push(v);
    group(m, static_cast<uint32_t>(op));
  }

  // What every failure must leave: stores and lists in step, and no entry of the machine's
  // tables naming a destroyed object.
  void expectConsistent(const char* what) {
    TDisplay& d = *m.display;
    ASSERT_EQ(d.patternList().size(), d.patterns().size()) << what;
    ASSERT_EQ(d.spriteList().size(), d.sprites().size()) << what;
    for (TPattern* p : d.patternList()) ASSERT_EQ(findPattern(d, p->owner->handle), p->owner) << what;
    for (TSprite* s : d.spriteList()) ASSERT_EQ(d.sprites().find(s->handle), s) << what;
    for (const auto& entry : m.patterns) ASSERT_TRUE(entry.empty() || findPattern(d, entry)) << what;
    for (const auto& entry : m.sprites) ASSERT_TRUE(entry.empty() || d.sprites().find(entry)) << what;
  }
};

struct Case {
  const char* what;
  std::function<void(Pictures&)> make;
  uint32_t pattern;  // the entry that names the new pattern afterwards (or the sprite's number)
  bool sprite = false;
  // A surface that cannot be made leaves the entry naming the old pattern: the capture makes
  // its surface before it destroys the old one. Everything else destroys it first.
  bool keepsOld = false;
  // The step searches a folder first (the label's file date): the standard library's folder
  // walk ends the program when memory runs out inside it, so only its surface can fail here.
  bool searchesFolders = false;
};

const Case kCases[] = {
    {"a sprite made by SetSprite",
     [](Pictures& t) { t.run(Op::SetSprite, {5, 0, 0, 0, 1}, graphicsGroup); }, 5, true},
    {"a picture loaded into an empty entry", [](Pictures& t) { LoadPattern(t.m, t.m.patterns[2], 0, "bg.png"); },
     2},
    {"a picture loaded over an old one", [](Pictures& t) { LoadPattern(t.m, t.m.patterns[3], 1, "bg.png"); }, 3},
    {"a single colour", [](Pictures& t) { GeneratePattern(t.m, t.m.patterns[6], 0, 0xFF, 3, 3); }, 6},
    {"a text page (blank pattern)", [](Pictures& t) { t.run(Op::TextDraw, {7, -1, 4}, text::textGroup); }, 7},
    {"a capture of the screen", [](Pictures& t) { t.run(Op::MakePackedPattern, {0, 0, 8, 8, 0, 8}, graphicsGroup); },
     8},
    {"a capture over an old pattern",
     [](Pictures& t) { t.run(Op::MakePackedPattern, {0, 0, 8, 8, 0, 1}, graphicsGroup); }, 1, false, true},
    {"a save label", [](Pictures& t) { t.run(Op::SaveLabel, {0, 9}, save::saveGroup); }, 9, false, false, true},
};

TEST_F(Pictures, AFailedAllocationAtEveryStepLeavesNothingHalfMade) {
  for (const Case& c : kCases) {
    if (c.searchesFolders) continue;
    int failures = kelvox::test::failEachAllocation([&] { c.make(*this); }, [&](bool) { expectConsistent(c.what); });
    EXPECT_GT(failures, 0) << c.what << ": no step allocated";
    if (c.sprite)
      EXPECT_NE(spriteAt(m, static_cast<int32_t>(c.pattern)), nullptr) << c.what;
    else
      EXPECT_NE(patternAt(m, c.pattern), nullptr) << c.what;
  }
}

TEST_F(Pictures, AFailedSurfaceAtEveryStepRaises53AndLeavesNothingHalfMade) {
  for (const Case& c : kCases) {
    if (c.sprite) continue;  // a sprite has no surface
    for (int n = 1;; ++n) {
      const TPatternRef* old = patternAt(m, c.pattern);
      m.platform.surfaces.failNthCreation(n);
      std::string error = kelvox::test::errorOf([&] { c.make(*this); });
      m.platform.surfaces.failNthCreation(0);
      expectConsistent(c.what);
      if (error.empty()) break;
      EXPECT_NE(error.find("(53)"), std::string::npos) << c.what << ": " << error;
      EXPECT_EQ(patternAt(m, c.pattern), c.keepsOld ? old : nullptr) << c.what;
    }
    EXPECT_NE(patternAt(m, c.pattern), nullptr) << c.what;
  }
}

}  // namespace
}  // namespace kelvox::graphics
