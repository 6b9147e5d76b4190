// The pattern store over the headless surfaces: conversion into the display's format, the
// surface rules, refilling after loss, release and restoration across a mode change,
// destruction and stale handles.
#include "graphics/pattern_store.h"

#include <gtest/gtest.h>

#include "common/fatal_error.h"
#include "platform/headless/headless_display.h"

namespace kelvox::graphics {
namespace {

using platform::SurfaceMemory;
using platform::SurfaceResult;

// 5:6:5 by hand: the top bits of each channel.
uint32_t rgb565(uint32_t c) { return ((c >> 19 & 0x1F) << 11) | ((c >> 10 & 0x3F) << 5) | (c >> 3 & 0x1F); }

struct Patterns : ::testing::Test {
  platform::HeadlessDisplay screen;
  platform::SurfaceDevice device{screen};
  TDisplay display{device};
  void bringUp(int depth, int w = 16, int h = 8) {
    device.setDesktopDepth(depth);
    display.Create();
    display.Configure(w, h, 0, false);
    display.Initialise();
  }
  // A 3 × 2 picture with a dark colour that 5:6:5 would turn into the key.
  const uint32_t pixels[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000001, 0x808080, 0};
  template <typename Work>
  int codeOf(Work&& work) {
    try {
      work();
    } catch (const common::FatalError& e) {
      return e.code();
    }
    return 0;
  }
};

TEST_F(Patterns, PixelsAreConvertedIntoTheDisplayFormatAndKept) {
  for (int depth : {32, 16}) {
    bringUp(depth);
    TPatternRef* ref = CreateFromPixels(display, nullptr, pixels, 3, 2, 12, 1, false);
    ASSERT_NE(ref, nullptr);
    platform::Surface& s = *ref->pattern->surface;
    for (int i = 0; i < 6; ++i) {
      uint32_t expected = depth == 32 ? pixels[i] : rgb565(pixels[i]);
      if (depth == 16 && pixels[i] == 0x000001) expected = 0x0020;  // nudged off the key: lowest green bit
      EXPECT_EQ(s.rawPixel(i % 3, i / 3), expected) << depth << " pixel " << i;
    }
    EXPECT_TRUE(s.hasColorKey());
    EXPECT_EQ(ref->pattern->pixels, std::vector<uint32_t>(pixels, pixels + 6));
    EXPECT_EQ(ref->pattern->pitch, 12);
    Destroy(display, ref);
  }
}

TEST_F(Patterns, SurfaceRulesPickSystemMemory) {
  bringUp(32, 16, 8);
  const struct { int w, h, mode; bool force; SurfaceMemory memory; } cases[] = {
      {4, 4, 0, false, SurfaceMemory::VideoAllowed}, {4, 4, 1, false, SurfaceMemory::VideoAllowed},
      {4, 4, 2, false, SurfaceMemory::System},       {4, 4, 4, false, SurfaceMemory::System},
      {4, 4, 9, false, SurfaceMemory::VideoAllowed}, {4, 4, 10, false, SurfaceMemory::System},
      {17, 4, 0, false, SurfaceMemory::System},      {4, 9, 0, false, SurfaceMemory::System},
      {16, 8, 0, false, SurfaceMemory::VideoAllowed}, {4, 4, 0, true, SurfaceMemory::System},
  };
  for (auto c : cases) {
    TPatternRef* ref = CreateBlank(display, nullptr, c.w, c.h, c.mode, c.force);
    EXPECT_EQ(ref->pattern->surface->memory(), c.memory) << c.w << "x" << c.h << " mode " << c.mode;
    EXPECT_EQ(ref->pattern->surface->rawPixel(0, 0), 0u);
    Destroy(display, ref);
  }
}

struct MarkerSnapshot final : PatternTextSnapshot {
  int draws = 0;
  void drawInto(const platform::LockedArea& dc) override {
    ++draws;
    dc.pixels[0] = 0x77;  // the top-left pixel's low byte
  }
};

TEST_F(Patterns, LostSurfacesAreRefilledFromPixelsOrText) {
  bringUp(32);
  TPatternRef* picture = CreateFromPixels(display, nullptr, pixels, 3, 2, 12, 0, false);
  TPatternRef* text = CreateBlank(display, nullptr, 4, 2, 1, true);
  auto* snapshot = new MarkerSnapshot;
  text->pattern->textSnapshot.reset(snapshot);
  TPatternRef* blank = CreateBlank(display, nullptr, 2, 2, 0, false);  // no pixel copy, no text
  blank->pattern->surface->colorFill(nullptr, 0x123456);
  device.loseAllSurfaces();
  display.Refresh();  // brings the back buffer back; patterns stay lost until refilled
  EXPECT_EQ(picture->pattern->surface->isLost(), SurfaceResult::SurfaceLost);
  ASSERT_EQ(RestorePatterns(display), 0);
  EXPECT_EQ(picture->pattern->surface->rawPixel(1, 0), 0x00FF00u);
  EXPECT_EQ(picture->pattern->surface->rawPixel(2, 1), 0u);  // cleared, not the junk of restore
  EXPECT_EQ(text->pattern->surface->rawPixel(0, 0), 0x77u);
  EXPECT_EQ(text->pattern->surface->rawPixel(1, 0), 0u);
  EXPECT_EQ(snapshot->draws, 1);
  EXPECT_EQ(blank->pattern->surface->rawPixel(1, 1), 0u);  // back blank
  // A surface that will not come back cannot be refilled.
  device.loseAllSurfaces();
  device.setRestoreRefused(true);
  EXPECT_EQ(codeOf([&] { RestorePatterns(display); }), 53);
  device.setRestoreRefused(false);
  Destroy(display, picture);
  Destroy(display, text);
  Destroy(display, blank);
}

TEST_F(Patterns, AModeChangeKeepsEveryPatternsPixelsAtTheNewDepth) {
  bringUp(32);
  TPatternRef* ref = CreateFromPixels(display, nullptr, pixels, 3, 2, 12, 0, false);
  device.setDesktopDepth(16);
  display.Initialise();
  ASSERT_NE(ref->pattern->surface, nullptr);
  EXPECT_EQ(ref->pattern->surface->format().bitsPerPixel, 16);
  EXPECT_EQ(ref->pattern->surface->rawPixel(0, 0), 0xF800u);
  ReleasePatternSurfaces(display);
  EXPECT_EQ(ref->pattern->surface, nullptr);
  EXPECT_EQ(Refill(display, ref), 1);  // nothing to refill
  device.failNthCreation(1);
  EXPECT_EQ(codeOf([&] { RestorePatterns(display); }), 53);
  ASSERT_EQ(RestorePatterns(display), 0);
  EXPECT_EQ(ref->pattern->surface->rawPixel(2, 0), 0x001Fu);
  Destroy(display, ref);
}

TEST_F(Patterns, DestroyedPatternsLeaveTheListAndTheirHandlesMiss) {
  bringUp(32);
  TPatternRef* a = CreateBlank(display, nullptr, 1, 1, 0, false);
  TPatternRef* b = CreateBlank(display, nullptr, 1, 1, 0, false);
  TPatternRef* c = CreateBlank(display, nullptr, 1, 1, 0, false);
  PatternHandle handleA = a->handle, handleB = b->handle;
  TPattern* pc = c->pattern.get();
  ASSERT_EQ(findPattern(display, handleA), a);
  Destroy(display, a);
  // The last entry takes the destroyed one's place.
  EXPECT_EQ(display.patternList(), (std::vector<TPattern*>{pc, b->pattern.get()}));
  EXPECT_EQ(findPattern(display, handleA), nullptr);
  // Replacing b through CreateFromPixels destroys it; the new one may reuse the slot.
  TPatternRef* d = CreateFromPixels(display, b, pixels, 3, 2, 12, 0, false);
  EXPECT_EQ(findPattern(display, handleB), nullptr);
  EXPECT_EQ(findPattern(display, d->handle), d);
  EXPECT_EQ(display.patternList().size(), 2u);
  TPatternRef stale;
  stale.tag = 0;
  EXPECT_EQ(codeOf([&] { Destroy(display, &stale); }), 62);
  EXPECT_EQ(codeOf([&] { Refill(display, &stale); }), 62);
  Destroy(display, c);
  Destroy(display, d);
  EXPECT_TRUE(display.patternList().empty());
}

TEST_F(Patterns, NoSurfacesBeforeTheFirstScreenMode) {
  display.Create();
  EXPECT_EQ(RestorePatterns(display), 1);
  EXPECT_EQ(codeOf([&] { CreateBlank(display, nullptr, 1, 1, 0, false); }), 53);
  EXPECT_EQ(CreateFromPixels(display, nullptr, nullptr, 1, 1, 4, 0, false), nullptr);
}

}  // namespace
}  // namespace kelvox::graphics
